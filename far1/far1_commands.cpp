// The shared rules bound to the 1.x host.
#include "far1/far1_commands.h"

#include "far1/far1_gateway.h"
#include "select/select_by_description.h"
#include "speedsearch/speed_search.h"

void SpeedSearch() {
  SpeedSearchCommand<Far1>();
}

void SelectByDescription(int unselect) {
  SelectCommand<Far1>(unselect != 0);
}

namespace {

// Runs step on a session over the host's snapshot, keeping the snapshot's
// cursor in step with the view's.
template <class Step>
auto OnSnapshot(SearchText* text, PanelInfo* panel, Step step) -> decltype(step(nullptr)) {
  PanelView<char> view = Far1::ViewOf(*panel);
  auto* matcher = static_cast<PrefixMatcher<char>*>(sys::Allocate(sizeof(PrefixMatcher<char>)));
  if (matcher == nullptr) return {};
  ResetMatcher(matcher);
  const SearchSession<Far1> session{text, &view, panel, matcher};
  auto result = step(&session);
  sys::Free(matcher);
  return result;
}

}  // namespace

int FindByDescription(const char* text, uint32_t step, PanelInfo* panel) {
  SearchText typed;
  ClearSearchText(&typed);
  while (*text != '\0') AppendCharacter(&typed, static_cast<uint8_t>(*text++));
  return OnSnapshot(&typed, panel, [step](const SearchSession<Far1>* session) {
    return FindByDescription(*session, step);
  });
}

bool ApplySearchKey(uint32_t c, SearchText* text, PanelInfo* panel) {
  return OnSnapshot(
      text, panel, [c](const SearchSession<Far1>* session) { return ApplySearchKey(c, *session); });
}

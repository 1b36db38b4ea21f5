// Circular search of the panel's descriptions for the typed text.
#include "speedsearch/find_by_description.h"

#include "host/host_services.h"
#include "host/system.h"
#include "plugin/texts.h"

namespace {

// 18 characters of text, the trailing "*" and the NUL.
constexpr int kMaskSize = 20;

// Puts the found item about half-way down the panel. The host clamps the top
// line itself, so a negative value near the start of the list is passed on.
// Worked on unsigned values so that an absurd panel rectangle wraps instead
// of overflowing.
int TopLineFor(uint32_t index, const HostRect& rect) {
  int halfHeight = static_cast<int>((static_cast<int64_t>(rect.bottom) - rect.top - 5) / 2);
  return static_cast<int>(index - static_cast<uint32_t>(halfHeight));
}

void MoveCursorTo(uint32_t index, PanelInfo* panel) {
  panel->CurrentItem = static_cast<int>(index);
  panel->TopPanelItem = TopLineFor(index, panel->PanelRect);
  host::Control(FCTL_REDRAWPANEL, &panel->CurrentItem);
}

}  // namespace

int FindByDescription(const char* text, uint32_t step, PanelInfo* panel) {
  // A count of zero or below is an empty panel: read as unsigned it would
  // send the scan far past the host's array.
  if (text[0] == '\0' || panel->ItemsNumber <= 0) return 0;

  char mask[kMaskSize];
  sys::FormatText(mask, texts::kSearchMaskFormat, text);

  // Visit every item once, starting at the cursor (or the one after it) and
  // wrapping from the last to the first; stepping the index avoids a
  // division per item.
  const uint32_t count = static_cast<uint32_t>(panel->ItemsNumber);
  const uint32_t current = static_cast<uint32_t>(panel->CurrentItem) % count;
  uint32_t index = (current + step % count) % count;
  const PluginPanelItem* items = panel->PanelItems;
  for (uint32_t visited = 0; visited < count; ++visited) {
    const char* description = items[index].Description;
    if (description != nullptr && host::CmpName(mask, description)) {
      if (index != static_cast<uint32_t>(panel->CurrentItem)) MoveCursorTo(index, panel);
      return 1;
    }
    if (++index == count) index = 0;
  }
  return 0;
}

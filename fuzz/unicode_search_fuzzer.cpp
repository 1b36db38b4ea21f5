// Drives the speed search's rules over UTF-16 text: descriptions with
// surrogate pairs, unpaired surrogates, letters no OEM code page has and
// descriptions of up to 64 KiB, typed at by keys of any UTF-16 unit, under
// the 1.x rule or the host's quick-search rule (with its previous match,
// paste, help and other keyboard layout). Checks that the text stays within
// 18 characters and never holds half a pair at its end, that the cursor
// stays on an item, and that every item found is the one asking the host
// about every item, in the direction searched, would find.
//
// Input: u8 whose low bit chooses the quick-search rule, u8 item count, then
// per item u16 length and that many units drawn from a small alphabet (a
// length of 0xFFFF stands for 64 KiB of one unit), u8 cursor, then the typed
// keys as u16 units until the input runs out. Under the quick-search rule
// the units 0xFFF0 to 0xFFF2 stand for Ctrl+Shift+Enter, Ctrl+V and F1, and
// the clipboard holds the first item's description.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "filemask/file_mask.h"
#include "fuzz/fuzz_input.h"
#include "speedsearch/search_keys.h"
#include "tests/doubles/search_steps.h"
#include "tests/doubles/test_gateway.h"

namespace {

// Letters in both cases from several scripts, wildcards, halves of pairs.
constexpr char16_t kAlphabet[] = {u'a',      u'A',   u'\u00E9', u'\u00C9', u'\u0416', u'\u0436',
                                  u'\u4E2D', u'*',   u'?',      u'[',      u']',      u'.',
                                  0xD83D,    0xDE00, 0xDC00,    u' '};

using Plain = test::TestGateway<char16_t>;
using Quick = test::QuickSearchTestGateway<char16_t>;

std::u16string ReadDescription(Reader& in) {
  const uint16_t length = in.U16();
  if (length == 0xFFFF) return std::u16string(64 * 1024, kAlphabet[in.Byte() % 16]);
  std::u16string text;
  for (uint16_t i = 0; i < length % 24; ++i) text += kAlphabet[in.Byte() % 16];
  return text;
}

// The first item from `from` on, in the direction given, that the host's
// matcher takes for the text and "*"; sets written as characters under the
// quick-search rule. -1 when none.
int Reference(const std::vector<std::u16string>& items, const BasicSearchText<char16_t>& text,
              uint32_t from, bool literalSets, int direction = 1) {
  std::u16string mask;
  for (uint32_t k = 0; k < text.units; ++k) {
    const char16_t unit = text.chars[k];
    if (literalSets && (unit == u'[' || unit == u']')) {
      mask += {u'[', unit, u']'};
    } else {
      mask += unit;
    }
  }
  mask += u'*';
  const int n = int(items.size());
  for (int i = 0; i < n; ++i) {
    const int index = ((int(from) + direction * i) % n + n) % n;
    if (MatchFileMask(mask.c_str(), items[index].c_str())) return index;
  }
  return -1;
}

void CheckText(const BasicSearchText<char16_t>& text) {
  CHECK(text.length <= kSearchTextMax && text.units <= kSearchTextUnits<char16_t>);
  CHECK(text.chars[text.units] == 0);
  if (text.units > 0) CHECK(!search_text::IsHighSurrogate<char16_t>(text.chars[text.units - 1]));
}

// The action of the unit c under the gateway's rule.
template <class G>
SearchAction ActionOf(uint32_t c) {
  if (LikeHostQuickSearch<G>() && c >= 0xFFF0 && c <= 0xFFF2) {
    constexpr SearchAction kSpecial[] = {SearchAction::kPreviousMatch, SearchAction::kPaste,
                                         SearchAction::kHelp};
    return kSpecial[c - 0xFFF0];
  }
  return ActionOfCharacter(c);
}

template <class G>
void TypeAtPanel(Reader& in, const std::vector<std::u16string>& items) {
  constexpr bool kQuick = LikeHostQuickSearch<G>();
  typename G::PanelSnapshot snapshot;
  PanelView<char16_t> view;
  CHECK(G::TakeSnapshot(&snapshot, &view));
  SearchSteps<G> steps(&snapshot, view);
  const BasicSearchText<char16_t>& text = steps.text;
  const PanelView<char16_t>& panel = steps.view;

  while (in.size >= 2) {
    const uint32_t c = in.U16();
    const SearchAction action = ActionOf<G>(c);
    if (action == SearchAction::kLeave) continue;
    const uint32_t unitsBefore = text.units;
    const uint32_t current = uint32_t(panel.current) % panel.count;
    if (!steps.Key(action, c)) break;
    CheckText(text);
    CHECK(panel.current >= 0 && uint32_t(panel.current) < panel.count);
    // A text that grew moved the cursor to the first match at or after it
    // (also in the other layout, whose letters the text then holds), and the
    // previous match to the first one before it, going backward.
    if (text.units > unitsBefore && action != SearchAction::kNextMatch) {
      CHECK(panel.current == Reference(items, text, current, kQuick));
    }
    if (action == SearchAction::kPreviousMatch && text.units > 0) {
      const int expected = Reference(items, text, current + panel.count - 1, kQuick, -1);
      CHECK(panel.current == (expected < 0 ? int(current) : expected));
    }
  }
  G::ReleaseSnapshot(&snapshot);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  const bool quick = (in.Byte() & 1) != 0;
  test::Host<char16_t>& host = Plain::Reset();
  std::vector<std::u16string> items(1 + in.Byte() % 16);
  for (std::u16string& item : items) {
    item = ReadDescription(in);
    host.items.push_back(test::Item<char16_t>{u"", item});
  }
  host.current = in.Byte() % items.size();
  host.rect = {0, 1, 79, 20};
  host.clipboard = items[0];
  if (quick) {
    TypeAtPanel<Quick>(in, items);
  } else {
    TypeAtPanel<Plain>(in, items);
  }
  return 0;
}

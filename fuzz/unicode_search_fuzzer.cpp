// Drives the speed search's rules over UTF-16 text: descriptions with
// surrogate pairs, unpaired surrogates, letters no OEM code page has and
// descriptions of up to 64 KiB, typed at by keys of any UTF-16 unit. Checks
// that the text stays within 18 characters and never holds half a pair at
// its end, that the cursor stays on an item, and that every item found is
// the one asking the host about every item would find.
//
// Input: u8 item count, then per item u16 length and that many units drawn
// from a small alphabet (a length of 0xFFFF stands for 64 KiB of one unit),
// u8 cursor, then the typed keys as u16 units until the input runs out.
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

using G = test::TestGateway<char16_t>;

std::u16string ReadDescription(Reader& in) {
  const uint16_t length = in.U16();
  if (length == 0xFFFF) return std::u16string(64 * 1024, kAlphabet[in.Byte() % 16]);
  std::u16string text;
  for (uint16_t i = 0; i < length % 24; ++i) text += kAlphabet[in.Byte() % 16];
  return text;
}

int Reference(const std::vector<std::u16string>& items, const BasicSearchText<char16_t>& text,
              uint32_t from) {
  const std::u16string mask = std::u16string(text.chars, text.units) + u'*';
  for (uint32_t i = 0; i < items.size(); ++i) {
    const uint32_t index = (from + i) % items.size();
    if (MatchFileMask(mask.c_str(), items[index].c_str())) return int(index);
  }
  return -1;
}

void CheckText(const BasicSearchText<char16_t>& text) {
  CHECK(text.length <= kSearchTextMax && text.units <= kSearchTextUnits<char16_t>);
  CHECK(text.chars[text.units] == 0);
  if (text.units > 0) CHECK(!search_text::IsHighSurrogate<char16_t>(text.chars[text.units - 1]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  test::Host<char16_t>& host = G::Reset();
  std::vector<std::u16string> items(1 + in.Byte() % 16);
  for (std::u16string& item : items) {
    item = ReadDescription(in);
    host.items.push_back(test::Item<char16_t>{u"", item});
  }
  host.current = in.Byte() % items.size();
  host.rect = {0, 1, 79, 20};
  G::PanelSnapshot snapshot;
  PanelView<char16_t> view;
  CHECK(G::TakeSnapshot(&snapshot, &view));
  SearchSteps<G> steps(&snapshot, view);
  const BasicSearchText<char16_t>& text = steps.text;

  while (in.size >= 2) {
    const uint32_t c = in.U16();
    if (!IsSearchKey(c)) continue;
    const uint32_t unitsBefore = text.units;
    const int currentBefore = steps.view.current;
    if (!steps.Key(c)) break;
    CheckText(text);
    CHECK(steps.view.current >= 0 && uint32_t(steps.view.current) < steps.view.count);
    // A character that stayed in the text moved the cursor to the first
    // match at or after it.
    if (text.units > unitsBefore && c != 10) {
      CHECK(steps.view.current == Reference(items, text, uint32_t(currentBefore)));
    }
  }
  G::ReleaseSnapshot(&snapshot);
  return 0;
}

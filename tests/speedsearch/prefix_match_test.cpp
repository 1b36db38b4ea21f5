// The speed search asks the host about pairs of letters instead of about every
// item; whatever it skips, it must find exactly what asking the host about
// every item would find.
#include "speedsearch/prefix_match.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "filemask/file_mask.h"
#include "speedsearch/find_by_description.h"
#include "tests/doubles/test_gateway.h"

namespace {

// Folds the Cyrillic of code page 866 too, as the host does for a 1.x
// plug-in's single-byte text.
uint32_t FoldOem866(uint32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c >= 0x80 && c <= 0x8F) return c + 0x20;
  if (c >= 0x90 && c <= 0x9F) return c + 0x50;
  return c;
}

// The host's matcher: for single-byte text, with the OEM code page's folding.
template <class C>
test::Host<C>& HostFor() {
  test::Host<C>& host = test::TestGateway<C>::Reset();
  if constexpr (sizeof(C) == 1) {
    host.cmpName = [](const char* mask, const char* str) {
      return MatchMask(mask, str, FoldOem866);
    };
  }
  return host;
}

template <class C>
using Text = std::basic_string<C>;

// What asking the host about every item finds: the index, or -1.
template <class C>
int FoundByAskingAboutEveryItem(const std::vector<Text<C>>& items, const Text<C>& typed,
                                uint32_t current, uint32_t step) {
  const Text<C> mask = typed + C('*');
  for (uint32_t i = 0; i < items.size(); ++i) {
    uint32_t index = (current + step + i) % items.size();
    if (test::TestGateway<C>::host.cmpName(mask.c_str(), items[index].c_str())) return int(index);
  }
  return -1;
}

template <class C>
int FoundByTheSpeedSearch(const std::vector<Text<C>>& items, const Text<C>& typed, uint32_t current,
                          uint32_t step, PrefixMatcher<C>* matcher) {
  std::vector<const C*> pointers;
  for (const Text<C>& item : items) pointers.push_back(item.c_str());
  PanelView<C> view{};
  view.count = uint32_t(items.size());
  view.current = int(current);
  view.descriptions = {pointers.data(), sizeof(const C*), true, view.count};
  BasicSearchText<C> text;
  ClearSearchText(&text);
  for (C unit : typed) text.chars[text.units++] = unit;
  text.chars[text.units] = 0;
  text.length = text.units;
  typename test::TestGateway<C>::PanelSnapshot snapshot;
  const SearchSession<test::TestGateway<C>> session{&text, &view, &snapshot, matcher};
  if (!FindByDescription(session, step)) return -1;
  return view.current;
}

// Random panels and texts over letters in both cases, wildcards, sets, dots
// and letters beyond ASCII; the matcher's verdicts are kept from one text to
// the next, as during one speed search.
template <class C>
void CompareOnRandomPanels(const std::vector<C>& alphabet, uint32_t seed) {
  HostFor<C>();
  std::mt19937 random(seed);
  auto pick = [&](size_t most) {
    Text<C> s;
    for (size_t n = random() % (most + 1); n > 0; --n) s += alphabet[random() % alphabet.size()];
    return s;
  };
  auto matcher = std::make_unique<PrefixMatcher<C>>();
  ResetMatcher(matcher.get());
  for (int round = 0; round < 3000; ++round) {
    std::vector<Text<C>> items(1 + random() % 12);
    for (Text<C>& item : items) item = pick(6);
    const Text<C> typed = pick(4);
    if (typed.empty()) continue;
    const uint32_t current = random() % items.size();
    const uint32_t step = random() % 2;
    ASSERT_EQ(FoundByTheSpeedSearch(items, typed, current, step, matcher.get()),
              FoundByAskingAboutEveryItem(items, typed, current, step))
        << "round " << round;
  }
}

TEST(PrefixMatchEquivalence, SingleByteTextFindsWhatTheHostFindsItemByItem) {
  CompareOnRandomPanels<char>({'a', 'A', 'b', 'B', ' ', '*', '?', '[', ']', '-', '.', '\x80',
                               '\xA0', '\x8E', '\xAE', '\xFF'},
                              1);
}

TEST(PrefixMatchEquivalence, UnicodeTextFindsWhatTheHostFindsItemByItem) {
  CompareOnRandomPanels<char16_t>(
      {u'a', u'A', u'\u00E9', u'\u00C9', u'\u0100', u'\u0101', u'\u0416', u'\u0436', u'\u0401',
       u'\u0451', u'*', u'?', u'[', u']', u'.', 0xD83D, 0xDE00, u'\u4E2D'},
      2);
  CompareOnRandomPanels<wchar_t>(
      {L'a', L'A', L'\u0416', L'\u0436', L'*', L'[', L']', L'.', wchar_t(0x1F600), L'\u4E2D'}, 3);
}

TEST(PrefixMatchEquivalence, AsksTheHostOncePerPairOfLettersNotPerItem) {
  std::vector<std::string> items(10000, "Holiday photo");
  items.back() = "Tax return 2024";
  auto matcher = std::make_unique<PrefixMatcher<char>>();
  ResetMatcher(matcher.get());
  const test::Host<char>& host = HostFor<char>();
  EXPECT_EQ(FoundByTheSpeedSearch<char>(items, "t", 0, 0, matcher.get()), 9999);
  EXPECT_EQ(host.cmpNameCalls, 2) << "'t' against 'H' and against 'T'";
  EXPECT_EQ(FoundByTheSpeedSearch<char>(items, "ta", 0, 0, matcher.get()), 9999);
  EXPECT_EQ(host.cmpNameCalls, 2) << "every pair is known by now";
}

TEST(PrefixMatchEquivalence, MorePairsBeyondByteUnitsThanItKeepsAreStillAskedRightly) {
  std::vector<std::u16string> items;
  for (char16_t c = u'\u4E00'; c < u'\u4E00' + 300; ++c) items.push_back(std::u16string(1, c));
  items.push_back(u"apple");
  auto matcher = std::make_unique<PrefixMatcher<char16_t>>();
  ResetMatcher(matcher.get());
  HostFor<char16_t>();
  EXPECT_EQ(FoundByTheSpeedSearch<char16_t>(items, u"a", 0, 0, matcher.get()), 300);
}

}  // namespace

// Which keys the speed search takes, and what each does to the text and the cursor.
#include "speedsearch/search_keys.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/doubles/search_steps.h"
#include "tests/doubles/test_gateway.h"

namespace {

using G = test::TestGateway<char>;

constexpr uint32_t kEsc = 27, kBackspace = 8, kCtrlEnter = 10, kCtrlY = 25, kCtrlBackspace = 127;

class SearchKeysTest : public testing::Test {
 protected:
  void SetUp() override { host = &G::Reset(); }

  void UsePanel(const std::vector<std::optional<std::string>>& descriptions, int current = 0) {
    host->Describe(descriptions);
    host->current = current;
    ASSERT_TRUE(G::TakeSnapshot(&snapshot, &view));
    search.emplace(&snapshot, view);
  }

  void Type(const std::string& keys) {
    for (unsigned char c : keys) ASSERT_TRUE(search->Key(c));
  }

  std::string Text() const { return std::string(search->text.chars, search->text.length); }
  int Cursor() const { return search->view.current; }

  test::Host<char>* host = nullptr;
  G::PanelSnapshot snapshot;
  PanelView<char> view{};
  std::optional<SearchSteps<G>> search;
};

// Printable characters and its own control keys; not keys without a
// character, Enter, Tab, nor Ctrl with letters other than H, J and Y.
TEST(SearchKeyRule, TakesPrintableCharactersAndItsOwnControlKeysOnly) {
  for (uint32_t c = 0; c <= 255; ++c) {
    const bool own = c == kBackspace || c == kCtrlEnter || c == kCtrlY || c == kEsc;
    EXPECT_EQ(IsSearchKey(c), c >= 32 || own) << c;
  }
}

TEST_F(SearchKeysTest, TypingMovesToTheFirstDescriptionThatBeginsWithTheText) {
  UsePanel({"zeta", "report", "readme", "rabbit"}, 0);
  Type("r");
  EXPECT_EQ(Text(), "r");
  EXPECT_EQ(Cursor(), 1);
  Type("ea");
  EXPECT_EQ(Text(), "rea");
  EXPECT_EQ(Cursor(), 2);
}

TEST_F(SearchKeysTest, LetterNoDescriptionContinuesWithIsRefusedSilently) {
  UsePanel({"zeta", "report"}, 0);
  Type("re");
  host->moves.clear();
  Type("x");
  EXPECT_EQ(Text(), "re");
  EXPECT_EQ(Cursor(), 1);
  EXPECT_TRUE(host->moves.empty());
  EXPECT_EQ(host->beeps, 0);
}

TEST_F(SearchKeysTest, NineteenthCharacterBeepsAndBackspaceDropsTheEighteenth) {
  UsePanel({"abcdefghijklmnopqrstuvwxyz"});
  Type("abcdefghijklmnopqr");
  EXPECT_EQ(search->text.length, 18u);
  Type("s");
  EXPECT_EQ(Text(), "abcdefghijklmnopqr");
  EXPECT_EQ(search->text.chars[18], '\0');
  EXPECT_EQ(host->beeps, 1);
  Type(std::string(1, kBackspace));
  EXPECT_EQ(Text(), "abcdefghijklmnopq");
}

TEST_F(SearchKeysTest, FullTextBeepsEvenForACharacterThatWouldNotMatch) {
  UsePanel({"aaaaaaaaaaaaaaaaaa"});
  Type("aaaaaaaaaaaaaaaaaa");
  const int comparisons = host->cmpNameCalls;
  Type("z");
  EXPECT_EQ(host->beeps, 1);
  EXPECT_EQ(host->cmpNameCalls, comparisons) << "a full text searches nothing";
}

TEST_F(SearchKeysTest, BackspaceAndClearKeysNeverMoveTheCursor) {
  UsePanel({"ab", "abc"}, 0);
  Type("abc");
  ASSERT_EQ(Cursor(), 1);
  host->moves.clear();
  Type(std::string(1, kBackspace));
  EXPECT_EQ(Text(), "ab");
  Type(std::string(1, kCtrlY));
  EXPECT_EQ(Text(), "");
  Type("abc");
  Type(std::string(1, static_cast<char>(kCtrlBackspace)));
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(Cursor(), 1);
  EXPECT_TRUE(host->moves.empty());
}

TEST_F(SearchKeysTest, BackspaceOrClearOnAnEmptyTextDoesNothing) {
  UsePanel({"a"});
  Type(std::string{static_cast<char>(kBackspace), static_cast<char>(kCtrlY)});
  EXPECT_EQ(search->text.length, 0u);
  EXPECT_EQ(search->text.chars[0], '\0');
}

TEST_F(SearchKeysTest, CtrlEnterAlternatesBetweenTwoMatches) {
  UsePanel({"note one", "other", "note two"}, 1);
  Type("note");
  ASSERT_EQ(Cursor(), 2);
  Type(std::string(1, kCtrlEnter));
  EXPECT_EQ(Cursor(), 0);
  Type(std::string(1, kCtrlEnter));
  EXPECT_EQ(Cursor(), 2);
  EXPECT_EQ(Text(), "note");
}

TEST_F(SearchKeysTest, CtrlEnterWithOneMatchStaysAndWithEmptyTextDoesNothing) {
  UsePanel({"only", "other"}, 1);
  Type(std::string(1, kCtrlEnter));
  EXPECT_EQ(Cursor(), 1);
  EXPECT_EQ(host->cmpNameCalls, 0);
  Type("on");
  host->moves.clear();
  Type(std::string(1, kCtrlEnter));
  EXPECT_EQ(Cursor(), 0);
  EXPECT_TRUE(host->moves.empty());
}

TEST_F(SearchKeysTest, CharactersOfTheOemCodePageAreAppendedLikeAnyOther) {
  UsePanel({"plain", "\x8E\x84 umlauts"}, 0);
  Type("\x8E");
  EXPECT_EQ(search->text.length, 1u);
  EXPECT_EQ(static_cast<unsigned char>(search->text.chars[0]), 0x8E);
  EXPECT_EQ(Cursor(), 1);
}

TEST_F(SearchKeysTest, EscEndsTheSearchAndEveryOtherTakenKeyGoesOn) {
  UsePanel({"a"});
  EXPECT_FALSE(search->Key(kEsc));
  for (uint32_t c : {kBackspace, kCtrlEnter, kCtrlY, kCtrlBackspace, 32u, 200u}) {
    EXPECT_TRUE(search->Key(c)) << c;
  }
}

}  // namespace

// Which keys the speed search takes, and what each does to the text and the cursor.
#include <gtest/gtest.h>

#include <string>

#include "far1/far1_commands.h"
#include "tests/doubles/fake_system.h"
#include "tests/far1/fake_far1.h"

namespace {

constexpr uint32_t kEsc = 27, kBackspace = 8, kCtrlEnter = 10, kCtrlY = 25, kCtrlBackspace = 127;

class SearchKeysTest : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetSystem();
    fake::InstallHost();
    ClearSearchText(&text);
  }

  void UsePanel(const std::vector<std::optional<std::string>>& descriptions, int current = 0) {
    host().SetItems(descriptions);
    panel = host().Snapshot();
    panel.CurrentItem = current;
  }

  void Type(const std::string& keys) {
    for (unsigned char c : keys) ASSERT_TRUE(ApplySearchKey(c, &text, &panel));
  }

  std::string Text() const { return std::string(text.chars, text.length); }

  fake::Host& host() { return fake::TheHost(); }

  SearchText text{};
  PanelInfo panel{};
};

TEST(SearchKeyRule, TakesPrintableCharactersAndItsOwnControlKeys) {
  for (uint32_t c = 32; c <= 255; ++c) EXPECT_TRUE(IsSearchKey(c)) << c;
  for (uint32_t c : {kBackspace, kCtrlEnter, kCtrlY, kEsc}) EXPECT_TRUE(IsSearchKey(c)) << c;
}

TEST(SearchKeyRule, LeavesOtherControlCodesToTheHost) {
  // Keys without a character, Enter, Tab and Ctrl with letters other than H, J and Y.
  for (uint32_t c = 0; c < 32; ++c) {
    if (c == kBackspace || c == kCtrlEnter || c == kCtrlY || c == kEsc) continue;
    EXPECT_FALSE(IsSearchKey(c)) << c;
  }
}

TEST_F(SearchKeysTest, TypingMovesToTheFirstDescriptionThatBeginsWithTheText) {
  UsePanel({"zeta", "report", "readme", "rabbit"}, 0);
  Type("r");
  EXPECT_EQ(Text(), "r");
  EXPECT_EQ(panel.CurrentItem, 1);
  Type("ea");
  EXPECT_EQ(Text(), "rea");
  EXPECT_EQ(panel.CurrentItem, 2);
}

TEST_F(SearchKeysTest, LetterNoDescriptionContinuesWithIsRefusedSilently) {
  UsePanel({"zeta", "report"}, 0);
  Type("re");
  host().controls.clear();
  Type("x");
  EXPECT_EQ(Text(), "re");
  EXPECT_EQ(panel.CurrentItem, 1);
  EXPECT_TRUE(host().controls.empty());
  EXPECT_EQ(fake::TheSystem().beeps, 0);
}

TEST_F(SearchKeysTest, NineteenthCharacterBeepsAndBackspaceDropsTheEighteenth) {
  UsePanel({"abcdefghijklmnopqrstuvwxyz"});
  Type("abcdefghijklmnopqr");
  EXPECT_EQ(text.length, 18u);
  Type("s");
  EXPECT_EQ(Text(), "abcdefghijklmnopqr");
  EXPECT_EQ(text.chars[18], '\0');
  EXPECT_EQ(fake::TheSystem().beeps, 1);
  Type(std::string(1, kBackspace));
  EXPECT_EQ(Text(), "abcdefghijklmnopq");
}

TEST_F(SearchKeysTest, FullTextBeepsEvenForACharacterThatWouldNotMatch) {
  UsePanel({"aaaaaaaaaaaaaaaaaa"});
  Type("aaaaaaaaaaaaaaaaaa");
  const int comparisons = host().cmpNameCalls;
  Type("z");
  EXPECT_EQ(fake::TheSystem().beeps, 1);
  EXPECT_EQ(host().cmpNameCalls, comparisons) << "a full text searches nothing";
}

TEST_F(SearchKeysTest, BackspaceAndClearKeysNeverMoveTheCursor) {
  UsePanel({"ab", "abc"}, 0);
  Type("abc");
  ASSERT_EQ(panel.CurrentItem, 1);
  host().controls.clear();
  Type(std::string(1, kBackspace));
  EXPECT_EQ(Text(), "ab");
  Type(std::string(1, kCtrlY));
  EXPECT_EQ(Text(), "");
  Type("abc");
  Type(std::string(1, static_cast<char>(kCtrlBackspace)));
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(panel.CurrentItem, 1);
  EXPECT_TRUE(host().controls.empty());
}

TEST_F(SearchKeysTest, BackspaceOrClearOnAnEmptyTextDoesNothing) {
  UsePanel({"a"});
  Type(std::string{static_cast<char>(kBackspace), static_cast<char>(kCtrlY)});
  EXPECT_EQ(text.length, 0u);
  EXPECT_EQ(text.chars[0], '\0');
}

TEST_F(SearchKeysTest, CtrlEnterAlternatesBetweenTwoMatches) {
  UsePanel({"note one", "other", "note two"}, 1);
  Type("note");
  ASSERT_EQ(panel.CurrentItem, 2);
  Type(std::string(1, kCtrlEnter));
  EXPECT_EQ(panel.CurrentItem, 0);
  Type(std::string(1, kCtrlEnter));
  EXPECT_EQ(panel.CurrentItem, 2);
  EXPECT_EQ(Text(), "note");
}

TEST_F(SearchKeysTest, CtrlEnterWithOneMatchStaysAndWithEmptyTextDoesNothing) {
  UsePanel({"only", "other"}, 1);
  Type(std::string(1, kCtrlEnter));
  EXPECT_EQ(panel.CurrentItem, 1);
  EXPECT_EQ(host().cmpNameCalls, 0);
  Type("on");
  host().controls.clear();
  Type(std::string(1, kCtrlEnter));
  EXPECT_EQ(panel.CurrentItem, 0);
  EXPECT_TRUE(host().controls.empty());
}

TEST_F(SearchKeysTest, CharactersOfTheOemCodePageAreAppendedLikeAnyOther) {
  UsePanel({"plain", "\x8E\x84 umlauts"}, 0);
  Type("\x8E");
  EXPECT_EQ(text.length, 1u);
  EXPECT_EQ(static_cast<unsigned char>(text.chars[0]), 0x8E);
  EXPECT_EQ(panel.CurrentItem, 1);
}

TEST_F(SearchKeysTest, EscEndsTheSearchAndEveryOtherTakenKeyGoesOn) {
  UsePanel({"a"});
  EXPECT_FALSE(ApplySearchKey(kEsc, &text, &panel));
  for (uint32_t c : {kBackspace, kCtrlEnter, kCtrlY, kCtrlBackspace, 32u, 200u}) {
    EXPECT_TRUE(ApplySearchKey(c, &text, &panel)) << c;
  }
}

}  // namespace

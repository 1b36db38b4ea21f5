// The speed search of the wide builds, which takes keys and wildcards as the
// host's own quick search: the previous match, paste, help, the other
// keyboard layout, and "*", "**" and "[" in the typed text.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "speedsearch/search_keys.h"
#include "tests/doubles/search_steps.h"
#include "tests/doubles/test_gateway.h"

namespace {

using G = test::QuickSearchTestGateway<char16_t>;

constexpr uint32_t kCtrl = sys::kLeftCtrl, kRightCtrl = sys::kRightCtrl, kShift = sys::kShift,
                   kAlt = sys::kLeftAlt;

sys::ConsoleEvent Key(uint16_t virtualKey, uint32_t state, uint32_t character) {
  return sys::ConsoleEvent{sys::kKeyEvent, true, virtualKey, character, state, 0};
}

class QuickSearchTest : public testing::Test {
 protected:
  void SetUp() override { host = &G::Reset(); }

  void UsePanel(std::vector<std::u16string> descriptions, int current = 0) {
    std::vector<std::optional<std::u16string>> described(descriptions.begin(), descriptions.end());
    host->Describe(described);
    host->current = current;
    ASSERT_TRUE(G::TakeSnapshot(&snapshot, &view));
    search.emplace(&snapshot, view);
  }

  void Apply(SearchAction action, uint32_t c = 0) { ASSERT_TRUE(search->Key(action, c)); }

  void Type(const std::u16string& keys) {
    for (char16_t c : keys) Apply(ActionOfKey(Key(0, 0, c)), c);
  }

  // Sets the text without a search, so that the cursor stays where it is.
  void SetText(const std::u16string& typed) {
    ClearSearchText(&search->text);
    for (char16_t u : typed) AppendCharacter(&search->text, u);
  }

  std::u16string Text() const { return std::u16string(search->text.chars, search->text.units); }
  int Cursor() const { return search->view.current; }

  test::Host<char16_t>* host = nullptr;
  G::PanelSnapshot snapshot;
  PanelView<char16_t> view{};
  std::optional<SearchSteps<G>> search;
};

// ---- Which key does what -----------------------------------------------------

TEST(QuickSearchKeyRule, ReadsTheVirtualKeyAndModifiersBeforeTheCharacter) {
  struct Case {
    const char* key;
    sys::ConsoleEvent event;
    SearchAction action;
  };
  const Case cases[] = {
      {"Ctrl+Shift+Enter", Key(0x0D, kCtrl | kShift, 10), SearchAction::kPreviousMatch},
      {"right Ctrl+Shift+Enter", Key(0x0D, kRightCtrl | kShift, 10), SearchAction::kPreviousMatch},
      {"Ctrl+Shift+keypad Enter", Key(0x0D, kCtrl | kShift | sys::kEnhancedKey, 10),
       SearchAction::kPreviousMatch},
      {"Ctrl+Enter", Key(0x0D, kCtrl, 10), SearchAction::kNextMatch},
      {"Ctrl+J", Key('J', kCtrl, 10), SearchAction::kNextMatch},
      {"Enter", Key(0x0D, 0, 13), SearchAction::kLeave},
      {"Alt+Ctrl+Shift+Enter", Key(0x0D, kAlt | kCtrl | kShift, 0), SearchAction::kLeave},
      {"Ctrl+V", Key('V', kCtrl, 22), SearchAction::kPaste},
      {"right Ctrl+V", Key('V', kRightCtrl, 22), SearchAction::kPaste},
      {"Ctrl+Shift+V", Key('V', kCtrl | kShift, 22), SearchAction::kLeave},
      {"Shift+Ins", Key(0x2D, kShift | sys::kEnhancedKey, 0), SearchAction::kPaste},
      {"Shift+Num0", Key(0x60, kShift, 0), SearchAction::kPaste},
      {"Ins", Key(0x2D, 0, 0), SearchAction::kLeave},
      {"Ctrl+Ins", Key(0x2D, kCtrl, 0), SearchAction::kLeave},
      {"F1", Key(0x70, 0, 0), SearchAction::kHelp},
      {"Shift+F1", Key(0x70, kShift, 0), SearchAction::kLeave},
      {"a", Key('A', 0, 'a'), SearchAction::kAppend},
      {"AltGr+Q gives @", Key('Q', kAlt | kRightCtrl, '@'), SearchAction::kAppend},
      {"AltGr+V", Key('V', sys::kRightAlt | kCtrl, 0), SearchAction::kLeave},
      {"Esc", Key(0x1B, 0, 27), SearchAction::kEnd},
      {"Backspace", Key(0x08, 0, 8), SearchAction::kDropLast},
      {"Ctrl+Backspace", Key(0x08, kCtrl, 127), SearchAction::kClear},
      {"Ctrl+Y", Key('Y', kCtrl, 25), SearchAction::kClear},
      {"Tab", Key(0x09, 0, 9), SearchAction::kLeave},
  };
  for (const Case& c : cases) EXPECT_EQ(ActionOfKey(c.event), c.action) << c.key;
  EXPECT_EQ(ActionOfCharacter(10), SearchAction::kNextMatch)
      << "the 1.x rule reads Ctrl+Shift+Enter by its character: the next match";
}

// ---- The previous match, the mirror of the next ------------------------------

// On the panel, from the cursor: where the next match goes, and where the
// previous one goes. The previous match on the panel in reverse order, from
// the mirrored cursor, must land where the next match lands, mirrored.
TEST_F(QuickSearchTest, PreviousMatchIsTheMirrorOfTheNextInBothDirections) {
  struct Case {
    const char* what;
    std::vector<std::u16string> panel;
    int cursor;
    std::u16string typed;  // set directly: the cursor stays where it is
    int next, previous;
  };
  const Case cases[] = {
      {"neighbours", {u"note a", u"x", u"note b", u"note c"}, 2, u"note", 3, 0},
      {"wrapping past an end", {u"note a", u"x", u"note b", u"x"}, 0, u"note", 2, 2},
      {"only the current item", {u"x", u"note", u"y"}, 1, u"note", 1, 1},
      {"nothing matches", {u"x", u"y"}, 0, u"note", 0, 0},
      {"a cursor beyond the panel", {u"note a", u"x", u"note b"}, 7, u"note", 2, 0},
  };
  for (const Case& c : cases) {
    for (bool reversed : {false, true}) {
      std::vector<std::u16string> panel = c.panel;
      const int n = int(panel.size());
      int cursor = c.cursor, next = c.next, previous = c.previous;
      if (reversed) {
        panel.assign(c.panel.rbegin(), c.panel.rend());
        cursor = n - 1 - c.cursor % n;
        next = n - 1 - c.previous;
        previous = n - 1 - c.next;
      }
      for (bool forward : {true, false}) {
        UsePanel(panel, cursor);
        SetText(c.typed);
        Apply(forward ? SearchAction::kNextMatch : SearchAction::kPreviousMatch);
        EXPECT_EQ(Cursor() % n, forward ? next : previous)
            << c.what << (reversed ? ", reversed" : "") << (forward ? ", next" : ", previous");
      }
    }
  }
}

TEST_F(QuickSearchTest, PreviousMatchWithAnEmptyTextOrOnTheOnlyMatchAsksNoRedraw) {
  UsePanel({u"note", u"x"}, 0);
  Apply(SearchAction::kPreviousMatch);
  Type(u"no");
  Apply(SearchAction::kPreviousMatch);
  EXPECT_EQ(Cursor(), 0);
  EXPECT_TRUE(host->moves.empty());
}

// ---- Paste ------------------------------------------------------------------

TEST_F(QuickSearchTest, PasteAppendsTheFirstLineThenDropsFromTheEndUntilSomethingMatches) {
  UsePanel({u"zeta", u"Report 2023", u"Report 2024 draft"});
  Type(u"r");
  host->clipboard = u"eport 2024 final\nsecond line";
  Apply(SearchAction::kPaste);
  EXPECT_EQ(Text(), u"report 2024 ");
  EXPECT_EQ(Cursor(), 2);

  host->clipboard = u"\"zz\"";  // quotes left out; nothing continues with z
  Apply(SearchAction::kPaste);
  EXPECT_EQ(Text(), u"report 2024 ") << "a paste nothing continues with changes nothing";
  EXPECT_EQ(host->beeps, 0);
}

TEST_F(QuickSearchTest, PasteKeepsTheEighteenCharacterLimitAndWholeSurrogatePairs) {
  UsePanel({u"abcdefghijklmnopq\U0001F600xyz", u"abcdefghijklmnopqrstu"});
  host->clipboard = u"abcdefghijklmnopq\U0001F600xyz";
  Apply(SearchAction::kPaste);
  EXPECT_EQ(search->text.length, 18u);
  EXPECT_EQ(Text(), u"abcdefghijklmnopq\U0001F600");
  SetText(u"");
  Type(u"abcdefghijklmnop");
  host->clipboard = u"qrstu";
  Apply(SearchAction::kPaste);
  EXPECT_EQ(Text(), u"abcdefghijklmnopqr") << "cut at 18 characters";
  EXPECT_EQ(Cursor(), 1);
}

TEST_F(QuickSearchTest, AMacrosStartingTextIsTakenLikeAPaste) {
  UsePanel({u"alpha", u"beta"});
  search_keys::AppendWhileMatching(search->Session(), u"\"betamax\"", UINT32_MAX);
  EXPECT_EQ(Text(), u"beta");
  EXPECT_EQ(Cursor(), 1);
}

// ---- Help -------------------------------------------------------------------

TEST_F(QuickSearchTest, F1ShowsTheHelpAndTheSearchGoesOnWithItsText) {
  UsePanel({u"report"});
  Type(u"re");
  Apply(ActionOfKey(Key(0x70, 0, 0)));
  EXPECT_EQ(host->helpTopics, std::vector<std::u16string>{u"SpeedSearch"});
  EXPECT_EQ(Text(), u"re");
}

// ---- Wildcards, as the host's quick search takes them ------------------------

TEST_F(QuickSearchTest, LeadingStarFindsTheTextAnywhereAndATypedSecondStarIsDropped) {
  UsePanel({u"Zebra", u"Apple pie recipe", u"Pie chart"});
  Type(u"*pie");
  EXPECT_EQ(Cursor(), 1);
  Type(u"*");
  Type(u"*");
  EXPECT_EQ(Text(), u"*pie*") << "** is one *";
  Type(u"rec?p");
  EXPECT_EQ(Text(), u"*pie*rec?p");
  EXPECT_EQ(Cursor(), 1);
}

TEST_F(QuickSearchTest, BracketsAreCharactersNotSets) {
  UsePanel({u"a note", u"[draft] plan"});
  Type(u"[ab]");
  EXPECT_EQ(Text(), u"[") << "[ab] as a set would have found 'a note'";
  Type(u"draft]");
  EXPECT_EQ(Text(), u"[draft]");
  EXPECT_EQ(Cursor(), 1);
}

// ---- The other keyboard layout -----------------------------------------------

TEST_F(QuickSearchTest, ALetterThatMatchesNothingIsRetriedInTheOtherLayout) {
  UsePanel({u"\u0439\u043e\u0433\u0443\u0440\u0442", u"water"});
  Type(u"q");
  EXPECT_EQ(Text(), u"\u0439") << "q is the key of \u0439";
  EXPECT_EQ(Cursor(), 0);
  Type(u"w");
  EXPECT_EQ(Text(), u"\u0439") << "neither w nor \u0446 continues the text";
  SetText(u"");
  Type(u"w");
  EXPECT_EQ(Text(), u"w") << "a letter that matches as typed stays as typed";
  EXPECT_EQ(Cursor(), 1);
}

}  // namespace

// Moving the panel cursor to the nearest item whose description begins with a text.
#include "speedsearch/find_by_description.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/doubles/search_steps.h"
#include "tests/doubles/test_gateway.h"

namespace {

using G = test::TestGateway<char>;

class FindByDescriptionTest : public testing::Test {
 protected:
  void SetUp() override { host = &G::Reset(); }

  // A speed search on a panel of these descriptions, the cursor on current.
  SearchSteps<G>& Start(const std::vector<std::optional<std::string>>& descriptions, int current) {
    host->Describe(descriptions);
    host->current = current;
    EXPECT_TRUE(G::TakeSnapshot(&snapshot, &view));
    steps.emplace(&snapshot, view);
    return *steps;
  }

  int Cursor() const { return steps->view.current; }

  test::Host<char>* host = nullptr;
  G::PanelSnapshot snapshot;
  PanelView<char> view{};
  std::optional<SearchSteps<G>> steps;
};

TEST_F(FindByDescriptionTest, FindsTheNearestMatchAtOrAfterTheCursor) {
  SearchSteps<G>& search = Start({"apple", "banana", "berry", "cherry", "blueberry"}, 2);
  EXPECT_TRUE(search.Find("b", 0));
  EXPECT_EQ(Cursor(), 2);
  EXPECT_TRUE(search.Find("bl", 0));
  EXPECT_EQ(Cursor(), 4);
}

TEST_F(FindByDescriptionTest, WrapsFromTheLastItemToTheFirst) {
  SearchSteps<G>& search = Start({"banana", "apple", "cherry"}, 2);
  EXPECT_TRUE(search.Find("ban", 0));
  EXPECT_EQ(Cursor(), 0);
}

TEST_F(FindByDescriptionTest, StepOneStartsAfterTheCursorAndVisitsItLast) {
  SearchSteps<G>& search = Start({"beta", "alpha", "bravo"}, 0);
  EXPECT_TRUE(search.Find("b", 1));
  EXPECT_EQ(Cursor(), 2);
  EXPECT_TRUE(search.Find("b", 1));
  EXPECT_EQ(Cursor(), 0);

  host->moves.clear();
  EXPECT_TRUE(search.Find("al", 1));
  EXPECT_EQ(Cursor(), 1);
  EXPECT_TRUE(search.Find("al", 1)) << "the only match is the current item";
  EXPECT_EQ(Cursor(), 1);
  EXPECT_EQ(host->moves.size(), 1u);
}

TEST_F(FindByDescriptionTest, CurrentItemThatAlreadyMatchesStaysWithoutAMove) {
  SearchSteps<G>& search = Start({"report", "readme"}, 1);
  search.view.top = 4;
  EXPECT_TRUE(search.Find("re", 0));
  EXPECT_EQ(Cursor(), 1);
  EXPECT_EQ(search.view.top, 4);
  EXPECT_TRUE(host->moves.empty());
}

// The found item goes (bottom - top - 5) / 2 lines below the top line,
// truncated towards zero; the host clamps a top line out of range itself.
TEST_F(FindByDescriptionTest, MovingTellsTheHostWithTheFoundItemMidPanel) {
  const struct {
    PanelRect rect;
    int target, top;
  } cases[] = {{{0, 1, 39, 20}, 2, -5}, {{0, 1, 39, 21}, 10, 3}, {{0, 10, 39, 12}, 1, 2}};
  for (const auto& c : cases) {
    host->rect = c.rect;
    std::vector<std::optional<std::string>> panel(c.target + 2, "x");
    panel[c.target] = "target";
    host->moves.clear();
    ASSERT_TRUE(Start(panel, 0).Find("tar", 0));
    EXPECT_EQ(host->moves, (std::vector<test::Move>{{c.target, c.top}})) << c.rect.bottom;
    EXPECT_EQ(steps->view.top, c.top);
  }
}

TEST_F(FindByDescriptionTest, EmptyTextFindsNothingAndCallsNothing) {
  SearchSteps<G>& search = Start({"", "a"}, 1);
  EXPECT_FALSE(search.Find("", 0));
  EXPECT_EQ(Cursor(), 1);
  EXPECT_EQ(host->cmpNameCalls, 0);
  EXPECT_TRUE(host->moves.empty());
}

TEST_F(FindByDescriptionTest, ItemsWithoutDescriptionNeverMatch) {
  EXPECT_FALSE(Start({std::nullopt, std::nullopt}, 0).Find("a", 0));
  EXPECT_EQ(host->cmpNameCalls, 0);

  EXPECT_TRUE(Start({std::nullopt, "abc", std::nullopt}, 0).Find("a", 0));
  EXPECT_EQ(Cursor(), 1);
}

TEST_F(FindByDescriptionTest, NoMatchLeavesTheViewAsItWas) {
  SearchSteps<G>& search = Start({"one", "two", "three"}, 1);
  search.view.top = 3;
  EXPECT_FALSE(search.Find("four", 0));
  EXPECT_EQ(Cursor(), 1);
  EXPECT_EQ(search.view.top, 3);
  EXPECT_TRUE(host->moves.empty());
}

TEST_F(FindByDescriptionTest, WildcardsTypedIntoTheTextWorkAsTheHostReadsThem) {
  SearchSteps<G>& search = Start({"alpha", "beta gamma", "bxta"}, 0);
  EXPECT_TRUE(search.Find("*gam", 0));
  EXPECT_EQ(Cursor(), 1);
  EXPECT_TRUE(search.Find("b?ta", 1));
  EXPECT_EQ(Cursor(), 2);
}

TEST_F(FindByDescriptionTest, CursorOutsideThePanelStillVisitsEveryItemOnce) {
  SearchSteps<G>& search = Start({"a", "b", "c"}, -1);
  EXPECT_TRUE(search.Find("c", 0));
  EXPECT_EQ(Cursor(), 2);
  search.view.current = 7;  // 7 mod 3 is item 1
  EXPECT_TRUE(search.Find("b", 0));
  EXPECT_EQ(Cursor(), 1);
}

}  // namespace

// Moving the panel cursor to the nearest item whose description begins with a text.
#include <gtest/gtest.h>

#include "far1/far1_commands.h"
#include "tests/doubles/fake_system.h"
#include "tests/far1/fake_far1.h"

namespace {

class FindByDescriptionTest : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetSystem();
    fake::InstallHost();
  }

  // Takes the snapshot the way a speed search does.
  PanelInfo Snapshot(int current) {
    fake::TheHost().panel.CurrentItem = current;
    return fake::TheHost().Snapshot();
  }

  fake::Host& host() { return fake::TheHost(); }
};

TEST_F(FindByDescriptionTest, FindsTheNearestMatchAtOrAfterTheCursor) {
  host().SetItems({"apple", "banana", "berry", "cherry", "blueberry"});
  PanelInfo panel = Snapshot(2);
  EXPECT_EQ(FindByDescription("b", 0, &panel), 1);
  EXPECT_EQ(panel.CurrentItem, 2);
  EXPECT_EQ(FindByDescription("bl", 0, &panel), 1);
  EXPECT_EQ(panel.CurrentItem, 4);
}

TEST_F(FindByDescriptionTest, WrapsFromTheLastItemToTheFirst) {
  host().SetItems({"banana", "apple", "cherry"});
  PanelInfo panel = Snapshot(2);
  EXPECT_EQ(FindByDescription("ban", 0, &panel), 1);
  EXPECT_EQ(panel.CurrentItem, 0);
}

TEST_F(FindByDescriptionTest, StepOneStartsAfterTheCursorAndVisitsItLast) {
  host().SetItems({"beta", "alpha", "bravo"});
  PanelInfo panel = Snapshot(0);
  EXPECT_EQ(FindByDescription("b", 1, &panel), 1);
  EXPECT_EQ(panel.CurrentItem, 2);
  EXPECT_EQ(FindByDescription("b", 1, &panel), 1);
  EXPECT_EQ(panel.CurrentItem, 0);

  host().controls.clear();
  EXPECT_EQ(FindByDescription("al", 1, &panel), 1);
  EXPECT_EQ(panel.CurrentItem, 1);
  EXPECT_EQ(FindByDescription("al", 1, &panel), 1) << "the only match is the current item";
  EXPECT_EQ(panel.CurrentItem, 1);
  EXPECT_EQ(host().Count(FCTL_REDRAWPANEL), 1);
}

TEST_F(FindByDescriptionTest, CurrentItemThatAlreadyMatchesStaysWithoutARedraw) {
  host().SetItems({"report", "readme"});
  PanelInfo panel = Snapshot(1);
  const PanelInfo before = panel;
  EXPECT_EQ(FindByDescription("re", 0, &panel), 1);
  EXPECT_EQ(panel.CurrentItem, 1);
  EXPECT_EQ(panel.TopPanelItem, before.TopPanelItem);
  EXPECT_TRUE(host().controls.empty());
}

TEST_F(FindByDescriptionTest, MovingAsksTheHostToRedrawWithTheFoundItemMidPanel) {
  host().SetItems({"x", "y", "target", "z"});
  host().panel.PanelRect = HostRect{0, 1, 39, 20};
  PanelInfo panel = Snapshot(0);
  ASSERT_EQ(FindByDescription("tar", 0, &panel), 1);
  // (20 - 1 - 5) / 2 = 7 lines above it; the host clamps -5 itself.
  EXPECT_EQ(panel.TopPanelItem, -5);
  ASSERT_EQ(host().controls.size(), 1u);
  EXPECT_EQ(host().controls[0].command, FCTL_REDRAWPANEL);
  EXPECT_TRUE(host().controls[0].hasParam);
  EXPECT_EQ(host().controls[0].currentItem, 2);
  EXPECT_EQ(host().controls[0].topItem, -5);
}

TEST_F(FindByDescriptionTest, OddPanelHeightRoundsTheTopLineDown) {
  host().SetItems({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "target"});
  host().panel.PanelRect = HostRect{0, 1, 39, 21};  // (21 - 1 - 5) / 2 = 7
  PanelInfo panel = Snapshot(0);
  ASSERT_EQ(FindByDescription("tar", 0, &panel), 1);
  EXPECT_EQ(panel.TopPanelItem, 3);
}

TEST_F(FindByDescriptionTest, TopLineDivisionTruncatesTowardsZero) {
  host().SetItems({"a", "b"});
  host().panel.PanelRect = HostRect{0, 10, 39, 12};  // (12 - 10 - 5) / 2 = -1
  PanelInfo panel = Snapshot(0);
  ASSERT_EQ(FindByDescription("b", 0, &panel), 1);
  EXPECT_EQ(panel.TopPanelItem, 2);
}

TEST_F(FindByDescriptionTest, EmptyTextFindsNothingAndCallsNothing) {
  host().SetItems({"", "a"});
  PanelInfo panel = Snapshot(1);
  EXPECT_EQ(FindByDescription("", 0, &panel), 0);
  EXPECT_EQ(panel.CurrentItem, 1);
  EXPECT_EQ(host().cmpNameCalls, 0);
  EXPECT_TRUE(host().controls.empty());
}

TEST_F(FindByDescriptionTest, ItemsWithoutDescriptionNeverMatch) {
  host().SetItems({std::nullopt, std::nullopt});
  PanelInfo panel = Snapshot(0);
  EXPECT_EQ(FindByDescription("a", 0, &panel), 0);
  EXPECT_EQ(host().cmpNameCalls, 0);

  host().SetItems({std::nullopt, "abc", std::nullopt});
  panel = Snapshot(0);
  EXPECT_EQ(FindByDescription("a", 0, &panel), 1);
  EXPECT_EQ(panel.CurrentItem, 1);
}

TEST_F(FindByDescriptionTest, NoMatchLeavesTheSnapshotAsItWas) {
  host().SetItems({"one", "two", "three"});
  PanelInfo panel = Snapshot(1);
  panel.TopPanelItem = 3;
  EXPECT_EQ(FindByDescription("four", 0, &panel), 0);
  EXPECT_EQ(panel.CurrentItem, 1);
  EXPECT_EQ(panel.TopPanelItem, 3);
}

TEST_F(FindByDescriptionTest, WildcardsTypedIntoTheTextWorkAsTheHostReadsThem) {
  host().SetItems({"alpha", "beta gamma", "bxta"});
  PanelInfo panel = Snapshot(0);
  EXPECT_EQ(FindByDescription("*gam", 0, &panel), 1);
  EXPECT_EQ(panel.CurrentItem, 1);
  EXPECT_EQ(FindByDescription("b?ta", 1, &panel), 1);
  EXPECT_EQ(panel.CurrentItem, 2);
}

TEST_F(FindByDescriptionTest, EmptyOrNegativeItemCountIsAnEmptyPanel) {
  host().SetItems({"a"});
  PanelInfo panel = Snapshot(0);
  panel.ItemsNumber = 0;
  EXPECT_EQ(FindByDescription("a", 0, &panel), 0);
  panel.ItemsNumber = -3;
  EXPECT_EQ(FindByDescription("a", 0, &panel), 0);
  EXPECT_EQ(host().cmpNameCalls, 0);
}

TEST_F(FindByDescriptionTest, CursorOutsideThePanelStillVisitsEveryItemOnce) {
  host().SetItems({"a", "b", "c"});
  PanelInfo panel = Snapshot(-1);
  EXPECT_EQ(FindByDescription("c", 0, &panel), 1);
  EXPECT_EQ(panel.CurrentItem, 2);
  panel.CurrentItem = 7;  // 7 mod 3 is item 1
  EXPECT_EQ(FindByDescription("b", 0, &panel), 1);
  EXPECT_EQ(panel.CurrentItem, 1);
}

}  // namespace

// Selecting and unselecting the items whose description matches a mask.
#include "select/select_by_description.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/doubles/test_gateway.h"

namespace {

using G = test::TestGateway<char>;

class SelectByDescriptionTest : public testing::Test {
 protected:
  void SetUp() override {
    host = &G::Reset();
    host->Describe({"report may", "readme", std::nullopt, "report june", ""});
  }

  void Select(const char* mask, bool select = true) {
    G::PanelSnapshot snapshot;
    PanelView<char> view{};
    ASSERT_TRUE(G::TakeSnapshot(&snapshot, &view));
    SelectByDescription<G>(&snapshot, view, mask, select);
    G::ReleaseSnapshot(&snapshot);
  }

  void SelectAll() {
    for (test::Item<char>& item : host->items) item.selected = true;
  }

  test::Host<char>* host = nullptr;
};

TEST_F(SelectByDescriptionTest, SelectsItemsWhoseDescriptionMatchesAndAppliesItOnce) {
  Select("report*");
  EXPECT_EQ(host->Selected(), (std::vector<bool>{true, false, false, true, false}));
  EXPECT_EQ(host->selectionsBegun, 1);
  EXPECT_EQ(host->selectionsEnded, 1);
}

TEST_F(SelectByDescriptionTest, UnselectClearsOnlyMatchesAndKeepsTheRestOfTheSelection) {
  SelectAll();
  Select("*june", false);
  EXPECT_EQ(host->Selected(), (std::vector<bool>{true, true, true, false, true}));
}

TEST_F(SelectByDescriptionTest, SelectingAddsToAnExistingSelection) {
  host->items[1].selected = true;
  Select("report*");
  EXPECT_EQ(host->Selected(), (std::vector<bool>{true, true, false, true, false}));
}

TEST_F(SelectByDescriptionTest, ItemsWithoutDescriptionAreNeverTouched) {
  SelectAll();
  Select("*", false);
  EXPECT_EQ(host->Selected(), (std::vector<bool>{false, false, true, false, false}));
  host->items[2].selected = false;
  Select("*");
  EXPECT_FALSE(host->items[2].selected);
}

TEST_F(SelectByDescriptionTest, MaskWithoutWildcardsMatchesOnlyWholeDescriptions) {
  Select("README");
  EXPECT_EQ(host->Selected(), (std::vector<bool>{false, true, false, false, false}));
}

TEST_F(SelectByDescriptionTest, EmptyMaskIsComparedLikeAnyOther) {
  Select("");
  EXPECT_EQ(host->Selected(), (std::vector<bool>{false, false, false, false, true}));
}

TEST_F(SelectByDescriptionTest, MaskMatchingNothingStillAppliesAndRedraws) {
  Select("nothing*");
  EXPECT_EQ(host->Selected(), std::vector<bool>(5, false));
  EXPECT_EQ(host->selectionsEnded, 1);
  EXPECT_EQ(host->redraws, 1);
}

}  // namespace

// Selecting and unselecting by a description mask through the host double.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "far1/far1_commands.h"
#include "tests/doubles/fake_system.h"
#include "tests/far1/fake_far1.h"

namespace {

constexpr uint32_t kHostBits = 0x80000000u | 0x20000000u;

class SelectByDescriptionTest : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetSystem();
    host = &fake::InstallHost();
    host->SetItems({"report may", "readme", std::nullopt, "report june", ""});
  }

  // The user types mask into the edit field and presses Enter.
  void UserEnters(const std::string& mask) {
    host->onDialog = [mask](FarDialogItem* items, int) {
      std::strncpy(items[1].Data, mask.c_str(), sizeof items[1].Data);
      return 1;
    };
  }

  void UserCancels() {
    host->onDialog = [](FarDialogItem*, int) { return -1; };
  }

  std::vector<bool> Selected() const {
    std::vector<bool> selected;
    for (const PluginPanelItem& item : host->items) selected.push_back(item.Flags & PPIF_SELECTED);
    return selected;
  }

  // Flags is a packed field: read it by value, never bind a reference to it.
  uint32_t FlagsOf(size_t item) const { return host->items[item].Flags; }

  fake::Host* host = nullptr;
};

TEST_F(SelectByDescriptionTest, SelectsItemsWhoseDescriptionMatchesAndAppliesIt) {
  UserEnters("report*");
  SelectByDescription(0);
  EXPECT_EQ(Selected(), (std::vector<bool>{true, false, false, true, false}));
  EXPECT_EQ(host->CommandsCalled(),
            (std::vector<int>{FCTL_GETPANELINFO, FCTL_SETSELECTION, FCTL_REDRAWPANEL}));
  EXPECT_FALSE(host->controls.back().hasParam);
  EXPECT_EQ(host->selectionFlags.size(), host->items.size());
  EXPECT_EQ(host->selectionFlags[0], PPIF_SELECTED);
}

TEST_F(SelectByDescriptionTest, UnselectClearsOnlyMatchesAndKeepsTheRestOfTheSelection) {
  for (PluginPanelItem& item : host->items) item.Flags = PPIF_SELECTED | kHostBits;
  UserEnters("*june");
  SelectByDescription(1);
  EXPECT_EQ(Selected(), (std::vector<bool>{true, true, true, false, true}));
  for (const PluginPanelItem& item : host->items) EXPECT_EQ(item.Flags & kHostBits, kHostBits);
}

TEST_F(SelectByDescriptionTest, SelectingAddsToAnExistingSelectionAndLeavesHostBitsAlone) {
  host->items[1].Flags = PPIF_SELECTED;
  host->items[0].Flags = 0x80000000u;
  host->items[3].Flags = 0x20000000u;
  UserEnters("report*");
  SelectByDescription(0);
  EXPECT_EQ(FlagsOf(0), 0x80000000u | PPIF_SELECTED);
  EXPECT_EQ(FlagsOf(1), PPIF_SELECTED);
  EXPECT_EQ(FlagsOf(3), 0x20000000u | PPIF_SELECTED);
}

TEST_F(SelectByDescriptionTest, ItemsWithoutDescriptionAreNeverTouched) {
  host->items[2].Flags = PPIF_SELECTED;
  UserEnters("*");
  SelectByDescription(1);
  EXPECT_EQ(Selected(), (std::vector<bool>{false, false, true, false, false}));
  UserEnters("*");
  host->items[2].Flags = 0;
  SelectByDescription(0);
  EXPECT_FALSE(host->items[2].Flags & PPIF_SELECTED);
}

TEST_F(SelectByDescriptionTest, MaskWithoutWildcardsMatchesOnlyWholeDescriptions) {
  UserEnters("README");
  SelectByDescription(0);
  EXPECT_EQ(Selected(), (std::vector<bool>{false, true, false, false, false}));
}

TEST_F(SelectByDescriptionTest, EmptyMaskIsComparedLikeAnyOther) {
  UserEnters("");
  SelectByDescription(0);
  EXPECT_EQ(Selected(), (std::vector<bool>{false, false, false, false, true}));
}

TEST_F(SelectByDescriptionTest, MaskMatchingNothingStillAppliesAndRedraws) {
  UserEnters("nothing*");
  SelectByDescription(0);
  EXPECT_EQ(Selected(), std::vector<bool>(5, false));
  EXPECT_EQ(host->Count(FCTL_SETSELECTION), 1);
  EXPECT_EQ(host->Count(FCTL_REDRAWPANEL), 1);
}

TEST_F(SelectByDescriptionTest, CancelledDialogChangesNothingAndAsksNoRedraw) {
  UserCancels();
  SelectByDescription(0);
  EXPECT_EQ(Selected(), std::vector<bool>(5, false));
  EXPECT_EQ(host->CommandsCalled(), std::vector<int>{FCTL_GETPANELINFO});
  // Any result but the edit item's index is a cancel.
  host->onDialog = [](FarDialogItem* items, int) {
    std::strcpy(items[1].Data, "*");
    return 0;
  };
  SelectByDescription(0);
  EXPECT_EQ(Selected(), std::vector<bool>(5, false));
}

TEST_F(SelectByDescriptionTest, NonFileEmptyOrUnreadablePanelShowsNoDialog) {
  host->panel.PanelType = 2;
  SelectByDescription(0);
  host->panel.PanelType = PTYPE_FILEPANEL;
  host->getPanelInfoResult = 0;
  SelectByDescription(0);
  host->getPanelInfoResult = 1;
  host->SetItems({});
  SelectByDescription(1);
  EXPECT_TRUE(host->dialogs.empty());
  EXPECT_EQ(host->Count(FCTL_REDRAWPANEL), 0);
}

TEST_F(SelectByDescriptionTest, DialogCarriesTheTableTitleAndPlacement) {
  UserCancels();
  SelectByDescription(0);
  SelectByDescription(1);
  ASSERT_EQ(host->dialogs.size(), 2u);
  const fake::DialogCall& call = host->dialogs[0];
  EXPECT_EQ(call.moduleNumber, host->moduleNumber);
  EXPECT_EQ(std::make_tuple(call.x1, call.y1, call.x2, call.y2), std::make_tuple(-1, -1, 45, 5));
  EXPECT_EQ(call.helpTopic, "DescSel");
  ASSERT_EQ(call.items.size(), 2u);
  const FarDialogItem& box = call.items[0];
  EXPECT_EQ(std::make_tuple(box.Type, box.X1, box.Y1, box.X2, box.Y2, box.Focus, box.Flags,
                            box.DefaultButton),
            std::make_tuple(DI_DOUBLEBOX, 3, 1, 41, 3, 0, 0u, 0));
  EXPECT_STREQ(box.Data, "Description Select");
  const FarDialogItem& edit = call.items[1];
  EXPECT_EQ(std::make_tuple(edit.Type, edit.X1, edit.Y1, edit.X2, edit.Y2, edit.Focus, edit.Flags,
                            edit.DefaultButton),
            std::make_tuple(DI_EDIT, 5, 2, 39, 3, 1, DIF_HISTORY, 1));
  EXPECT_STREQ(edit.History, "DescSelect");
  EXPECT_STREQ(host->dialogs[1].items[0].Data, "Description Unselect");
}

TEST_F(SelectByDescriptionTest, DialogReopensWithTheLastMaskAcrossBothCommands) {
  UserEnters("report*");
  SelectByDescription(0);
  UserCancels();
  SelectByDescription(1);
  EXPECT_STREQ(host->dialogs[1].items[1].Data, "report*");
  EXPECT_STREQ(host->dialogs[1].items[0].Data, "Description Unselect");
  SelectByDescription(0);
  EXPECT_STREQ(host->dialogs[2].items[0].Data, "Description Select");
}

TEST_F(SelectByDescriptionTest, MaskFillingTheWholeBufferIsCutAt511Characters) {
  host->SetItems({std::string(511, 'a'), std::string(512, 'a')});
  host->onDialog = [](FarDialogItem* items, int) {
    std::memset(items[1].Data, 'a', sizeof items[1].Data);
    return 1;
  };
  SelectByDescription(0);
  EXPECT_EQ(Selected(), (std::vector<bool>{true, false}));
}

}  // namespace

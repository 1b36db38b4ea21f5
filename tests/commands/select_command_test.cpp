// The select and unselect commands: when the mask dialog shows, what it
// shows, the mask it keeps, what a cancelled dialog leaves alone, a mask
// the host cannot read, and a mask a macro gives.
#include "commands/select_command.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/doubles/test_gateway.h"

namespace {

using G = test::TestGateway<char>;

class SelectCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    host = &G::Reset();
    host->Describe({"report may", "readme", "report june"});
  }
  void TearDown() override { EXPECT_EQ(host->snapshotsHeld, 0); }

  void UserEnters(const std::string& mask) {
    host->dialogTyped = mask;
    host->dialogAccepted = true;
  }

  test::Host<char>* host = nullptr;
};

TEST_F(SelectCommandTest, SelectsAndUnselectsByTheMaskTheUserEnters) {
  UserEnters("report*");
  SelectCommand<G>(false);
  EXPECT_EQ(host->Selected(), (std::vector<bool>{true, false, true}));
  UserEnters("*june");
  SelectCommand<G>(true);
  EXPECT_EQ(host->Selected(), (std::vector<bool>{true, false, false}));
}

TEST_F(SelectCommandTest, CancelledDialogChangesNothingAndAsksNoRedraw) {
  host->dialogTyped = "*";
  host->dialogAccepted = false;
  SelectCommand<G>(false);
  EXPECT_EQ(host->Selected(), std::vector<bool>(3, false));
  EXPECT_EQ(host->selectionsBegun, 0);
  EXPECT_EQ(host->redraws, 0);
}

TEST_F(SelectCommandTest, PanelWithoutASnapshotShowsNoDialog) {
  host->filePanel = false;
  SelectCommand<G>(false);
  host->filePanel = true;
  host->items.clear();
  SelectCommand<G>(true);
  EXPECT_TRUE(host->dialogs.empty());
  EXPECT_EQ(host->redraws, 0);
}

TEST_F(SelectCommandTest, DialogIsTitledAfterTheCommandInTheHostsLanguage) {
  host->dialogAccepted = false;
  host->messages[static_cast<int>(Message::kUnselectTitle)] = "Snyat' vydelenie";
  SelectCommand<G>(false);
  SelectCommand<G>(true);
  ASSERT_EQ(host->dialogs.size(), 2u);
  EXPECT_EQ(host->dialogs[0].title, "Description Select");
  EXPECT_EQ(host->dialogs[1].title, "Snyat' vydelenie");
}

TEST_F(SelectCommandTest, DialogReopensWithTheLastMaskAcrossBothCommandsWhicheverWayItClosed) {
  UserEnters("report*");
  SelectCommand<G>(false);
  host->dialogTyped = "typed, then Esc";
  host->dialogAccepted = false;
  SelectCommand<G>(true);
  host->dialogTyped.reset();
  SelectCommand<G>(false);
  ASSERT_EQ(host->dialogs.size(), 3u);
  EXPECT_EQ(host->dialogs[1].field, "report*");
  EXPECT_EQ(host->dialogs[2].field, "typed, then Esc");
}

TEST_F(SelectCommandTest, KeptMaskIsCutAt511Units) {
  UserEnters(std::string(600, 'q'));
  SelectCommand<G>(false);
  host->dialogTyped.reset();
  SelectCommand<G>(false);
  EXPECT_EQ(host->dialogs[1].field, std::string(511, 'q'));
}

TEST_F(SelectCommandTest, AMaskTheHostCannotReadAsksAgainWithTheTextKept) {
  host->maskIsValid = [](const char* mask) { return mask[0] != '/'; };
  host->dialogTyped = "/report";
  host->laterDialogsTyped = {"report*"};
  EXPECT_EQ(SelectCommand<G>(false), 2) << "the number of items the mask matched";
  EXPECT_EQ(host->maskMessages, 1) << "the host's own message";
  ASSERT_EQ(host->dialogs.size(), 2u);
  EXPECT_EQ(host->dialogs[1].field, "/report") << "the dialog again, with the text kept";
  EXPECT_EQ(host->Selected(), (std::vector<bool>{true, false, true}));

  host->dialogTyped = "/x";
  host->laterDialogsTyped.clear();
  host->dialogAccepted = false;
  EXPECT_EQ(SelectCommand<G>(false), -1);
  EXPECT_EQ(host->selectionsBegun, 1) << "Esc there selects nothing";
}

TEST_F(SelectCommandTest, AMaskGivenByAMacroIsUsedWithoutTheDialogWithinItsLimit) {
  host->maskIsValid = [](const char* mask) { return mask[0] != '/'; };
  EXPECT_EQ(SelectCommand<G>(false, "report*"), 2);
  EXPECT_EQ(SelectCommand<G>(true, "*june"), 1);
  EXPECT_EQ(host->Selected(), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(SelectCommand<G>(false, "/x"), -1);
  EXPECT_EQ(host->maskMessages, 1);
  EXPECT_EQ(SelectCommand<G>(false, std::string(512, '*').c_str()), -1)
      << "longer than the dialog's field";
  EXPECT_EQ(SelectCommand<G>(false, std::string(511, '*').c_str()), 3);
  EXPECT_TRUE(host->dialogs.empty());
}

}  // namespace

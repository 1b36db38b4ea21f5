// The select and unselect commands: when the mask dialog shows, what it
// shows, the mask it keeps, and what a cancelled dialog leaves alone.
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

}  // namespace

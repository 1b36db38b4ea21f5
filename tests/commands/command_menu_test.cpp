// The command menu: its rows in the host's language, and the command each runs.
#include "commands/command_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/doubles/fake_system.h"
#include "tests/doubles/test_gateway.h"

namespace {

using G = test::TestGateway<char>;

class CommandMenuTest : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetSystem();
    host = &G::Reset();
    host->Describe({"report", "readme"});
    host->dialogTyped = "readme";
    host->keys.push_back(fake::KeyDown(27));
  }

  test::Host<char>* host = nullptr;
};

TEST_F(CommandMenuTest, ShowsTheThreeCommandsUnderThePluginsTitleInTheHostsLanguage) {
  host->messages[static_cast<int>(Message::kSelectCommand)] = "&Pometit'...";
  OpenCommandMenu<G>();
  ASSERT_EQ(host->menus.size(), 1u);
  EXPECT_EQ(host->menus[0].title, "Veltrane");
  EXPECT_EQ(host->menus[0].items,
            (std::vector<std::string>{"&Description Speed Search", "&Pometit'...",
                                      "&Unselect by description..."}));
}

TEST_F(CommandMenuTest, CancelledOrUnknownChoiceRunsNothing) {
  for (int choice : {-1, 3, 100}) {
    host->menuChoice = choice;
    OpenCommandMenu<G>();
  }
  EXPECT_TRUE(host->draws.empty());
  EXPECT_TRUE(host->dialogs.empty());
  EXPECT_EQ(host->redraws, 0);
}

TEST_F(CommandMenuTest, FirstRowRunsOneSpeedSearch) {
  host->menuChoice = 0;
  OpenCommandMenu<G>();
  EXPECT_FALSE(host->draws.empty());
  EXPECT_TRUE(host->keys.empty()) << "the search took the Esc";
  EXPECT_TRUE(host->dialogs.empty());
}

TEST_F(CommandMenuTest, SecondAndThirdRowsSelectAndUnselect) {
  host->menuChoice = 1;
  OpenCommandMenu<G>();
  EXPECT_EQ(host->Selected(), (std::vector<bool>{false, true}));
  host->menuChoice = 2;
  OpenCommandMenu<G>();
  EXPECT_EQ(host->Selected(), (std::vector<bool>{false, false}));
  ASSERT_EQ(host->dialogs.size(), 2u);
  EXPECT_EQ(host->dialogs[1].title, "Description Unselect");
  EXPECT_TRUE(host->draws.empty());
}

}  // namespace

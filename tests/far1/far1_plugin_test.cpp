// The plug-in menu entry and the command menu behind it.
#include "far1/far1_plugin.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/doubles/fake_system.h"
#include "tests/far1/fake_far1.h"

namespace {

TEST(GetPluginInfo, FillsTheOneMenuEntryAndTouchesNothingElse) {
  PluginInfo info;
  std::memset(&info, 0xA5, sizeof info);
  PluginInfo sentinel = info;
  GetPluginInfo(&info);
  EXPECT_EQ(info.StructSize, 44);
  ASSERT_EQ(info.PluginMenuStringsNumber, 1);
  EXPECT_STREQ(info.PluginMenuStrings[0], "Veltrane");

  info.StructSize = sentinel.StructSize;
  info.PluginMenuStrings = sentinel.PluginMenuStrings;
  info.PluginMenuStringsNumber = sentinel.PluginMenuStringsNumber;
  EXPECT_EQ(std::memcmp(&info, &sentinel, sizeof info), 0);
}

TEST(GetPluginInfo, AnswersTheSameEveryTime) {
  PluginInfo first{}, second{};
  GetPluginInfo(&first);
  GetPluginInfo(&second);
  EXPECT_EQ(std::memcmp(&first, &second, sizeof first), 0);
}

class OpenPluginTest : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetSystem();
    host = &fake::InstallHost();
    host->SetItems({"report", "readme"});
    host->onDialog = [this](FarDialogItem* items, int) {
      std::strcpy(items[1].Data, "readme");
      return 1;
    };
  }

  fake::Host* host = nullptr;
};

TEST_F(OpenPluginTest, ShowsTheCommandMenuWithItsExactArguments) {
  OpenPlugin(0, 0);
  ASSERT_EQ(host->menus.size(), 1u);
  const fake::MenuCall& menu = host->menus[0];
  EXPECT_EQ(menu.moduleNumber, host->moduleNumber);
  EXPECT_EQ(std::make_tuple(menu.x, menu.y, menu.maxHeight, menu.flags),
            std::make_tuple(-1, -1, 0, 0u));
  EXPECT_EQ(menu.title, "Veltrane");
  EXPECT_FALSE(menu.bottom);
  EXPECT_FALSE(menu.helpTopic);
  EXPECT_FALSE(menu.hasBreakKeys);
  EXPECT_FALSE(menu.hasBreakCode);
  const char* const expected[] = {"&Description Speed Search", "&Select by description...",
                                  "&Unselect by description..."};
  ASSERT_EQ(menu.items.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_STREQ(menu.items[i].Text, expected[i]);
    EXPECT_EQ(menu.items[i].Selected | menu.items[i].Checked | menu.items[i].Separator, 0);
  }
}

// Which row runs which command is the command menu's, tested with it.
TEST_F(OpenPluginTest, RunsTheChosenCommandAndOpensNoPanel) {
  host->menuResult = 1;
  EXPECT_EQ(OpenPlugin(0, 0), InvalidHandleValue());
  ASSERT_EQ(host->dialogs.size(), 1u);
  EXPECT_TRUE(host->items[1].Flags & PPIF_SELECTED);
  host->menuResult = -1;
  EXPECT_EQ(OpenPlugin(0, 0), InvalidHandleValue());
}

}  // namespace

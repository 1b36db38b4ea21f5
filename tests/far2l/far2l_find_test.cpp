// far2l's own parts of Find by description, through its stand-in host: a
// macro's callplugin string, and the panel's keys (the rest is shared with
// the current generation and tested there).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "far2l/far2l_gateway.h"
#include "far2l/far2l_panel_records.h"
#include "tests/doubles/fake_folders.h"
#include "tests/doubles/fake_system.h"
#include "tests/far2l/fake_far2l.h"

extern "C" {
far2l::HANDLE OpenPluginW(int openFrom, far2l::INT_PTR item);
int GetFindDataW(far2l::HANDLE panel, far2l::PluginPanelItem** items, int* count, int mode);
void FreeFindDataW(far2l::HANDLE panel, far2l::PluginPanelItem* items, int count);
int ProcessKeyW(far2l::HANDLE panel, int key, unsigned int controlState);
int SetDirectoryW(far2l::HANDLE panel, const wchar_t* dir, int mode);
void ClosePluginW(far2l::HANDLE panel);
}

namespace {

using far2l::InvalidHandleValue;

// callplugin with a string, from the panels (the shell's macro area).
constexpr int kFromMacro = far2l::OPEN_FROMMACRO | far2l::OPEN_FROMMACROSTRING | 1;

std::vector<uint8_t> Text(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

class Far2lFindTest : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetSystem();
    fake::ResetFolders(u'/');
    host = &fake2l::InstallFar2l();
    host->folder = L"/home/user/docs";
    fake::AddFolder(u"/home/user/docs", {u"cake.txt"});
    fake::AddFile(u"/home/user/docs", u"Descript.ion", Text("cake.txt lemon cake\n"));
    fake::AddFolder(u"/srv/my data", {u"tart.txt"});
    fake::AddFile(u"/srv/my data", u"Descript.ion", Text("tart.txt lemon tart\n"));
  }

  void TearDown() override { EXPECT_EQ(fake::TheSystem().liveBlocks, 0) << "memory kept"; }

  // The full names the panel lists, then closed as the host would.
  std::vector<std::wstring> ListAndClose(far2l::HANDLE panel) {
    far2l::PluginPanelItem* items = nullptr;
    int count = 0;
    EXPECT_EQ(GetFindDataW(panel, &items, &count, 0), 1);
    std::vector<std::wstring> names;
    for (int i = 0; i < count; ++i) names.push_back(items[i].FindData.lpwszFileName);
    FreeFindDataW(panel, items, count);
    ClosePluginW(panel);
    return names;
  }

  fake2l::Far2lHost* host = nullptr;
};

TEST_F(Far2lFindTest, AMacroSearchesTheActiveFolderOrOneGivenInQuotes) {
  far2l::HANDLE panel = OpenPluginW(kFromMacro, reinterpret_cast<far2l::INT_PTR>(L"Find:*lemon*"));
  ASSERT_NE(panel, InvalidHandleValue());
  EXPECT_EQ(SetDirectoryW(panel, L"Find:*lemon*", 0), 0) << "the host hands the string on";
  EXPECT_EQ(ListAndClose(panel), (std::vector<std::wstring>{L"/home/user/docs/cake.txt"}));

  panel =
      OpenPluginW(kFromMacro, reinterpret_cast<far2l::INT_PTR>(L"Find:\"/srv/my data\"  *tart"));
  ASSERT_NE(panel, InvalidHandleValue());
  EXPECT_EQ(ListAndClose(panel), (std::vector<std::wstring>{L"/srv/my data/tart.txt"}));
  EXPECT_TRUE(host->dialogs.empty());
}

TEST_F(Far2lFindTest, AMacroCallOpensNothingItCannotHandOverAsAPanel) {
  const auto call = [](int openFrom, const wchar_t* text) {
    return OpenPluginW(openFrom, reinterpret_cast<far2l::INT_PTR>(text));
  };
  EXPECT_EQ(call(kFromMacro, L"Select:*"), InvalidHandleValue());
  EXPECT_EQ(call(kFromMacro, L"Find:\"/srv/unclosed *tart"), InvalidHandleValue());
  EXPECT_EQ(call(kFromMacro, L"Find:"), InvalidHandleValue());
  // Outside the panels the host opens no panel, and the results would leak.
  EXPECT_EQ(call(far2l::OPEN_FROMMACRO | far2l::OPEN_FROMMACROSTRING | 0x10, L"Find:*lemon*"),
            InvalidHandleValue());
  EXPECT_EQ(OpenPluginW(far2l::OPEN_FROMMACRO | 1, 7), InvalidHandleValue());
}

TEST_F(Far2lFindTest, ThePanelTakesEnterAndCtrlPgUpOnlyOnTheHostsSecondCall) {
  far2l::HANDLE panel = OpenPluginW(kFromMacro, reinterpret_cast<far2l::INT_PTR>(L"Find:*lemon*"));
  ASSERT_NE(panel, InvalidHandleValue());
  const size_t before = host->controls.size();
  EXPECT_EQ(ProcessKeyW(panel, far2l::VK_PRIOR | far2l::PKF_PREPROCESS, far2l::PKF_CONTROL), 0);
  EXPECT_EQ(ProcessKeyW(panel, far2l::VK_PRIOR, far2l::PKF_CONTROL | far2l::PKF_SHIFT), 0);
  EXPECT_EQ(host->controls.size(), before) << "keys left to the host ask it nothing";
  ClosePluginW(panel);
}

}  // namespace

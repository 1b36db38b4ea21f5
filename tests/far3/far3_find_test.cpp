// Find by description in the current generation, through its stand-in host
// and the stand-in folders: the command and its dialog, the progress and
// Esc, the results panel the host lists and leaves, and a macro's call.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "far3/far3_gateway.h"
#include "far3/far3_ids.h"
#include "far3/far3_panel_records.h"
#include "tests/doubles/fake_folders.h"
#include "tests/doubles/fake_system.h"
#include "tests/far3/fake_far3.h"

extern "C" {
void* OpenW(const far3::OpenInfo* info);
void GetOpenPanelInfoW(far3::OpenPanelInfo* info);
intptr_t GetFindDataW(far3::GetFindDataInfo* info);
void FreeFindDataW(const far3::FreeFindDataInfo* info);
intptr_t ProcessPanelInputW(const far3::ProcessPanelInputInfo* info);
void ClosePanelW(const far3::ClosePanelInfo* info);
}

namespace {

constexpr intptr_t kFindCommand = 3;

std::vector<uint8_t> Text(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

// The English language file's messages, as the host would hand them out.
std::vector<std::u16string> EnglishMessages() {
  std::ifstream in(std::string(FAR3_SOURCE_DIR) + "/Veltrane_en.lng", std::ios::binary);
  std::vector<std::u16string> messages;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] != '"') continue;
    const std::string text = line.substr(1, line.rfind('"') - 1);
    messages.emplace_back(text.begin(), text.end());  // ASCII
  }
  return messages;
}

// One listing as the host took it: full name, custom column, description.
struct Listed {
  std::u16string name;
  std::u16string column;
  std::u16string description;
  bool operator==(const Listed&) const = default;
};

class Far3FindTest : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetSystem();
    fake::ResetFolders();
    host = &fake3::Reset();
    host->messages = EnglishMessages();
    host->folder = u"C:\\Photos";
    host->items = {{u"..", {}}};
    fake::AddFolder(u"C:\\Photos", {u"cake.jpg", u"sea.jpg"});
    fake::AddFolder(u"C:\\Photos\\2024", {u"party.jpg"});
    fake::AddFile(u"C:\\Photos", u"Descript.ion", Text("cake.jpg Lemon cake\r\nsea.jpg Sea\r\n"));
    fake::AddFile(u"C:\\Photos\\2024", u"Descript.ion", Text("party.jpg Birthday cake\r\n"));
  }

  void TearDown() override {
    if (panel != nullptr) {
      const far3::ClosePanelInfo close{sizeof close, panel, nullptr};
      ClosePanelW(&close);
    }
    EXPECT_EQ(fake::TheSystem().liveBlocks, 0) << "memory kept";
  }

  void* Find(const std::u16string& mask) {
    host->menuChoice = kFindCommand;
    host->dialogResult = 5;  // OK
    host->dialogText = mask;
    const far3::OpenInfo open{sizeof open, far3::OPEN_PLUGINSMENU, &far3::kMenuEntryGuid, 0,
                              nullptr};
    panel = OpenW(&open);
    return panel;
  }

  std::vector<Listed> List() {
    far3::GetFindDataInfo info{sizeof info, panel, nullptr, 0, 0, nullptr};
    EXPECT_EQ(GetFindDataW(&info), 1);
    std::vector<Listed> listed;
    for (size_t i = 0; i < info.ItemsNumber; ++i) {
      const far3::PluginPanelItem& item = info.PanelItem[i];
      EXPECT_EQ(item.CustomColumnNumber, 1u);
      listed.push_back({item.FileName, item.CustomColumnData[0], item.Description});
    }
    const far3::FreeFindDataInfo free{sizeof free, panel, info.PanelItem, info.ItemsNumber,
                                      nullptr};
    FreeFindDataW(&free);
    return listed;
  }

  fake3::Host* host = nullptr;
  void* panel = nullptr;
};

TEST_F(Far3FindTest, TheCommandListsTheMatchesOfTheWholeTreeUnderTheirRealNames) {
  ASSERT_NE(Find(u"*cake*"), nullptr);
  const fake3::DialogCall& dialog = host->dialogs.at(0);
  EXPECT_EQ(dialog.helpTopic, u"DescFind");
  EXPECT_EQ(dialog.history, u"DescFind");
  EXPECT_EQ(dialog.items.at(3).Type, far3::DI_CHECKBOX);
  EXPECT_EQ(dialog.items.at(3).Selected, far3::BSTATE_CHECKED) << "Search subfolders, on";
  EXPECT_EQ(List(), (std::vector<Listed>{
                        {u"C:\\Photos\\cake.jpg", u"cake.jpg", u"Lemon cake"},
                        {u"C:\\Photos\\2024\\party.jpg", u"2024\\party.jpg", u"Birthday cake"}}));
  EXPECT_EQ(host->screensSaved, 1);
  EXPECT_EQ(host->screensRestored, 1);
  ASSERT_FALSE(host->messageBoxes.empty());
  EXPECT_EQ(host->messageBoxes[0].flags, far3::FMSG_LEFTALIGN) << "the progress";
  EXPECT_EQ(host->messageBoxes[0].lines.at(2).substr(0, 9), u"C:\\Photos");
}

TEST_F(Far3FindTest, TheDialogOpensAsItLastClosedAlsoByEsc) {
  host->dialogCheck = 0;  // subfolders off
  ASSERT_NE(Find(u"*cake*"), nullptr);
  EXPECT_EQ(List().size(), 1u) << "the search folder's own match";
  host->dialogResult = -1;  // Esc, with the box ticked again
  host->dialogCheck = 1;
  host->dialogText = u"typed, then Esc";
  const far3::OpenInfo open{sizeof open, far3::OPEN_PLUGINSMENU, &far3::kMenuEntryGuid, 0, nullptr};
  EXPECT_EQ(OpenW(&open), nullptr);
  EXPECT_EQ(OpenW(&open), nullptr);
  ASSERT_EQ(host->dialogs.size(), 3u);
  EXPECT_EQ(host->dialogs[1].field, u"*cake*");
  EXPECT_EQ(host->dialogs[1].items.at(3).Selected, 0);
  EXPECT_EQ(host->dialogs[2].field, u"typed, then Esc");
  EXPECT_EQ(host->dialogs[2].items.at(3).Selected, far3::BSTATE_CHECKED);
}

TEST_F(Far3FindTest, ThePanelIsTitledAndViewedByPathAndDescription) {
  Find(u"*cake*");
  far3::OpenPanelInfo info{};
  info.hPanel = panel;
  GetOpenPanelInfoW(&info);
  EXPECT_EQ(std::u16string(info.PanelTitle), u"*cake* in C:\\Photos");
  EXPECT_EQ(info.Flags & far3::OPIF_REALNAMES, far3::OPIF_REALNAMES);
  ASSERT_EQ(info.StartPanelMode, u'6');
  EXPECT_EQ(std::u16string(info.PanelModesArray[6].ColumnTypes), u"C0,Z");
  ASSERT_GE(info.InfoLinesNumber, 5u);
  EXPECT_EQ(std::u16string(info.InfoLines[4].Text), u"Found");
  EXPECT_EQ(std::u16string(info.InfoLines[4].Data), u"2");
}

TEST_F(Far3FindTest, ItemsDeletedOrMovedAwayLeaveTheNextListing) {
  Find(u"*cake*");
  EXPECT_EQ(List().size(), 2u);
  fake::TheFolders().byPath[u"C:\\Photos"].entries.erase(
      fake::TheFolders().byPath[u"C:\\Photos"].entries.begin());  // cake.jpg, as F8 would
  EXPECT_EQ(List(), (std::vector<Listed>{
                        {u"C:\\Photos\\2024\\party.jpg", u"2024\\party.jpg", u"Birthday cake"}}));
}

TEST_F(Far3FindTest, OnAPluginsPanelTheCommandSaysItNeedsAFolder) {
  host->panelFlags = far3::PFLAGS_PLUGIN;
  EXPECT_EQ(Find(u"*cake*"), nullptr);
  EXPECT_TRUE(host->dialogs.empty());
  ASSERT_EQ(host->messageBoxes.size(), 1u);
  EXPECT_EQ(host->messageBoxes[0].flags, far3::FMSG_WARNING | far3::FMSG_MB_OK);
}

TEST_F(Far3FindTest, NothingFoundIsSaidWithTheCountsAndNoPanelOpens) {
  EXPECT_EQ(Find(u"*pizza*"), nullptr);
  const fake3::MessageCall& said = host->messageBoxes.back();
  EXPECT_EQ(said.flags, far3::FMSG_MB_OK);
  EXPECT_EQ(said.lines.at(2), u"Folders searched: 2   Found: 0");
  EXPECT_EQ(said.lines.at(3), u"Skipped: 0 folders, 0 description files");
}

TEST_F(Far3FindTest, EscAsksInTheHostsWordsAndYesStopsKeepingTheMatches) {
  fake::TheFolders().escapesWaiting = 1;
  host->messageAnswer = 0;  // Yes
  ASSERT_NE(Find(u"*cake*"), nullptr);
  const fake3::MessageCall& asked = host->messageBoxes.at(1);
  EXPECT_EQ(asked.flags, far3::FMSG_WARNING | far3::FMSG_MB_YESNO);
  EXPECT_EQ(asked.lines, (std::vector<std::u16string>{u"Operation has been interrupted",
                                                      u"Do you really want to cancel it?"}));
  EXPECT_EQ(List().size(), 1u) << "the search folder's own match";
}

TEST_F(Far3FindTest, EnterOnAFolderAndCtrlPgUpLeaveForTheItemsFolderWithTheCursorOnIt) {
  fake::AddFile(u"C:\\Photos", u"Descript.ion", Text("2024 cakes of the year\r\n"));
  Find(u"*cake*");
  host->items = {{u"..", {}}, {u"C:\\Photos\\2024\\party.jpg", u"Birthday cake"}};
  host->current = 1;
  host->itemsAfterFolderChange = {{u"..", {}}, {u"other.jpg", {}}, {u"party.jpg", {}}};
  far3::ProcessPanelInputInfo input{sizeof input, panel, {}, nullptr};
  input.Rec.EventType = far3::KEY_EVENT;
  input.Rec.Event.KeyEvent = {1, 1, far3::VK_RETURN, 0, 0, 0};
  EXPECT_EQ(ProcessPanelInputW(&input), 0) << "Enter on a file is the host's";
  input.Rec.Event.KeyEvent = {1, 1, far3::VK_PRIOR, 0, 0, far3::RIGHT_CTRL_PRESSED};
  EXPECT_EQ(ProcessPanelInputW(&input), 1);
  EXPECT_EQ(host->foldersSet, (std::vector<std::u16string>{u"C:\\Photos\\2024"}));
  EXPECT_EQ(host->panelCalls.back().command, far3::FCTL_REDRAWPANEL);
  EXPECT_EQ(host->panelCalls.back().redrawCurrent, 2u);

  host->items = {{u"..", {}}, {u"C:\\Photos\\2024", u"cakes", 0, far3::FILE_ATTRIBUTE_DIRECTORY}};
  host->itemsAfterFolderChange = {{u"..", {}}, {u"2024", {}}};
  input.Rec.Event.KeyEvent = {1, 1, far3::VK_RETURN, 0, 0, 0};
  EXPECT_EQ(ProcessPanelInputW(&input), 1);
  EXPECT_EQ(host->foldersSet.back(), u"C:\\Photos");
  EXPECT_EQ(host->panelCalls.back().redrawCurrent, 1u);
}

TEST_F(Far3FindTest, AMacroSearchesTheFolderItNamesWithoutTheDialog) {
  fake::AddFolder(u"D:\\Other", {u"x.txt"});
  fake::AddFile(u"D:\\Other", u"Descript.ion", Text("x.txt carrot cake\r\n"));
  far3::FarMacroValue values[3] = {};
  const char16_t* strings[3] = {u"FIND", u"*cake*", u"D:\\Other"};
  for (int i = 0; i < 3; ++i) {
    values[i].Type = far3::FMVT_STRING;
    values[i].String = strings[i];
  }
  far3::OpenMacroInfo call{sizeof call, 3, values};
  const far3::OpenInfo open{sizeof open, far3::OPEN_FROMMACRO, &far3::kMenuEntryGuid,
                            reinterpret_cast<intptr_t>(&call), nullptr};
  auto* result = static_cast<far3::FarMacroCall*>(OpenW(&open));
  ASSERT_NE(result, nullptr);
  ASSERT_EQ(result->Count, 1u);
  EXPECT_EQ(result->Values[0].Type, far3::FMVT_PANEL);
  panel = result->Values[0].Pointer;
  EXPECT_TRUE(host->dialogs.empty());
  EXPECT_EQ(List(), (std::vector<Listed>{{u"D:\\Other\\x.txt", u"x.txt", u"carrot cake"}}));

  values[0].String = u"Sort";
  EXPECT_EQ(OpenW(&open), nullptr) << "no other call";
}

}  // namespace

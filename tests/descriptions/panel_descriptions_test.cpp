// The commands on a panel the host hands over without descriptions, as in
// its default view modes: the plug-in reads the folder's description file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "far1/far1_commands.h"
#include "tests/doubles/fake_system.h"
#include "tests/far1/fake_far1.h"

namespace {

constexpr char kFolder[] = "C:\\Photos";

std::vector<uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

class FolderDescriptionsTest : public testing::Test {
 protected:
  void SetUp() override {
    system = &fake::ResetSystem();
    host = &fake::InstallHost();
    std::strcpy(host->panel.CurDir, kFolder);
    host->panel.PanelRect = HostRect{0, 1, 39, 20};
    Name({"beach.jpg", "tax.pdf", "hill.jpg"});
    fake::AddFile(u"C:\\Photos", u"DESCRIPT.ION",
                  Bytes("beach.jpg Holiday: beach\r\ntax.pdf Tax return 2024\r\n"
                        "hill.jpg Holiday: hill\r\n"));
  }

  // Items named as given, without a description from the host.
  void Name(const std::vector<std::string>& names) {
    host->SetItems(std::vector<std::optional<std::string>>(names.size()));
    for (size_t i = 0; i < names.size(); ++i) {
      std::strcpy(host->items[i].FindData.cFileName, names[i].c_str());
    }
  }

  void SelectWithMask(const char* mask) {
    host->onDialog = [mask](FarDialogItem* items, int) {
      std::strcpy(items[1].Data, mask);
      return 1;
    };
    SelectByDescription(0);
  }

  fake::System* system = nullptr;
  fake::Host* host = nullptr;
};

TEST_F(FolderDescriptionsTest, SpeedSearchFindsByTheFileWhereTheHostGaveNone) {
  for (char c : std::string("ta")) {
    system->console.queue.push_back(fake::KeyDown(uint8_t(c)));
  }
  system->console.queue.push_back(fake::KeyDown(27));
  SpeedSearch();
  EXPECT_EQ(host->panel.CurrentItem, 1);
  EXPECT_EQ(system->liveBlocks, 0) << "everything read is released when the command returns";
}

TEST_F(FolderDescriptionsTest, SelectionMatchesTheFilesDescriptionsAndWritesOnlyTheSelectionBit) {
  host->items[2].Flags = 0x10;
  SelectWithMask("Holiday*");
  ASSERT_EQ(host->selectionFlags.size(), 3u);
  EXPECT_EQ(host->selectionFlags[0], PPIF_SELECTED);
  EXPECT_EQ(host->selectionFlags[1], 0u);
  EXPECT_EQ(host->selectionFlags[2], PPIF_SELECTED | 0x10);
  for (size_t i = 0; i < host->items.size(); ++i) {
    const char* description = host->items[i].Description;
    EXPECT_EQ(description, nullptr) << "the host's items are never given a description";
  }
  EXPECT_EQ(system->liveBlocks, 0);
}

TEST_F(FolderDescriptionsTest, TheFileIsNotReadWhereTheHostGaveAnyDescription) {
  host->descriptions.reserve(1);
  host->descriptions.push_back("Tax");
  host->items[0].Description = host->descriptions.back().data();
  SelectWithMask("Holiday*");
  EXPECT_TRUE(system->fileSystem.lookups.empty());
  EXPECT_EQ(host->selectionFlags[0], 0u);
}

TEST_F(FolderDescriptionsTest, TheHostsOwnListOfFileNamesIsUsedWhereItKeepsOne) {
  fake::AddFile(u"C:\\Photos", u"notes.txt", Bytes("tax.pdf Holiday too\r\n"));
  const std::string list = "Notes.txt";
  system->registry["Software\\Far\\Descriptions\\ListNames"] = {list.begin(), list.end()};
  SelectWithMask("Holiday*");
  EXPECT_EQ(host->selectionFlags, (std::vector<uint32_t>{0, PPIF_SELECTED, 0}));
}

TEST_F(FolderDescriptionsTest, APluginPanelOrAnUnusableFileBehavesAsWithoutDescriptions) {
  host->panel.Plugin = 1;
  SelectWithMask("*");
  EXPECT_TRUE(system->fileSystem.lookups.empty());
  host->panel.Plugin = 0;
  fake::AddFile(u"C:\\Photos", u"DESCRIPT.ION", {}, sys::FileRead::kUnreadable);
  SelectWithMask("*");
  for (uint32_t flags : host->selectionFlags) EXPECT_EQ(flags, 0u);
  EXPECT_EQ(system->liveBlocks, 0);
}

}  // namespace

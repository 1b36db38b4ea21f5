// The commands on a panel the host hands over without descriptions, as in
// its default view modes: the plug-in reads the folder's description file.
#include "descriptions/panel_descriptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/select_command.h"
#include "speedsearch/speed_search.h"
#include "tests/doubles/fake_system.h"
#include "tests/doubles/test_gateway.h"

namespace {

using G = test::TestGateway<char>;

std::vector<uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

class PanelDescriptionsTest : public testing::Test {
 protected:
  void SetUp() override {
    system = &fake::ResetSystem();
    host = &G::Reset();
    host->folder = "C:\\Photos";
    for (const char* name : {"beach.jpg", "tax.pdf", "hill.jpg"}) {
      host->items.push_back(test::Item<char>{name, std::nullopt});
    }
    fake::AddFile(u"C:\\Photos", u"DESCRIPT.ION",
                  Bytes("beach.jpg Holiday: beach\r\ntax.pdf Tax return 2024\r\n"
                        "hill.jpg Holiday: hill\r\n"));
  }
  void TearDown() override {
    EXPECT_EQ(system->liveBlocks, 0) << "everything read is released when the command returns";
  }

  void SelectWithMask(const char* mask) {
    host->dialogTyped = mask;
    SelectCommand<G>(false);
  }

  fake::System* system = nullptr;
  test::Host<char>* host = nullptr;
};

TEST_F(PanelDescriptionsTest, SpeedSearchFindsByTheFileWhereTheHostGaveNone) {
  for (char c : std::string("ta")) host->keys.push_back(fake::KeyDown(uint8_t(c)));
  host->keys.push_back(fake::KeyDown(27));
  SpeedSearchCommand<G>();
  EXPECT_EQ(host->current, 1);
}

TEST_F(PanelDescriptionsTest, SelectionMatchesTheFilesDescriptions) {
  SelectWithMask("Holiday*");
  EXPECT_EQ(host->Selected(), (std::vector<bool>{true, false, true}));
}

TEST_F(PanelDescriptionsTest, TheFileIsNotReadWhereTheHostGaveAnyDescription) {
  host->items[1].description = "Tax";
  SelectWithMask("Holiday*");
  EXPECT_TRUE(system->fileSystem.lookups.empty());
  EXPECT_EQ(host->Selected(), (std::vector<bool>{false, false, false}));
}

TEST_F(PanelDescriptionsTest, TheHostsOwnListOfFileNamesAndCodePageAreUsedWhereItKeepsThem) {
  // CP1251: "Праздник" for tax.pdf.
  fake::AddFile(u"C:\\Photos", u"notes.txt", Bytes("tax.pdf \xCF\xF0\xE0\xE7\xE4\xED\xE8\xEA\r\n"));
  host->descriptionFileNames = "Notes.txt";
  host->ansiByDefault = true;
  SelectWithMask("\x8F\xE0\xA0*");  // "Пра" in CP866, the host's own code page
  EXPECT_EQ(host->Selected(), (std::vector<bool>{false, true, false}));
}

TEST_F(PanelDescriptionsTest, ASizeBeforeTheDescriptionIsLeftOutByTheItemsOwnSize) {
  fake::AddFile(u"C:\\Photos", u"DESCRIPT.ION",
                Bytes("beach.jpg 1024 Holiday: beach\r\ntax.pdf 77 Holiday too\r\n"));
  host->items[0].size = 1024;
  host->items[1].size = 78;
  SelectWithMask("Holiday*");
  EXPECT_EQ(host->Selected(), (std::vector<bool>{true, false, false}));
}

TEST_F(PanelDescriptionsTest, APluginPanelOrAnUnusableFileBehavesAsWithoutDescriptions) {
  host->folder.reset();
  SelectWithMask("*");
  EXPECT_TRUE(system->fileSystem.lookups.empty());
  host->folder = "C:\\Photos";
  fake::AddFile(u"C:\\Photos", u"DESCRIPT.ION", {}, sys::FileRead::kUnreadable);
  SelectWithMask("*");
  EXPECT_EQ(host->Selected(), (std::vector<bool>{false, false, false}));
}

}  // namespace

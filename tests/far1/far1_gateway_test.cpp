// The 1.x gateway through the 1.x stand-in host: the snapshot as the host
// hands it over, the redraw record, the box in the OEM code page and the
// host's palette, the selection bit, the dialog record and the host's list
// of description file names.
#include "far1/far1_gateway.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "commands/select_command.h"
#include "speedsearch/speed_search.h"
#include "tests/doubles/fake_system.h"
#include "tests/doubles/search_steps.h"
#include "tests/far1/fake_far1.h"

namespace {

constexpr char kPalette[] = "Software\\Far\\Colors\\CurrentPalette";
constexpr uint8_t kEsc = 27;
constexpr uint32_t kHostBits = 0x80000000u | 0x20000000u;

class Far1Test : public testing::Test {
 protected:
  void SetUp() override {
    system = &fake::ResetSystem();
    host = &fake::InstallHost();
    host->panel.PanelRect = HostRect{0, 1, 39, 20};
    host->SetItems({"report may", "readme", std::nullopt, "report june"});
    system->console.bufferRows = 25;
  }

  // The user types mask into the edit field and presses Enter.
  void UserEnters(const std::string& mask) {
    host->onDialog = [mask](FarDialogItem* items, int) {
      std::strncpy(items[1].Data, mask.c_str(), sizeof items[1].Data);
      return 1;
    };
  }

  // Flags is a packed field: read it by value, never bind a reference to it.
  uint32_t FlagsOf(size_t item) const { return host->items[item].Flags; }

  fake::System* system = nullptr;
  fake::Host* host = nullptr;
};

// ---- The snapshot ----------------------------------------------------------

using Far1Snapshot = Far1Test;

TEST_F(Far1Snapshot, IsTheHostsRecordReadInPlace) {
  host->items[1].FindData.nFileSizeHigh = 1;
  host->items[1].FindData.nFileSizeLow = 2;
  std::strcpy(host->items[1].FindData.cFileName, "readme.txt");
  std::strcpy(host->panel.CurDir, "C:\\Docs");
  host->panel.CurrentItem = 3;
  PanelInfo snapshot;
  PanelView<char> view;
  ASSERT_TRUE(Far1::TakeSnapshot(&snapshot, &view));
  EXPECT_EQ(view.count, 4u);
  EXPECT_EQ(view.current, 3);
  EXPECT_STREQ(view.descriptions.At(0), "report may");
  EXPECT_EQ(view.descriptions.At(2), nullptr);
  EXPECT_STREQ(view.names.At(1), "readme.txt");
  EXPECT_EQ(view.sizes.At(1), (uint64_t{1} << 32) | 2);
  EXPECT_STREQ(view.folder, "C:\\Docs");

  host->panel.Plugin = 1;
  ASSERT_TRUE(Far1::TakeSnapshot(&snapshot, &view));
  EXPECT_EQ(view.folder, nullptr) << "a plug-in's panel has no folder on disk";
}

TEST_F(Far1Snapshot, NonFileEmptyOrUnreadablePanelGivesNoneAndNothingElseIsAsked) {
  host->panel.PanelType = 1;
  SpeedSearchCommand<Far1>();
  host->panel.PanelType = PTYPE_FILEPANEL;
  host->getPanelInfoResult = 0;
  SelectCommand<Far1>(false);
  host->getPanelInfoResult = 1;
  host->SetItems({});
  SpeedSearchCommand<Far1>();
  EXPECT_TRUE(host->texts.empty());
  EXPECT_TRUE(host->dialogs.empty());
  EXPECT_EQ(host->CommandsCalled(), std::vector<int>(3, FCTL_GETPANELINFO));
}

TEST_F(Far1Snapshot, EmptyOrNegativeItemCountOrNoArrayIsAnEmptyPanel) {
  PanelInfo snapshot = host->Snapshot();
  for (int count : {0, -3}) {
    snapshot.ItemsNumber = count;
    EXPECT_EQ(Far1::ViewOf(snapshot).count, 0u) << count;
  }
  snapshot.ItemsNumber = 4;
  snapshot.PanelItems = nullptr;
  PanelView<char> view = Far1::ViewOf(snapshot);
  EXPECT_EQ(view.count, 0u);
  SearchSteps<Far1> search(&snapshot, view);
  EXPECT_FALSE(search.Find("r", 0));
  EXPECT_EQ(host->cmpNameCalls, 0);
}

TEST_F(Far1Snapshot, MovingHandsTheHostTheCursorAndTopLineAsItsRedrawRecord) {
  PanelInfo snapshot = host->Snapshot();
  SearchSteps<Far1> search(&snapshot, Far1::ViewOf(snapshot));
  ASSERT_TRUE(search.Find("report j", 0));
  EXPECT_EQ(snapshot.CurrentItem, 3);
  EXPECT_EQ(snapshot.TopPanelItem, -4);
  ASSERT_EQ(host->controls.size(), 1u);
  EXPECT_EQ(host->controls[0].command, FCTL_REDRAWPANEL);
  EXPECT_EQ(host->controls[0].currentItem, 3);
  EXPECT_EQ(host->controls[0].topItem, -4);
}

// ---- The box ---------------------------------------------------------------

using Far1Box = Far1Test;

TEST_F(Far1Box, IsDrawnInTheOemCodePagesDoubleLinesAndShownWithANullString) {
  system->console.queue.push_back(fake::KeyDown(kEsc));
  SpeedSearchCommand<Far1>();
  const std::vector<fake::TextCall>& calls = host->texts;
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[0].text, "\xC9\xCD\xCD\xCD Desc. Search \xCD\xCD\xCD\xBB");
  EXPECT_EQ(calls[1].text, "\xBA" + std::string(20, ' ') + "\xBA");
  EXPECT_EQ(calls[2].text, "\xC8" + std::string(20, '\xCD') + "\xBC");
  EXPECT_TRUE(calls[5].flush);
  EXPECT_EQ(std::make_tuple(calls[5].x, calls[5].y, calls[5].color), std::make_tuple(0, 0, 0));
  ASSERT_FALSE(host->controls.empty());
  EXPECT_EQ(host->controls.back().command, FCTL_REDRAWPANEL);
  EXPECT_FALSE(host->controls.back().hasParam) << "the closing redraw keeps the host's cursor";
}

// The frame's colour is byte 23 of the palette, the field's byte 26; a
// palette the host could not have written gives the fallback colours.
TEST_F(Far1Box, ColoursComeFromTheHostsPaletteOfTwentySevenToEightyBytes) {
  const struct {
    int size;  // -1: no value
    uint8_t frame, field;
  } cases[] = {{27, 0x1F, 0x4E}, {80, 0x1F, 0x4E}, {-1, 0x70, 0x30},
               {0, 0x70, 0x30},  {26, 0x70, 0x30}, {81, 0x70, 0x30}};
  for (const auto& c : cases) {
    system->registry.clear();
    if (c.size >= 0) {
      std::vector<uint8_t> palette(c.size, 0x07);
      if (c.size > 26) {
        palette[23] = 0x1F;
        palette[26] = 0x4E;
      }
      system->registry[kPalette] = palette;
    }
    host->texts.clear();
    system->console.queue.push_back(fake::KeyDown(kEsc));
    SpeedSearchCommand<Far1>();
    ASSERT_EQ(host->texts.size(), 6u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(host->texts[i].color, c.frame) << c.size << " bytes";
    EXPECT_EQ(host->texts[3].color, c.field) << c.size << " bytes";
    EXPECT_EQ(host->texts[4].color, c.field) << c.size << " bytes";
  }
}

// Run by CTest in a process of its own, this is the process's first speed
// search: the console handles are not fetched yet when the box is placed.
TEST_F(Far1Box, FirstSearchOfTheProcessLiftsABoxOnTheLastRows) {
  host->panel.PanelRect.bottom = 24;
  system->console.queue.push_back(fake::KeyDown(kEsc));
  SpeedSearchCommand<Far1>();
  ASSERT_FALSE(host->texts.empty());
  EXPECT_EQ(host->texts[0].y, 23);
  EXPECT_TRUE(system->console.queue.empty()) << "the Esc came from the console";
}

// ---- Selection -------------------------------------------------------------

using Far1Select = Far1Test;

TEST_F(Far1Select, WritesOnlyTheSelectionBitAndHandsTheHostTheWholeArray) {
  for (PluginPanelItem& item : host->items) item.Flags = kHostBits;
  host->items[1].Flags = kHostBits | PPIF_SELECTED;
  UserEnters("report*");
  SelectCommand<Far1>(false);
  EXPECT_EQ(FlagsOf(0), kHostBits | PPIF_SELECTED);
  EXPECT_EQ(FlagsOf(1), kHostBits | PPIF_SELECTED);
  EXPECT_EQ(FlagsOf(2), kHostBits);
  EXPECT_EQ(FlagsOf(3), kHostBits | PPIF_SELECTED);
  EXPECT_EQ(host->CommandsCalled(),
            (std::vector<int>{FCTL_GETPANELINFO, FCTL_SETSELECTION, FCTL_REDRAWPANEL}));
  EXPECT_FALSE(host->controls.back().hasParam);
  EXPECT_EQ(host->selectionFlags.size(), host->items.size());

  UserEnters("*june");
  SelectCommand<Far1>(true);
  EXPECT_EQ(FlagsOf(3), kHostBits);
  EXPECT_EQ(FlagsOf(0), kHostBits | PPIF_SELECTED);
}

TEST_F(Far1Select, TheDialogIsTheHostsRecordBuiltFromTheTable) {
  UserEnters("report*");
  SelectCommand<Far1>(false);
  host->onDialog = [](FarDialogItem*, int) { return -1; };
  SelectCommand<Far1>(true);
  ASSERT_EQ(host->dialogs.size(), 2u);
  const fake::DialogCall& call = host->dialogs[1];
  EXPECT_EQ(call.moduleNumber, host->moduleNumber);
  EXPECT_EQ(std::make_tuple(call.x1, call.y1, call.x2, call.y2), std::make_tuple(-1, -1, 45, 5));
  EXPECT_EQ(call.helpTopic, "DescSel");
  ASSERT_EQ(call.items.size(), 2u);
  const FarDialogItem& box = call.items[0];
  EXPECT_EQ(std::make_tuple(box.Type, box.X1, box.Y1, box.X2, box.Y2, box.Focus, box.Selected,
                            box.Flags, box.DefaultButton),
            std::make_tuple(DI_DOUBLEBOX, 3, 1, 41, 3, 0, 0, 0u, 0));
  EXPECT_STREQ(box.Data, "Description Unselect");
  const FarDialogItem& edit = call.items[1];
  EXPECT_EQ(std::make_tuple(edit.Type, edit.X1, edit.Y1, edit.X2, edit.Y2, edit.Focus, edit.Flags,
                            edit.DefaultButton),
            std::make_tuple(DI_EDIT, 5, 2, 39, 3, 1, DIF_HISTORY, 1));
  EXPECT_STREQ(edit.History, "DescSelect");
  EXPECT_STREQ(edit.Data, "report*") << "the field opens with the last mask";
}

TEST_F(Far1Select, AFieldTheHostFilledToTheBrimIsCutAt511Characters) {
  host->SetItems({std::string(511, 'a'), std::string(512, 'a')});
  host->onDialog = [](FarDialogItem* items, int) {
    std::memset(items[1].Data, 'a', sizeof items[1].Data);
    return 1;
  };
  SelectCommand<Far1>(false);
  EXPECT_EQ(FlagsOf(0), PPIF_SELECTED);
  EXPECT_EQ(FlagsOf(1), 0u);
}

// ---- Description files -----------------------------------------------------

using Far1DescriptionFiles = Far1Test;

TEST_F(Far1DescriptionFiles, TheHostsSettingsAreReadFromItsRegistryKey) {
  auto settings = Far1::ReadDescriptionSettings();
  EXPECT_EQ(settings.fileNames, nullptr) << "no value: the host's default names";
  EXPECT_FALSE(settings.ansi);
  const std::string list = "Notes.txt,Descript.ion";
  system->registry["Software\\Far\\Descriptions\\ListNames"] = {list.begin(), list.end()};
  system->registry["Software\\Far\\Descriptions\\AnsiByDefault"] = {1, 0, 0, 0};
  settings = Far1::ReadDescriptionSettings();
  EXPECT_STREQ(settings.fileNames, "Notes.txt,Descript.ion");
  EXPECT_TRUE(settings.ansi);
  system->registry["Software\\Far\\Descriptions\\ListNames"] = {};
  EXPECT_STREQ(Far1::ReadDescriptionSettings().fileNames, "") << "an empty list names no file";
}

TEST_F(Far1DescriptionFiles, DescriptionsFromTheFileNeverReachTheHostsItems) {
  std::strcpy(host->panel.CurDir, "C:\\Photos");
  host->SetItems({std::nullopt, std::nullopt});
  std::strcpy(host->items[0].FindData.cFileName, "beach.jpg");
  std::strcpy(host->items[1].FindData.cFileName, "tax.pdf");
  const std::string file = "beach.jpg Holiday: beach\r\ntax.pdf Tax return 2024\r\n";
  fake::AddFile(u"C:\\Photos", u"DESCRIPT.ION", {file.begin(), file.end()});
  UserEnters("Holiday*");
  SelectCommand<Far1>(false);
  EXPECT_EQ(host->selectionFlags, (std::vector<uint32_t>{PPIF_SELECTED, 0}));
  for (const PluginPanelItem& item : host->items) {
    const char* description = item.Description;
    EXPECT_EQ(description, nullptr);
  }
  EXPECT_EQ(system->liveBlocks, 0);
}

}  // namespace

// The current-generation gateway through its stand-in host: the snapshot,
// the search box's colours and cursor moves, selection, the mask dialog and
// the plug-in's entry points.
#include "far3/far3_gateway.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "commands/select_command.h"
#include "far3/far3_ids.h"
#include "far3/far3_panel_records.h"
#include "speedsearch/speed_search.h"
#include "tests/doubles/fake_system.h"
#include "tests/far3/fake_far3.h"

extern "C" {
void GetGlobalInfoW(far3::GlobalInfo* info);
void GetPluginInfoW(far3::PluginInfo* info);
void* OpenW(const far3::OpenInfo* info);
}

namespace {

using fake3::Item;

bool SameGuid(const far3::Uuid& a, const far3::Uuid& b) {
  return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
         std::u16string(a.Data4, a.Data4 + 8) == std::u16string(b.Data4, b.Data4 + 8);
}

std::u16string Str(const char16_t* text) {
  return text != nullptr ? std::u16string(text) : u"(null)";
}

class Far3Test : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::ResetSystem();
    host = &fake3::Reset();
  }
  void TearDown() override { EXPECT_EQ(fake::TheSystem().liveBlocks, 0) << "memory kept"; }

  fake3::Host* host;
};

// ---- The snapshot ----------------------------------------------------------------

using Far3Snapshot = Far3Test;

TEST_F(Far3Snapshot, KeepsTheDescriptionsCursorRectangleAndFolder) {
  host->items = {{u"..", {}},
                 {u"beta.txt", u"\u041d\u0430\u043b\u043e\u0433"},  // Cyrillic
                 {u"emoji.txt", u"\U0001F600 smile"},               // a surrogate pair
                 {u"plain.txt", {}}};
  host->current = 2;
  host->top = 1;
  Far3::PanelSnapshot record;
  PanelView<char16_t> view;
  ASSERT_TRUE(Far3::TakeSnapshot(&record, &view));

  EXPECT_EQ(view.count, 4u);
  EXPECT_EQ(view.current, 2);
  EXPECT_EQ(view.top, 1);
  EXPECT_EQ(view.rect.bottom, 27);
  EXPECT_EQ(Str(view.descriptions.At(0)), u"(null)");
  EXPECT_EQ(Str(view.descriptions.At(1)), u"\u041d\u0430\u043b\u043e\u0433");
  EXPECT_EQ(Str(view.descriptions.At(2)), u"\U0001F600 smile");
  EXPECT_EQ(Str(view.descriptions.At(3)), u"(null)");
  // With descriptions from the host, the rules never read the file: no names.
  EXPECT_EQ(view.names.At(1), nullptr);
  EXPECT_EQ(Str(view.folder), u"C:\\Photos");
  Far3::ReleaseSnapshot(&record);
}

TEST_F(Far3Snapshot, GivesTheNamesWhereTheHostGivesNoDescriptionAskingTwiceAnItem) {
  host->items = {{u"..", {}},
                 {u"a.txt", {}, 5000000000},
                 {u"\u0436\u0443\u043a.txt", {}, 7},
                 {u"long name.txt", {}, 1, 0, u"LONGNA~1.TXT"}};
  Far3::PanelSnapshot record;
  PanelView<char16_t> view;
  ASSERT_TRUE(Far3::TakeSnapshot(&record, &view));
  EXPECT_EQ(Str(view.names.At(0)), u"..");
  EXPECT_EQ(Str(view.names.At(2)), u"\u0436\u0443\u043a.txt");
  EXPECT_EQ(Str(view.shortNames.At(3)), u"LONGNA~1.TXT");
  EXPECT_EQ(Str(view.shortNames.At(1)), u"");
  EXPECT_EQ(view.sizes.At(1), 5000000000u) << "a size may begin a description in the file";
  EXPECT_EQ(view.sizes.At(2), 7u);
  for (uint32_t i = 0; i < view.count; ++i) EXPECT_EQ(view.descriptions.At(i), nullptr);
  EXPECT_EQ(Str(view.folder), u"C:\\Photos");
  EXPECT_EQ(host->itemSizeQueries + host->itemFills, 2 * 4);
  Far3::ReleaseSnapshot(&record);
}

TEST_F(Far3Snapshot, AsksTheHostAtMostTwiceAnItemAndKeepsLongDescriptionsWhole) {
  const std::u16string longest(65536, u'\u00e9');
  for (int i = 0; i < 500; ++i)
    host->items.push_back({u"f" + std::u16string(1, u'a' + i % 26), u"d"});
  host->items[250].description = longest;
  Far3::PanelSnapshot record;
  PanelView<char16_t> view;
  ASSERT_TRUE(Far3::TakeSnapshot(&record, &view));
  EXPECT_EQ(Str(view.descriptions.At(250)), longest);
  EXPECT_EQ(Str(view.descriptions.At(499)), u"d");
  EXPECT_EQ(host->itemSizeQueries + host->itemFills, 2 * 500);
  Far3::ReleaseSnapshot(&record);
}

TEST_F(Far3Snapshot, APluginsPanelHasNoFolder) {
  host->items = {{u"a", {}}};
  host->panelFlags = far3::PFLAGS_PLUGIN;
  Far3::PanelSnapshot record;
  PanelView<char16_t> view;
  ASSERT_TRUE(Far3::TakeSnapshot(&record, &view));
  EXPECT_EQ(view.folder, nullptr);
  EXPECT_EQ(view.names.At(0), nullptr) << "no description file to read names for";
  EXPECT_EQ(host->Count(far3::FCTL_GETPANELDIRECTORY), 0);
  Far3::ReleaseSnapshot(&record);
}

TEST_F(Far3Snapshot, RefusesWhatIsNoFilePanelWithItemsOrChangesAndHoldsNothing) {
  Far3::PanelSnapshot record;
  PanelView<char16_t> view;
  EXPECT_FALSE(Far3::TakeSnapshot(&record, &view)) << "an empty panel";

  host->items = {{u"a", u"x"}};
  host->panelType = 1;  // the tree
  EXPECT_FALSE(Far3::TakeSnapshot(&record, &view));

  host->panelType = far3::PTYPE_FILEPANEL;
  host->panelInfoFails = true;
  EXPECT_FALSE(Far3::TakeSnapshot(&record, &view));

  host->panelInfoFails = false;
  fake::TheSystem().allocationFails = true;
  EXPECT_FALSE(Far3::TakeSnapshot(&record, &view));
  EXPECT_EQ(record.block, nullptr);

  fake::TheSystem().allocationFails = false;
  for (int i = 0; i < 10; ++i) host->items.push_back({u"name", u"description"});
  host->changeAfterFills = 4;
  EXPECT_FALSE(Far3::TakeSnapshot(&record, &view)) << "a panel that changes while read";
}

// ---- The speed search through the gateway -----------------------------------------

using Far3SpeedSearch = Far3Test;

far3::FarColor Color(uint32_t foreground, uint32_t background) {
  far3::FarColor color{};
  color.Flags = far3::FCF_FG_INDEX | far3::FCF_BG_INDEX;
  color.ForegroundColor = far3::kOpaque | foreground;
  color.BackgroundColor = far3::kOpaque | background;
  return color;
}

void Type(std::u16string keys) {
  for (char16_t c : keys) fake::TheSystem().console.queue.push_back(fake::KeyDown(c));
}

TEST_F(Far3SpeedSearch, MovesByARedrawRecordTopAtLeastZeroAndReadsNoItemPerKey) {
  host->items = {{u"a", u"x"}, {u"b", u"y"}, {u"tax", u"\u041d\u0430\u043b\u043e\u0433 2024"}};
  for (int i = 0; i < 1000; ++i) host->items.push_back({u"f", u"Holiday photo"});
  Type(u"\u043d\u0430\x1b");  // lower case: the host's matcher ignores case
  SpeedSearchCommand<Far3>();

  EXPECT_EQ(host->itemSizeQueries + host->itemFills, 2 * 1003) << "only the snapshot reads items";
  ASSERT_GE(host->Count(far3::FCTL_REDRAWPANEL), 2);
  const fake3::PanelCall& move = host->panelCalls[host->panelCalls.size() - 2];
  EXPECT_EQ(move.redrawCurrent, 2u);
  EXPECT_EQ(move.redrawTop, 0u) << "the first line, not a negative one";
  EXPECT_EQ(host->panelCalls.back().param2, 0) << "the closing redraw has no parameter";
}

TEST_F(Far3SpeedSearch, DrawsTheBoxInThePalettesDialogColoursElseTheFixedOnes) {
  host->items = {{u"a", u"x"}};
  host->dialogBox = Color(0xF, 0x1);
  host->dialogEdit = Color(0xE, 0x2);
  Type(u"\x1b");
  SpeedSearchCommand<Far3>();
  ASSERT_GE(host->texts.size(), 6u);
  EXPECT_EQ(host->texts[0].color->BackgroundColor, far3::kOpaque | 0x1);  // the frame
  EXPECT_EQ(host->texts[3].color->ForegroundColor, far3::kOpaque | 0xE);  // the field
  EXPECT_FALSE(host->texts[5].text.has_value()) << "then the output is flushed";
  EXPECT_EQ(host->texts[0].text->substr(3, 16), u"\u2550 Desc. Search \u2550");

  host->texts.clear();
  host->dialogBox.reset();
  host->dialogEdit.reset();
  Type(u"\x1b");
  SpeedSearchCommand<Far3>();
  const far3::FarColor frame = *host->texts[0].color;
  const far3::FarColor field = *host->texts[3].color;
  EXPECT_EQ(frame.Flags, far3::FCF_FG_INDEX | far3::FCF_BG_INDEX);
  EXPECT_EQ(frame.ForegroundColor, far3::kOpaque | 0x0);  // black on white, 0x70
  EXPECT_EQ(frame.BackgroundColor, far3::kOpaque | 0x7);
  EXPECT_EQ(field.ForegroundColor, far3::kOpaque | 0x0);  // black on cyan, 0x30
  EXPECT_EQ(field.BackgroundColor, far3::kOpaque | 0x3);
}

// The host's own quick-search keys reach the rules with their modifiers, and
// the clipboard, the help and a click are the host's.
TEST_F(Far3SpeedSearch, PastesOpensItsHelpAndEndsOnAClickThatStaysForTheHost) {
  host->items = {{u"a", u"Photo"}, {u"b", u"Tax 2024"}, {u"c", u"Tax 2023"}};
  host->clipboard = u"tax 2023\r\nsecond line";
  std::deque<sys::ConsoleEvent>& queue = fake::TheSystem().console.queue;
  queue.push_back(fake::KeyDown(22, 'V', sys::kLeftCtrl));
  queue.push_back(fake::KeyDown(0, 0x70));  // F1
  queue.push_back(fake::MouseEvent(1));
  SpeedSearchCommand<Far3>();

  EXPECT_EQ(host->panelCalls[host->panelCalls.size() - 2].redrawCurrent, 2u);
  EXPECT_EQ(host->helpTopics, std::vector<std::u16string>{u"SpeedSearch"});
  ASSERT_EQ(queue.size(), 1u) << "the click ends the search and stays queued";
  EXPECT_EQ(queue.front().mouseButtons, 1u);
}

// ---- Selection and the mask dialog --------------------------------------------------

using Far3Select = Far3Test;

TEST_F(Far3Select, SetsOrClearsTheMatchingItemsBetweenBeginAndEndThenRedraws) {
  host->items = {{u"..", {}}, {u"a", u"Tax 2024"}, {u"b", u"Photo"}, {u"c", u"tax 2023"}};
  host->dialogText = u"tax*";
  SelectCommand<Far3>(false);

  std::vector<std::pair<int, intptr_t>> calls;
  for (const fake3::PanelCall& call : host->panelCalls) {
    if (call.command == far3::FCTL_GETPANELITEM || call.command == far3::FCTL_GETPANELINFO ||
        call.command == far3::FCTL_GETPANELDIRECTORY) {
      continue;
    }
    calls.push_back({call.command, call.command == far3::FCTL_SETSELECTION ? call.param1 : -1});
  }
  const std::vector<std::pair<int, intptr_t>> expected = {{far3::FCTL_BEGINSELECTION, -1},
                                                          {far3::FCTL_SETSELECTION, 1},
                                                          {far3::FCTL_SETSELECTION, 3},
                                                          {far3::FCTL_ENDSELECTION, -1},
                                                          {far3::FCTL_REDRAWPANEL, -1}};
  EXPECT_EQ(calls, expected);
  for (const fake3::PanelCall& call : host->panelCalls) {
    if (call.command == far3::FCTL_SETSELECTION) {
      EXPECT_EQ(call.param2, 1) << "selected";
    }
  }

  host->panelCalls.clear();
  SelectCommand<Far3>(true);
  ASSERT_EQ(host->Count(far3::FCTL_SETSELECTION), 2);
  for (const fake3::PanelCall& call : host->panelCalls) {
    if (call.command == far3::FCTL_SETSELECTION) {
      EXPECT_EQ(call.param2, 0) << "unselected";
    }
  }
}

// The host's mask service in its list mode matches; its check shows the
// host's own message about a mask it cannot read.
TEST_F(Far3Select, MasksGoToTheHostsListServiceWhichShowsItsMessageAboutABadOne) {
  host->items = {{u"a", u"Tax 2024"}, {u"b", u"Photo 2024"}, {u"c", u"tax 2023"}};
  EXPECT_FALSE(Far3::CheckMask(u"/tax"));  // a regular expression without its end
  EXPECT_EQ(host->maskMessages, 1);
  EXPECT_EQ(host->processNameModes.back(), far3::PN_CHECKMASK | far3::PN_SHOWERRORMESSAGE);
  EXPECT_TRUE(Far3::CheckMask(u"tax*;photo*|*2023"));
  EXPECT_TRUE(Far3::MatchesMask(u"tax*;photo*|*2023", u"Photo 2024"));
  EXPECT_FALSE(Far3::MatchesMask(u"tax*;photo*|*2023", u"tax 2023"));
  EXPECT_EQ(host->processNameModes.back(), far3::PN_CMPNAMELIST);
}

TEST_F(Far3Select, TheDialogIsTheHostsWithItsHelpHistoryAndTitle) {
  host->items = {{u"a", u"x"}};
  host->dialogText = u"x";
  SelectCommand<Far3>(true);
  ASSERT_EQ(host->dialogs.size(), 1u);
  const fake3::DialogCall& dialog = host->dialogs[0];
  EXPECT_TRUE(SameGuid(dialog.pluginId, far3::kPluginGuid));
  EXPECT_TRUE(SameGuid(dialog.id, far3::kMaskDialogGuid));
  EXPECT_EQ(dialog.x1, -1);
  EXPECT_EQ(dialog.x2, 45);
  EXPECT_EQ(dialog.y2, 5);
  EXPECT_EQ(dialog.helpTopic, u"DescSel");
  EXPECT_EQ(dialog.history, u"DescSelect");
  EXPECT_EQ(dialog.title, u"Description Unselect");
  EXPECT_EQ(dialog.items[1].MaxLength, 511u);
  EXPECT_EQ(dialog.items[1].Flags, far3::DIF_HISTORY | far3::DIF_FOCUS | far3::DIF_DEFAULTBUTTON);
  EXPECT_EQ(std::make_tuple(dialog.items[1].X1, dialog.items[1].Y1, dialog.items[1].X2,
                            dialog.items[1].Y2),
            std::make_tuple(5, 2, 39, 3));
  EXPECT_EQ(host->dialogsFreed, 1);
}

// ---- The host's description settings ---------------------------------------------

using Far3DescriptionSettings = Far3Test;

TEST_F(Far3DescriptionSettings, TheMacroEngineAnswersTheHostsListAndAnsiSetting) {
  fake3::InstallMacroEngine(u"Notes.txt;Descript.ion", true);
  const auto settings = Far3::ReadDescriptionSettings();
  EXPECT_EQ(Str(settings.fileNames), u"Notes.txt;Descript.ion");
  EXPECT_TRUE(settings.ansi);
  EXPECT_EQ(host->macroEngine->ranFlags, far3::KMFLAGS_SILENTCHECK) << "Lua, no error box";
  EXPECT_NE(host->macroEngine->ranText.find(u"pcall(Far.GetConfig"), std::u16string::npos);

  // The engine's answer lasts only until its next run: the list is a copy.
  const std::u16string list = Str(settings.fileNames);
  fake3::InstallMacroEngine(u"", false);
  EXPECT_EQ(Str(settings.fileNames), list);
}

TEST_F(Far3DescriptionSettings, WithoutAnEngineOrItsAnswerTheHostsDefaultsHold) {
  auto settings = Far3::ReadDescriptionSettings();
  EXPECT_EQ(settings.fileNames, nullptr);
  EXPECT_FALSE(settings.ansi);
  fake3::InstallMacroEngine(std::nullopt, std::nullopt);
  settings = Far3::ReadDescriptionSettings();
  EXPECT_EQ(settings.fileNames, nullptr);
  EXPECT_FALSE(settings.ansi);
  fake3::InstallMacroEngine(u"", false);
  EXPECT_EQ(Str(Far3::ReadDescriptionSettings().fileNames), u"") << "an empty list names no file";
}

TEST_F(Far3DescriptionSettings, AListLongerThanTheModuleKeepsHoldsTheNamesThatFitWhole) {
  std::u16string list;
  while (list.size() < 3000) list += u"name" + std::u16string(1, u'a' + list.size() % 26) + u",";
  fake3::InstallMacroEngine(list, false);
  const std::u16string kept = Str(Far3::ReadDescriptionSettings().fileNames);
  ASSERT_LT(kept.size(), list.size());
  EXPECT_EQ(list.compare(0, kept.size() + 1, kept + u","), 0) << "cut before a separator";
}

TEST_F(Far3DescriptionSettings, TheDefaultViewReadsTheFileTheHostsSettingsName) {
  host->items = {{u"..", {}}, {u"a.txt", {}}, {u"b.txt", {}}};
  fake3::InstallMacroEngine(u"missing.txt;Notes.txt", true);
  // CP1251: "Привет" for b.txt.
  fake::AddFile(u"C:\\Photos", u"notes.txt",
                {'a', '.', 't', 'x', 't',  ' ',  'x',  '\r', '\n', 'b', '.',
                 't', 'x', 't', ' ', 0xCF, 0xF0, 0xE8, 0xE2, 0xE5, 0xF2});
  host->dialogText = u"\u041f\u0440\u0438*";
  SelectCommand<Far3>(false);
  ASSERT_EQ(host->Count(far3::FCTL_SETSELECTION), 1);
  for (const fake3::PanelCall& call : host->panelCalls) {
    if (call.command == far3::FCTL_SETSELECTION) {
      EXPECT_EQ(call.param1, 2);
    }
  }
}

// ---- Entry points -------------------------------------------------------------------

using Far3Plugin = Far3Test;

TEST_F(Far3Plugin, NamesItselfAndItsOneMenuEntry) {
  far3::GlobalInfo global{};
  GetGlobalInfoW(&global);
  EXPECT_EQ(global.StructSize, sizeof global);
  EXPECT_TRUE(SameGuid(global.Guid, far3::kPluginGuid));
  EXPECT_EQ(Str(global.Title), u"Veltrane");
  EXPECT_EQ(global.MinFarVersion.Major, 3u);

  far3::PluginInfo info{};
  GetPluginInfoW(&info);
  EXPECT_EQ(info.StructSize, sizeof info);
  EXPECT_EQ(info.Flags, 0u);
  ASSERT_EQ(info.PluginMenu.Count, 1u);
  EXPECT_TRUE(SameGuid(info.PluginMenu.Guids[0], far3::kMenuEntryGuid));
  EXPECT_EQ(Str(info.PluginMenu.Strings[0]), u"Veltrane");
  EXPECT_EQ(info.DiskMenu.Count, 0u);
  EXPECT_EQ(info.PluginConfig.Count, 0u);
}

TEST_F(Far3Plugin, OpenShowsTheCommandsAndRunsTheChosenOne) {
  host->items = {{u"a", u"Tax"}};
  host->messages[static_cast<int>(Message::kSelectCommand)] =
      u"&\u041f\u043e\u043c\u0435\u0442\u0438\u0442\u044c...";
  const far3::OpenInfo open{sizeof open, far3::OPEN_PLUGINSMENU, &far3::kMenuEntryGuid, 0, nullptr};

  EXPECT_EQ(OpenW(&open), nullptr) << "cancelled";
  EXPECT_TRUE(SameGuid(host->menuId, far3::kCommandMenuGuid));
  EXPECT_EQ(host->menuTitle, u"Veltrane");
  EXPECT_EQ(host->menuItems.size(), 4u);
  EXPECT_EQ(host->menuItems[1], u"&\u041f\u043e\u043c\u0435\u0442\u0438\u0442\u044c...");
  EXPECT_TRUE(host->panelCalls.empty());

  host->menuChoice = 2;
  host->dialogText = u"tax";
  EXPECT_EQ(OpenW(&open), nullptr) << "no panel of its own";
  EXPECT_EQ(host->dialogs.size(), 1u);
  EXPECT_EQ(host->dialogs[0].title, u"Description Unselect");
}

// Plugin.Call(guid, command[, argument]) from the host's macro engine.
class Far3Macro : public Far3Test {
 protected:
  const far3::FarMacroCall* Call(std::vector<std::u16string> strings) {
    values.assign(strings.size(), far3::FarMacroValue{});
    texts = std::move(strings);
    for (size_t i = 0; i < texts.size(); ++i) {
      values[i].Type = far3::FMVT_STRING;
      values[i].String = texts[i].c_str();
    }
    call = far3::OpenMacroInfo{sizeof call, values.size(), values.data()};
    const far3::OpenInfo open{sizeof open, far3::OPEN_FROMMACRO, nullptr,
                              reinterpret_cast<intptr_t>(&call), nullptr};
    return static_cast<const far3::FarMacroCall*>(OpenW(&open));
  }

  static int64_t Answer(const far3::FarMacroCall* answer, int32_t type) {
    EXPECT_NE(answer, nullptr);
    if (answer == nullptr) return INT64_MIN;
    EXPECT_EQ(answer->Count, 1u);
    EXPECT_EQ(answer->Values[0].Type, type);
    return answer->Values[0].Integer;
  }

  std::vector<std::u16string> texts;
  std::vector<far3::FarMacroValue> values;
  far3::OpenMacroInfo call{};
};

TEST_F(Far3Macro, SelectAndUnselectAnswerTheNumberOfItemsMatchedOrMinusOne) {
  host->items = {{u"a", u"Tax 2024"}, {u"b", u"Photo"}, {u"c", u"tax 2023"}};
  EXPECT_EQ(Answer(Call({u"Select", u"tax*"}), far3::FMVT_INTEGER), 2);
  EXPECT_EQ(Answer(Call({u"unselect:*2023"}), far3::FMVT_INTEGER), 1) << "any case, one string";
  EXPECT_EQ(Answer(Call({u"Select", u"/tax"}), far3::FMVT_INTEGER), -1);
  host->dialogText = u"photo";
  EXPECT_EQ(Answer(Call({u"Select"}), far3::FMVT_INTEGER), 1) << "without a mask: the dialog";
  EXPECT_EQ(host->dialogs.size(), 1u);
}

TEST_F(Far3Macro, SearchStartsWithTheTextGivenAndAnythingElseIsRefused) {
  host->items = {{u"a", u"Photo"}, {u"b", u"Tax 2024"}};
  fake::TheSystem().console.queue.push_back(fake::KeyDown(27, 0x1B));
  EXPECT_EQ(Answer(Call({u"Search", u"tax 2099"}), far3::FMVT_BOOLEAN), 1);
  bool shown = false;
  for (const fake3::TextCall& text : host->texts) shown |= text.text == u"tax 20";
  EXPECT_TRUE(shown) << "the text as far as a description begins with it";
  EXPECT_EQ(host->panelCalls[host->panelCalls.size() - 2].redrawCurrent, 1u);

  EXPECT_EQ(Call({u"Sort"}), nullptr);
  EXPECT_EQ(Call({}), nullptr);
}

}  // namespace

// The far2l gateway through the far2l stand-in: the panel copy, the box and
// the terminal's keys, the mask dialog and the selection calls, and the
// module's entry points.
#include "far2l/far2l_gateway.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "far2l/far2l_panel_records.h"
#include "tests/doubles/fake_system.h"
#include "tests/far2l/fake_far2l.h"

extern "C" {
int GetMinFarVersionW();
void GetPluginInfoW(far2l::PluginInfo* info);
far2l::HANDLE OpenPluginW(int openFrom, far2l::INT_PTR item);
}

namespace {

using namespace far2l;
using fake2l::Key;

constexpr uint32_t kLeftCtrl = LEFT_CTRL_PRESSED;
constexpr uint16_t kVkDown = 0x28;
enum Command { kCancelMenu = -1, kSpeedSearch, kSelect, kUnselect };

class Far2lTest : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetSystem();
    host = &fake2l::InstallFar2l();
    host->items = {
        {L"..", std::nullopt},
        {L"may.txt", L"report may", 5000000000},
        {L"readme", L"Readme first"},
        {L"june.txt", L"report june"},
        {L"otchet.txt", L"\x041E\x0442\x0447\x0451\x0442 \x0437\x0430 \x043C\x0430\x0439"}};
  }

  void Run(Command command) {
    host->menuResult = command;
    EXPECT_EQ(OpenPluginW(1, 0), InvalidHandleValue());
    EXPECT_EQ(fake::TheSystem().liveBlocks, 0) << "the panel copy outlived the command";
  }

  // The search text as each drawing of the box showed it: the first of the
  // two field-coloured strings of every drawing (the blanks after it follow).
  std::vector<std::wstring> FieldTexts() const {
    std::vector<std::wstring> field;
    bool textNext = true;
    for (const fake2l::TextCall& call : host->texts) {
      if (call.flush || call.color != COL_DIALOGEDIT) continue;
      if (textNext) field.push_back(call.text);
      textNext = !textNext;
    }
    return field;
  }

  int CountOf(int command) const {
    const std::vector<int> commands = host->Commands();
    return static_cast<int>(std::count(commands.begin(), commands.end(), command));
  }

  int QueuedKey() const {
    return host->queue.empty() ? -1 : host->queue.front().Event.KeyEvent.wVirtualKeyCode;
  }

  fake2l::Far2lHost* host = nullptr;
};

// ---- The panel copy --------------------------------------------------------

using Far2lSnapshotTest = Far2lTest;

TEST_F(Far2lSnapshotTest, CopiesEveryNameAndDescriptionAndTheFolderOnce) {
  host->current = 3;
  host->top = 1;
  Far2l::PanelSnapshot record;
  PanelView<wchar_t> view;
  ASSERT_TRUE(Far2l::TakeSnapshot(&record, &view));
  const std::vector<fake2l::Item> given = host->items;
  host->items.clear();  // the copy must not point into the host
  host->folder.clear();

  ASSERT_EQ(view.count, given.size());
  for (uint32_t i = 0; i < view.count; ++i) {
    EXPECT_EQ(std::wstring(view.names.At(i)), given[i].name);
    if (given[i].description) {
      EXPECT_EQ(std::wstring(view.descriptions.At(i)), *given[i].description);
    } else {
      EXPECT_EQ(view.descriptions.At(i), nullptr);
    }
  }
  EXPECT_EQ(view.sizes.At(1), 5000000000u);
  EXPECT_EQ(std::wstring(view.folder), L"/home/user/docs");
  EXPECT_EQ(view.current, 3);
  EXPECT_EQ(view.top, 1);
  EXPECT_EQ(view.rect.bottom, 27);
  // Two calls per item (size, then the item), and no call per keystroke later.
  EXPECT_EQ(CountOf(FCTL_GETPANELITEM), 2 * static_cast<int>(given.size()));
  Far2l::ReleaseSnapshot(&record);
  EXPECT_EQ(fake::TheSystem().liveBlocks, 0);
}

TEST_F(Far2lSnapshotTest, TextBeyondOneHeapChunkStaysIntact) {
  host->items.clear();
  for (int i = 0; i < 3000; ++i) {
    host->items.push_back({L"f" + std::to_wstring(i), std::wstring(30, L'a' + i % 26)});
  }
  host->items.push_back({L"huge", std::wstring(100000, L'\x0436')});
  Far2l::PanelSnapshot record;
  PanelView<wchar_t> view;
  ASSERT_TRUE(Far2l::TakeSnapshot(&record, &view));
  for (uint32_t i = 0; i < view.count; ++i) {
    ASSERT_EQ(std::wstring(view.descriptions.At(i)), *host->items[i].description) << i;
    ASSERT_EQ(std::wstring(view.names.At(i)), host->items[i].name) << i;
  }
  Far2l::ReleaseSnapshot(&record);
  EXPECT_EQ(fake::TheSystem().liveBlocks, 0);
}

TEST_F(Far2lSnapshotTest, APluginsPanelHasNoFolderToReadDescriptionsFrom) {
  host->plugin = 1;
  Far2l::PanelSnapshot record;
  PanelView<wchar_t> view;
  ASSERT_TRUE(Far2l::TakeSnapshot(&record, &view));
  EXPECT_EQ(view.folder, nullptr);
  EXPECT_EQ(CountOf(FCTL_GETPANELDIR), 0);
  Far2l::ReleaseSnapshot(&record);
}

TEST_F(Far2lSnapshotTest, NoSnapshotOfOtherPanelsAnEmptyPanelOrWithoutMemory) {
  Far2l::PanelSnapshot record;
  PanelView<wchar_t> view;
  host->panelType = 1;  // a tree panel
  EXPECT_FALSE(Far2l::TakeSnapshot(&record, &view));
  host->panelType = PTYPE_FILEPANEL;
  fake::TheSystem().allocationFails = true;
  EXPECT_FALSE(Far2l::TakeSnapshot(&record, &view));
  fake::TheSystem().allocationFails = false;
  host->items.clear();
  EXPECT_FALSE(Far2l::TakeSnapshot(&record, &view));
  EXPECT_EQ(CountOf(FCTL_GETPANELITEM), 0);
  EXPECT_EQ(fake::TheSystem().liveBlocks, 0);
}

// ---- The speed search's box and keys ---------------------------------------

using Far2lSpeedSearchTest = Far2lTest;

TEST_F(Far2lSpeedSearchTest, BoxIsDrawnInTheDialogPaletteEntriesOverThePanelsBottomEdge) {
  host->queue = {Key(0, VK_ESCAPE)};
  Run(kSpeedSearch);
  ASSERT_GE(host->texts.size(), 6u);
  const int x0 = (0 + 49) / 2 - 10;
  EXPECT_EQ(host->texts[0].text, L"\u2554\u2550\u2550\u2550 Desc. Search \u2550\u2550\u2550\u2557");
  EXPECT_EQ(host->texts[0].x, x0);
  EXPECT_EQ(host->texts[0].y, 27);
  EXPECT_EQ(host->texts[0].color, COL_DIALOGBOX);
  EXPECT_EQ(host->texts[4].color, COL_DIALOGEDIT);
  EXPECT_TRUE(host->texts[5].flush);
  ASSERT_FALSE(host->cursorMoves.empty());
  EXPECT_EQ(host->cursorMoves[0], std::make_pair(x0 + 2, 28));
}

TEST_F(Far2lSpeedSearchTest, TerminalKeysWithoutACharacterActAsOnTheWindowsConsole) {
  host->queue = {Key(L'r', 'R'),
                 Key(L'r', 'R', 0, false),
                 fake2l::MouseMove(),
                 Key(L'e', 'E'),
                 Key(0, 'J', kLeftCtrl),        // Ctrl+J: next match
                 Key(0, VK_RETURN, kLeftCtrl),  // Ctrl+Enter, where the terminal tells it
                 Key(0, VK_BACK),               // Backspace
                 Key(L'e', 'E'),
                 Key(0, 'Y', kLeftCtrl),  // Ctrl+Y: clear
                 Key(L'r', 'R'),
                 Key(L'x', 'X'),
                 Key(L'e', 'E'),
                 Key(0, VK_BACK, kLeftCtrl),  // Ctrl+Backspace: clear, not one letter back
                 Key(0, VK_ESCAPE),
                 Key(0, kVkDown)};
  Run(kSpeedSearch);
  EXPECT_EQ(FieldTexts(), (std::vector<std::wstring>{L"", L"r", L"re", L"re", L"re", L"r", L"re",
                                                     L"", L"r", L"r", L"re", L""}));
  // r: may.txt; Ctrl+J: readme; Ctrl+Enter: june.txt.
  ASSERT_EQ(host->redraws.size(), 3u);
  EXPECT_EQ(host->redraws[0].first, 1);
  EXPECT_EQ(host->redraws[1].first, 2);
  EXPECT_EQ(host->redraws[2].first, 3);
  EXPECT_EQ(QueuedKey(), kVkDown) << "Esc is consumed, the key after it is not";
}

TEST_F(Far2lSpeedSearchTest, AKeyTheSearchDoesNotUseStaysQueuedForTheHost) {
  // AltGr (right Alt with Ctrl) and a letter that gives no character is no
  // Ctrl+Y.
  for (const INPUT_RECORD& ending :
       {Key(0, VK_RETURN), Key(0, 'R', LEFT_ALT_PRESSED), Key(0, 'Q', kLeftCtrl),
        Key(0, 'Y', RIGHT_ALT_PRESSED | kLeftCtrl), Key(0, kVkDown), Key(0, VK_TAB)}) {
    host = &fake2l::InstallFar2l();
    host->items = {{L"a", L"report"}};
    host->queue = {Key(L'r', 'R'), ending};
    Run(kSpeedSearch);
    ASSERT_EQ(host->queue.size(), 1u);
    EXPECT_EQ(QueuedKey(), ending.Event.KeyEvent.wVirtualKeyCode);
    EXPECT_EQ(host->Commands().back(), FCTL_REDRAWPANEL);
  }
}

TEST_F(Far2lSpeedSearchTest, WorkTheHostQueuedForItsThreadEndsTheSearchAndStaysQueued) {
  host->queue = {Key(L'r', 'R'), Key(L'r', 'R', 0, false), fake2l::Callback(), Key(L'e', 'E')};
  Run(kSpeedSearch);
  ASSERT_EQ(host->queue.size(), 2u);
  EXPECT_EQ(host->queue.front().EventType, CALLBACK_EVENT);
  EXPECT_EQ(host->Commands().back(), FCTL_REDRAWPANEL);
}

// The host's quick-search keys reach the rules with their modifiers; the
// clipboard, the help and the other keyboard layout are the host's.
TEST_F(Far2lSpeedSearchTest, PastesOpensItsHelpAndEndsOnAClickThatStaysForTheHost) {
  host->clipboard = L"report june\nsecond line";
  host->queue = {Key(0, 'V', kLeftCtrl), Key(0, 0x70), fake2l::MouseMove(1)};
  Run(kSpeedSearch);
  EXPECT_EQ(FieldTexts().back(), L"report june");
  EXPECT_EQ(host->redraws.back().first, 3);
  EXPECT_EQ(host->liveClipboardCopies, 0) << "the host's copy is given back";
  EXPECT_EQ(host->helpTopics, std::vector<std::wstring>{L"SpeedSearch"});
  ASSERT_EQ(host->queue.size(), 1u) << "the click ends the search and stays queued";
  EXPECT_EQ(host->queue.front().EventType, MOUSE_EVENT);
}

TEST_F(Far2lSpeedSearchTest, ALetterIsRetriedInTheOtherLayoutUnlessTheHostsSettingsSayNo) {
  fake::TheSystem().environment["FARSETTINGS"] = "/opt/far2l-xlat";
  host->items = {{L"a", L"\x0439\x043E\x0433\x0443\x0440\x0442"}};  // starts with the letter on q
  for (const std::string setting : {"", "[XLat]\nEnableForFastFileFind=0\n"}) {
    const std::string file = "[Other]\nEnableForFastFileFind=0\n" + setting;
    fake::AddFile(u"/opt/far2l-xlat/.config/settings", u"config.ini", {file.begin(), file.end()});
    host->queue = {Key(L'q', 'Q'), Key(0, VK_ESCAPE)};
    host->texts.clear();
    Run(kSpeedSearch);
    EXPECT_EQ(FieldTexts().back(), setting.empty() ? L"\x0439" : L"") << "settings: " << setting;
  }
}

TEST_F(Far2lSpeedSearchTest, WithoutTheHostsConsoleFunctionsTheSearchEndsAtOnce) {
  fake2l::StartWithoutConsole();
  host->queue = {Key(L'r', 'R')};
  Run(kSpeedSearch);
  EXPECT_EQ(host->queue.size(), 1u);
  EXPECT_TRUE(host->cursorMoves.empty());
  EXPECT_EQ(host->Commands().back(), FCTL_REDRAWPANEL);
}

// ---- The mask dialog and the selection -------------------------------------

using Far2lSelectTest = Far2lTest;

TEST_F(Far2lSelectTest, DialogHasTheTitleHistoryHelpAndLimitOfTheCommand) {
  host->messages = {L"V", L"a", L"b", L"c", L"Select title", L"Unselect title"};
  Run(kUnselect);
  ASSERT_EQ(host->dialogs.size(), 1u);
  const fake2l::DialogCall& dialog = host->dialogs[0];
  EXPECT_EQ((std::vector<int>{dialog.x1, dialog.y1, dialog.x2, dialog.y2}),
            (std::vector<int>{-1, -1, 45, 5}));
  EXPECT_EQ(dialog.helpTopic, L"DescSel");
  ASSERT_EQ(dialog.items.size(), 2u);
  EXPECT_EQ(dialog.items[0].Type, DI_DOUBLEBOX);
  EXPECT_EQ(dialog.texts[0], L"Unselect title");
  EXPECT_EQ(dialog.items[1].Type, DI_EDIT);
  EXPECT_EQ(dialog.items[1].Flags, DIF_HISTORY);
  EXPECT_EQ(dialog.history, L"DescSelect");
  EXPECT_EQ(dialog.items[1].Focus, 1);
  EXPECT_EQ(dialog.items[1].DefaultButton, 1);
  EXPECT_EQ(dialog.items[1].MaxLen, 511u);
  EXPECT_TRUE(host->selections.empty());
}

TEST_F(Far2lSelectTest, SelectsAndUnselectsMatchesBetweenBeginAndEndOfSelection) {
  host->onDialog = [](std::wstring* field) {
    *field = L"REPORT*";
    return 1;
  };
  Run(kSelect);
  EXPECT_EQ(host->selections, (std::vector<std::pair<int, bool>>{{1, true}, {3, true}}));
  const std::vector<int> commands = host->Commands();
  const std::vector<int> tail(commands.end() - 6, commands.end());
  EXPECT_EQ(tail, (std::vector<int>{FCTL_GETPANELINFO, FCTL_BEGINSELECTION, FCTL_SETSELECTION,
                                    FCTL_SETSELECTION, FCTL_ENDSELECTION, FCTL_REDRAWPANEL}));
  EXPECT_FALSE(host->controls.back().hasParam2);

  host->selections.clear();
  host->onDialog = [](std::wstring* field) {
    *field = L"*\x041C\x0410\x0419";  // Cyrillic, in the other case
    return 1;
  };
  Run(kUnselect);
  EXPECT_EQ(host->selections, (std::vector<std::pair<int, bool>>{{4, false}}));
}

TEST_F(Far2lSelectTest, TheMaskIsKeptAcrossBothCommandsWhicheverWayTheDialogClosed) {
  host->onDialog = [](std::wstring* field) {
    *field = L"report*";
    return 1;
  };
  Run(kSelect);
  host->onDialog = [](std::wstring* field) {
    *field = L"typed, then Esc";
    return -1;
  };
  Run(kUnselect);
  EXPECT_EQ(CountOf(FCTL_BEGINSELECTION), 1) << "Esc selects nothing";
  Run(kSelect);
  ASSERT_EQ(host->dialogs.size(), 3u);
  EXPECT_EQ(host->dialogs[1].texts[1], L"report*");
  EXPECT_EQ(host->dialogs[2].texts[1], L"typed, then Esc");
}

// The host's mask service in its list mode matches (one plain pattern goes
// to CmpName, which the host does not parse anew per item); its check shows
// the host's own message about a mask it cannot read.
TEST_F(Far2lSelectTest, MasksGoToTheHostsListServiceWhichShowsItsMessageAboutABadOne) {
  EXPECT_FALSE(Far2l::CheckMask(L"/report"));
  EXPECT_EQ(host->maskMessages, 1);
  EXPECT_TRUE(Far2l::MatchesMask(L"report*;readme*|*june", L"Readme first"));
  EXPECT_FALSE(Far2l::MatchesMask(L"report*;readme*|*june", L"report june"));
  EXPECT_EQ(host->listCompares, 2);
  EXPECT_TRUE(Far2l::MatchesMask(L"REPORT*", L"report june"));
  EXPECT_EQ(host->listCompares, 2) << "one pattern needs no list parsed anew per item";
}

TEST_F(Far2lSelectTest, NoIndexBeyondThePanelWhenTheHostReReadTheFolderMeanwhile) {
  host->laterItemsNumber = 2;
  host->onDialog = [](std::wstring* field) {
    *field = L"*";
    return 1;
  };
  Run(kSelect);
  EXPECT_EQ(host->selections, (std::vector<std::pair<int, bool>>{{1, true}}));
}

// ---- The host's description settings ----------------------------------------

class Far2lDescriptionSettingsTest : public Far2lTest {
 protected:
  static void Settings(const std::u16string& folder, const std::string& text) {
    fake::AddFile(folder, u"config.ini", std::vector<uint8_t>(text.begin(), text.end()));
  }
  static std::wstring Names(const descriptions::HostSettings<wchar_t>& settings) {
    return settings.fileNames != nullptr ? settings.fileNames : L"(none)";
  }
};

TEST_F(Far2lDescriptionSettingsTest, TheSettingsFileIsWhereTheHostLooksForIt) {
  fake::System& system = fake::TheSystem();
  const std::pair<std::map<std::string, std::string>, std::u16string> places[] = {
      {{}, u"/home/user/.config/far2l/settings"},
      {{{"XDG_CONFIG_HOME", "/xdg/"}}, u"/xdg/far2l/settings"},
      {{{"XDG_CONFIG_HOME", "relative"}}, u"/home/user/.config/far2l/settings"},
      {{{"FARSETTINGS", "/opt/profile//"}}, u"/opt/profile/.config/settings"},
      {{{"FARSETTINGS", "work"}, {"XDG_CONFIG_HOME", "/xdg"}}, u"/xdg/far2l/custom/work/settings"},
  };
  for (const auto& [environment, folder] : places) {
    system.environment = environment;
    system.fileSystem.lookups.clear();
    Far2l::ReadDescriptionSettings();
    ASSERT_EQ(system.fileSystem.lookups.size(), 1u);
    EXPECT_EQ(system.fileSystem.lookups[0], folder + u"|config.ini");
  }
}

TEST_F(Far2lDescriptionSettingsTest, TheDescriptionsSectionsKeysAreReadAsTheHostWritesThem) {
  Settings(u"/home/user/.config/far2l/settings",
           "ListNames=not this section\n"
           "[Panel]\nListNames=nor this one\n"
           "[Descriptions]\r\n"
           "; ListNames=a comment\n"
           "  ListNames  =  first.ion\n"
           "AnsiByDefault = 0x1\n"
           "ListNames=\"Notes.txt, \\E\\t\\\\ \"\n"
           "[descriptions]\nAnsiByDefault=0\n");
  const auto settings = Far2l::ReadDescriptionSettings();
  EXPECT_EQ(Names(settings), L"Notes.txt, =\t\\ ") << "the later key, unquoted";
  EXPECT_TRUE(settings.ansi) << "section names tell case apart";
}

TEST_F(Far2lDescriptionSettingsTest,
       WithoutTheFileOrAKeyTheHostsDefaultsHoldAndAnEmptyListNamesNone) {
  auto settings = Far2l::ReadDescriptionSettings();
  EXPECT_EQ(Names(settings), L"(none)");
  EXPECT_FALSE(settings.ansi);
  Settings(u"/home/user/.config/far2l/settings", "[Descriptions]\nAnsiByDefault=2\n");
  settings = Far2l::ReadDescriptionSettings();
  EXPECT_EQ(Names(settings), L"(none)");
  EXPECT_TRUE(settings.ansi);
  Settings(u"/home/user/.config/far2l/settings", "[Descriptions]\nListNames=\n");
  EXPECT_EQ(Names(Far2l::ReadDescriptionSettings()), L"");
}

// ---- Entry points ----------------------------------------------------------

using Far2lEntryPointsTest = Far2lTest;

TEST_F(Far2lEntryPointsTest, MenuEntryAndCommandMenuInTheHostsLanguage) {
  host->messages = {
      L"Veltrane", L"&\x0411\x044B\x0441\x0442\x0440\x044B\x0439", L"&S", L"&U", L"t1", L"t2"};
  PluginInfo info{};
  GetPluginInfoW(&info);
  EXPECT_EQ(info.StructSize, 64);
  ASSERT_EQ(info.PluginMenuStringsNumber, 1);
  EXPECT_EQ(std::wstring(info.PluginMenuStrings[0]), L"Veltrane");
  EXPECT_EQ(info.Flags, 0u);
  EXPECT_EQ(info.SysID, 0x564C5452u);
  EXPECT_EQ(info.DiskMenuStringsNumber, 0);
  EXPECT_EQ(info.PluginConfigStringsNumber, 0);

  Run(kCancelMenu);
  ASSERT_EQ(host->menus.size(), 1u);
  const fake2l::MenuCall& menu = host->menus[0];
  EXPECT_EQ(menu.title, L"Veltrane");
  EXPECT_EQ(menu.items, (std::vector<std::wstring>{host->messages[1], L"&S", L"&U",
                                                   L"&Find by description..."}))
      << "a message the language file lacks is the built-in English";
  EXPECT_EQ((std::vector<int>{menu.x, menu.y, menu.maxHeight}), (std::vector<int>{-1, -1, 0}));
  EXPECT_FALSE(menu.hasBottom || menu.hasHelp || menu.hasBreakKeys);
  EXPECT_TRUE(host->controls.empty());
  EXPECT_EQ(GetMinFarVersionW(), 0x00020006);
}

TEST_F(Far2lEntryPointsTest, MacrosCallTheCommandsByNameOrByTheirPlaceInTheMenu) {
  PluginInfo info{};
  GetPluginInfoW(&info);
  EXPECT_EQ(info.SysID, 0x564C5452u) << "callplugin(0x564C5452, ...)";
  const int fromMacro = OPEN_FROMMACRO | OPEN_FROMMACROSTRING | 1;  // in the panels
  auto call = [&](const wchar_t* command) {
    return OpenPluginW(fromMacro, reinterpret_cast<INT_PTR>(command));
  };

  EXPECT_EQ(call(L"Select:report*"), InvalidHandleValue()) << "never a handle of a panel";
  EXPECT_EQ(host->selections, (std::vector<std::pair<int, bool>>{{1, true}, {3, true}}));
  call(L"unselect *june");
  EXPECT_EQ(host->selections.back(), std::make_pair(3, false));
  call(L"Sort");
  EXPECT_TRUE(host->dialogs.empty() && host->menus.empty());

  host->queue = {Key(0, VK_ESCAPE)};
  call(L"Search:readme, please");
  EXPECT_EQ(FieldTexts().back(), L"readme") << "as far as a description begins with it";
  host->onDialog = [](std::wstring* field) {
    *field = L"readme";
    return 1;
  };
  EXPECT_EQ(OpenPluginW(OPEN_FROMMACRO | 1, kSelect), InvalidHandleValue());
  EXPECT_EQ(host->dialogs.size(), 1u) << "by number: the command as the menu runs it";
  EXPECT_TRUE(host->menus.empty());
}

}  // namespace

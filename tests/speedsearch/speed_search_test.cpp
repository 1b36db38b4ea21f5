// Whole speed searches through the console and host doubles: what the user
// sees on the screen and what the host receives.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "far1/far1_commands.h"
#include "far1/far1_texts.h"
#include "tests/doubles/fake_system.h"
#include "tests/far1/fake_far1.h"

namespace {

using fake::KeyDown;
using fake::KeyUp;

constexpr char kPalette[] = "Software\\Far\\Colors\\CurrentPalette";
constexpr uint8_t kEnter = 13, kEsc = 27, kTab = 9;
constexpr uint16_t kVkReturn = 0x0D, kVkDown = 0x28, kVkShift = 0x10, kVkControl = 0x11,
                   kVkMenu = 0x12, kVkCapital = 0x14, kVkNumLock = 0x90, kVkScroll = 0x91;

class SpeedSearchTest : public testing::Test {
 protected:
  void SetUp() override {
    system = &fake::ResetSystem();
    host = &fake::InstallHost();
    host->panel.PanelRect = HostRect{0, 1, 39, 20};
    host->SetItems({"zeta", "report", "readme", "rabbit"});
    system->console.bufferRows = 25;
  }

  void Queue(std::initializer_list<sys::ConsoleEvent> events) {
    for (const sys::ConsoleEvent& e : events) system->console.queue.push_back(e);
  }

  void Type(const std::string& keys) {
    for (unsigned char c : keys) Queue({KeyDown(c), KeyUp(c)});
  }

  // The text calls of the last drawing of the box: three frame lines, the
  // text and the fill.
  std::vector<fake::TextCall> LastBox() const {
    std::vector<fake::TextCall> calls;
    for (const fake::TextCall& call : host->texts) {
      if (call.flush) continue;
      if (call.text == texts::kSearchBoxTop) calls.clear();
      calls.push_back(call);
    }
    return calls;
  }

  std::string Field() const {
    std::vector<fake::TextCall> box = LastBox();
    return box.size() == 5 ? box[3].text + box[4].text : "";
  }

  fake::System* system = nullptr;
  fake::Host* host = nullptr;
};

// ---- The box ---------------------------------------------------------------

TEST_F(SpeedSearchTest, DrawsTheBoxCentredOnThePanelsBottomEdgeInOrder) {
  host->panel.PanelRect = HostRect{40, 1, 79, 20};
  Queue({KeyDown(kEsc)});
  SpeedSearch();
  std::vector<fake::TextCall>& calls = host->texts;
  ASSERT_EQ(calls.size(), 6u);
  const int x0 = (40 + 79) / 2 - 10;
  EXPECT_EQ(calls[0].text, "\xC9\xCD\xCD\xCD Desc. Search \xCD\xCD\xCD\xBB");
  EXPECT_EQ(calls[1].text, "\xBA" + std::string(20, ' ') + "\xBA");
  EXPECT_EQ(calls[2].text, "\xC8" + std::string(20, '\xCD') + "\xBC");
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(calls[row].x, x0);
    EXPECT_EQ(calls[row].y, 20 + row);
  }
  EXPECT_EQ(calls[3].text, "");
  EXPECT_EQ(calls[3].x, x0 + 2);
  EXPECT_EQ(calls[4].text, std::string(18, ' '));
  EXPECT_EQ(calls[4].x, x0 + 2);
  EXPECT_EQ(calls[4].y, 21);
  EXPECT_TRUE(calls[5].flush);
  EXPECT_EQ(calls[5].x, 0);
  EXPECT_EQ(calls[5].y, 0);
  EXPECT_EQ(calls[5].color, 0);
}

TEST_F(SpeedSearchTest, BoxPositionTruncatesTowardsZeroForNegativeCoordinates) {
  host->panel.PanelRect = HostRect{-7, 1, 0, 20};  // (-7 + 0) / 2 = -3
  Queue({KeyDown(kEsc)});
  SpeedSearch();
  EXPECT_EQ(LastBox()[0].x, -13);
}

// Run by CTest in a process of its own, this is the process's first speed
// search: the console handles are not fetched yet when the box is placed.
TEST_F(SpeedSearchTest, FirstSearchOfTheProcessLiftsABoxOnTheLastRows) {
  host->panel.PanelRect.bottom = 24;
  Queue({KeyDown(kEsc)});
  SpeedSearch();
  EXPECT_EQ(LastBox()[0].y, 23);
}

TEST_F(SpeedSearchTest, ExtremePanelRectanglesNeverOverflow) {
  constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
  for (HostRect rect : {HostRect{kMin, kMin, kMax, kMax}, HostRect{kMax, kMax, kMax, kMax},
                        HostRect{kMin, kMax, kMin, kMin}, HostRect{kMax, kMin, kMax, kMax}}) {
    host->panel.PanelRect = rect;
    host->panel.CurrentItem = 0;
    Type("ra");
    Queue({KeyDown(kEsc)});
    SpeedSearch();
    EXPECT_EQ(host->panel.CurrentItem, 3);
  }
}

TEST_F(SpeedSearchTest, BoxOnTheLastTwoRowsOfTheBufferMovesUpOneRow) {
  for (int bottom : {22, 23, 24}) {
    host->texts.clear();
    host->panel.PanelRect.bottom = bottom;
    Queue({KeyDown(kEsc)});
    SpeedSearch();
    const int expected = bottom >= 25 - 2 ? bottom - 1 : bottom;
    EXPECT_EQ(LastBox()[0].y, expected) << "bottom " << bottom;
  }
}

TEST_F(SpeedSearchTest, ColoursComeFromTheHostsPaletteOfTwentySevenToEightyBytes) {
  for (size_t size : {27u, 80u}) {
    std::vector<uint8_t> palette(size, 0x07);
    palette[23] = 0x1F;
    palette[26] = 0x4E;
    system->registry[kPalette] = palette;
    Queue({KeyDown(kEsc)});
    SpeedSearch();
    std::vector<fake::TextCall> box = LastBox();
    ASSERT_EQ(box.size(), 5u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(box[i].color, 0x1F) << size << " bytes";
    EXPECT_EQ(box[3].color, 0x4E) << size << " bytes";
    EXPECT_EQ(box[4].color, 0x4E) << size << " bytes";
  }
}

TEST_F(SpeedSearchTest, MissingLongOrShortPaletteGivesTheFixedColours) {
  const std::vector<std::vector<uint8_t>> palettes = {
      {}, std::vector<uint8_t>(81, 0x1F), std::vector<uint8_t>(26, 0x1F)};
  for (size_t i = 0; i <= palettes.size(); ++i) {
    system->registry.clear();
    if (i < palettes.size()) system->registry[kPalette] = palettes[i];
    host->texts.clear();
    Queue({KeyDown(kEsc)});
    SpeedSearch();
    std::vector<fake::TextCall> box = LastBox();
    ASSERT_EQ(box.size(), 5u);
    EXPECT_EQ(box[0].color, 0x70) << "palette " << i;
    EXPECT_EQ(box[4].color, 0x30) << "palette " << i;
  }
}

TEST_F(SpeedSearchTest, CursorStandsAfterTheTextInsideTheField) {
  host->SetItems({"abcdefghijklmnopqrstuvwxyz"});
  const int x0 = (0 + 39) / 2 - 10;
  Queue({KeyDown(kEsc)});
  SpeedSearch();
  ASSERT_FALSE(system->console.cursorMoves.empty());
  EXPECT_EQ(system->console.cursorMoves.back(), std::make_pair(x0 + 2, 21));

  system->console.cursorMoves.clear();
  Type("abcdefghijklmnopqr");
  Queue({KeyDown(kEsc)});
  SpeedSearch();
  EXPECT_EQ(system->console.cursorMoves.back(), std::make_pair(x0 + 20, 21));
  EXPECT_EQ(Field(), "abcdefghijklmnopqr");
}

TEST_F(SpeedSearchTest, FieldShowsTheTextFollowedByBlanksEighteenCellsWide) {
  Type("rea");
  Queue({KeyDown(kEsc)});
  SpeedSearch();
  std::vector<fake::TextCall> box = LastBox();
  EXPECT_EQ(box[3].text, "rea");
  EXPECT_EQ(box[4].text, std::string(15, ' '));
  EXPECT_EQ(box[4].x, box[3].x + 3);
}

// ---- Keys ------------------------------------------------------------------

TEST_F(SpeedSearchTest, TypingMovesTheCursorAndEnterReachesTheHost) {
  Type("rea");
  Queue({KeyDown(kEnter, kVkReturn), KeyUp(kEnter, kVkReturn)});
  SpeedSearch();
  EXPECT_EQ(host->panel.CurrentItem, 2);
  ASSERT_EQ(system->console.queue.size(), 2u);
  EXPECT_EQ(system->console.queue.front().character, kEnter);
  EXPECT_TRUE(system->console.queue.front().keyDown);
  ASSERT_FALSE(host->controls.empty());
  EXPECT_EQ(host->controls.back().command, FCTL_REDRAWPANEL);
  EXPECT_FALSE(host->controls.back().hasParam);
}

TEST_F(SpeedSearchTest, KeysTheSearchDoesNotUseEndItAndStayQueued) {
  const std::vector<sys::ConsoleEvent> enders = {KeyDown(kTab, 0x09), KeyDown(0, kVkDown),
                                                 KeyDown(0, 0x70),  // F1
                                                 KeyDown(1, 'A'), KeyDown(26, 'Z')};
  for (const sys::ConsoleEvent& ender : enders) {
    system->console.queue.clear();
    Type("r");
    Queue({ender, KeyDown('x')});
    SpeedSearch();
    ASSERT_EQ(system->console.queue.size(), 2u);
    EXPECT_EQ(system->console.queue.front().character, ender.character);
    EXPECT_EQ(system->console.queue.front().virtualKeyCode, ender.virtualKeyCode);
  }
}

TEST_F(SpeedSearchTest, EscEndsTheSearchAndIsConsumed) {
  Type("r");
  Queue({KeyDown(kEsc), KeyDown('x')});
  SpeedSearch();
  ASSERT_EQ(system->console.queue.size(), 1u);
  EXPECT_EQ(system->console.queue.front().character, 'x');
  EXPECT_EQ(host->Count(FCTL_REDRAWPANEL), 2) << "the move to 'report' and the final redraw";
}

TEST_F(SpeedSearchTest, ReleasesModifiersMouseAndFocusChangeNothing) {
  Type("r");
  Queue({KeyDown(0, kVkShift), KeyUp(0, kVkShift), KeyDown(0, kVkControl), KeyDown(0, kVkMenu),
         KeyDown(0, kVkCapital), KeyDown(0, kVkNumLock), KeyDown(0, kVkScroll), KeyDown(0, 0x13),
         fake::MouseEvent(), fake::FocusEvent(), KeyUp(kEnter, kVkReturn)});
  Type("a");
  Queue({KeyDown(kEsc)});
  SpeedSearch();
  EXPECT_TRUE(system->console.queue.empty());
  EXPECT_EQ(Field(), "ra" + std::string(16, ' '));
  EXPECT_EQ(host->panel.CurrentItem, 3);
}

TEST_F(SpeedSearchTest, CtrlLettersTheSearchUsesAreTaken) {
  host->SetItems({"note one", "other", "note two"});
  Type("note");
  Queue({KeyDown(10, 0x0D)});  // Ctrl+Enter: the next match
  Type("x");                   // refused: no "notex"
  Queue({KeyDown(8, 'H'), KeyDown(25, 'Y'), KeyDown(kEnter, kVkReturn)});
  SpeedSearch();
  EXPECT_EQ(host->panel.CurrentItem, 2);
  EXPECT_EQ(Field(), std::string(18, ' '));
  ASSERT_EQ(system->console.queue.size(), 1u);
}

// ---- Panels that cannot be searched, and consoles that cannot be read ------

TEST_F(SpeedSearchTest, NonFilePanelOrEmptyPanelDrawsNothingAndAsksNoRedraw) {
  Type("r");
  host->panel.PanelType = 1;
  SpeedSearch();
  host->panel.PanelType = PTYPE_FILEPANEL;
  host->SetItems({});
  SpeedSearch();
  EXPECT_TRUE(host->texts.empty());
  EXPECT_EQ(host->CommandsCalled(), (std::vector<int>{FCTL_GETPANELINFO, FCTL_GETPANELINFO}));
  EXPECT_EQ(system->console.queue.size(), 2u) << "no key was read";
}

TEST_F(SpeedSearchTest, FailingPanelInfoDrawsNothing) {
  host->getPanelInfoResult = 0;
  Type("r");
  SpeedSearch();
  EXPECT_TRUE(host->texts.empty());
  EXPECT_EQ(host->CommandsCalled(), std::vector<int>{FCTL_GETPANELINFO});
}

TEST_F(SpeedSearchTest, UnreadableConsoleEndsTheSearchWithARedraw) {
  system->console.inputFails = true;
  Type("r");
  SpeedSearch();
  EXPECT_EQ(host->controls.back().command, FCTL_REDRAWPANEL);
  EXPECT_LE(system->console.peeks, 1);
}

TEST_F(SpeedSearchTest, EmptyQueueIsWaitedOnNotPolled) {
  Type("r");
  SpeedSearch();
  EXPECT_EQ(system->console.waitsOnEmptyQueue, 1);
  EXPECT_EQ(host->panel.CurrentItem, 1);
  EXPECT_EQ(host->controls.back().command, FCTL_REDRAWPANEL);
}

TEST_F(SpeedSearchTest, UnreadableBufferSizeLeavesTheBoxOnTheBottomEdge) {
  system->console.bufferInfoFails = true;
  host->panel.PanelRect.bottom = 24;
  Queue({KeyDown(kEsc)});
  SpeedSearch();
  EXPECT_EQ(LastBox()[0].y, 24);
}

TEST_F(SpeedSearchTest, EachSearchStartsEmptyAndConsoleHandlesAreFetchedOnce) {
  Type("r");
  Queue({KeyDown(kEsc)});
  SpeedSearch();
  const int requests = system->console.stdHandleRequests;
  EXPECT_LE(requests, 2);
  Queue({KeyDown(kEsc)});
  SpeedSearch();
  EXPECT_EQ(system->console.stdHandleRequests, requests);
  EXPECT_EQ(Field(), std::string(18, ' '));
}

}  // namespace

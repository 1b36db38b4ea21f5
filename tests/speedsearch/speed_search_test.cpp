// Whole speed searches through the test gateway: what the user sees on the
// screen, the keys it takes and leaves, and what the host is told.
#include "speedsearch/speed_search.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "tests/doubles/fake_system.h"
#include "tests/doubles/test_gateway.h"

namespace {

using G = test::TestGateway<char>;
using fake::KeyDown;
using fake::KeyUp;

constexpr uint8_t kEnter = 13, kEsc = 27, kTab = 9;
constexpr uint16_t kVkReturn = 0x0D, kVkDown = 0x28, kVkShift = 0x10, kVkControl = 0x11,
                   kVkMenu = 0x12, kVkCapital = 0x14, kVkNumLock = 0x90, kVkScroll = 0x91;

class SpeedSearchTest : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetSystem();
    host = &G::Reset();
    host->rect = PanelRect{0, 1, 39, 20};
    host->Describe({"zeta", "report", "readme", "rabbit"});
    host->screenRows = 25;
  }
  void TearDown() override {
    EXPECT_EQ(fake::TheSystem().liveBlocks, 0) << "memory outlived the search";
    EXPECT_EQ(host->snapshotsHeld, 0);
  }

  void Queue(std::initializer_list<sys::ConsoleEvent> events) {
    for (const sys::ConsoleEvent& e : events) host->keys.push_back(e);
  }

  void Type(const std::string& keys) {
    for (unsigned char c : keys) Queue({KeyDown(c), KeyUp(c)});
  }

  // The calls of the last drawing of the box: three frame lines, the text,
  // the fill and the flush.
  std::vector<test::Draw<char>> LastBox() const {
    std::vector<test::Draw<char>> calls;
    for (const test::Draw<char>& call : host->draws) {
      if (call.text == speed_search::kBoxLines<G>.top) calls.clear();
      calls.push_back(call);
    }
    return calls;
  }

  std::string Field() const {
    std::vector<test::Draw<char>> box = LastBox();
    return box.size() == 6 ? box[3].text + box[4].text : "";
  }

  test::Host<char>* host = nullptr;
};

// ---- The box ---------------------------------------------------------------

TEST_F(SpeedSearchTest, DrawsTheBoxCentredOnThePanelsBottomEdgeThenShowsIt) {
  host->rect = PanelRect{40, 1, 79, 20};
  Queue({KeyDown(kEsc)});
  SpeedSearchCommand<G>();
  const std::vector<test::Draw<char>>& calls = host->draws;
  ASSERT_EQ(calls.size(), 6u);
  const int x0 = (40 + 79) / 2 - 10;
  EXPECT_EQ(calls[0].text, "/=== Desc. Search ===\\");
  EXPECT_EQ(calls[1].text, "|" + std::string(20, ' ') + "|");
  EXPECT_EQ(calls[2].text, "\\" + std::string(20, '=') + "/");
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(calls[row].x, x0);
    EXPECT_EQ(calls[row].y, 20 + row);
    EXPECT_EQ(calls[row].ink, Ink::kFrame);
  }
  EXPECT_EQ(calls[3].text, "");
  EXPECT_EQ(calls[3].x, x0 + 2);
  EXPECT_EQ(calls[4].text, std::string(18, ' '));
  EXPECT_EQ(calls[4].x, x0 + 2);
  EXPECT_EQ(calls[4].y, 21);
  EXPECT_EQ(calls[4].ink, Ink::kField);
  EXPECT_TRUE(calls[5].flush);
  EXPECT_EQ(host->colorLoads, 1);
}

TEST_F(SpeedSearchTest, BoxPositionTruncatesTowardsZeroForNegativeCoordinates) {
  host->rect = PanelRect{-7, 1, 0, 20};  // (-7 + 0) / 2 = -3
  Queue({KeyDown(kEsc)});
  SpeedSearchCommand<G>();
  EXPECT_EQ(LastBox()[0].x, -13);
}

TEST_F(SpeedSearchTest, ExtremePanelRectanglesNeverOverflow) {
  constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
  for (PanelRect rect : {PanelRect{kMin, kMin, kMax, kMax}, PanelRect{kMax, kMax, kMax, kMax},
                         PanelRect{kMin, kMax, kMin, kMin}, PanelRect{kMax, kMin, kMax, kMax}}) {
    host->rect = rect;
    host->current = 0;
    Type("ra");
    Queue({KeyDown(kEsc)});
    SpeedSearchCommand<G>();
    EXPECT_EQ(host->current, 3);
  }
}

TEST_F(SpeedSearchTest, BoxOnTheLastTwoRowsOfTheBufferMovesUpOneRow) {
  for (int bottom : {22, 23, 24}) {
    host->draws.clear();
    host->rect.bottom = bottom;
    Queue({KeyDown(kEsc)});
    SpeedSearchCommand<G>();
    const int expected = bottom >= 25 - 2 ? bottom - 1 : bottom;
    EXPECT_EQ(LastBox()[0].y, expected) << "bottom " << bottom;
  }
}

TEST_F(SpeedSearchTest, UnreadableBufferSizeLeavesTheBoxOnTheBottomEdge) {
  host->screenRows.reset();
  host->rect.bottom = 24;
  Queue({KeyDown(kEsc)});
  SpeedSearchCommand<G>();
  EXPECT_EQ(LastBox()[0].y, 24);
}

TEST_F(SpeedSearchTest, CursorStandsAfterTheTextInsideTheField) {
  host->Describe({"abcdefghijklmnopqrstuvwxyz"});
  const int x0 = (0 + 39) / 2 - 10;
  Queue({KeyDown(kEsc)});
  SpeedSearchCommand<G>();
  ASSERT_FALSE(host->cursor.empty());
  EXPECT_EQ(host->cursor.back(), std::make_pair(x0 + 2, 21));

  host->cursor.clear();
  Type("abcdefghijklmnopqr");
  Queue({KeyDown(kEsc)});
  SpeedSearchCommand<G>();
  EXPECT_EQ(host->cursor.back(), std::make_pair(x0 + 20, 21));
  EXPECT_EQ(Field(), "abcdefghijklmnopqr");
}

TEST_F(SpeedSearchTest, FieldShowsTheTextFollowedByBlanksEighteenCellsWide) {
  Type("rea");
  Queue({KeyDown(kEsc)});
  SpeedSearchCommand<G>();
  std::vector<test::Draw<char>> box = LastBox();
  EXPECT_EQ(box[3].text, "rea");
  EXPECT_EQ(box[4].text, std::string(15, ' '));
  EXPECT_EQ(box[4].x, box[3].x + 3);
}

// ---- Keys ------------------------------------------------------------------

TEST_F(SpeedSearchTest, TypingMovesTheCursorAndEnterReachesTheHost) {
  Type("rea");
  Queue({KeyDown(kEnter, kVkReturn), KeyUp(kEnter, kVkReturn)});
  SpeedSearchCommand<G>();
  EXPECT_EQ(host->current, 2);
  ASSERT_EQ(host->keys.size(), 2u);
  EXPECT_EQ(host->keys.front().character, kEnter);
  EXPECT_TRUE(host->keys.front().keyDown);
  EXPECT_EQ(host->redraws, 1) << "the panel redrawn as the search ends";
}

TEST_F(SpeedSearchTest, KeysTheSearchDoesNotUseEndItAndStayQueued) {
  const std::vector<sys::ConsoleEvent> enders = {KeyDown(kTab, 0x09), KeyDown(0, kVkDown),
                                                 KeyDown(0, 0x70),  // F1
                                                 KeyDown(1, 'A'), KeyDown(26, 'Z')};
  for (const sys::ConsoleEvent& ender : enders) {
    host->keys.clear();
    Type("r");
    Queue({ender, KeyDown('x')});
    SpeedSearchCommand<G>();
    ASSERT_EQ(host->keys.size(), 2u);
    EXPECT_EQ(host->keys.front().character, ender.character);
    EXPECT_EQ(host->keys.front().virtualKeyCode, ender.virtualKeyCode);
  }
}

TEST_F(SpeedSearchTest, EscEndsTheSearchAndIsConsumed) {
  Type("r");
  Queue({KeyDown(kEsc), KeyDown('x')});
  SpeedSearchCommand<G>();
  ASSERT_EQ(host->keys.size(), 1u);
  EXPECT_EQ(host->keys.front().character, 'x');
  EXPECT_EQ(host->moves.size(), 1u) << "the move to 'report'";
  EXPECT_EQ(host->redraws, 1) << "and the final redraw";
}

TEST_F(SpeedSearchTest, ReleasesModifiersMouseAndFocusChangeNothing) {
  Type("r");
  Queue({KeyDown(0, kVkShift), KeyUp(0, kVkShift), KeyDown(0, kVkControl), KeyDown(0, kVkMenu),
         KeyDown(0, kVkCapital), KeyDown(0, kVkNumLock), KeyDown(0, kVkScroll), KeyDown(0, 0x13),
         fake::MouseEvent(), fake::FocusEvent(), KeyUp(kEnter, kVkReturn)});
  Type("a");
  Queue({KeyDown(kEsc)});
  SpeedSearchCommand<G>();
  EXPECT_TRUE(host->keys.empty());
  EXPECT_EQ(Field(), "ra" + std::string(16, ' '));
  EXPECT_EQ(host->current, 3);
}

TEST_F(SpeedSearchTest, EachSearchStartsWithAnEmptyText) {
  Type("r");
  Queue({KeyDown(kEsc)});
  SpeedSearchCommand<G>();
  Queue({KeyDown(kEsc)});
  SpeedSearchCommand<G>();
  EXPECT_EQ(Field(), std::string(18, ' '));
}

// ---- Panels that cannot be searched, and consoles that cannot be read ------

TEST_F(SpeedSearchTest, PanelWithoutASnapshotDrawsNothingAndAsksNoRedraw) {
  Type("r");
  host->filePanel = false;
  SpeedSearchCommand<G>();
  host->filePanel = true;
  host->items.clear();
  SpeedSearchCommand<G>();
  EXPECT_TRUE(host->draws.empty());
  EXPECT_EQ(host->redraws, 0);
  EXPECT_EQ(host->keys.size(), 2u) << "no key was read";
}

TEST_F(SpeedSearchTest, UnreadableConsoleEndsTheSearchWithARedraw) {
  host->consoleFails = true;
  Type("r");
  SpeedSearchCommand<G>();
  EXPECT_EQ(host->redraws, 1);
  EXPECT_EQ(host->keys.size(), 2u);
}

TEST_F(SpeedSearchTest, EmptyQueueIsWaitedOnNotPolled) {
  Type("r");
  SpeedSearchCommand<G>();
  EXPECT_EQ(host->waitsOnEmptyQueue, 1);
  EXPECT_EQ(host->current, 1);
  EXPECT_EQ(host->redraws, 1);
}

TEST_F(SpeedSearchTest, WithoutMemoryForTheMatcherNothingIsDrawnAndTheSnapshotIsReleased) {
  fake::TheSystem().allocationFails = true;
  Type("r");
  SpeedSearchCommand<G>();
  EXPECT_TRUE(host->draws.empty());
  EXPECT_EQ(host->keys.size(), 2u);
}

}  // namespace

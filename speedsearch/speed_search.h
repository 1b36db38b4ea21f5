// The description speed search: a modal loop on the host's thread that draws
// its box over the active panel's bottom edge and reads keys straight from
// the console until Esc or a key it does not use.
#pragma once

#include <cstdint>

#include "core/box_glyphs.h"
#include "core/box_ink.h"
#include "core/gateway.h"
#include "core/panel_view.h"
#include "descriptions/panel_descriptions.h"
#include "speedsearch/search_keys.h"
#include "sys/system.h"

namespace speed_search {

constexpr int kBoxHalfWidth = 10;
constexpr uint32_t kFieldOffset = 2;  // frame and one blank before the text

// ---- The box's lines, from the host's glyphs --------------------------------

constexpr uint32_t kBoxWidth = 2 * kBoxHalfWidth + 2;
constexpr uint32_t kFieldWidth = kSearchTextMax;
inline constexpr char kBoxTitle[] = " Desc. Search ";
constexpr uint32_t kTitleAt = (kBoxWidth - (sizeof kBoxTitle - 1)) / 2;

// The 22-column box over the panel's bottom edge, one string per row, and
// the blanks after the typed text, drawn from its n-th character.
template <class Char>
struct BoxLines {
  Char top[kBoxWidth + 1];
  Char middle[kBoxWidth + 1];
  Char bottom[kBoxWidth + 1];
  Char fieldFill[kFieldWidth + 1];
};

template <class Char>
constexpr BoxLines<Char> LayOutBox(const BoxGlyphs<Char>& g) {
  BoxLines<Char> lines{};
  for (uint32_t i = 0; i < kBoxWidth; ++i) {
    const bool inTitle = i >= kTitleAt && i < kTitleAt + sizeof kBoxTitle - 1;
    lines.top[i] = inTitle ? static_cast<Char>(kBoxTitle[i - kTitleAt]) : g.horizontal;
    lines.middle[i] = static_cast<Char>(' ');
    lines.bottom[i] = g.horizontal;
  }
  lines.top[0] = g.topLeft;
  lines.top[kBoxWidth - 1] = g.topRight;
  lines.middle[0] = lines.middle[kBoxWidth - 1] = g.vertical;
  lines.bottom[0] = g.bottomLeft;
  lines.bottom[kBoxWidth - 1] = g.bottomRight;
  for (uint32_t i = 0; i < kFieldWidth; ++i) lines.fieldFill[i] = static_cast<Char>(' ');
  return lines;
}

template <Gateway G>
inline constexpr BoxLines<typename G::Char> kBoxLines = LayOutBox<typename G::Char>(G::kBoxGlyphs);

// ---- Drawing and keys --------------------------------------------------------

struct SearchBox {
  int x0;
  int y0;
};

// Screen cells are computed with wrapping arithmetic: a nonsensical panel
// rectangle from the host misplaces the box but never overflows.
inline int Shift(int origin, uint32_t by) {
  return static_cast<int>(static_cast<uint32_t>(origin) + by);
}

// Centres the box on the panel with its top line on the panel's bottom edge;
// on the last two rows of the screen buffer it moves up one row to stay whole.
template <Gateway G>
SearchBox PlaceBox(const PanelRect& rect) {
  SearchBox box{};
  box.x0 = static_cast<int>((static_cast<int64_t>(rect.left) + rect.right) / 2 - kBoxHalfWidth);
  box.y0 = rect.bottom;
  int rows = 0;
  if (G::ScreenRows(&rows) && box.y0 >= rows - 2) --box.y0;
  return box;
}

// Draws the frame, the text and the blanks after it, puts it on the screen
// and parks the console cursor after the text.
template <Gateway G>
void DrawBox(const SearchBox& box, const BasicSearchText<typename G::Char>& text) {
  const BoxLines<typename G::Char>& lines = kBoxLines<G>;
  const int fieldRow = Shift(box.y0, 1);
  const int cursorColumn = Shift(box.x0, kFieldOffset + text.length);
  G::Text(box.x0, box.y0, Ink::kFrame, lines.top);
  G::Text(box.x0, fieldRow, Ink::kFrame, lines.middle);
  G::Text(box.x0, Shift(box.y0, 2), Ink::kFrame, lines.bottom);
  G::Text(Shift(box.x0, kFieldOffset), fieldRow, Ink::kField, text.chars);
  G::Text(cursorColumn, fieldRow, Ink::kField, lines.fieldFill + text.length);
  G::FlushText();
  G::SetCursor(cursorColumn, fieldRow);
}

// Shift, Ctrl, Alt, Pause, Caps Lock, Num Lock and Scroll Lock: pressing one
// alone brings no key to the search.
constexpr bool IsModifierOrLock(uint16_t virtualKey) {
  return (virtualKey >= 0x10 && virtualKey <= 0x14) || virtualKey == 0x90 || virtualKey == 0x91;
}

constexpr bool IsKeyPress(const sys::ConsoleEvent& event) {
  return event.eventType == sys::kKeyEvent && event.keyDown &&
         !IsModifierOrLock(event.virtualKeyCode);
}

// A press of the left or right mouse button: in the wide builds it closes
// the box, as in the host's quick search, and reaches the host.
constexpr bool IsClick(const sys::ConsoleEvent& event) {
  return event.eventType == sys::kMouseEvent && (event.mouseButtons & 3) != 0;
}

// Waits for the next key press at the head of the queue, consuming every
// other event before it, and tells what it does to the search. The key
// itself stays queued. False when the console cannot be read.
template <Gateway G>
bool WaitForKey(SearchAction* action, uint32_t* c) {
  for (;;) {
    sys::ConsoleEvent event{};
    if (!G::PeekKey(&event)) return false;
    if (IsKeyPress(event)) {
      *c = event.character;
      *action = LikeHostQuickSearch<G>() ? ActionOfKey(event) : ActionOfCharacter(event.character);
      return true;
    }
    if (LikeHostQuickSearch<G>() && IsClick(event)) {
      *action = SearchAction::kLeave;
      return true;
    }
    if (!G::RemoveKey()) return false;
  }
}

// Draws and reads keys until Esc, a key the search leaves to the host, or a
// console that can no longer be read.
template <Gateway G>
void RunSearch(const SearchBox& box, const SearchSession<G>& session) {
  for (bool running = true; running;) {
    DrawBox<G>(box, *session.text);
    SearchAction action = SearchAction::kLeave;
    uint32_t c = 0;
    if (!WaitForKey<G>(&action, &c) || action == SearchAction::kLeave) return;
    if (!G::RemoveKey()) return;
    running = ApplySearchKey(action, c, session);
  }
}

}  // namespace speed_search

// Runs one speed search on the active panel and has the host redraw it at the
// end. The key that ended the search, other than Esc, stays in the console
// input queue for the host. A starting text (from a macro) is taken as a
// pasted one: as much of it as some description begins with.
template <Gateway G>
void SpeedSearchCommand(const typename G::Char* startText = nullptr) {
  using Char = typename G::Char;
  typename G::PanelSnapshot snapshot;
  PanelView<Char> panel{};
  if (!G::TakeSnapshot(&snapshot, &panel)) return;
  descriptions::FolderDescriptions<Char> fromFile;
  descriptions::UseFolderDescriptions<G>(&panel, &fromFile);
  // The matcher's verdict tables are too big for a stack frame the host may
  // not have probed; without them there is no search to run.
  auto* matcher = static_cast<PrefixMatcher<Char>*>(sys::Allocate(sizeof(PrefixMatcher<Char>)));
  if (matcher != nullptr) {
    BasicSearchText<Char> text;
    ClearSearchText(&text);
    ResetMatcher(matcher);
    const SearchSession<G> session{&text, &panel, &snapshot, matcher};
    if (startText != nullptr) search_keys::AppendWhileMatching(session, startText, UINT32_MAX);
    G::LoadBoxColors();
    speed_search::RunSearch(speed_search::PlaceBox<G>(panel.rect), session);
    G::RedrawPanel();
    sys::Free(matcher);
  }
  descriptions::ReleaseFolderDescriptions(&fromFile);
  G::ReleaseSnapshot(&snapshot);
}

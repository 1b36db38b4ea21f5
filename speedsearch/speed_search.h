// The description speed search: a modal loop on the host's thread that draws
// its box over the active panel's bottom edge and reads keys straight from
// the console until Esc or a key it does not use.
#pragma once

#include <cstdint>

#include "core/box_ink.h"
#include "core/panel_view.h"
#include "descriptions/panel_descriptions.h"
#include "speedsearch/search_keys.h"
#include "sys/system.h"

namespace speed_search {

constexpr int kBoxHalfWidth = 10;
constexpr uint32_t kFieldOffset = 2;  // frame and one blank before the text

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
template <class G>
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
template <class G>
void DrawBox(const SearchBox& box, const BasicSearchText<typename G::Char>& text) {
  using Texts = typename G::Texts;
  const int fieldRow = Shift(box.y0, 1);
  const int cursorColumn = Shift(box.x0, kFieldOffset + text.length);
  G::Text(box.x0, box.y0, Ink::kFrame, Texts::kSearchBoxTop);
  G::Text(box.x0, fieldRow, Ink::kFrame, Texts::kSearchBoxMiddle);
  G::Text(box.x0, Shift(box.y0, 2), Ink::kFrame, Texts::kSearchBoxBottom);
  G::Text(Shift(box.x0, kFieldOffset), fieldRow, Ink::kField, text.chars);
  G::Text(cursorColumn, fieldRow, Ink::kField, Texts::kSearchFieldFill + text.length);
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

// Waits for the next key press at the head of the queue, consuming every
// other event before it, and gives its character code. The key itself stays
// queued. False when the console cannot be read.
template <class G>
bool WaitForKey(uint32_t* c) {
  for (;;) {
    sys::ConsoleEvent event{};
    if (!G::PeekKey(&event)) return false;
    if (IsKeyPress(event)) {
      *c = event.character;
      return true;
    }
    if (!G::RemoveKey()) return false;
  }
}

// Draws and reads keys until Esc, a key the search leaves to the host, or a
// console that can no longer be read.
template <class G>
void RunSearch(const SearchBox& box, const SearchSession<G>& session) {
  ClearSearchText(session.text);
  ResetMatcher(session.matcher);
  for (bool running = true; running;) {
    DrawBox<G>(box, *session.text);
    uint32_t c = 0;
    if (!WaitForKey<G>(&c) || !IsSearchKey(c)) return;
    if (!G::RemoveKey()) return;
    running = ApplySearchKey(c, session);
  }
}

}  // namespace speed_search

// Runs one speed search on the active panel and has the host redraw it at the
// end. The key that ended the search, other than Esc, stays in the console
// input queue for the host.
template <class G>
void SpeedSearchCommand() {
  using Char = typename G::Char;
  typename G::PanelRecord record;
  PanelView<Char> panel{};
  if (!G::TakeSnapshot(&record, &panel)) return;
  descriptions::FolderDescriptions<Char> fromFile;
  descriptions::UseFolderDescriptions<G>(&panel, &fromFile);
  // The matcher's verdict tables are too big for a stack frame the host may
  // not have probed; without them there is no search to run.
  auto* matcher = static_cast<PrefixMatcher<Char>*>(sys::Allocate(sizeof(PrefixMatcher<Char>)));
  if (matcher != nullptr) {
    BasicSearchText<Char> text;
    const SearchSession<G> session{&text, &panel, &record, matcher};
    G::LoadBoxColors();
    speed_search::RunSearch(speed_search::PlaceBox<G>(panel.rect), session);
    G::RedrawPanel();
    sys::Free(matcher);
  }
  descriptions::ReleaseFolderDescriptions(&fromFile);
  G::ReleaseSnapshot(&record);
}

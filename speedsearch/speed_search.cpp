// The speed search's loop, its box on the console and its console input.
#include "speedsearch/speed_search.h"

#include <cstdint>

#include "host/host_services.h"
#include "host/system.h"
#include "plugin/texts.h"
#include "speedsearch/search_keys.h"

namespace {

// ---- Colours ---------------------------------------------------------------

struct BoxColors {
  int frame;
  int text;
};

// Frame and text colour of the host's dialogs inside its palette.
constexpr int kPaletteFrameByte = 23;
constexpr int kPaletteTextByte = 26;
constexpr uint32_t kPaletteReadSize = 80;
constexpr BoxColors kFixedColors = {0x70, 0x30};

// A palette that cannot be read, is longer than 80 bytes or too short to hold
// both colours gives the fixed colours: bytes never read are never used.
BoxColors ReadColors() {
  uint8_t palette[kPaletteReadSize];
  int size = sys::ReadUserRegistryValue(texts::kPaletteKey, texts::kPaletteValue, palette,
                                        kPaletteReadSize);
  if (size <= kPaletteTextByte) return kFixedColors;
  return BoxColors{palette[kPaletteFrameByte], palette[kPaletteTextByte]};
}

// ---- Console handles, fetched once for the module's life --------------------

constexpr uint32_t kInputFetched = 1;
constexpr uint32_t kOutputFetched = 2;
constinit uint32_t fetchedHandles = 0;
constinit sys::Handle consoleInput = nullptr;
constinit sys::Handle consoleOutput = nullptr;

void FetchConsoleHandles() {
  if (!(fetchedHandles & kOutputFetched)) {
    consoleOutput = sys::StdOutput();
    fetchedHandles |= kOutputFetched;
  }
  if (!(fetchedHandles & kInputFetched)) {
    consoleInput = sys::StdInput();
    fetchedHandles |= kInputFetched;
  }
}

// ---- The box ---------------------------------------------------------------

constexpr int kBoxHalfWidth = 10;
constexpr uint32_t kFieldOffset = 2;  // frame and one blank before the text

struct SearchBox {
  int x0;
  int y0;
  BoxColors colors;
};

// Screen cells are computed with wrapping arithmetic: a nonsensical panel
// rectangle from the host misplaces the box but never overflows.
int Shift(int origin, uint32_t by) {
  return static_cast<int>(static_cast<uint32_t>(origin) + by);
}

// Centres the box on the panel with its top line on the panel's bottom edge;
// on the last two rows of the screen buffer it moves up one row to stay whole.
SearchBox PlaceBox(const HostRect& rect, BoxColors colors) {
  SearchBox box{};
  box.x0 = static_cast<int>((static_cast<int64_t>(rect.left) + rect.right) / 2 - kBoxHalfWidth);
  box.y0 = rect.bottom;
  int rows = 0;
  if (sys::ScreenBufferHeight(consoleOutput, &rows) && box.y0 >= rows - 2) --box.y0;
  box.colors = colors;
  return box;
}

// Draws the frame, the text and the blanks after it, puts it on the screen
// and parks the console cursor after the text.
void DrawBox(const SearchBox& box, const SearchText& text) {
  const int fieldRow = Shift(box.y0, 1);
  const int cursorColumn = Shift(box.x0, kFieldOffset + text.length);
  host::Text(box.x0, box.y0, box.colors.frame, texts::kSearchBoxTop);
  host::Text(box.x0, fieldRow, box.colors.frame, texts::kSearchBoxMiddle);
  host::Text(box.x0, Shift(box.y0, 2), box.colors.frame, texts::kSearchBoxBottom);
  host::Text(Shift(box.x0, kFieldOffset), fieldRow, box.colors.text, text.chars);
  host::Text(cursorColumn, fieldRow, box.colors.text, texts::kSearchFieldFill + text.length);
  host::FlushText();
  sys::SetCursorPosition(consoleOutput, cursorColumn, fieldRow);
}

// ---- Keys ------------------------------------------------------------------

// Shift, Ctrl, Alt, Pause, Caps Lock, Num Lock and Scroll Lock: pressing one
// alone brings no key to the search.
bool IsModifierOrLock(uint16_t virtualKey) {
  return (virtualKey >= 0x10 && virtualKey <= 0x14) || virtualKey == 0x90 || virtualKey == 0x91;
}

bool IsKeyPress(const sys::ConsoleEvent& event) {
  return event.eventType == sys::kKeyEvent && event.keyDown &&
         !IsModifierOrLock(event.virtualKeyCode);
}

// Waits for the next key press at the head of the queue, consuming every
// other event before it, and gives its character code. The key itself stays
// queued. False when the console cannot be read.
bool WaitForKey(uint32_t* c) {
  for (;;) {
    sys::ConsoleEvent event{};
    if (!sys::PeekInput(consoleInput, &event)) return false;
    if (IsKeyPress(event)) {
      *c = event.character;
      return true;
    }
    if (!sys::RemoveInput(consoleInput)) return false;
  }
}

// Draws and reads keys until Esc, a key the search leaves to the host, or a
// console that can no longer be read.
void RunSearch(const SearchBox& box, PanelInfo* panel) {
  SearchText text;
  ClearSearchText(&text);
  for (bool running = true; running;) {
    DrawBox(box, text);
    uint32_t c = 0;
    if (!WaitForKey(&c) || !IsSearchKey(c)) return;
    if (!sys::RemoveInput(consoleInput)) return;
    running = ApplySearchKey(c, &text, panel);
  }
}

}  // namespace

void SpeedSearch() {
  PanelInfo panel;
  if (!host::SnapshotFilePanel(&panel)) return;

  const BoxColors colors = ReadColors();
  FetchConsoleHandles();
  RunSearch(PlaceBox(panel.PanelRect, colors), &panel);
  host::Control(FCTL_REDRAWPANEL, nullptr);
}

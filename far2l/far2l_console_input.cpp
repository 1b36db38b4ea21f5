// The speed search's console: far2l's WinPort functions on the host's one
// console (handle null), and the terminal's keys as the rules expect them.
#include "far2l/far2l_gateway.h"

using namespace far2l;

namespace {

// far2l's terminal front end gives the keys that type control characters
// on the Windows console (Backspace, Enter, Esc, Tab, Ctrl with a letter)
// no character at all: give them the Windows ones, so that the search rules
// see the same keys on every host.
uint32_t KeyCharacter(const KEY_EVENT_RECORD& key) {
  if (key.uChar.UnicodeChar != 0) return static_cast<uint32_t>(key.uChar.UnicodeChar);
  const bool ctrl = key.dwControlKeyState & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED);
  const bool alt = key.dwControlKeyState & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED);
  switch (key.wVirtualKeyCode) {
    case VK_BACK:
      return ctrl ? 127 : 8;
    case VK_TAB:
      return 9;
    case VK_RETURN:
      return ctrl ? 10 : 13;
    case VK_ESCAPE:
      return 27;
    default:
      break;
  }
  if (ctrl && !alt && key.wVirtualKeyCode >= 'A' && key.wVirtualKeyCode <= 'Z') {
    return key.wVirtualKeyCode - 'A' + 1u;
  }
  return 0;
}

int16_t ToCell(int value) {
  return static_cast<int16_t>(value < 0 ? 0 : value > INT16_MAX ? INT16_MAX : value);
}

}  // namespace

bool Far2l::ScreenRows(int* rows) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (Console().GetConsoleScreenBufferInfo == nullptr ||
      !Console().GetConsoleScreenBufferInfo(nullptr, &info)) {
    return false;
  }
  *rows = info.dwSize.Y;
  return true;
}

void Far2l::SetCursor(int column, int row) {
  if (Console().SetConsoleCursorPosition == nullptr) return;
  Console().SetConsoleCursorPosition(nullptr, COORD{ToCell(column), ToCell(row)});
}

bool Far2l::PeekKey(sys::ConsoleEvent* event) {
  if (Console().WaitConsoleInput == nullptr || Console().PeekConsoleInput == nullptr) return false;
  INPUT_RECORD record{};
  for (DWORD read = 0; read == 0;) {
    if (!Console().WaitConsoleInput(nullptr, INFINITE)) return false;
    if (!Console().PeekConsoleInput(nullptr, &record, 1, &read)) return false;
  }
  // The host queues work for its own thread among the input events; thrown
  // away, it would never run. The search ends and leaves it to the host.
  if (record.EventType == CALLBACK_EVENT) return false;
  *event = sys::ConsoleEvent{};
  event->eventType = record.EventType;
  if (record.EventType == KEY_EVENT) {
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    event->keyDown = key.bKeyDown != 0;
    event->virtualKeyCode = key.wVirtualKeyCode;
    event->character = KeyCharacter(key);
    event->controlKeyState = key.dwControlKeyState;
  } else if (record.EventType == MOUSE_EVENT) {
    event->controlKeyState = record.Event.MouseEvent.dwControlKeyState;
    event->mouseButtons = record.Event.MouseEvent.dwButtonState;
  }
  return true;
}

bool Far2l::RemoveKey() {
  if (Console().ReadConsoleInput == nullptr) return false;
  INPUT_RECORD record{};
  DWORD read = 0;
  return Console().ReadConsoleInput(nullptr, &record, 1, &read) && read == 1;
}

// The console of the host's process, as a Windows host leaves it to a
// plug-in: the bell, the buffer's height, the cursor, and the input queue
// read directly. The Windows gateways take these members as their own.
#pragma once

#include "sys/system.h"

namespace sys {

// kUnicode: a key's character as a UTF-16 unit, else as a byte of the OEM
// code page.
template <bool kUnicode>
struct ProcessConsole {
  static void Beep() { sys::Beep(); }
  static bool ScreenRows(int* rows) { return ScreenBufferHeight(ConsoleOutput(), rows); }
  static void SetCursor(int column, int row) { SetCursorPosition(ConsoleOutput(), column, row); }
  static bool PeekKey(ConsoleEvent* event) {
    return kUnicode ? PeekInputUnicode(ConsoleInput(), event) : PeekInput(ConsoleInput(), event);
  }
  static bool RemoveKey() { return RemoveInput(ConsoleInput()); }
};

}  // namespace sys

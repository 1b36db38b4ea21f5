// Stand-ins for the Win32 services in native tests: a console with an input
// queue and a screen buffer, a registry of byte values, and a beep counter.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/system.h"

namespace fake {

struct Console {
  std::deque<sys::ConsoleEvent> queue;
  int bufferRows = 150;
  bool bufferInfoFails = false;
  bool inputFails = false;
  std::vector<std::pair<int, int>> cursorMoves;  // (column, row)
  int peeks = 0;
  int removals = 0;
  // A peek on an empty queue: the real console would wait here forever.
  int waitsOnEmptyQueue = 0;
  int stdHandleRequests = 0;
};

struct System {
  Console console;
  int beeps = 0;
  bool allocationFails = false;
  // Values under HKEY_CURRENT_USER, by "key\value".
  std::map<std::string, std::vector<uint8_t>> registry;
};

// Resets every stand-in to its defaults and returns it.
System& ResetSystem();
System& TheSystem();

// Console events, as a user's keyboard and mouse would queue them.
sys::ConsoleEvent KeyDown(uint32_t character, uint16_t virtualKey = 0);
sys::ConsoleEvent KeyUp(uint32_t character, uint16_t virtualKey = 0);
sys::ConsoleEvent MouseEvent();
sys::ConsoleEvent FocusEvent();

}  // namespace fake

// Stand-ins for the Win32 services in native tests: a console with an input
// queue and a screen buffer, a registry of byte values, and a beep counter.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "sys/system.h"

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
};

// A file in the stand-in file system, found by its folder exactly and by its
// name without regard to ASCII case, as both hosts find description files.
struct File {
  std::u16string folder;
  std::u16string name;
  std::vector<uint8_t> bytes;
  sys::FileRead kind = sys::FileRead::kDone;  // kNotAFile, kUnreadable: as such
};

struct FileSystem {
  std::vector<File> files;
  std::vector<std::u16string> lookups;  // every "folder|name" asked for
  uint64_t bytesRead = 0;
};

// Code pages' upper halves (bytes 0x80 to 0xFF): the OEM page is CP866 and
// the ANSI page CP1251 by default.
std::array<char16_t, 128> Cp866UpperHalf();
std::array<char16_t, 128> Cp1251UpperHalf();

struct System {
  Console console;
  FileSystem fileSystem;
  std::array<char16_t, 128> oemUpperHalf = Cp866UpperHalf();
  std::array<char16_t, 128> ansiUpperHalf = Cp1251UpperHalf();
  int upperCaseCalls = 0;
  int sameNameCalls = 0;
  // Characters the host's comparison tells from their upper case (far2l's
  // collation does so for some).
  std::vector<uint32_t> caseKeptInComparison;
  int beeps = 0;
  bool allocationFails = false;
  int liveBlocks = 0;  // blocks from Allocate not yet freed
  // Values under HKEY_CURRENT_USER, by "key\value".
  std::map<std::string, std::vector<uint8_t>> registry;
  std::map<std::string, std::string> environment;
  std::string home = "/home/user";
};

// Resets every stand-in to its defaults and returns it.
System& ResetSystem();
System& TheSystem();

// Console events, as a user's keyboard and mouse would queue them.
sys::ConsoleEvent KeyDown(uint32_t character, uint16_t virtualKey = 0,
                          uint32_t controlKeyState = 0);
sys::ConsoleEvent KeyUp(uint32_t character, uint16_t virtualKey = 0);
// A mouse event with the buttons held (none: a move).
sys::ConsoleEvent MouseEvent(uint32_t buttons = 0);
sys::ConsoleEvent FocusEvent();

// Puts a file into the stand-in file system, replacing one of the same name.
void AddFile(const std::u16string& folder, const std::u16string& name,
             const std::vector<uint8_t>& bytes, sys::FileRead kind = sys::FileRead::kDone);

}  // namespace fake

// The Win32 side of the plug-in's system services; built into the DLL only.
#include <windows.h>

#include "host/system.h"

namespace sys {

void Beep() {
  MessageBeep(0xFFFFFFFF);
}

int FormatText(char* out, const char* format, const char* arg) {
  return wsprintfA(out, format, arg);
}

Handle StdInput() {
  return GetStdHandle(STD_INPUT_HANDLE);
}

Handle StdOutput() {
  return GetStdHandle(STD_OUTPUT_HANDLE);
}

bool ScreenBufferHeight(Handle output, int* rows) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(output, &info)) return false;
  *rows = info.dwSize.Y;
  return true;
}

void SetCursorPosition(Handle output, int column, int row) {
  COORD cell;
  cell.X = static_cast<SHORT>(column);
  cell.Y = static_cast<SHORT>(row);
  SetConsoleCursorPosition(output, cell);
}

namespace {

// Waits while the queue is empty, then copies the head event without removing it.
bool PeekRecord(Handle input, INPUT_RECORD* record, bool unicode) {
  DWORD count = 0;
  for (;;) {
    BOOL peeked = unicode ? PeekConsoleInputW(input, record, 1, &count)
                          : PeekConsoleInputA(input, record, 1, &count);
    if (!peeked) return false;
    if (count == 1) return true;
    // An empty queue: sleep on the handle until an event arrives.
    if (WaitForSingleObject(input, INFINITE) != WAIT_OBJECT_0) return false;
  }
}

void Describe(const INPUT_RECORD& record, uint32_t character, ConsoleEvent* event) {
  const bool isKey = record.EventType == KEY_EVENT;
  event->eventType = record.EventType;
  event->keyDown = isKey && record.Event.KeyEvent.bKeyDown;
  event->virtualKeyCode = isKey ? record.Event.KeyEvent.wVirtualKeyCode : 0;
  event->character = isKey ? character : 0;
}

}  // namespace

bool PeekInput(Handle input, ConsoleEvent* event) {
  INPUT_RECORD record;
  if (!PeekRecord(input, &record, false)) return false;
  Describe(record, static_cast<uint8_t>(record.Event.KeyEvent.uChar.AsciiChar), event);
  return true;
}

bool PeekInputUnicode(Handle input, ConsoleEvent* event) {
  INPUT_RECORD record;
  if (!PeekRecord(input, &record, true)) return false;
  Describe(record, static_cast<uint16_t>(record.Event.KeyEvent.uChar.UnicodeChar), event);
  return true;
}

bool RemoveInput(Handle input) {
  INPUT_RECORD record;
  DWORD count = 0;
  return ReadConsoleInputA(input, &record, 1, &count) && count == 1;
}

int ReadUserRegistryValue(const char* key, const char* value, uint8_t* buffer, uint32_t size) {
  HKEY opened;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return -1;
  DWORD length = size;
  LONG status = RegQueryValueExA(opened, value, nullptr, nullptr, buffer, &length);
  RegCloseKey(opened);
  return status == ERROR_SUCCESS ? static_cast<int>(length) : -1;
}

void* Allocate(size_t bytes) {
  return HeapAlloc(GetProcessHeap(), 0, bytes);
}

void Free(void* block) {
  if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace sys

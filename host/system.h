// The few Win32 services the plug-in uses, behind plain functions so that the
// native test build can stand them in. Only system_win32.cpp includes windows.h.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sys {

using Handle = void*;

// The part of a console input record the speed search looks at.
struct ConsoleEvent {
  uint16_t eventType;  // kKeyEvent, or any other console event kind
  bool keyDown;
  uint16_t virtualKeyCode;
  // The key's character, 0 for keys without one: a byte of the OEM code page
  // from PeekInput, a UTF-16 unit from PeekInputUnicode.
  uint32_t character;
};
constexpr uint16_t kKeyEvent = 0x0001;

// The system's default beep.
void Beep();

// Formats format, which holds one %s, with arg into out; out must hold
// the result. Returns the number of characters written.
int FormatText(char* out, const char* format, const char* arg);

Handle StdInput();
Handle StdOutput();

// Height of the console screen buffer in rows; false when it cannot be read.
bool ScreenBufferHeight(Handle output, int* rows);

void SetCursorPosition(Handle output, int column, int row);

// Looks at the event at the head of the input queue without removing it,
// waiting while the queue is empty. False when the console cannot be read.
bool PeekInput(Handle input, ConsoleEvent* event);

// The same, with the key's character as a UTF-16 unit.
bool PeekInputUnicode(Handle input, ConsoleEvent* event);

// Removes the event at the head of the input queue. False on failure.
bool RemoveInput(Handle input);

// Reads a value of HKEY_CURRENT_USER\key into buffer, at most size bytes.
// Returns the number of bytes stored, or -1 when the key or value cannot be
// read or the value does not fit.
int ReadUserRegistryValue(const char* key, const char* value, uint8_t* buffer, uint32_t size);

// Memory for one command, from the process heap; null when there is none.
void* Allocate(size_t bytes);
void Free(void* block);

}  // namespace sys

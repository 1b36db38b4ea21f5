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
  // The Shift, Ctrl and Alt keys held, as the console's control key state
  // bits (kShift and the others below), with a key or a mouse event.
  uint32_t controlKeyState;
  uint32_t mouseButtons;  // the buttons held, bit 0 the left one
};
constexpr uint16_t kKeyEvent = 0x0001;
constexpr uint16_t kMouseEvent = 0x0002;

constexpr uint32_t kRightAlt = 0x0001;
constexpr uint32_t kLeftAlt = 0x0002;
constexpr uint32_t kRightCtrl = 0x0004;
constexpr uint32_t kLeftCtrl = 0x0008;
constexpr uint32_t kShift = 0x0010;
constexpr uint32_t kEnhancedKey = 0x0100;  // the numeric keypad's Enter, among others

// The system's default beep.
void Beep();

// The console's input and output handles, fetched on first use and kept
// for the module's life.
Handle ConsoleInput();
Handle ConsoleOutput();

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

// ---- Files, code pages and case, for a folder's description file ----

// The longest path the platform opens, in UTF-16 units.
constexpr uint32_t kMaxPathUnits = 32767;

enum class FileRead : uint8_t {
  kDone,        // read whole
  kMissing,     // no such name in the folder
  kNotAFile,    // the name is a folder or a device, not a regular file
  kUnreadable,  // there, but it cannot be opened or read (locked, no access)
  kTooLarge,    // larger than the limit: not read at all
  kNoMemory,
};

// A whole file's bytes, and one byte more, all the caller's to change (the
// changes never reach the file). A copy-on-write view of the file where the
// system can give one, which costs no fresh memory until a page is written;
// else a heap block.
struct FolderFile {
  uint8_t* bytes;
  uint32_t size;
  bool mapped;
};

// Reads the whole regular file `name` in `folder` (both NUL-terminated
// UTF-16; the name is found without regard to case also where the file system
// tells case apart). A file of more than maxBytes is not read at all. On kDone
// *file holds the bytes until ReleaseFolderFile; otherwise nothing is held.
FileRead ReadFolderFile(const char16_t* folder, const char16_t* name, uint32_t maxBytes,
                        FolderFile* file);
void ReleaseFolderFile(FolderFile* file);

// The code pages the plug-in converts with: the system's OEM page, in which
// the 1.x host hands over its strings, and the two a description file
// without a byte-order mark is read in, as the host's setting says. In
// Windows' UTF-8 mode (both system pages 65001) a description file's pages
// are the locale's legacy ones, as the host reads them.
enum class CodePage : uint8_t { kOem, kDescriptionOem, kDescriptionAnsi };

// Converts count bytes of text in the code page into out, which holds count
// units (no code page gives more). Returns the number of units written.
uint32_t ToUtf16(CodePage page, const uint8_t* text, uint32_t count, char16_t* out);

// Converts count UTF-16 units into the code page in out, at most capacity
// bytes (3 * count always suffices); characters the code page lacks become
// its default character or a look-alike, as the host converts them. Returns
// the number of bytes written, 0 on failure.
uint32_t FromUtf16(CodePage page, const char16_t* text, uint32_t count, uint8_t* out,
                   uint32_t capacity);

// Upper-cases count units in place, as the host does when it hashes names
// to compare them without regard to case.
void UpperCase(char16_t* text, uint32_t count);

// Whether the host takes the two names for the same without regard to case.
// Where the host's comparison and its upper-casing part (far2l compares by
// collation), the comparison holds.
bool SameName(const char16_t* a, uint32_t aLength, const char16_t* b, uint32_t bLength);

#if __WCHAR_MAX__ > 0xFFFF
// The same for UTF-32 text (far2l's wide characters).
void UpperCase(wchar_t* text, uint32_t count);
bool SameName(const wchar_t* a, uint32_t aLength, const wchar_t* b, uint32_t bLength);
#endif

// ---- The far2l host's settings folder (POSIX only) ----

// The environment variable's value, or null where it is not set.
const char* Environment(const char* name);

// The user's home folder as the system's user database gives it (else
// $HOME), or null.
const char* HomeFolder();

}  // namespace sys

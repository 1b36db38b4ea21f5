// The Win32 side of the plug-in's system services; built into the DLL only.
#include <windows.h>

#include "sys/long_path.h"
#include "sys/system.h"

namespace sys {

void Beep() {
  MessageBeep(0xFFFFFFFF);
}

namespace {

// A handle asked for once, whatever the answer: the host's console stays
// the same while the module is loaded.
struct KeptHandle {
  bool fetched;
  Handle handle;
};

constinit KeptHandle consoleInput = {};
constinit KeptHandle consoleOutput = {};

Handle Fetch(KeptHandle* kept, DWORD which) {
  if (!kept->fetched) *kept = KeptHandle{true, GetStdHandle(which)};
  return kept->handle;
}

}  // namespace

Handle ConsoleInput() {
  return Fetch(&consoleInput, STD_INPUT_HANDLE);
}

Handle ConsoleOutput() {
  return Fetch(&consoleOutput, STD_OUTPUT_HANDLE);
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
  const bool isMouse = record.EventType == MOUSE_EVENT;
  event->eventType = record.EventType;
  event->keyDown = isKey && record.Event.KeyEvent.bKeyDown;
  event->virtualKeyCode = isKey ? record.Event.KeyEvent.wVirtualKeyCode : 0;
  event->character = isKey ? character : 0;
  event->controlKeyState = isKey     ? record.Event.KeyEvent.dwControlKeyState
                           : isMouse ? record.Event.MouseEvent.dwControlKeyState
                                     : 0;
  event->mouseButtons = isMouse ? record.Event.MouseEvent.dwButtonState : 0;
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

// ---- Files, code pages and case ----

namespace {

uint32_t Length(const char16_t* text) {
  uint32_t n = 0;
  while (text[n] != 0 && n <= kMaxPathUnits) ++n;
  return n;
}

void Append(wchar_t* path, uint32_t* used, const char16_t* text, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) path[(*used)++] = static_cast<wchar_t>(text[i]);
}

}  // namespace

wchar_t* LongPath(const char16_t* folder, const char16_t* name) {
  const uint32_t folderLength = Length(folder);
  const uint32_t nameLength = Length(name);
  if (folderLength == 0 || folderLength + nameLength + 8 > kMaxPathUnits) return nullptr;
  auto* path = static_cast<wchar_t*>(Allocate((kMaxPathUnits + 1) * sizeof(wchar_t)));
  if (path == nullptr) return nullptr;
  uint32_t used = 0;
  const char16_t* rest = folder;
  uint32_t restLength = folderLength;
  if (folderLength + nameLength + 1 >= MAX_PATH) {
    const bool prefixed = folderLength >= 4 && folder[0] == u'\\' && folder[1] == u'\\' &&
                          (folder[2] == u'?' || folder[2] == u'.') && folder[3] == u'\\';
    const bool unc = !prefixed && folderLength >= 2 && folder[0] == u'\\' && folder[1] == u'\\';
    if (unc) {
      Append(path, &used, u"\\\\?\\UNC", 7);
      rest = folder + 1;  // keeps one backslash before the server
      restLength = folderLength - 1;
    } else if (!prefixed && folder[1] == u':') {
      Append(path, &used, u"\\\\?\\", 4);
    }
  }
  Append(path, &used, rest, restLength);
  const char16_t last = folder[folderLength - 1];
  if (nameLength > 0 && last != u'\\' && last != u'/') path[used++] = L'\\';
  Append(path, &used, name, nameLength);
  path[used] = 0;
  return path;
}

namespace {

// Only files on a local fixed disk are mapped: on a share or a removable
// disk a failed read of a mapped page is an exception in the host rather
// than an error returned.
bool OnLocalFixedDisk(const wchar_t* path) {
  const wchar_t* at = path;
  if (at[0] == L'\\' && at[1] == L'\\' && at[2] == L'?' && at[3] == L'\\') at += 4;
  const wchar_t drive = static_cast<wchar_t>(at[0] | 0x20);
  if (drive < L'a' || drive > L'z' || at[1] != L':') return false;
  const wchar_t root[4] = {at[0], L':', L'\\', 0};
  const UINT type = GetDriveTypeW(root);
  return type == DRIVE_FIXED || type == DRIVE_RAMDISK;
}

// A copy-on-write view: the file's pages come from the system's cache, where
// a heap block would be fresh memory to fault in page by page. The byte after
// the file is the rest of its last page, so a file filling its last page is
// not mapped.
bool MapOpenFile(HANDLE file, uint32_t length, FolderFile* out) {
  SYSTEM_INFO facts;
  GetSystemInfo(&facts);
  if (length == 0 || facts.dwPageSize == 0 || length % facts.dwPageSize == 0) return false;
  HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_WRITECOPY, 0, 0, nullptr);
  if (mapping == nullptr) return false;
  // Fails where the file shrank since its size was taken.
  void* view = MapViewOfFile(mapping, FILE_MAP_COPY, 0, 0, length);
  CloseHandle(mapping);
  if (view == nullptr) return false;
  *out = FolderFile{static_cast<uint8_t*>(view), length, true};
  return true;
}

FileRead ReadOpenFile(HANDLE file, uint32_t maxBytes, bool mappable, FolderFile* out) {
  LARGE_INTEGER fileSize;
  if (!GetFileSizeEx(file, &fileSize) || fileSize.QuadPart < 0) return FileRead::kUnreadable;
  if (fileSize.QuadPart > static_cast<LONGLONG>(maxBytes)) return FileRead::kTooLarge;
  const auto length = static_cast<uint32_t>(fileSize.QuadPart);
  if (mappable && MapOpenFile(file, length, out)) return FileRead::kDone;
  auto* block = static_cast<uint8_t*>(Allocate(length + 1));
  if (block == nullptr) return FileRead::kNoMemory;
  uint32_t done = 0;
  while (done < length) {
    DWORD got = 0;
    if (!ReadFile(file, block + done, length - done, &got, nullptr) || got == 0) break;
    done += got;
  }
  if (done != length) {
    Free(block);
    return FileRead::kUnreadable;
  }
  *out = FolderFile{block, length, false};
  return FileRead::kDone;
}

}  // namespace

FileRead ReadFolderFile(const char16_t* folder, const char16_t* name, uint32_t maxBytes,
                        FolderFile* file) {
  wchar_t* path = LongPath(folder, name);
  if (path == nullptr) return FileRead::kMissing;
  FileRead result = FileRead::kUnreadable;
  const DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
        error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH)
      result = FileRead::kMissing;
  } else if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) {
    result = FileRead::kNotAFile;
  } else {
    // Shared as the host shares it: a file another program holds open for
    // writing cannot be opened, and the host goes on to its next name.
    HANDLE handle = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      result = ReadOpenFile(handle, maxBytes, OnLocalFixedDisk(path), file);
      CloseHandle(handle);
    }
  }
  Free(path);
  return result;
}

void ReleaseFolderFile(FolderFile* file) {
  if (file->mapped) {
    UnmapViewOfFile(file->bytes);
  } else {
    Free(file->bytes);
  }
  *file = FolderFile{nullptr, 0, false};
}

namespace {

#ifndef LOCALE_IUSEUTF8LEGACYACP
constexpr LCTYPE LOCALE_IUSEUTF8LEGACYACP = 0x00000666;
constexpr LCTYPE LOCALE_IUSEUTF8LEGACYOEMCP = 0x00000999;
#endif

// The page's number. In Windows' UTF-8 mode the host reads description
// files in the locale's legacy pages, which the locale names.
UINT PageNumber(CodePage page) {
  if (page == CodePage::kOem) return CP_OEMCP;
  const bool ansi = page == CodePage::kDescriptionAnsi;
  if (GetACP() == CP_UTF8 && GetOEMCP() == CP_UTF8) {
    DWORD legacy = 0;
    const LCTYPE what = ansi ? LOCALE_IUSEUTF8LEGACYACP : LOCALE_IUSEUTF8LEGACYOEMCP;
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, what | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<LPWSTR>(&legacy), sizeof legacy / sizeof(WCHAR)) &&
        legacy != 0)
      return legacy;
  }
  return ansi ? CP_ACP : CP_OEMCP;
}

}  // namespace

uint32_t ToUtf16(CodePage page, const uint8_t* text, uint32_t count, char16_t* out) {
  if (count == 0) return 0;
  const int units = MultiByteToWideChar(PageNumber(page), 0, reinterpret_cast<const char*>(text),
                                        static_cast<int>(count), reinterpret_cast<wchar_t*>(out),
                                        static_cast<int>(count));
  return units > 0 ? static_cast<uint32_t>(units) : 0;
}

uint32_t FromUtf16(CodePage page, const char16_t* text, uint32_t count, uint8_t* out,
                   uint32_t capacity) {
  if (count == 0) return 0;
  const int written = WideCharToMultiByte(
      PageNumber(page), 0, reinterpret_cast<const wchar_t*>(text), static_cast<int>(count),
      reinterpret_cast<char*>(out), static_cast<int>(capacity), nullptr, nullptr);
  return written > 0 ? static_cast<uint32_t>(written) : 0;
}

// The host hashes names by this upper-casing (and compares them as
// system_win32_names.cpp does).
void UpperCase(char16_t* text, uint32_t count) {
  if (count > 0) CharUpperBuffW(reinterpret_cast<wchar_t*>(text), count);
}

}  // namespace sys

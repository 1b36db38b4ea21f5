// The Windows side of listing folders for the tree search: the \\?\ form
// past MAX_PATH, each entry as the host's own panels find it, a folder told
// apart by its volume and file index (which a junction or link shares with
// its target), the tick count, and Esc read from the console without waiting.
#include <windows.h>

#include "sys/folders.h"
#include "sys/long_path.h"
#include "sys/system.h"

namespace sys {
namespace {

uint64_t Ticks(const FILETIME& time) {
  return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

bool IsLink(DWORD attributes, DWORD tag) {
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
         (tag == IO_REPARSE_TAG_SYMLINK || tag == IO_REPARSE_TAG_MOUNT_POINT);
}

FolderEntry Facts(const WIN32_FIND_DATAW& found) {
  const DWORD attributes = found.dwFileAttributes;
  const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return FolderEntry{
      nullptr,
      (isFolder ? kEntryFolder : 0u) | (IsLink(attributes, found.dwReserved0) ? kEntryLink : 0u),
      attributes,
      0,
      isFolder ? 0 : (uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow,
      Ticks(found.ftLastWriteTime)};
}

bool Identity(const wchar_t* path, FolderIdentity* identity) {
  HANDLE folder = CreateFileW(path, FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION facts;
  const bool known = GetFileInformationByHandle(folder, &facts) != 0;
  CloseHandle(folder);
  *identity = FolderIdentity{facts.dwVolumeSerialNumber,
                             (uint64_t{facts.nFileIndexHigh} << 32) | facts.nFileIndexLow};
  return known;
}

bool IsDots(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

// The listing's block, grown (moved, with its names) as entries come.
struct Growing {
  uint8_t* block;
  uint32_t count;
  size_t entryRoom;  // entries the block has room for before its names
  size_t nameUnits;
  size_t nameRoom;
};

bool Add(Growing* list, const WIN32_FIND_DATAW& found) {
  uint32_t units = 0;
  while (found.cFileName[units] != 0) ++units;
  if (list->count == list->entryRoom || list->nameUnits + units + 1 > list->nameRoom) {
    const size_t entryRoom = list->entryRoom < 64 ? 64 : list->entryRoom * 2;
    const size_t nameRoom = list->nameRoom < 4096 ? 4096 : list->nameRoom * 2 + units;
    auto* block = static_cast<uint8_t*>(
        Allocate(entryRoom * sizeof(FolderEntry) + nameRoom * sizeof(char16_t)));
    if (block == nullptr) return false;
    for (uint32_t i = 0; i < list->count * sizeof(FolderEntry); ++i) block[i] = list->block[i];
    const uint8_t* oldNames = list->block + list->entryRoom * sizeof(FolderEntry);
    uint8_t* names = block + entryRoom * sizeof(FolderEntry);
    for (size_t i = 0; i < list->nameUnits * sizeof(char16_t); ++i) names[i] = oldNames[i];
    Free(list->block);
    *list = Growing{block, list->count, entryRoom, list->nameUnits, nameRoom};
  }
  auto* entries = reinterpret_cast<FolderEntry*>(list->block);
  auto* names = reinterpret_cast<char16_t*>(list->block + list->entryRoom * sizeof(FolderEntry));
  for (uint32_t i = 0; i <= units; ++i) names[list->nameUnits + i] = found.cFileName[i];
  entries[list->count] = Facts(found);
  entries[list->count++].name = reinterpret_cast<const char16_t*>(list->nameUnits);
  list->nameUnits += units + 1;
  return true;
}

}  // namespace

ListResult ListFolder(const char16_t* path, FolderListing* listing) {
  wchar_t* folder = LongPath(path, u"");
  wchar_t* pattern = LongPath(path, u"*");
  FolderIdentity identity{};
  const bool known = folder != nullptr && pattern != nullptr && Identity(folder, &identity);
  WIN32_FIND_DATAW found;
  HANDLE search = known ? FindFirstFileExW(pattern, FindExInfoBasic, &found, FindExSearchNameMatch,
                                           nullptr, FIND_FIRST_EX_LARGE_FETCH)
                        : INVALID_HANDLE_VALUE;
  const DWORD error = GetLastError();
  Free(folder);
  Free(pattern);
  if (search == INVALID_HANDLE_VALUE) {
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                         error == ERROR_DIRECTORY || error == ERROR_INVALID_NAME ||
                         error == ERROR_BAD_NETPATH;
    return missing || !known ? ListResult::kMissing : ListResult::kUnreadable;
  }
  Growing list{};
  bool fits = true;
  do {
    if (!IsDots(found.cFileName)) fits = Add(&list, found);
  } while (fits && FindNextFileW(search, &found));
  const bool whole = fits && GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(search);
  if (!whole) {
    Free(list.block);
    return fits ? ListResult::kUnreadable : ListResult::kNoMemory;
  }
  auto* entries = reinterpret_cast<FolderEntry*>(list.block);
  auto* names =
      reinterpret_cast<const char16_t*>(list.block + list.entryRoom * sizeof(FolderEntry));
  for (uint32_t i = 0; i < list.count; ++i) {
    entries[i].name = names + reinterpret_cast<uintptr_t>(entries[i].name);
  }
  *listing = FolderListing{entries, list.count, identity, list.block};
  return ListResult::kDone;
}

void ReleaseFolderListing(FolderListing* listing) {
  Free(listing->block);
  *listing = FolderListing{};
}

// The system's listing gives every entry's facts: none are left for later.
void ReadEntryFacts(const char16_t*, FolderListing*) {}

bool LookAtPath(const char16_t* path, FolderEntry* facts) {
  wchar_t* full = LongPath(path, u"");
  if (full == nullptr) return false;
  WIN32_FILE_ATTRIBUTE_DATA data;
  const bool there = GetFileAttributesExW(full, GetFileExInfoStandard, &data) != 0;
  Free(full);
  if (!there) return false;
  const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  *facts = FolderEntry{nullptr,
                       isFolder ? kEntryFolder : 0u,
                       data.dwFileAttributes,
                       0,
                       isFolder ? 0 : (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                       Ticks(data.ftLastWriteTime)};
  return true;
}

uint64_t Milliseconds() {
  return GetTickCount64();
}

bool EscapeWaiting(Handle input) {
  bool escape = false;
  DWORD waiting = 0;
  while (GetNumberOfConsoleInputEvents(input, &waiting) && waiting > 0) {
    INPUT_RECORD record;
    DWORD read = 0;
    if (!ReadConsoleInputW(input, &record, 1, &read) || read == 0) break;
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    if (record.EventType == KEY_EVENT && key.bKeyDown && key.wVirtualKeyCode == VK_ESCAPE) {
      escape = true;
    }
  }
  return escape;
}

}  // namespace sys

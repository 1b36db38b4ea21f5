// What the search of a whole folder tree needs of the platform: a folder's
// entries, the facts of one path, a clock to pace its progress by, and a
// look at the keyboard for Esc. Paths are NUL-terminated UTF-16, as for
// ReadFolderFile.
#pragma once

#include <cstdint>

#include "sys/system.h"

namespace sys {

// An entry's kind, in FolderEntry::flags.
constexpr uint32_t kEntryFolder = 1;  // a folder, or a link to one
constexpr uint32_t kEntryLink = 2;    // a symbolic link or junction
// Size, time, mode and the attributes but the folder bit not read yet, where
// the listing itself does not give them: ReadEntryFacts reads them for the
// entries the caller marks kEntryFactsWanted.
constexpr uint32_t kEntryFactsLater = 4;
constexpr uint32_t kEntryFactsWanted = 8;
constexpr uint32_t kEntryGone = 16;    // not there when its facts were read
constexpr uint32_t kEntryMarked = 32;  // the caller's own, never set or read here

// The attribute bits the hosts give their panel items.
constexpr uint32_t kAttributeReadOnly = 0x1;
constexpr uint32_t kAttributeHidden = 0x2;
constexpr uint32_t kAttributeFolder = 0x10;
constexpr uint32_t kAttributeReparsePoint = 0x400;

struct FolderEntry {
  const char16_t* name;  // within the listing's block; null from LookAtPath
  uint32_t flags;        // kEntry*
  uint32_t attributes;   // as the platform's own panels give them
  uint32_t unixMode;     // st_mode where the platform has one, else 0
  uint64_t size;         // bytes
  uint64_t writeTime;    // 100 ns units since 1601 (a FILETIME)
};

// What tells two folders apart, whatever path reaches them: links lead the
// search back into a folder it is already in only where it compares equal.
struct FolderIdentity {
  uint64_t volume;
  uint64_t file;
};

struct FolderListing {
  FolderEntry* entries;  // "." and ".." left out
  uint32_t count;
  FolderIdentity identity;
  void* block;  // holds the entries and their names
};

enum class ListResult : uint8_t {
  kDone,
  kMissing,     // no folder there (any more)
  kUnreadable,  // there, but it cannot be opened or read (no access)
  kNoMemory,
};

// Lists every entry of the folder at path into one block. On kDone *listing
// holds it until ReleaseFolderListing; otherwise nothing is held.
ListResult ListFolder(const char16_t* path, FolderListing* listing);
void ReleaseFolderListing(FolderListing* listing);

// Reads the facts of every entry of a listing of the folder at path that is
// marked both kEntryFactsLater and kEntryFactsWanted, clearing both marks,
// and marks kEntryGone those no longer there.
void ReadEntryFacts(const char16_t* path, FolderListing* listing);

// The facts of what is at path now, following links; false when nothing is.
bool LookAtPath(const char16_t* path, FolderEntry* facts);

// A clock that never goes back, in milliseconds from any start.
uint64_t Milliseconds();

// Takes every event waiting in the console's input queue, without waiting
// for more; true when an Esc key press was among them. (Windows only: far2l
// reads its console through the host.)
bool EscapeWaiting(Handle input);

}  // namespace sys

// The POSIX side of listing folders for the tree search, for the far2l
// module: UTF-8 paths and names, each entry's facts as far2l's own panels
// give them (its attribute bits from the mode, a link's facts of what it
// points to), and a folder told apart by its device and inode.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/utf.h"
#include "sys/folders.h"
#include "sys/system.h"

namespace sys {
namespace {

// far2l's own attribute bits for what a panel shows on Linux.
constexpr uint32_t kAttributeArchive = 0x20;
constexpr uint32_t kAttributeDeviceBlock = 0x40;
constexpr uint32_t kAttributeExecutable = 0x00400000;
constexpr uint32_t kAttributeDeviceChar = 0x00800000;
constexpr uint32_t kAttributeDeviceFifo = 0x01000000;
constexpr uint32_t kAttributeDeviceSocket = 0x02000000;

// ---- Paths and names ----

// UTF-16 as UTF-8 at out, which holds 3 bytes a unit and the NUL; unpaired
// surrogates become U+FFFD.
void EncodeUtf8(const char16_t* text, char* out) {
  uint32_t units = 0;
  while (text[units] != 0) ++units;
  auto* bytes = reinterpret_cast<uint8_t*>(out);
  uint32_t used = 0;
  for (uint32_t at = 0; at < units;)
    used += utf::PutUtf8(utf::NextUtf16(text, units, &at), bytes + used);
  bytes[used] = 0;
}

// UTF-16 to UTF-8 into a new block (free it); null when there is no memory.
char* PathToUtf8(const char16_t* path) {
  size_t units = 0;
  while (path[units] != 0) ++units;
  auto* out = static_cast<char*>(malloc(3 * units + 1));
  if (out != nullptr) EncodeUtf8(path, out);
  return out;
}

// A name's UTF-8 as UTF-16 at out (room for 2 units per byte and the NUL);
// returns the units written before the NUL.
uint32_t NameToUtf16(const char* name, char16_t* out) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(name);
  const auto size = static_cast<uint32_t>(strlen(name));
  uint32_t used = 0;
  for (uint32_t at = 0; at < size;) {
    utf::PutCodePoint(utf::NextUtf8(bytes, size, &at), out, &used);
  }
  out[used] = 0;
  return used;
}

uint64_t FileTime(const struct timespec& time) {
  constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
  return static_cast<uint64_t>((time.tv_sec + kSecondsFrom1601To1970) * 10000000 +
                               time.tv_nsec / 100);
}

uint32_t Attributes(mode_t mode, bool link, const char* name) {
  uint32_t attributes = 0;
  switch (mode & S_IFMT) {
    case S_IFDIR:
      attributes = kAttributeFolder;
      break;
    case S_IFCHR:
      attributes = kAttributeDeviceChar;
      break;
    case S_IFBLK:
      attributes = kAttributeDeviceBlock;
      break;
    case S_IFIFO:
      attributes = kAttributeDeviceFifo;
      break;
    case S_IFSOCK:
      attributes = kAttributeDeviceSocket;
      break;
    default:
      attributes = kAttributeArchive;
      break;
  }
  if (link) attributes |= kAttributeReparsePoint;
  if (name[0] == '.') attributes |= kAttributeHidden;
  if (mode & (S_IXUSR | S_IXGRP | S_IXOTH)) attributes |= kAttributeExecutable;
  if (!(mode & (S_IWUSR | S_IWGRP | S_IWOTH))) attributes |= kAttributeReadOnly;
  return attributes;
}

// An entry's facts, of what a link points to; a broken link is shown as the
// link itself. False where nothing is there.
bool Facts(int folder, const char* name, const char* shownName, FolderEntry* out) {
  struct stat own;
  struct stat target;
  if (fstatat(folder, name, &own, AT_SYMLINK_NOFOLLOW) != 0) return false;
  const bool link = S_ISLNK(own.st_mode);
  const struct stat& facts = link && fstatat(folder, name, &target, 0) == 0 ? target : own;
  const bool isFolder = S_ISDIR(facts.st_mode);
  *out = FolderEntry{nullptr,
                     (isFolder ? kEntryFolder : 0u) | (link ? kEntryLink : 0u),
                     Attributes(facts.st_mode, link, shownName),
                     static_cast<uint32_t>(facts.st_mode),
                     isFolder ? 0 : static_cast<uint64_t>(facts.st_size),
                     FileTime(facts.st_mtim)};
  return true;
}

// What the listing itself tells of an entry: a folder or a regular file is
// known by its type alone, its other facts read later, and only for the
// few items a search keeps (a stat per entry would cost most of a search);
// links, devices and entries of unknown type are looked at now.
FolderEntry Listed(int folder, const char* name, unsigned char type) {
  FolderEntry facts{nullptr, 0, Attributes(0, false, name), 0, 0, 0};
  if (type != DT_DIR && type != DT_REG) {
    Facts(folder, name, name, &facts);  // gone since it was listed: shown as a file
    return facts;
  }
  const uint32_t hidden = name[0] == '.' ? kAttributeHidden : 0;
  return type == DT_DIR
             ? FolderEntry{nullptr,
                           kEntryFolder | kEntryFactsLater,
                           kAttributeFolder | hidden,
                           0,
                           0,
                           0}
             : FolderEntry{nullptr, kEntryFactsLater, kAttributeArchive | hidden, 0, 0, 0};
}

// ---- The listing's block, grown as entries come ----

struct Growing {
  FolderEntry* entries;
  char16_t* names;  // each name's units and NUL, in entry order
  uint32_t count;
  uint32_t entryRoom;
  size_t nameUnits;
  size_t nameRoom;
};

bool Grow(void** block, size_t* room, size_t needed, size_t unit) {
  if (needed <= *room) return true;
  size_t wanted = *room < 64 ? 64 : *room * 2;
  if (wanted < needed) wanted = needed;
  void* grown = realloc(*block, wanted * unit);
  if (grown == nullptr) return false;
  *block = grown;
  *room = wanted;
  return true;
}

bool Add(Growing* list, const FolderEntry& facts, const char* name) {
  size_t entryRoom = list->entryRoom;
  const size_t units = 2 * strlen(name) + 1;
  if (!Grow(reinterpret_cast<void**>(&list->entries), &entryRoom, list->count + 1,
            sizeof(FolderEntry)) ||
      !Grow(reinterpret_cast<void**>(&list->names), &list->nameRoom, list->nameUnits + units,
            sizeof(char16_t))) {
    return false;
  }
  list->entryRoom = static_cast<uint32_t>(entryRoom);
  list->entries[list->count++] = facts;
  list->nameUnits += NameToUtf16(name, list->names + list->nameUnits) + 1;
  return true;
}

// One block: the entries, then their names, the entries pointing at them.
bool Finish(Growing* list, FolderListing* listing) {
  const size_t entryBytes = size_t{list->count} * sizeof(FolderEntry);
  auto* block =
      static_cast<uint8_t*>(Allocate(entryBytes + list->nameUnits * sizeof(char16_t) + 1));
  if (block == nullptr) return false;
  auto* entries = reinterpret_cast<FolderEntry*>(block);
  auto* names = reinterpret_cast<char16_t*>(block + entryBytes);
  if (list->nameUnits > 0) memcpy(names, list->names, list->nameUnits * sizeof(char16_t));
  for (uint32_t i = 0; i < list->count; ++i) {
    entries[i] = list->entries[i];
    entries[i].name = names;
    while (*names != 0) ++names;
    ++names;
  }
  listing->entries = entries;
  listing->count = list->count;
  listing->block = block;
  return true;
}

ListResult ReadEntries(int folder, FolderListing* listing) {
  const int reading = dup(folder);
  DIR* entries = reading >= 0 ? fdopendir(reading) : nullptr;
  if (entries == nullptr) {
    if (reading >= 0) close(reading);
    return ListResult::kUnreadable;
  }
  Growing list{};
  bool fits = true;
  errno = 0;
  while (const dirent* entry = readdir(entries)) {
    const char* name = entry->d_name;
    if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0) continue;
    fits = Add(&list, Listed(folder, name, entry->d_type), name);
    if (!fits) break;
  }
  const bool readWhole = fits && errno == 0;
  closedir(entries);
  ListResult result = !fits ? ListResult::kNoMemory : ListResult::kUnreadable;
  if (readWhole) result = Finish(&list, listing) ? ListResult::kDone : ListResult::kNoMemory;
  free(list.entries);
  free(list.names);
  return result;
}

}  // namespace

ListResult ListFolder(const char16_t* path, FolderListing* listing) {
  char* utf8 = PathToUtf8(path);
  if (utf8 == nullptr) return ListResult::kNoMemory;
  const int folder = open(utf8, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
  const int error = errno;
  free(utf8);
  if (folder < 0) {
    return error == ENOENT || error == ENOTDIR ? ListResult::kMissing : ListResult::kUnreadable;
  }
  struct stat facts;
  ListResult result = ListResult::kUnreadable;
  if (fstat(folder, &facts) == 0) {
    *listing = FolderListing{
        nullptr, 0,
        FolderIdentity{static_cast<uint64_t>(facts.st_dev), static_cast<uint64_t>(facts.st_ino)},
        nullptr};
    result = ReadEntries(folder, listing);
  }
  close(folder);
  return result;
}

void ReleaseFolderListing(FolderListing* listing) {
  Free(listing->block);
  *listing = FolderListing{};
}

void ReadEntryFacts(const char16_t* path, FolderListing* listing) {
  constexpr uint32_t kMarks = kEntryFactsLater | kEntryFactsWanted;
  char* utf8 = PathToUtf8(path);
  const int folder = utf8 != nullptr ? open(utf8, O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
  free(utf8);
  // A name the system listed has 255 bytes at most, each at most one unit,
  // and the unit at most 3 bytes again.
  char name[3 * 255 + 1];
  for (uint32_t i = 0; i < listing->count; ++i) {
    FolderEntry& entry = listing->entries[i];
    if ((entry.flags & kMarks) != kMarks) continue;
    uint32_t units = 0;
    while (entry.name[units] != 0) ++units;
    if (units > 255) continue;
    EncodeUtf8(entry.name, name);
    const FolderEntry listed = entry;
    if (folder < 0 || !Facts(folder, name, name, &entry)) {
      entry.flags = (listed.flags & ~kMarks) | kEntryGone;
      continue;
    }
    entry.name = listed.name;
    entry.flags |= listed.flags & kEntryMarked;
  }
  if (folder >= 0) close(folder);
}

bool LookAtPath(const char16_t* path, FolderEntry* facts) {
  char* utf8 = PathToUtf8(path);
  if (utf8 == nullptr) return false;
  const char* name = strrchr(utf8, '/');
  const bool there = Facts(AT_FDCWD, utf8, name != nullptr ? name + 1 : utf8, facts);
  free(utf8);
  return there;
}

uint64_t Milliseconds() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000;
}

}  // namespace sys

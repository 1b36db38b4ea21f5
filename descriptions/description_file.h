// Which file of a folder holds its descriptions: the first of the host's
// description file names that can be read there, as the host tries them.
//
// The host's list is split as the host splits it (HostRules::listQuoted);
// an empty list names no file, and where the host keeps no list at all its
// default names are tried. A name the folder does not hold, a folder by that
// name, a file that cannot be opened or read (locked, no access), and a file
// over kMaxDescriptionFileBytes all pass the turn to the next name; only
// running out of memory ends the search.
#pragma once

#include <cstdint>

#include "core/description_rules.h"
#include "core/item_strings.h"
#include "core/utf.h"
#include "descriptions/case_folding.h"
#include "descriptions/description_lines.h"
#include "descriptions/name_index.h"
#include "sys/system.h"

namespace descriptions {

// 16 MiB: four times the largest description files seen in use (about 4 MiB
// at 100,000 described files), read and indexed in well under a second,
// while its decoded text (up to 64 MiB as UTF-32) stays affordable in a
// 32-bit host.
constexpr uint32_t kMaxDescriptionFileBytes = 16u << 20;
// The names the hosts use where they keep no list of their own.
inline constexpr char kDefaultFileNames[] = "Descript.ion,Files.bbs";

template <class Char>
struct FileNameList {
  Char text[sizeof kDefaultFileNames];
};

template <class Char>
constexpr FileNameList<Char> DefaultFileNamesAs() {
  FileNameList<Char> list{};
  for (uint32_t i = 0; i < sizeof kDefaultFileNames; ++i) list.text[i] = Char(kDefaultFileNames[i]);
  return list;
}

namespace detail {

template <class Char>
uint32_t BoundedLength(const Char* text, uint32_t limit) {
  uint32_t n = 0;
  while (n <= limit && text[n] != Char(0)) ++n;
  return n;
}

// Char text as UTF-16 in out (capacity units, one kept for the NUL). False
// when it does not fit.
template <class Char>
bool ToUtf16Path(const Char* text, uint32_t count, char16_t* out, uint32_t capacity) {
  uint32_t used = 0;
  if constexpr (sizeof(Char) == 1) {
    if (count >= capacity) return false;
    used = sys::ToUtf16(sys::CodePage::kOem, reinterpret_cast<const uint8_t*>(text), count, out);
    if (count > 0 && used == 0) return false;
  } else {
    for (uint32_t i = 0; i < count; ++i) {
      const auto c = static_cast<uint32_t>(text[i]);
      if (used + (utf::NeedsPair(c) ? 2 : 1) >= capacity) return false;
      utf::PutCodePoint(c, out, &used);
    }
  }
  out[used] = 0;
  return true;
}

// Where the panel holds an item by this name (without regard to case), its
// own spelling: the file system then finds the file at once, where a name
// in another case would make it search the folder (Wine does so on every
// open, and far2l's module on a file system that tells case apart).
template <class Char>
const Char* SpellingInPanel(const Char* name, uint32_t length, const ItemStrings<Char>& items,
                            CaseFolder<Char> fold, Char* scratch) {
  if (length > kMaxNameUnits) return nullptr;
  Char* key = scratch;
  Char* folded = scratch + kMaxNameUnits;
  fold(name, length, key);
  for (uint32_t i = 0; i < items.count; ++i) {
    const Char* item = items.At(i);
    if (item == nullptr || BoundedLength(item, length) != length) continue;
    fold(item, length, folded);
    uint32_t same = 0;
    while (same < length && folded[same] == key[same]) ++same;
    if (same == length) return item;
  }
  return nullptr;
}

struct Search {
  const char16_t* folder;
  char16_t* path;  // kMaxNameUnits + 1 units
  sys::FolderFile* file;
  sys::FileRead result;
  sys::FileRead passedOver;  // a file there but not usable; kMissing where none was
};

// Tries one name of the list. True when the search ends: the file is read,
// or memory ran out.
template <class Char>
bool TryFileName(const Char* name, uint32_t length, const ItemStrings<Char>& items,
                 CaseFolder<Char> fold, Char* scratch, Search* search) {
  if (length == 0) return false;
  const Char* spelling = SpellingInPanel(name, length, items, fold, scratch);
  const bool converted = spelling != nullptr
                             ? ToUtf16Path(spelling, length, search->path, kMaxNameUnits + 1)
                             : ToUtf16Path(name, length, search->path, kMaxNameUnits + 1);
  if (!converted) return false;
  search->result =
      sys::ReadFolderFile(search->folder, search->path, kMaxDescriptionFileBytes, search->file);
  if (search->result == sys::FileRead::kUnreadable || search->result == sys::FileRead::kTooLarge)
    search->passedOver = search->result;
  return search->result == sys::FileRead::kDone || search->result == sys::FileRead::kNoMemory;
}

// The names of the list, split as the host splits it, tried in turn.
template <class Char>
void TryFileNames(const Char* list, const HostRules& rules, const ItemStrings<Char>& items,
                  CaseFolder<Char> fold, Char* scratch, Search* search) {
  Char name[kMaxNameUnits];
  uint32_t length = 0;
  bool quoted = false;
  bool bracketed = false;
  bool overflow = false;
  for (const Char* at = list;; ++at) {
    const Char c = *at;
    bool ends = c == Char(0);
    if (rules.listQuoted) {
      if (c == Char('"')) {
        quoted = !quoted;
        continue;
      }
      ends = ends || (!quoted && (c == Char(',') || c == Char(';')));
    } else {
      // As far2l's list reader: a ',' inside [...] (a set of the mask)
      // separates nothing.
      if (c == Char('[') && !bracketed) {
        for (const Char* close = at + 1; *close != Char(0); ++close)
          bracketed = bracketed || *close == Char(']');
      }
      if (c == Char(']')) bracketed = false;
      ends = ends || (!bracketed && c == Char(','));
    }
    if (!ends) {
      overflow = overflow || length == kMaxNameUnits;
      if (!overflow) name[length++] = c;
      continue;
    }
    if (!overflow && TryFileName(name, length, items, fold, scratch, search)) return;
    if (c == Char(0)) return;
    length = 0;
    overflow = false;
    if (!rules.listQuoted) {
      const LineSyntax syntax{rules, false, nullptr};
      while (at[1] != Char(0) && BlankAt(at + 1, at + 2, syntax) != 0) ++at;
    }
  }
}

}  // namespace detail

// Reads the first usable description file of the folder, by the host's
// settings, into *file; items are the panel's names. False, with nothing
// held, when no file is read. *outcome, where given, is kDone, or what
// became of the last file passed over (kUnreadable, kTooLarge), or kMissing.
template <class Char>
bool ReadDescriptionFile(const Char* folder, const HostSettings<Char>& settings,
                         const HostRules& rules, const ItemStrings<Char>& items,
                         CaseFolder<Char> fold, sys::FolderFile* file,
                         sys::FileRead* outcome = nullptr) {
  *file = sys::FolderFile{nullptr, 0, false};
  const uint32_t folderLength = detail::BoundedLength(folder, sys::kMaxPathUnits);
  if (folderLength == 0 || folderLength > sys::kMaxPathUnits) return false;
  auto* paths = static_cast<char16_t*>(
      sys::Allocate((size_t{sys::kMaxPathUnits} + 1 + kMaxNameUnits + 1) * sizeof(char16_t)));
  auto* scratch = static_cast<Char*>(sys::Allocate(2 * kMaxNameUnits * sizeof(Char)));
  detail::Search search{paths, paths + sys::kMaxPathUnits + 1, file, sys::FileRead::kMissing,
                        sys::FileRead::kMissing};
  if (paths != nullptr && scratch != nullptr &&
      detail::ToUtf16Path(folder, folderLength, paths, sys::kMaxPathUnits + 1)) {
    static constexpr FileNameList<Char> kDefaults = DefaultFileNamesAs<Char>();
    const Char* list = settings.fileNames != nullptr ? settings.fileNames : kDefaults.text;
    detail::TryFileNames(list, rules, items, fold, scratch, &search);
  }
  sys::Free(paths);
  sys::Free(scratch);
  const bool read = search.result == sys::FileRead::kDone;
  if (outcome != nullptr) *outcome = read ? sys::FileRead::kDone : search.passedOver;
  return read;
}

}  // namespace descriptions

// The search of a whole folder tree by description: every folder from the
// search folder down, each folder's description file read by the same rules
// as a panel's, and every item there whose description matches the mask
// kept in a match list.
//
// Only items that exist are found: the names come from the folder's
// listing, never from the description file. A folder that cannot be listed
// (no access, gone since its parent was listed, a path past the platform's
// limit) is skipped, and so is a description file over the limit or
// unreadable; a link leading back into a folder the search is inside is
// not followed. Each is counted.
//
// The gateway G gives the character type, the path separator, the host's
// mask matcher and description file names; Progress (G itself unless given)
// shows the progress and asks whether to stop, both paced to about ten
// times a second.
#pragma once

#include <cstdint>

#include "descriptions/folder_descriptions.h"
#include "findtree/match_list.h"
#include "sys/folders.h"
#include "sys/system.h"

namespace findtree {

struct SearchCounts {
  uint64_t folders;         // searched
  uint64_t found;           // matches kept
  uint64_t foldersSkipped;  // could not be listed
  uint64_t filesSkipped;    // description files over the limit or unreadable
  uint64_t loopsSkipped;    // links back into a folder being searched
  bool stopped;             // by the user, keeping what was found
  bool outOfMemory;         // the matches so far are kept
};

// The progress shows and the keyboard is read no more often than this.
constexpr uint64_t kProgressMilliseconds = 100;

namespace detail {

// One folder on the way down from the search folder, with its subfolders
// still to search.
struct Level {
  sys::FolderListing listing;
  uint32_t next;        // the first entry not yet looked at
  uint32_t pathLength;  // of the folder's path
};

template <class Char>
struct Walk {
  Char* path;           // sys::kMaxPathUnits + 1 units
  char16_t* widePath;   // the same as UTF-16, where Char is not already
  uint32_t pathLength;  // units in path
  uint32_t rootLength;  // the search folder's part of path
  Level* levels;        // the folders the search is inside, outermost first
  uint32_t depth;
  uint32_t capacity;
  const Char* mask;
  bool subfolders;
  descriptions::HostSettings<Char> settings;  // asked once per search
  MatchList<Char>* matches;
  SearchCounts counts;
  uint64_t paced;  // when progress last showed
  bool shown;
};

template <class Char>
uint32_t Length(const Char* text) {
  uint32_t n = 0;
  while (text[n] != Char(0)) ++n;
  return n;
}

// The path of the current folder as the platform takes it.
template <class Char>
const char16_t* WidePath(Walk<Char>* walk) {
  if constexpr (sizeof(Char) == 2) {
    return reinterpret_cast<const char16_t*>(walk->path);
  } else {
    const bool fits = descriptions::detail::ToUtf16Path(walk->path, walk->pathLength,
                                                        walk->widePath, sys::kMaxPathUnits + 1);
    return fits ? walk->widePath : nullptr;
  }
}

// The entries' names as Char text: the listing's own where it is UTF-16,
// else a block of converted names (to Free) in *converted.
template <class Char>
bool EntryNames(const sys::FolderListing& listing, ItemStrings<Char>* names, void** converted) {
  *converted = nullptr;
  if constexpr (sizeof(Char) == 2) {
    *names =
        ItemStrings<Char>{&listing.entries[0].name, sizeof(sys::FolderEntry), true, listing.count};
    return true;
  } else {
    uint64_t units = 0;
    for (uint32_t i = 0; i < listing.count; ++i) units += Length(listing.entries[i].name) + 1;
    const uint64_t bytes = uint64_t{listing.count} * sizeof(Char*) + units * sizeof(Char);
    auto* block = static_cast<uint8_t*>(sys::Allocate(static_cast<size_t>(bytes)));
    if (block == nullptr) return false;
    auto** pointers = reinterpret_cast<Char**>(block);
    Char* text = reinterpret_cast<Char*>(block + uint64_t{listing.count} * sizeof(Char*));
    for (uint32_t i = 0; i < listing.count; ++i) {
      const char16_t* name = listing.entries[i].name;
      pointers[i] = text;
      text += descriptions::detail::FromUtf16(name, Length(name), text);
      *text++ = Char(0);
    }
    *converted = block;
    *names = ItemStrings<Char>{pointers, sizeof(Char*), true, listing.count};
    return true;
  }
}

// The current folder's path relative to the search folder.
template <class G>
Piece<typename G::Char> RelativeFolder(const Walk<typename G::Char>& walk) {
  uint32_t start = walk.rootLength;
  if (start < walk.pathLength && walk.path[start] == G::kPathSeparator) ++start;
  return {walk.path + start, walk.pathLength - start};
}

// Reads the facts the listing left for later of the entries marked for
// them, if any is.
template <class G>
void ReadWantedFacts(Walk<typename G::Char>* walk, sys::FolderListing* listing) {
  constexpr uint32_t kMarks = sys::kEntryFactsLater | sys::kEntryFactsWanted;
  for (uint32_t i = 0; i < listing->count; ++i) {
    if ((listing->entries[i].flags & kMarks) == kMarks) {
      if (const char16_t* wide = WidePath(walk)) sys::ReadEntryFacts(wide, listing);
      return;
    }
  }
}

inline bool BeginsWithDigit(uint32_t c) {
  return c >= '0' && c <= '9';
}

// An item's description as the host shows it: without the item's size
// where the description begins with it.
template <class G>
const typename G::Char* ShownDescription(const typename G::Char* description,
                                         const sys::FolderEntry& entry) {
  if (!BeginsWithDigit(static_cast<uint32_t>(description[0]))) return description;
  const descriptions::LineSyntax syntax{G::kDescriptionRules, false, nullptr};
  return description +
         descriptions::SizePrefixLength(description, Length(description), entry.size, syntax);
}

// Marks the described items whose description matches; true where one of
// them has its facts still to read. Sizes a description may begin with are
// read first.
template <class G>
bool MarkMatches(Walk<typename G::Char>* walk, sys::FolderListing* listing,
                 const ItemStrings<typename G::Char>& described) {
  for (uint32_t i = 0; i < listing->count; ++i) {
    const typename G::Char* description = described.At(i);
    if (description != nullptr && BeginsWithDigit(static_cast<uint32_t>(description[0]))) {
      listing->entries[i].flags |= sys::kEntryFactsWanted;
    }
  }
  ReadWantedFacts<G>(walk, listing);
  bool factsWanted = false;
  for (uint32_t i = 0; i < listing->count; ++i) {
    sys::FolderEntry& entry = listing->entries[i];
    const typename G::Char* description = described.At(i);
    if (description == nullptr || (entry.flags & sys::kEntryGone) ||
        !G::CmpName(walk->mask, ShownDescription<G>(description, entry))) {
      continue;
    }
    entry.flags |= sys::kEntryMarked | sys::kEntryFactsWanted;
    factsWanted |= (entry.flags & sys::kEntryFactsLater) != 0;
  }
  return factsWanted;
}

// Keeps every item of the listed folder whose description matches, with
// its facts.
template <class G>
void MatchFolder(Walk<typename G::Char>* walk, sys::FolderListing* listing) {
  using Char = typename G::Char;
  ItemStrings<Char> names;
  void* converted;
  if (!EntryNames(*listing, &names, &converted)) {
    walk->counts.outOfMemory = true;
    return;
  }
  descriptions::FolderDescriptions<Char> read;
  sys::FileRead outcome;
  const descriptions::FolderItems<Char> items{walk->path, names, {}, nullptr};
  if (descriptions::ReadFolderDescriptions(G::kDescriptionRules, walk->settings, items, &read,
                                           &outcome)) {
    if (MarkMatches<G>(walk, listing, read.strings)) ReadWantedFacts<G>(walk, listing);
    const Piece<Char> folder = RelativeFolder<G>(*walk);
    for (uint32_t i = 0; i < listing->count && !walk->counts.outOfMemory; ++i) {
      const sys::FolderEntry& entry = listing->entries[i];
      if (!(entry.flags & sys::kEntryMarked) || (entry.flags & sys::kEntryGone)) continue;
      const Char* name = names.At(i);
      const Char* description = ShownDescription<G>(read.strings.At(i), entry);
      const MatchFacts facts{entry.attributes, entry.unixMode, entry.size, entry.writeTime};
      if (AddMatch(walk->matches, folder, G::kPathSeparator, Piece<Char>{name, Length(name)},
                   Piece<Char>{description, Length(description)}, facts)) {
        ++walk->counts.found;
      } else {
        walk->counts.outOfMemory = true;
      }
    }
    descriptions::ReleaseFolderDescriptions(&read);
  } else if (outcome == sys::FileRead::kTooLarge || outcome == sys::FileRead::kUnreadable) {
    ++walk->counts.filesSkipped;
  }
  sys::Free(converted);
}

inline bool SameFolder(const sys::FolderIdentity& a, const sys::FolderIdentity& b) {
  return a.volume == b.volume && a.file == b.file;
}

template <class Char>
bool HasFolderEntries(const sys::FolderListing& listing) {
  for (uint32_t i = 0; i < listing.count; ++i) {
    if (listing.entries[i].flags & sys::kEntryFolder) return true;
  }
  return false;
}

// Room for one more level; false when memory runs out.
template <class Char>
bool GrowLevels(Walk<Char>* walk) {
  if (walk->depth < walk->capacity) return true;
  const uint32_t capacity = walk->capacity == 0 ? 16 : walk->capacity * 2;
  auto* levels = static_cast<Level*>(sys::Allocate(size_t{capacity} * sizeof(Level)));
  if (levels == nullptr) return false;
  for (uint32_t i = 0; i < walk->depth; ++i) levels[i] = walk->levels[i];
  sys::Free(walk->levels);
  walk->levels = levels;
  walk->capacity = capacity;
  return true;
}

// Searches the folder at walk->path, and, where its subfolders are to be
// searched too, goes one level down into it.
template <class G>
void SearchFolder(Walk<typename G::Char>* walk) {
  const char16_t* wide = WidePath(walk);
  sys::FolderListing listing;
  if (wide == nullptr || sys::ListFolder(wide, &listing) != sys::ListResult::kDone) {
    ++walk->counts.foldersSkipped;
    return;
  }
  for (uint32_t i = 0; i < walk->depth; ++i) {
    if (SameFolder(walk->levels[i].listing.identity, listing.identity)) {
      ++walk->counts.loopsSkipped;
      sys::ReleaseFolderListing(&listing);
      return;
    }
  }
  ++walk->counts.folders;
  if (listing.count > 0) MatchFolder<G>(walk, &listing);
  const bool descend = walk->subfolders && HasFolderEntries<typename G::Char>(listing);
  if (descend && GrowLevels(walk)) {
    walk->levels[walk->depth++] = Level{listing, 0, walk->pathLength};
    return;
  }
  if (descend) walk->counts.outOfMemory = true;
  sys::ReleaseFolderListing(&listing);
}

// Makes walk->path the next subfolder to search, leaving the levels it is
// done with; false when the whole tree is done.
template <class G>
bool NextFolder(Walk<typename G::Char>* walk) {
  using Char = typename G::Char;
  while (walk->depth > 0) {
    Level& level = walk->levels[walk->depth - 1];
    while (level.next < level.listing.count &&
           !(level.listing.entries[level.next].flags & sys::kEntryFolder)) {
      ++level.next;
    }
    if (level.next == level.listing.count) {
      sys::ReleaseFolderListing(&level.listing);
      --walk->depth;
      continue;
    }
    const char16_t* name = level.listing.entries[level.next++].name;
    uint32_t length = level.pathLength;
    if (length > 0 && walk->path[length - 1] != G::kPathSeparator) {
      walk->path[length++] = G::kPathSeparator;
    }
    uint32_t units = Length(name);
    if (length + units > sys::kMaxPathUnits) {  // as UTF-32, no longer than as UTF-16
      ++walk->counts.foldersSkipped;
      continue;
    }
    if constexpr (sizeof(Char) == 2) {
      for (uint32_t i = 0; i < units; ++i) walk->path[length + i] = static_cast<Char>(name[i]);
    } else {
      units = descriptions::detail::FromUtf16(name, units, walk->path + length);
    }
    walk->pathLength = length + units;
    walk->path[walk->pathLength] = Char(0);
    return true;
  }
  return false;
}

// Shows the progress and reads the keyboard, at the pace above; true when
// the user chose to stop.
template <class Progress, class Char>
bool StopAsked(Walk<Char>* walk) {
  const uint64_t now = sys::Milliseconds();
  if (walk->shown && now - walk->paced < kProgressMilliseconds) return false;
  walk->shown = true;
  walk->paced = now;
  Progress::ShowSearchProgress(walk->counts, walk->path);
  return Progress::SearchStopAsked();
}

template <class Char>
void ReleaseWalk(Walk<Char>* walk) {
  while (walk->depth > 0) sys::ReleaseFolderListing(&walk->levels[--walk->depth].listing);
  sys::Free(walk->levels);
  sys::Free(walk->path);
  sys::Free(walk->widePath);
}

}  // namespace detail

// Searches the tree at root (a folder's path without a separator at the
// end, except for a root folder) for items whose description matches mask,
// adding them to *matches, which the caller releases. With subfolders
// false, only the folder itself. A stop, or memory running out, keeps the
// matches found so far.
template <class G, class Progress = G>
SearchCounts SearchTree(const typename G::Char* root, const typename G::Char* mask, bool subfolders,
                        MatchList<typename G::Char>* matches) {
  using Char = typename G::Char;
  detail::Walk<Char> walk{};
  walk.mask = mask;
  walk.subfolders = subfolders;
  walk.settings = G::ReadDescriptionSettings();
  walk.matches = matches;
  walk.rootLength = detail::Length(root);
  walk.path = static_cast<Char*>(sys::Allocate((sys::kMaxPathUnits + 1) * sizeof(Char)));
  if constexpr (sizeof(Char) != 2) {
    walk.widePath =
        static_cast<char16_t*>(sys::Allocate((sys::kMaxPathUnits + 1) * sizeof(char16_t)));
  }
  const bool ready = walk.path != nullptr && (sizeof(Char) == 2 || walk.widePath != nullptr);
  if (!ready) {
    walk.counts.outOfMemory = true;
  } else if (walk.rootLength == 0 || walk.rootLength > sys::kMaxPathUnits) {
    ++walk.counts.foldersSkipped;
  } else {
    for (uint32_t i = 0; i <= walk.rootLength; ++i) walk.path[i] = root[i];
    walk.pathLength = walk.rootLength;
    bool more = true;
    while (more && !walk.counts.outOfMemory) {
      detail::SearchFolder<G>(&walk);
      if (detail::StopAsked<Progress>(&walk)) {
        walk.counts.stopped = true;
        break;
      }
      more = detail::NextFolder<G>(&walk);
    }
  }
  detail::ReleaseWalk(&walk);
  return walk.counts;
}

}  // namespace findtree

// What a results panel holds: the matches of one search, the folder and the
// mask it was for, and its counts; and the work shared by every host's panel:
// each match's full path, a fresh look at the disk before the panel lists
// them again, and the texts that name the search.
#pragma once

#include <cstdint>

#include "findtree/match_list.h"
#include "findtree/tree_search.h"
#include "sys/folders.h"
#include "sys/system.h"

namespace findtree {

// Title, message lines and counts as text: up to this many units each. A
// line lives on the stack, where a DLL without the C runtime may not take
// 4 KiB at once.
constexpr uint32_t kTitleUnits = 1024;
constexpr uint32_t kLineUnits = 256;
constexpr uint32_t kNumberUnits = 32;  // 20 digits, 6 gaps, the NUL

template <class Char>
struct Results {
  MatchList<Char> matches;
  SearchCounts counts;
  Char* folder;  // the search folder
  uint32_t folderLength;
  Char* mask;
  bool listed;  // the panel has listed the matches: later listings look again
  Char title[kTitleUnits];
};

namespace detail {

// Appends text to out (capacity units, one kept for the NUL), cutting it
// short where it does not fit.
template <class Char, class From>
void Append(Char* out, uint32_t capacity, uint32_t* used, const From* text) {
  for (; text != nullptr && *text != From(0) && *used + 1 < capacity; ++text) {
    out[(*used)++] = static_cast<Char>(*text);
  }
  out[*used] = Char(0);
}

}  // namespace detail

// The number in decimal with thin groups ("1 234 567"), as the hosts show
// counts, into out (kNumberUnits).
template <class Char>
void FormatCount(uint64_t value, Char* out) {
  Char digits[kNumberUnits];
  uint32_t n = 0;
  do {
    if (n % 4 == 3) digits[n++] = Char(' ');
    digits[n++] = static_cast<Char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (uint32_t i = 0; i < n; ++i) out[i] = digits[n - 1 - i];
  out[n] = Char(0);
}

// Composes format into out (capacity units), each "%1" and "%2" replaced by
// first and second.
template <class Char>
void Compose(Char* out, uint32_t capacity, const Char* format, const Char* first,
             const Char* second) {
  uint32_t used = 0;
  out[0] = Char(0);
  for (const Char* at = format; *at != Char(0) && used + 1 < capacity; ++at) {
    if (at[0] == Char('%') && (at[1] == Char('1') || at[1] == Char('2'))) {
      detail::Append(out, capacity, &used, *++at == Char('1') ? first : second);
      continue;
    }
    out[used++] = *at;
    out[used] = Char(0);
  }
}

// A path cut from the left to fit width units, "..." standing for what was
// cut, so that the folder's own name stays in view.
template <class Char>
void FitPath(const Char* path, uint32_t width, Char* out) {
  uint32_t length = 0;
  while (path[length] != Char(0)) ++length;
  uint32_t used = 0;
  if (length > width && width > 3) {
    detail::Append(out, width + 1, &used, "...");
    path += length - (width - 3);
  }
  detail::Append(out, width + 1, &used, path);
}

// The folder's share of a title: the host cuts a long title from its start,
// which would take the mask away first.
constexpr uint32_t kTitleFolderUnits = 32;

// A panel's results for a search of folder by mask, the title composed from
// titleFormat ("%1" the mask, "%2" the folder, cut from the left to fit
// kTitleFolderUnits); null when memory runs out.
template <class Char>
Results<Char>* CreateResults(const Char* folder, const Char* mask, const Char* titleFormat) {
  uint32_t folderLength = 0;
  uint32_t maskLength = 0;
  while (folder[folderLength] != Char(0)) ++folderLength;
  while (mask[maskLength] != Char(0)) ++maskLength;
  const size_t bytes =
      sizeof(Results<Char>) + (size_t{folderLength} + maskLength + 2) * sizeof(Char);
  auto* results = static_cast<Results<Char>*>(sys::Allocate(bytes));
  if (results == nullptr) return nullptr;
  *results = Results<Char>{};
  results->folder = reinterpret_cast<Char*>(results + 1);
  results->mask = results->folder + folderLength + 1;
  results->folderLength = folderLength;
  for (uint32_t i = 0; i <= folderLength; ++i) results->folder[i] = folder[i];
  for (uint32_t i = 0; i <= maskLength; ++i) results->mask[i] = mask[i];
  Char shortFolder[kTitleFolderUnits + 1];
  FitPath(results->folder, kTitleFolderUnits, shortFolder);
  Compose(results->title, kTitleUnits, titleFormat, results->mask, shortFolder);
  return results;
}

template <class Char>
void ReleaseResults(Results<Char>* results) {
  if (results == nullptr) return;
  ReleaseMatches(&results->matches);
  sys::Free(results);
}

// Units of a match's full path, without the NUL.
template <class Char>
uint32_t FullPathLength(const Results<Char>& results, Match<Char>* match, Char separator) {
  const bool joined = results.folder[results.folderLength - 1] != separator;
  return results.folderLength + joined + match->pathLength;
}

// Writes a match's full path at out (FullPathLength + 1 units); returns
// where its relative part starts within it.
template <class Char>
Char* WriteFullPath(const Results<Char>& results, Match<Char>* match, Char separator, Char* out) {
  for (uint32_t i = 0; i < results.folderLength; ++i) out[i] = results.folder[i];
  Char* relative = out + results.folderLength;
  if (results.folder[results.folderLength - 1] != separator) *relative++ = separator;
  const Char* path = match->Path();
  for (uint32_t i = 0; i <= match->pathLength; ++i) relative[i] = path[i];
  return relative;
}

// Looks at every match on disk again, taking its facts now, and leaves out
// for good those that are gone (deleted or moved by the host's own
// operations on the panel). The panel's first listing comes straight from
// the search, which has just seen them.
template <class Char>
void LookAgain(Results<Char>* results, Char separator) {
  if (!results->listed) {
    results->listed = true;
    return;
  }
  auto* path = static_cast<Char*>(sys::Allocate((sys::kMaxPathUnits + 2) * sizeof(Char)));
  auto* wide = static_cast<char16_t*>(sys::Allocate((sys::kMaxPathUnits + 2) * sizeof(char16_t)));
  MatchCursor cursor{results->matches.first, 0};
  while (path != nullptr && wide != nullptr) {
    Match<Char>* match = NextMatch<Char>(&cursor);
    if (match == nullptr) break;
    if (match->gone) continue;
    const uint32_t length = FullPathLength(*results, match, separator);
    sys::FolderEntry facts;
    if (length > sys::kMaxPathUnits) continue;
    WriteFullPath(*results, match, separator, path);
    if (!descriptions::detail::ToUtf16Path(path, length, wide, sys::kMaxPathUnits + 2)) continue;
    if (sys::LookAtPath(wide, &facts)) {
      match->facts = MatchFacts{facts.attributes, facts.unixMode, facts.size, facts.writeTime};
    } else {
      match->gone = 1;
    }
  }
  sys::Free(path);
  sys::Free(wide);
}

template <class Char>
uint32_t LiveMatches(const Results<Char>& results) {
  uint32_t live = 0;
  MatchCursor cursor{results.matches.first, 0};
  while (Match<Char>* match = NextMatch<Char>(&cursor)) live += !match->gone;
  return live;
}

// The counts an information panel shows, in this order, each as text.
constexpr int kCountFigures = 5;  // folders, found, folders, files and links skipped

template <class Char>
void FormatCounts(const SearchCounts& counts, Char (&texts)[kCountFigures][kNumberUnits]) {
  const uint64_t figures[kCountFigures] = {counts.folders, counts.found, counts.foldersSkipped,
                                           counts.filesSkipped, counts.loopsSkipped};
  for (int i = 0; i < kCountFigures; ++i) FormatCount(figures[i], texts[i]);
}

// The host's listing of the matches still on disk, in one block to Free:
// an Item record per match, a custom-column pointer per match, then the
// full names. fill(item, match, fullName, column) sets a record, column
// pointing at the relative name within the full one. *count gets the
// number of items; null where there are none or memory runs out.
template <class Item, class Char, class Fill>
Item* ListMatches(Results<Char>* results, Char separator, size_t* count, Fill fill) {
  LookAgain(results, separator);
  *count = LiveMatches(*results);
  size_t bytes = *count * (sizeof(Item) + sizeof(const Char*));
  MatchCursor cursor{results->matches.first, 0};
  while (Match<Char>* match = NextMatch<Char>(&cursor)) {
    if (!match->gone) bytes += (FullPathLength(*results, match, separator) + 1) * sizeof(Char);
  }
  auto* items = *count > 0 ? static_cast<Item*>(sys::Allocate(bytes)) : nullptr;
  if (items == nullptr) {
    *count = 0;
    return nullptr;
  }
  auto* columns = reinterpret_cast<const Char**>(items + *count);
  auto* names = reinterpret_cast<Char*>(columns + *count);
  cursor = MatchCursor{results->matches.first, 0};
  for (size_t i = 0; Match<Char>* match = NextMatch<Char>(&cursor);) {
    if (match->gone) continue;
    columns[i] = WriteFullPath(*results, match, separator, names);
    fill(&items[i], *match, names, &columns[i]);
    names += FullPathLength(*results, match, separator) + 1;
    ++i;
  }
  return items;
}

// ---- Texts the host hands over, and an item's place ------------------------

// Moves text, which lies further on in block (a host's record followed by
// its strings), to the block's start, and returns it there.
template <class Char>
Char* MoveToStart(void* block, const Char* text) {
  auto* start = static_cast<Char*>(block);
  uint32_t i = 0;
  for (; text[i] != Char(0); ++i) start[i] = text[i];
  start[i] = Char(0);
  return start;
}

template <class Char>
bool SameText(const Char* a, const Char* b) {
  for (; *a != Char(0) && *a == *b; ++a, ++b) {
  }
  return *a == *b;
}

// Cuts a full name in two in place: the folder (keeping the separator of a
// root, "C:\" or "/") and the name, which *name points to.
template <class Char>
void CutName(Char* full, Char separator, Char** folder, Char** name) {
  uint32_t last = 0;
  for (uint32_t i = 0; full[i] != Char(0); ++i) {
    if (full[i] == separator) last = i;
  }
  const bool root = last == 0 || (last == 2 && full[1] == Char(':'));
  // The name moves one place on where the root keeps its separator.
  uint32_t end = last + 1;
  while (full[end] != Char(0)) ++end;
  if (root) {
    for (uint32_t i = end + 1; i > last + 1; --i) full[i] = full[i - 1];
    full[last + 1] = Char(0);
    *name = full + last + 2;
  } else {
    full[last] = Char(0);
    *name = full + last + 1;
  }
  *folder = full;
}

}  // namespace findtree

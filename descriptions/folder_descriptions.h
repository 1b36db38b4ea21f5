// The plug-in's own reading of a folder's description file, for when the
// host hands the panel's items without descriptions (it reads the file only
// while a panel shows a description column). Gives each item the description
// the host itself would show for it; which file is read is in
// description_file.h, the rules of its lines in description_lines.h, of its
// encodings in text_decoding.h.
//
// An item is looked up as the host looks it up: by its name, without regard
// to case; failing that by its short name (where the host has one); failing
// that, in a file in a code page, by its name and then its short name
// round-tripped through that code page (so that a line written for 日本.txt
// in an OEM file, which reads ??.txt, still describes it). Where several
// lines name an item alike, the first one's description holds.
//
// Limits: a file larger than kMaxDescriptionFileBytes is not read at all;
// paths longer than sys::kMaxPathUnits UTF-16 units are not built. Memory comes
// from sys::Allocate and sys::ReadFolderFile only; the file and the
// descriptions' blocks are held until ReleaseFolderDescriptions.
#pragma once

#include <cstdint>

#include "core/item_strings.h"
#include "descriptions/case_folding.h"
#include "descriptions/decoded_texts.h"
#include "descriptions/description_file.h"
#include "descriptions/description_lines.h"
#include "descriptions/name_index.h"
#include "descriptions/text_decoding.h"
#include "sys/system.h"

namespace descriptions {

// What the reading needs of a panel.
template <class Char>
struct FolderItems {
  const Char* folder;
  ItemStrings<Char> names;
  ItemStrings<Char> shortNames;  // first is null where the host gives none
  const ItemSizes* sizes;        // null where the host gives none
};

// Descriptions read from a file: the items' descriptions as the view reads
// them (decoded as each is read), and what they are decoded from, held until
// ReleaseFolderDescriptions.
template <class Char>
struct FolderDescriptions {
  ItemStrings<Char> strings;
  DecodedTexts<Char>* texts;
  sys::FolderFile file;
};

namespace detail {

// More alternative names than this are not collected: a 32-bit host has no
// room.
constexpr uint64_t kMaxAlternativeBytes = uint64_t{1} << 30;

// Which of an item's names a line matched: its name, then its alternatives
// in the host's order.
enum Rank : uint8_t { kByName, kByShortName, kByNameRecoded, kByShortNameRecoded, kNoRank };

// A file's text and what its lines are read with.
template <class Unit, class Char>
struct FileText {
  const Unit* text;
  uint32_t length;
  const TextDecoder<Char>& decoder;
  LineSyntax syntax;
  bool inCodePage;  // no byte-order mark: names may be round-tripped
};

// A line's name, decoded into name, as a key upper-cased into key. An ASCII
// name in a byte file goes straight from the file to the key.
template <class Unit, class Char>
NameKey<Char> LineKey(const FileText<Unit, Char>& file, const DescriptionLine<Unit>& line,
                      CaseFolder<Char> fold, Char* name, Char* key) {
  if constexpr (sizeof(Unit) == 1) {
    if (file.decoder.asciiKept) {
      uint32_t hash = 2166136261u;
      uint32_t i = 0;
      for (; i < line.nameLength; ++i) {
        const uint32_t c = static_cast<uint8_t>(line.name[i]);
        if (c >= 0x80) break;
        const uint32_t upper = sizeof(Char) == 1 ? fold.oem->upper[c] : c - 'a' < 26 ? c - 32 : c;
        key[i] = static_cast<Char>(upper);
        hash = (hash ^ upper) * 16777619u;
      }
      if (i == line.nameLength) return NameKey<Char>{key, key, i, hash, true};
    }
  }
  return fold.Key(name, file.decoder.Decode(line.name, line.nameLength, name), key);
}

// The first entry (+ 1) the key names, or 0, looking next to entry near - 1
// first; "name." names an entry "name" that has no extension where the host
// has that rule.
template <class Char>
uint32_t EntryNamed(const NameIndex<Char>& index, const NameKey<Char>& key, const HostRules& rules,
                    uint32_t near) {
  const uint32_t entry = FindEntryNear(index, key, near);
  const uint32_t length = key.length;
  if (entry != 0 || !rules.dotNamesItemWithoutExtension || length < 2 ||
      key.key[length - 1] != Char('.'))
    return entry;
  for (uint32_t i = 0; i + 1 < length; ++i) {
    if (key.key[i] == Char('.')) return 0;
  }
  NameKey<Char> shorter = key;
  shorter.length = length - 1;
  shorter.hash = HashKey(key.key, length - 1);
  return FindEntry(index, shorter);
}

template <class Unit, class Char>
TextSpan SpanOf(const FileText<Unit, Char>& file, const DescriptionLine<Unit>& line,
                const ItemSizes* sizes, uint32_t item) {
  uint32_t length;
  const Unit* text = DescriptionOf(line, file.syntax, &length);
  TextSpan span{static_cast<uint32_t>(text - file.text), length};
  if (sizes != nullptr) {
    const uint32_t skip = SizePrefixLength(text, length, sizes->At(item), file.syntax);
    span.start += skip;
    span.length -= skip;
  }
  return span;
}

// Where the lines that named no item start, in the file's order, so that
// a second reading looks at those alone; where they do not fit in memory,
// or the first reading stopped early, every line is read again.
struct UnnamedLines {
  uint32_t* starts;
  uint32_t count;
  uint32_t room;
  bool all;
};

inline void NoteUnnamed(UnnamedLines* lines, uint32_t start) {
  if (lines->all) return;
  if (lines->count == lines->room) {
    const uint32_t room = lines->room < 64 ? 64 : 2 * lines->room;
    auto* starts =
        room > lines->room ? static_cast<uint32_t*>(sys::Allocate(size_t{room} * 4)) : nullptr;
    if (starts != nullptr) {
      for (uint32_t i = 0; i < lines->count; ++i) starts[i] = lines->starts[i];
    }
    sys::Free(lines->starts);
    *lines = UnnamedLines{starts, lines->count, room, starts == nullptr};
    if (lines->all) return;
  }
  lines->starts[lines->count++] = start;
}

// Calls named(entry, line) for every entry of the index that each line
// names, in the file's order, while it returns true, and notes where each
// line naming none starts in unnamed, where given. With `only`, reads only
// the lines it lists.
template <class Unit, class Char, class Named>
bool ForEachNamedEntry(const FileText<Unit, Char>& file, const NameIndex<Char>& index,
                       const HostRules& rules, const UnnamedLines* only, UnnamedLines* unnamed,
                       Named named) {
  const size_t bound = file.decoder.Bound(kMaxNameUnits);
  auto* name = static_cast<Char*>(sys::Allocate(2 * bound * sizeof(Char)));
  if (name == nullptr) return false;
  Char* key = name + bound;
  const Unit* end = file.text + file.length;
  bool more = true;
  uint32_t near = 0;  // the entry (+ 1) the latest line named
  // Reads the line at *cursor; false at the end of the file.
  auto look = [&](const Unit** cursor) {
    const Unit* start = *cursor;
    DescriptionLine<Unit> line;
    if (!NextDescriptionLine(cursor, end, file.syntax, &line)) return false;
    if (line.nameLength == 0 || line.nameLength > kMaxNameUnits) return true;
    const NameKey<Char> lineKey = LineKey(file, line, index.fold, name, key);
    const uint32_t first = EntryNamed(index, lineKey, rules, near);
    if (first == 0 && unnamed != nullptr)
      NoteUnnamed(unnamed, static_cast<uint32_t>(start - file.text));
    if (first != 0) near = first;
    for (uint32_t entry = first; entry != 0 && more; entry = NextSame(index, entry))
      more = named(entry - 1, line);
    return true;
  };
  const bool listedOnly = only != nullptr && !only->all;
  const Unit* cursor = file.text;
  for (uint32_t listed = 0; more; ++listed) {
    if (listedOnly && listed == only->count) break;
    if (listedOnly) cursor = file.text + only->starts[listed];
    if (!look(&cursor)) break;
  }
  if (!more && unnamed != nullptr) unnamed->all = true;
  sys::Free(name);
  return true;
}

// Which line describes each item so far: its span of the file, and how the
// line named it.
struct Matches {
  TextSpan* spans;
  uint8_t* ranks;  // a Rank per item
};

// ---- Alternative names ----

// The other names the host looks items up by, with the item and the rank of
// each.
template <class Char>
struct Alternatives {
  const Char** names;
  uint32_t* items;
  uint8_t* ranks;
  Char* text;  // the names made here; short names point into the panel
  uint32_t count;
  uint64_t used;  // units of text
  uint64_t room;
};

template <class Char>
void ReleaseAlternatives(Alternatives<Char>* alternatives) {
  sys::Free(alternatives->names);
  sys::Free(alternatives->text);
  *alternatives = Alternatives<Char>{};
}

template <class Char>
bool StartAlternatives(uint32_t count, uint64_t units, Alternatives<Char>* alternatives) {
  *alternatives = Alternatives<Char>{};
  if (count == 0) return true;
  if (units * sizeof(Char) > kMaxAlternativeBytes) return false;
  const size_t perEntry = sizeof(const Char*) + sizeof(uint32_t) + 1;
  auto* table = static_cast<uint8_t*>(sys::Allocate(size_t{count} * perEntry));
  alternatives->names = reinterpret_cast<const Char**>(table);
  if (table == nullptr) return false;
  alternatives->items = reinterpret_cast<uint32_t*>(table + size_t{count} * sizeof(const Char*));
  alternatives->ranks = table + size_t{count} * (sizeof(const Char*) + sizeof(uint32_t));
  if (units == 0) return true;
  alternatives->text = static_cast<Char*>(sys::Allocate(static_cast<size_t>(units) * sizeof(Char)));
  alternatives->room = units;
  if (alternatives->text != nullptr) return true;
  ReleaseAlternatives(alternatives);
  return false;
}

template <class Char>
void AddEntry(const Char* name, uint32_t item, Rank rank, Alternatives<Char>* alternatives) {
  alternatives->names[alternatives->count] = name;
  alternatives->items[alternatives->count] = item;
  alternatives->ranks[alternatives->count++] = rank;
}

template <class Char>
uint32_t LengthOf(const Char* name) {
  return name != nullptr ? BoundedLength(name, kMaxNameUnits) : 0;
}

// Adds the item's short name, where the host gives one and it is not the
// name itself (an 8.3 name in another case finds no line the name did not).
template <class Char>
void AddShortName(const FolderItems<Char>& items, uint32_t item, CaseFolder<Char> fold,
                  Char* scratch, Alternatives<Char>* alternatives) {
  const Char* shortName = items.shortNames.At(item);
  const Char* name = items.names.At(item);
  const uint32_t length = LengthOf(shortName);
  if (length == 0 || length > kMaxNameUnits ||
      SameNames(name, LengthOf(name), shortName, length, fold, scratch))
    return;
  AddEntry(shortName, item, kByShortName, alternatives);
}

// A round trip of a name through a code page never gives more characters
// than it was given: each becomes one of the page's, or its default one.
constexpr uint32_t kScratchBytesPerUnit = 2 * 2 + 6 + 6 * 2;

// name[0..length) round-tripped through the code page into out (6 * length
// units), through scratch (kScratchBytesPerUnit * length bytes). Its length.
template <class Char>
uint32_t RoundTrip(const Char* name, uint32_t length, sys::CodePage page, uint8_t* scratch,
                   Char* out) {
  auto* units = reinterpret_cast<char16_t*>(scratch);
  uint8_t* bytes = scratch + 2 * 2 * size_t{length};
  auto* back = reinterpret_cast<char16_t*>(bytes + 6 * size_t{length});
  uint32_t unitCount = 0;
  for (uint32_t i = 0; i < length; ++i)
    utf::PutCodePoint(static_cast<uint32_t>(name[i]), units, &unitCount);
  const uint32_t byteCount = sys::FromUtf16(page, units, unitCount, bytes, 6 * length);
  const uint32_t backCount = sys::ToUtf16(page, bytes, byteCount, back);
  return FromUtf16(back, backCount, out);
}

// Adds an item's name or short name round-tripped, where the round trip
// changes it.
template <class Char>
void AddRoundTrip(const Char* original, uint32_t item, Rank rank, sys::CodePage page,
                  uint8_t* scratch, Char* recoded, Alternatives<Char>* alternatives) {
  const uint32_t length = LengthOf(original);
  if (length == 0 || length > kMaxNameUnits || detail::IsAscii(original, length)) return;
  const uint32_t recodedLength = RoundTrip(original, length, page, scratch, recoded);
  bool changed = recodedLength != length;
  for (uint32_t i = 0; i < recodedLength && !changed; ++i) changed = recoded[i] != original[i];
  if (!changed || recodedLength == 0 || recodedLength > kMaxNameUnits ||
      alternatives->used + recodedLength + 1 > alternatives->room)
    return;
  Char* kept = alternatives->text + alternatives->used;
  for (uint32_t i = 0; i < recodedLength; ++i) kept[i] = recoded[i];
  kept[recodedLength] = Char(0);
  alternatives->used += recodedLength + 1;
  AddEntry<Char>(kept, item, rank, alternatives);
}

// The units the round trips of the item's names may take (a round trip
// never gives more units than its name has), plus their ends.
template <class Char>
uint64_t RoundTripUnits(const FolderItems<Char>& items, uint32_t item) {
  if constexpr (sizeof(Char) == 1) {
    return 0;  // the 1.x host's names are in a code page already
  } else {
    const bool shortNames = items.shortNames.first != nullptr;
    return LengthOf(items.names.At(item)) + 2 +
           (shortNames ? LengthOf(items.shortNames.At(item)) : 0);
  }
}

// The other names of the items no line named by name, in the host's order:
// the short name, then (in a file in a code page) the name and the short
// name round-tripped through the code page. False when memory runs out.
template <class Char>
bool CollectAlternatives(const FolderItems<Char>& items, const Matches& matches,
                         CaseFolder<Char> fold, bool roundTrips, sys::CodePage page,
                         Alternatives<Char>* alternatives) {
  *alternatives = Alternatives<Char>{};
  const bool shortNames = items.shortNames.first != nullptr;
  roundTrips = roundTrips && sizeof(Char) > 1;
  if (!shortNames && !roundTrips) return true;
  uint32_t count = 0;
  uint64_t units = 0;
  for (uint32_t i = 0; i < items.names.count; ++i) {
    if (matches.ranks[i] != kNoRank) continue;
    count += (shortNames ? 1 : 0) + (roundTrips ? 2 : 0);
    if (roundTrips) units += RoundTripUnits(items, i);
  }
  if (!StartAlternatives(count, units, alternatives)) return false;
  if (count == 0) return true;
  const size_t scratchBytes = size_t{kMaxNameUnits} * (kScratchBytesPerUnit + 6 * sizeof(Char));
  auto* scratch = static_cast<uint8_t*>(sys::Allocate(scratchBytes));
  if (scratch == nullptr) {
    ReleaseAlternatives(alternatives);
    return false;
  }
  auto* recoded = reinterpret_cast<Char*>(scratch + size_t{kMaxNameUnits} * kScratchBytesPerUnit);
  for (uint32_t i = 0; i < items.names.count; ++i) {
    if (matches.ranks[i] != kNoRank) continue;
    if (shortNames) AddShortName(items, i, fold, recoded, alternatives);
    if (!roundTrips) continue;
    AddRoundTrip(items.names.At(i), i, kByNameRecoded, page, scratch, recoded, alternatives);
    if (shortNames)
      AddRoundTrip(items.shortNames.At(i), i, kByShortNameRecoded, page, scratch, recoded,
                   alternatives);
  }
  sys::Free(scratch);
  return true;
}

// ---- Matching ----

// Gives each item the first line that names it by its name, and notes the
// lines that name none. False when memory runs out.
template <class Unit, class Char>
bool MatchNames(const FileText<Unit, Char>& file, const FolderItems<Char>& items,
                const NameIndex<Char>& names, const HostRules& rules, const Matches& matches,
                UnnamedLines* unnamed) {
  uint32_t left = names.indexed;  // items no line has named yet
  return ForEachNamedEntry(file, names, rules, nullptr, unnamed,
                           [&](uint32_t item, const DescriptionLine<Unit>& line) {
                             if (matches.ranks[item] == kByName) return true;
                             matches.ranks[item] = kByName;
                             matches.spans[item] = SpanOf(file, line, items.sizes, item);
                             return --left != 0;
                           });
}

// Whether one of the other names is an item's name that a line named: that
// line was not noted as naming nothing.
template <class Char>
bool AnyNamedByALine(const Alternatives<Char>& others, const NameIndex<Char>& names,
                     const HostRules& rules, const Matches& matches) {
  Char* key = names.scratch + 2 * kMaxNameUnits;
  for (uint32_t i = 0; i < others.count; ++i) {
    const Char* name = others.names[i];
    const NameKey<Char> nameKey = names.fold.Key(name, LengthOf(name), key);
    for (uint32_t entry = EntryNamed(names, nameKey, rules, 0); entry != 0;
         entry = NextSame(names, entry)) {
      if (matches.ranks[entry - 1] == kByName) return true;
    }
  }
  return false;
}

// Gives the items no line named by name the first line of the best rank
// naming one of their other names: a second reading, of the lines that
// named no item, only where such items have other names.
template <class Unit, class Char>
bool MatchAlternatives(const FileText<Unit, Char>& file, const FolderItems<Char>& items,
                       const NameIndex<Char>& names, const HostRules& rules, sys::CodePage page,
                       const Matches& matches, UnnamedLines* unnamed) {
  Alternatives<Char> others;
  if (!CollectAlternatives(items, matches, names.fold, file.inCodePage, page, &others))
    return false;
  NameIndex<Char> index{};
  const ItemStrings<Char> strings{others.names, sizeof(const Char*), true, others.count};
  bool done = others.count == 0 || BuildNameIndex(strings, names.fold, &index);
  if (done && others.count != 0) {
    unnamed->all = unnamed->all || AnyNamedByALine(others, names, rules, matches);
    done = ForEachNamedEntry(file, index, rules, unnamed, nullptr,
                             [&](uint32_t entry, const DescriptionLine<Unit>& line) {
                               const uint32_t item = others.items[entry];
                               const auto rank = static_cast<Rank>(others.ranks[entry]);
                               if (rank < matches.ranks[item]) {
                                 matches.ranks[item] = rank;
                                 matches.spans[item] = SpanOf(file, line, items.sizes, item);
                               }
                               return true;
                             });
  }
  ReleaseNameIndex(&index);
  ReleaseAlternatives(&others);
  return done;
}

// Matches the items' names, then their other names, with the lines.
template <class Unit, class Char>
bool MatchLines(const FileText<Unit, Char>& file, const FolderItems<Char>& items,
                CaseFolder<Char> fold, const HostRules& rules, sys::CodePage page,
                const Matches& matches) {
  NameIndex<Char> names{};
  if (!BuildNameIndex(items.names, fold, &names)) return false;
  UnnamedLines unnamed{nullptr, 0, 0, false};
  const bool done = MatchNames(file, items, names, rules, matches, &unnamed) &&
                    MatchAlternatives(file, items, names, rules, page, matches, &unnamed);
  sys::Free(unnamed.starts);
  ReleaseNameIndex(&names);
  return done;
}

template <class Unit, class Char>
bool DescribeItems(const FileText<Unit, Char>& file, const FolderItems<Char>& items,
                   CaseFolder<Char> fold, const HostRules& rules, sys::CodePage page,
                   FolderDescriptions<Char>* out) {
  const uint32_t count = items.names.count;
  auto* spans = static_cast<TextSpan*>(sys::Allocate(size_t{count} * sizeof(TextSpan)));
  auto* ranks = static_cast<uint8_t*>(sys::Allocate(count));
  bool described = false;
  if (spans != nullptr && ranks != nullptr) {
    for (uint32_t i = 0; i < count; ++i) spans[i] = TextSpan{0, 0}, ranks[i] = kNoRank;
    const Matches matches{spans, ranks};
    described = MatchLines(file, items, fold, rules, page, matches);
  }
  sys::Free(ranks);
  described = described &&
              StartDecodedTexts(file.text, spans, count, file.decoder, &out->texts, &out->strings);
  if (!described) sys::Free(spans);
  return described;
}

// UTF-16 in the machine's order, in place. A last odd byte is one unit of its
// own, as the hosts read it; the file's block has the byte after it to spare.
inline const char16_t* Utf16InPlace(uint8_t* bytes, uint32_t size, bool bigEndian,
                                    uint32_t* units) {
  if (bigEndian) {
    for (uint32_t i = 0; i + 1 < size; i += 2) {
      const uint8_t high = bytes[i];
      bytes[i] = bytes[i + 1];
      bytes[i + 1] = high;
    }
  }
  bytes[size] = 0;
  *units = size / 2 + size % 2;
  return reinterpret_cast<const char16_t*>(bytes);
}

// UTF-32 in the machine's order, in place; a last partial unit is left out.
inline const char32_t* Utf32InPlace(uint8_t* bytes, uint32_t size, bool bigEndian,
                                    uint32_t* units) {
  *units = size / 4;
  for (uint32_t i = 0; bigEndian && i < *units * 4; i += 4) {
    const uint8_t b0 = bytes[i], b1 = bytes[i + 1];
    bytes[i] = bytes[i + 3];
    bytes[i + 1] = bytes[i + 2];
    bytes[i + 2] = b1;
    bytes[i + 3] = b0;
  }
  return reinterpret_cast<const char32_t*>(bytes);
}

template <class Char>
bool DescribeFromFile(uint8_t* bytes, uint32_t size, const FolderItems<Char>& items,
                      CaseFolder<Char> fold, const HostRules& rules, bool ansi,
                      FolderDescriptions<Char>* out) {
  const DetectedEncoding detected = DetectEncoding(bytes, size, rules.utf32Marks);
  bytes += detected.markBytes;
  size -= detected.markBytes;
  const sys::CodePage page =
      ansi ? sys::CodePage::kDescriptionAnsi : sys::CodePage::kDescriptionOem;
  TextDecoder<Char> decoder;
  PrepareDecoder(detected.encoding, page, bytes, size, &decoder);
  const bool inCodePage = detected.encoding == TextEncoding::kCodePage;
  const LineSyntax syntax{rules, detected.encoding == TextEncoding::kUtf8,
                          inCodePage && decoder.tableUsable ? decoder.table : nullptr};
  uint32_t units = 0;
  switch (detected.encoding) {
    case TextEncoding::kCodePage:
    case TextEncoding::kUtf8:
      return DescribeItems(FileText<uint8_t, Char>{bytes, size, decoder, syntax, inCodePage}, items,
                           fold, rules, page, out);
    case TextEncoding::kUtf16Le:
    case TextEncoding::kUtf16Be: {
      const bool bigEndian = detected.encoding == TextEncoding::kUtf16Be;
      const char16_t* text = Utf16InPlace(bytes, size, bigEndian, &units);
      return DescribeItems(FileText<char16_t, Char>{text, units, decoder, syntax, false}, items,
                           fold, rules, page, out);
    }
    case TextEncoding::kUtf32Le:
    case TextEncoding::kUtf32Be: {
      const bool bigEndian = detected.encoding == TextEncoding::kUtf32Be;
      const char32_t* text = Utf32InPlace(bytes, size, bigEndian, &units);
      return DescribeItems(FileText<char32_t, Char>{text, units, decoder, syntax, false}, items,
                           fold, rules, page, out);
    }
  }
  return false;
}

}  // namespace detail

// Reads the first usable description file of the folder, by the host's
// rules and settings, and gives each named item its description. With the
// items' sizes, a description's leading size is left out as the host leaves
// it out. False, with nothing held, when no file is read or it gives none
// of the items a description. *outcome, where given, tells what became of
// the files (ReadDescriptionFile).
template <class Char>
bool ReadFolderDescriptions(const HostRules& rules, const HostSettings<Char>& settings,
                            const FolderItems<Char>& items, FolderDescriptions<Char>* out,
                            sys::FileRead* outcome = nullptr) {
  *out = FolderDescriptions<Char>{};
  if (outcome != nullptr) *outcome = sys::FileRead::kMissing;
  if (items.folder == nullptr || items.names.count == 0) return false;
  OemUpperCase oem;
  if constexpr (sizeof(Char) == 1) BuildOemUpperCase(&oem);
  const CaseFolder<Char> fold{&oem};
  if (!ReadDescriptionFile(items.folder, settings, rules, items.names, fold, &out->file, outcome))
    return false;
  if (detail::DescribeFromFile(out->file.bytes, out->file.size, items, fold, rules, settings.ansi,
                               out))
    return true;
  sys::ReleaseFolderFile(&out->file);
  *out = FolderDescriptions<Char>{};
  return false;
}

template <class Char>
void ReleaseFolderDescriptions(FolderDescriptions<Char>* descriptions) {
  ReleaseDecodedTexts(descriptions->texts);
  if (descriptions->file.bytes != nullptr) sys::ReleaseFolderFile(&descriptions->file);
  *descriptions = FolderDescriptions<Char>{};
}

}  // namespace descriptions

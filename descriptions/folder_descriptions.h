// The plug-in's own reading of a folder's description file, for when the
// host hands the panel's items without descriptions (it reads the file only
// while a panel shows a description column). Gives each item the description
// the host itself would show for it; the rules of the file's lines are in
// description_lines.h, of its encodings in text_decoding.h.
//
// Which file: the first of the host's description file names that exists in
// the folder as a regular file, found without regard to case, whatever it
// holds. A name given on several lines takes the last one's description, and
// names match the items' names without regard to case.
//
// Limits: a file larger than kMaxDescriptionFileBytes is not read at all;
// paths longer than sys::kMaxPathUnits UTF-16 units are not built. Memory comes
// from sys::Allocate and sys::ReadFolderFile only and is all released but the
// result's two blocks.
#pragma once

#include <cstdint>

#include "core/item_strings.h"
#include "descriptions/description_lines.h"
#include "descriptions/name_folding.h"
#include "descriptions/name_index.h"
#include "descriptions/text_decoding.h"
#include "sys/system.h"

namespace descriptions {

// 16 MiB: four times the largest description files seen in use (about 4 MiB
// at 100,000 described files), read and indexed in well under a second,
// while its decoded text (up to 64 MiB as UTF-32) stays affordable in a
// 32-bit host.
constexpr uint32_t kMaxDescriptionFileBytes = 16u << 20;
// The names the hosts use where they keep no list of their own.
inline constexpr char kDefaultFileNames[] = "Descript.ion,Files.bbs";
// No file system gives a name component more than 255 units.
constexpr uint32_t kMaxFileNameUnits = 1024;

// Descriptions read from a file: a block holding a pointer per item (null
// where the file has none) and a block of the texts they point to.
template <class Char>
struct FolderDescriptions {
  const Char* const* perItem;
  uint32_t count;
  void* block;
  void* texts;
};

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
    used = sys::OemToUtf16(reinterpret_cast<const uint8_t*>(text), count, out);
    if (count > 0 && used == 0) return false;
  } else {
    for (uint32_t i = 0; i < count; ++i) {
      const auto c = static_cast<uint32_t>(text[i]);
      if (used + (c >= 0x10000 ? 2 : 1) >= capacity) return false;
      PutCodePoint(c, out, &used);
    }
  }
  out[used] = 0;
  return true;
}

struct ReadState {
  const char16_t* folder;
  char16_t* name;  // kMaxFileNameUnits + 1 units
  sys::FolderFile file;
  bool decided;  // a file by one of the names exists: the later names are not tried
  bool read;
  sys::FileRead outcome;  // of the file decided on; kMissing where none was
};

// Tries one name of the list; ListChar is the list's character type.
template <class ListChar>
void TryFileName(const ListChar* name, uint32_t length, ReadState* state) {
  while (length > 0 && IsBlank(*name)) ++name, --length;
  while (length > 0 && IsBlank(name[length - 1])) --length;
  if (length >= 2 && name[0] == ListChar('"') && name[length - 1] == ListChar('"'))
    ++name, length -= 2;
  if (length == 0 || !ToUtf16Path(name, length, state->name, kMaxFileNameUnits + 1)) return;
  const sys::FileRead result =
      sys::ReadFolderFile(state->folder, state->name, kMaxDescriptionFileBytes, &state->file);
  if (result == sys::FileRead::kMissing || result == sys::FileRead::kNotAFile) return;
  state->decided = true;
  state->read = result == sys::FileRead::kDone;
  state->outcome = result;
}

// Reads the first description file of the comma-separated list that exists.
template <class ListChar>
void ReadFirstFile(const ListChar* list, ReadState* state) {
  const ListChar* start = list;
  for (const ListChar* at = list; !state->decided; ++at) {
    if (*at == ListChar(',') || *at == ListChar(0)) {
      TryFileName(start, static_cast<uint32_t>(at - start), state);
      if (*at == ListChar(0)) break;
      start = at + 1;
    }
  }
}

template <class Char>
bool ReadDescriptionFile(const Char* folder, const Char* fileNames, sys::FolderFile* file,
                         sys::FileRead* outcome) {
  const uint32_t folderLength = BoundedLength(folder, sys::kMaxPathUnits);
  if (folderLength == 0 || folderLength > sys::kMaxPathUnits) return false;
  auto* paths = static_cast<char16_t*>(
      sys::Allocate((size_t{sys::kMaxPathUnits} + 1 + kMaxFileNameUnits + 1) * sizeof(char16_t)));
  if (paths == nullptr) return false;
  ReadState state{paths, paths + sys::kMaxPathUnits + 1, sys::FolderFile{nullptr, 0, false}, false,
                  false, sys::FileRead::kMissing};
  if (ToUtf16Path(folder, folderLength, paths, sys::kMaxPathUnits + 1)) {
    if (fileNames != nullptr && fileNames[0] != Char(0)) {
      ReadFirstFile(fileNames, &state);
    } else {
      ReadFirstFile(kDefaultFileNames, &state);
    }
  }
  sys::Free(paths);
  *file = state.file;
  if (outcome != nullptr) *outcome = state.outcome;
  return state.read;
}

struct Span {
  uint32_t start;
  uint32_t length;  // 0: no description
};

// The first item (+ 1) a line's decoded name names, or 0.
template <class Char>
uint32_t ItemNamed(const NameIndex<Char>& index, const Char* name, uint32_t length) {
  const uint32_t item = FindItem(index, name, length);
  if (item != 0 || !kHostRules<Char>.dotNamesItemWithoutExtension || length < 2 ||
      name[length - 1] != Char('.'))
    return item;
  for (uint32_t i = 0; i + 1 < length; ++i) {
    if (name[i] == Char('.')) return 0;
  }
  return FindItem(index, name, length - 1);
}

// Gives each item the description of the last line naming it, as spans of
// the file's units.
template <class Unit, class Char>
bool MatchLines(const Unit* text, uint32_t length, const TextDecoder<Char>& decoder,
                const NameIndex<Char>& index, const ItemSizes* sizes, Span* spans) {
  auto* name =
      static_cast<Char*>(sys::Allocate(size_t{decoder.Bound(kMaxFileNameUnits)} * sizeof(Char)));
  if (name == nullptr) return false;
  const Unit* cursor = text;
  DescriptionLine<Unit> line;
  while (NextDescriptionLine(&cursor, text + length, &line)) {
    if (line.nameLength == 0 || line.nameLength > kMaxFileNameUnits) continue;
    const uint32_t nameLength = decoder.Decode(line.name, line.nameLength, name);
    const Span span{static_cast<uint32_t>(line.text - text), line.textLength};
    for (uint32_t item = ItemNamed(index, name, nameLength); item != 0;
         item = index.nextSame[item - 1]) {
      spans[item - 1] = span;
      if (sizes == nullptr) continue;
      const uint32_t skip =
          SizePrefixLength(line.text, line.textLength, sizes->At(item - 1), kHostRules<Char>);
      spans[item - 1].start += skip;
      spans[item - 1].length -= skip;
    }
  }
  sys::Free(name);
  return true;
}

// More decoded text than this is not laid out: a 32-bit host has no room.
constexpr uint64_t kMaxTextBytes = uint64_t{1} << 31;

// The chosen descriptions' longest decoded length, terminators included; 0
// when no item has one.
template <class Char>
uint64_t TextUnits(const Span* spans, uint32_t count, const TextDecoder<Char>& decoder) {
  uint64_t units = 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (spans[i].length != 0) units += uint64_t{decoder.Bound(spans[i].length)} + 1;
  }
  return units;
}

// Lays the chosen descriptions out decoded in a block of their own, and turns
// the spans into the items' pointers where they lie: the spans' block is
// the pointers' block, so that no fresh memory is taken for either twice.
// False, with the texts' block released, when no item has a description or
// memory runs out.
template <class Unit, class Char>
bool CollectDescriptions(const Unit* text, Span* spans, uint32_t count,
                         const TextDecoder<Char>& decoder, FolderDescriptions<Char>* out) {
  static_assert(sizeof(const Char*) <= sizeof(Span), "each pointer fits where its span was");
  const uint64_t units = TextUnits(spans, count, decoder);
  // Room for the longest decoding; the pages never written cost nothing.
  if (units == 0 || units * sizeof(Char) > kMaxTextBytes) return false;
  auto* texts = static_cast<Char*>(sys::Allocate(static_cast<size_t>(units * sizeof(Char))));
  if (texts == nullptr) return false;
  auto* pointers = reinterpret_cast<uint8_t*>(spans);
  Char* next = texts;
  bool any = false;
  // Pointer i lies within spans 0 to i, which are read by then.
  for (uint32_t i = 0; i < count; ++i) {
    const Span span = spans[i];
    const Char* described = nullptr;
    if (span.length != 0) {
      const uint32_t length = decoder.Decode(text + span.start, span.length, next);
      if (length != 0) {
        described = next;
        next += length;
        *next++ = Char(0);
        any = true;
      }
    }
    __builtin_memcpy(pointers + size_t{i} * sizeof described, &described, sizeof described);
  }
  if (!any) {
    sys::Free(texts);
    return false;
  }
  *out = FolderDescriptions<Char>{reinterpret_cast<const Char* const*>(spans), count, spans, texts};
  return true;
}

template <class Unit, class Char>
bool DescribeItems(const Unit* text, uint32_t length, const TextDecoder<Char>& decoder,
                   const ItemStrings<Char>& names, const ItemSizes* sizes,
                   FolderDescriptions<Char>* out) {
  OemFolding oem;
  if constexpr (sizeof(Char) == 1) BuildOemFolding(&oem);
  NameIndex<Char> index;
  if (!BuildNameIndex(names, Folder<Char>{&oem}, &index)) return false;
  auto* spans = static_cast<Span*>(sys::Allocate(size_t{names.count} * sizeof(Span)));
  bool matched = false;
  if (spans != nullptr) {
    for (uint32_t i = 0; i < names.count; ++i) spans[i] = Span{0, 0};
    matched = MatchLines(text, length, decoder, index, sizes, spans);
  }
  // Released before the texts are laid out, so that the heap may give its
  // pages to them.
  ReleaseNameIndex(&index);
  const bool described = matched && CollectDescriptions(text, spans, names.count, decoder, out);
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
bool DescribeFromFile(uint8_t* bytes, uint32_t size, const ItemStrings<Char>& names,
                      const ItemSizes* sizes, FolderDescriptions<Char>* out) {
  const DetectedEncoding detected = DetectEncoding(bytes, size, kHostRules<Char>.utf32Marks);
  bytes += detected.markBytes;
  size -= detected.markBytes;
  TextDecoder<Char> decoder;
  PrepareDecoder(detected.encoding, bytes, size, &decoder);
  uint32_t units = 0;
  switch (detected.encoding) {
    case TextEncoding::kOem:
    case TextEncoding::kUtf8:
      return DescribeItems(bytes, size, decoder, names, sizes, out);
    case TextEncoding::kUtf16Le:
    case TextEncoding::kUtf16Be: {
      const bool bigEndian = detected.encoding == TextEncoding::kUtf16Be;
      const char16_t* text = Utf16InPlace(bytes, size, bigEndian, &units);
      return DescribeItems(text, units, decoder, names, sizes, out);
    }
    case TextEncoding::kUtf32Le:
    case TextEncoding::kUtf32Be:
      if constexpr (kHostRules<Char>.utf32Marks) {
        const bool bigEndian = detected.encoding == TextEncoding::kUtf32Be;
        const char32_t* text = Utf32InPlace(bytes, size, bigEndian, &units);
        return DescribeItems(text, units, decoder, names, sizes, out);
      }
      break;
  }
  return false;
}

}  // namespace detail

// Reads the first existing description file of `folder` (names from
// `fileNames`, a comma-separated list; "Descript.ion,Files.bbs" when null or
// empty) and gives each named item its description. With the items' sizes, a
// description's leading size is left out as the hosts leave it out. False,
// with nothing allocated, when the file is missing, unreadable, too large, or
// gives none of the items a description. *outcome, where given, tells what
// became of the file chosen (kMissing where there was none).
template <class Char>
bool ReadFolderDescriptions(const Char* folder, const Char* fileNames,
                            const ItemStrings<Char>& names, FolderDescriptions<Char>* out,
                            const ItemSizes* sizes = nullptr, sys::FileRead* outcome = nullptr) {
  *out = FolderDescriptions<Char>{nullptr, 0, nullptr, nullptr};
  if (outcome != nullptr) *outcome = sys::FileRead::kMissing;
  if (folder == nullptr || names.count == 0) return false;
  sys::FolderFile file{nullptr, 0, false};
  if (!detail::ReadDescriptionFile(folder, fileNames, &file, outcome)) return false;
  const bool described = detail::DescribeFromFile(file.bytes, file.size, names, sizes, out);
  sys::ReleaseFolderFile(&file);
  return described;
}

template <class Char>
void ReleaseFolderDescriptions(FolderDescriptions<Char>* descriptions) {
  sys::Free(descriptions->block);
  sys::Free(descriptions->texts);
  *descriptions = FolderDescriptions<Char>{nullptr, 0, nullptr, nullptr};
}

}  // namespace descriptions

// The POSIX side of reading a folder's description file, for the far2l
// module: UTF-8 paths, a name found as far2l finds it (a wildcard mask,
// without regard to ASCII case, on file systems that tell case apart), and
// the code pages and upper-casing of far2l itself.
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cwctype>

#include "core/utf.h"
#include "sys/system.h"

namespace sys {
namespace {

// ---- Paths ----

// UTF-16 to UTF-8 into a new block (free it); unpaired surrogates become
// U+FFFD. Null when there is no memory.
char* ToUtf8(const char16_t* text) {
  uint32_t units = 0;
  while (text[units] != 0) ++units;
  auto* out = static_cast<uint8_t*>(malloc(size_t{3} * units + 1));
  if (out == nullptr) return nullptr;
  uint32_t used = 0;
  for (uint32_t at = 0; at < units;)
    used += utf::PutUtf8(utf::NextUtf16(text, units, &at), out + used);
  out[used] = '\0';
  return reinterpret_cast<char*>(out);
}

unsigned AsciiLower(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 'A' && byte <= 'Z' ? byte + 32u : byte;
}

// Whether the whole of name matches the mask, '*' standing for any bytes and
// '?' for one, other bytes compared without regard to ASCII case: far2l's
// own matching of a description file's name.
bool MatchesMask(const char* name, const char* mask) {
  const char* star = nullptr;  // the mask after the last '*' seen
  const char* resume = nullptr;
  while (*name != '\0') {
    if (*mask == '*') {
      star = ++mask;
      resume = name;
    } else if (*mask == '?' || (*mask != '\0' && AsciiLower(*mask) == AsciiLower(*name))) {
      ++mask, ++name;
    } else if (star != nullptr) {
      mask = star;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*mask == '*') ++mask;
  return *mask == '\0';
}

// Opens name in the folder (a directory descriptor): a plain name exactly
// first; then, as far2l finds it, the first entry in the directory's order
// that the name matches as a mask.
int OpenByMask(int folder, const char* name) {
  // O_NONBLOCK: a FIFO by that name must not hold the host up.
  const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
  const bool mask = strpbrk(name, "*?") != nullptr;
  int file = mask ? -1 : openat(folder, name, flags);
  if (file >= 0 || (!mask && errno != ENOENT)) return file;
  const int listing = dup(folder);
  if (listing < 0) return -1;
  DIR* entries = fdopendir(listing);
  if (entries == nullptr) {
    close(listing);
    errno = ENOENT;
    return -1;
  }
  errno = ENOENT;
  file = -1;
  while (const dirent* entry = readdir(entries)) {
    const char* found = entry->d_name;
    if (strcmp(found, ".") == 0 || strcmp(found, "..") == 0 || !MatchesMask(found, name)) continue;
    file = openat(folder, found, flags);
    break;
  }
  closedir(entries);
  return file;
}

// Read, not mapped: another program cutting the file short while it is
// parsed would make a mapped page a SIGBUS in the host, which nothing but a
// process-wide signal handler could catch.
FileRead ReadOpenFile(int file, uint32_t maxBytes, FolderFile* out) {
  struct stat facts;
  if (fstat(file, &facts) != 0) return FileRead::kUnreadable;
  if (!S_ISREG(facts.st_mode)) return FileRead::kNotAFile;
  if (facts.st_size < 0 || static_cast<uint64_t>(facts.st_size) > maxBytes)
    return FileRead::kTooLarge;
  const auto length = static_cast<uint32_t>(facts.st_size);
  auto* block = static_cast<uint8_t*>(Allocate(size_t{length} + 1));
  if (block == nullptr) return FileRead::kNoMemory;
  uint32_t done = 0;
  while (done < length) {
    const ssize_t got = read(file, block + done, length - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<uint32_t>(got);
  }
  if (done != length) {  // the file shrank, or cannot be read
    Free(block);
    return FileRead::kUnreadable;
  }
  *out = FolderFile{block, length, false};
  return FileRead::kDone;
}

// ---- Code pages and case ----

// far2l exports its Win32 conversions; the module finds them in the host at
// run time. wchar_t is UTF-32 there.
using MultiByteToWideCharFn = int (*)(unsigned, uint32_t, const char*, int, wchar_t*, int);
using WideCharToMultiByteFn = int (*)(unsigned, uint32_t, const wchar_t*, int, char*, int,
                                      const char*, int*);
using CharUpperBuffFn = uint32_t (*)(wchar_t*, uint32_t);
using CompareStringFn = int (*)(uint32_t, uint32_t, const wchar_t*, int, const wchar_t*, int);

// CP_ACP and CP_OEMCP: far2l picks both from the locale (and its own
// override), and knows no UTF-8 mode of the Windows kind.
unsigned PageNumber(CodePage page) {
  return page == CodePage::kDescriptionAnsi ? 0 : 1;
}

// Looked up on each use (a conversion is rare: one table per reading), which
// needs no guarded static.
template <class Fn>
Fn HostFunction(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, name));
}

// The upper halves of the pages used outside far2l, where its conversions
// are not at hand: CP437, the OEM page far2l takes for locales it has no
// other for; the ANSI page as Latin-1.
constexpr char16_t kCp437UpperHalf[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

char16_t FallbackUnit(CodePage page, uint8_t byte) {
  if (byte < 0x80 || page == CodePage::kDescriptionAnsi) return byte;
  return kCp437UpperHalf[byte - 0x80];
}

uint8_t FallbackByte(CodePage page, uint32_t c) {
  if (c < 0x80 || (page == CodePage::kDescriptionAnsi && c < 0x100)) return static_cast<uint8_t>(c);
  for (uint32_t b = 0; b < 128 && page != CodePage::kDescriptionAnsi; ++b) {
    if (kCp437UpperHalf[b] == c) return static_cast<uint8_t>(0x80 + b);
  }
  return '?';
}

// UTF-32 from the host to UTF-16.
uint32_t NarrowToUtf16(const wchar_t* wide, int count, char16_t* out, uint32_t capacity) {
  uint32_t used = 0;
  for (int i = 0; i < count; ++i) {
    const uint32_t c = utf::ValidCodePoint(static_cast<uint32_t>(wide[i]));
    if (used + (utf::NeedsPair(c) ? 2 : 1) > capacity) break;
    utf::PutCodePoint(c, out, &used);
  }
  return used;
}

}  // namespace

FileRead ReadFolderFile(const char16_t* folder, const char16_t* name, uint32_t maxBytes,
                        FolderFile* out) {
  char* folderPath = ToUtf8(folder);
  char* fileName = ToUtf8(name);
  FileRead result = FileRead::kNoMemory;
  if (folderPath != nullptr && fileName != nullptr) {
    result = FileRead::kMissing;
    const int directory = open(folderPath, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
      const int file = OpenByMask(directory, fileName);
      if (file >= 0) {
        result = ReadOpenFile(file, maxBytes, out);
        close(file);
      } else if (errno != ENOENT && errno != ENOTDIR) {
        result = FileRead::kUnreadable;
      }
      close(directory);
    }
  }
  free(folderPath);
  free(fileName);
  return result;
}

void ReleaseFolderFile(FolderFile* file) {
  Free(file->bytes);
  *file = FolderFile{nullptr, 0, false};
}

uint32_t ToUtf16(CodePage page, const uint8_t* text, uint32_t count, char16_t* out) {
  if (count == 0) return 0;
  if (auto convert = HostFunction<MultiByteToWideCharFn>("WINPORT_MultiByteToWideChar")) {
    auto* wide = static_cast<wchar_t*>(malloc(size_t{count} * sizeof(wchar_t)));
    if (wide == nullptr) return 0;
    const int units = convert(PageNumber(page), 0, reinterpret_cast<const char*>(text),
                              static_cast<int>(count), wide, static_cast<int>(count));
    const uint32_t used = units > 0 ? NarrowToUtf16(wide, units, out, count) : 0;
    free(wide);
    return used;
  }
  for (uint32_t i = 0; i < count; ++i) out[i] = FallbackUnit(page, text[i]);
  return count;
}

uint32_t FromUtf16(CodePage page, const char16_t* text, uint32_t count, uint8_t* out,
                   uint32_t capacity) {
  if (count == 0) return 0;
  if (auto convert = HostFunction<WideCharToMultiByteFn>("WINPORT_WideCharToMultiByte")) {
    auto* wide = static_cast<wchar_t*>(malloc(size_t{count} * sizeof(wchar_t)));
    if (wide == nullptr) return 0;
    int units = 0;
    for (uint32_t at = 0; at < count;)
      wide[units++] = static_cast<wchar_t>(utf::NextUtf16(text, count, &at));
    const int written = convert(PageNumber(page), 0, wide, units, reinterpret_cast<char*>(out),
                                static_cast<int>(capacity), nullptr, nullptr);
    free(wide);
    return written > 0 ? static_cast<uint32_t>(written) : 0;
  }
  uint32_t written = 0;
  for (uint32_t at = 0; at < count && written < capacity;)
    out[written++] = FallbackByte(page, utf::NextUtf16(text, count, &at));
  return written;
}

// far2l compares names by its collation without regard to case; its own
// upper-casing is the nearest a hash can follow.
bool SameName(const wchar_t* a, uint32_t aLength, const wchar_t* b, uint32_t bLength) {
  constexpr uint32_t kIgnoreCase = 0x1;     // NORM_IGNORECASE
  constexpr uint32_t kStringSort = 0x1000;  // SORT_STRINGSORT
  constexpr int kEqual = 2;                 // CSTR_EQUAL
  if (auto compare = HostFunction<CompareStringFn>("WINPORT_CompareString"))
    return compare(0, kIgnoreCase | kStringSort, a, static_cast<int>(aLength), b,
                   static_cast<int>(bLength)) == kEqual;
  if (aLength != bLength) return false;
  for (uint32_t i = 0; i < aLength; ++i) {
    if (towupper(static_cast<wint_t>(a[i])) != towupper(static_cast<wint_t>(b[i]))) return false;
  }
  return true;
}

void UpperCase(wchar_t* text, uint32_t count) {
  if (count == 0) return;
  if (auto upper = HostFunction<CharUpperBuffFn>("WINPORT_CharUpperBuff")) {
    upper(text, count);
    return;
  }
  for (uint32_t i = 0; i < count; ++i)
    text[i] = static_cast<wchar_t>(towupper(static_cast<wint_t>(text[i])));
}

}  // namespace sys

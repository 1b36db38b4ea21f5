// The POSIX side of reading a folder's description file, for the far2l
// module: UTF-8 paths, a name found without regard to ASCII case on file
// systems that tell case apart (as far2l finds DESCRIPT.ION), and the OEM code
// page as far2l itself converts it.
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "sys/system.h"

namespace sys {
namespace {

// ---- Paths ----

// UTF-16 to UTF-8 into a new block (free it); unpaired surrogates become
// U+FFFD. Null when there is no memory.
char* ToUtf8(const char16_t* text) {
  size_t units = 0;
  while (text[units] != 0) ++units;
  auto* out = static_cast<char*>(malloc(3 * units + 1));
  if (out == nullptr) return nullptr;
  size_t used = 0;
  for (size_t i = 0; i < units; ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out[used++] = static_cast<char>(c);
    } else if (c < 0x800) {
      out[used++] = static_cast<char>(0xC0 | (c >> 6));
      out[used++] = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out[used++] = static_cast<char>(0xE0 | (c >> 12));
      out[used++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out[used++] = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out[used++] = static_cast<char>(0xF0 | (c >> 18));
      out[used++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out[used++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out[used++] = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  out[used] = '\0';
  return out;
}

unsigned AsciiLower(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 'A' && byte <= 'Z' ? byte + 32u : byte;
}

bool SameIgnoringAsciiCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    if (AsciiLower(*a) != AsciiLower(*b)) return false;
    if (*a == '\0') return true;
  }
}

// Opens name in the folder (a directory descriptor): the exact name first,
// then the first entry, in the directory's order, that differs only in case.
int OpenNoCase(int folder, const char* name) {
  // O_NONBLOCK: a FIFO by that name must not hold the host up.
  const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
  int file = openat(folder, name, flags);
  if (file >= 0 || errno != ENOENT) return file;
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
    if (SameIgnoringAsciiCase(entry->d_name, name)) {
      file = openat(folder, entry->d_name, flags);
      break;
    }
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

// ---- The OEM code page ----

// far2l exports its Win32 conversions; the module finds them in the host at
// run time. wchar_t is UTF-32 there.
using MultiByteToWideCharFn = int (*)(unsigned, uint32_t, const char*, int, wchar_t*, int);
using WideCharToMultiByteFn = int (*)(unsigned, uint32_t, const wchar_t*, int, char*, int,
                                      const char*, int*);
constexpr unsigned kOemCodePage = 1;  // CP_OEMCP

// Looked up on each use (a conversion is rare: one table per reading), which
// needs no guarded static.
MultiByteToWideCharFn HostMultiByteToWideChar() {
  return reinterpret_cast<MultiByteToWideCharFn>(
      dlsym(RTLD_DEFAULT, "WINPORT_MultiByteToWideChar"));
}

WideCharToMultiByteFn HostWideCharToMultiByte() {
  return reinterpret_cast<WideCharToMultiByteFn>(
      dlsym(RTLD_DEFAULT, "WINPORT_WideCharToMultiByte"));
}

// CP437, the page far2l takes for locales it has no other for; used outside
// far2l, where its conversions are not at hand.
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

// UTF-32 from the host to UTF-16.
uint32_t NarrowToUtf16(const wchar_t* wide, int count, char16_t* out, uint32_t capacity) {
  uint32_t used = 0;
  for (int i = 0; i < count; ++i) {
    auto c = static_cast<uint32_t>(wide[i]);
    if (c > 0x10FFFF) c = 0xFFFD;
    if (c >= 0x10000 && used + 2 <= capacity) {
      out[used++] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out[used++] = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else if (c < 0x10000 && used < capacity) {
      out[used++] = static_cast<char16_t>(c);
    }
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
      const int file = OpenNoCase(directory, fileName);
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

uint32_t OemToUtf16(const uint8_t* text, uint32_t count, char16_t* out) {
  if (count == 0) return 0;
  if (MultiByteToWideCharFn convert = HostMultiByteToWideChar()) {
    auto* wide = static_cast<wchar_t*>(malloc(size_t{count} * sizeof(wchar_t)));
    if (wide == nullptr) return 0;
    const int units = convert(kOemCodePage, 0, reinterpret_cast<const char*>(text),
                              static_cast<int>(count), wide, static_cast<int>(count));
    const uint32_t used = units > 0 ? NarrowToUtf16(wide, units, out, count) : 0;
    free(wide);
    return used;
  }
  for (uint32_t i = 0; i < count; ++i)
    out[i] = text[i] < 0x80 ? text[i] : kCp437UpperHalf[text[i] - 0x80];
  return count;
}

uint32_t Utf16ToOem(const char16_t* text, uint32_t count, uint8_t* out, uint32_t capacity) {
  if (count == 0) return 0;
  if (WideCharToMultiByteFn convert = HostWideCharToMultiByte()) {
    auto* wide = static_cast<wchar_t*>(malloc(size_t{count} * sizeof(wchar_t)));
    if (wide == nullptr) return 0;
    int units = 0;
    for (uint32_t i = 0; i < count; ++i) {
      uint32_t c = text[i];
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && text[i + 1] >= 0xDC00 &&
          text[i + 1] <= 0xDFFF)
        c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
      wide[units++] = static_cast<wchar_t>(c);
    }
    const int written = convert(kOemCodePage, 0, wide, units, reinterpret_cast<char*>(out),
                                static_cast<int>(capacity), nullptr, nullptr);
    free(wide);
    return written > 0 ? static_cast<uint32_t>(written) : 0;
  }
  uint32_t written = 0;
  for (uint32_t i = 0; i < count && written < capacity; ++i) {
    uint8_t byte = '?';
    if (text[i] < 0x80) byte = static_cast<uint8_t>(text[i]);
    for (uint32_t b = 0; b < 128 && byte == '?' && text[i] >= 0x80; ++b) {
      if (kCp437UpperHalf[b] == text[i]) byte = static_cast<uint8_t>(0x80 + b);
    }
    if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < count) ++i;  // one character
    out[written++] = byte;
  }
  return written;
}

}  // namespace sys

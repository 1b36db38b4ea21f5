// The native build's side of the plug-in's system services.
#include "tests/doubles/fake_system.h"

#include <locale.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>

namespace fake {
namespace {

System theSystem;

// Handles the plug-in gets back; any non-null value will do.
int inputTag, outputTag;

}  // namespace

System& ResetSystem() {
  theSystem = System{};
  return theSystem;
}

System& TheSystem() {
  return theSystem;
}

sys::ConsoleEvent KeyDown(uint32_t character, uint16_t virtualKey, uint32_t controlKeyState) {
  return sys::ConsoleEvent{sys::kKeyEvent, true, virtualKey, character, controlKeyState, 0};
}

sys::ConsoleEvent KeyUp(uint32_t character, uint16_t virtualKey) {
  return sys::ConsoleEvent{sys::kKeyEvent, false, virtualKey, character, 0, 0};
}

sys::ConsoleEvent MouseEvent(uint32_t buttons) {
  return sys::ConsoleEvent{sys::kMouseEvent, false, 0, 0, 0, buttons};
}

std::array<char16_t, 128> Cp866UpperHalf() {
  // clang-format off
  return {
      // 0x80-0xAF: Cyrillic capitals, then the small letters a to p
      0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
      0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
      0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
      0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
      0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
      0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
      // 0xB0-0xDF: shades and box drawing
      0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
      0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
      0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
      0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
      0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
      0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
      // 0xE0-0xFF: the small letters r to ya, then Yo, Ukrainian letters, signs
      0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
      0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
      0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,
      0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,
  };
  // clang-format on
}

std::array<char16_t, 128> Cp1251UpperHalf() {
  std::array<char16_t, 128> half = {
      // 0x80-0xBF: Serbian, Macedonian, Ukrainian and Belarusian letters, signs
      0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
      0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
      0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
      0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
      0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
  };
  // 0xC0-0xFF: the Russian capitals, then the small letters
  for (int b = 0x40; b < 0x80; ++b) half[b] = static_cast<char16_t>(0x410 + b - 0x40);
  return half;
}

void AddFile(const std::u16string& folder, const std::u16string& name,
             const std::vector<uint8_t>& bytes, sys::FileRead kind) {
  auto& files = theSystem.fileSystem.files;
  for (File& file : files) {
    if (file.folder == folder && file.name == name) {
      file.bytes = bytes;
      file.kind = kind;
      return;
    }
  }
  files.push_back(File{folder, name, bytes, kind});
}

sys::ConsoleEvent FocusEvent() {
  return sys::ConsoleEvent{0x0010, false, 0, 0, 0, 0};
}

}  // namespace fake

namespace sys {

using fake::theSystem;

void Beep() {
  ++theSystem.beeps;
}

Handle ConsoleInput() {
  return &fake::inputTag;
}

Handle ConsoleOutput() {
  return &fake::outputTag;
}

bool ScreenBufferHeight(Handle output, int* rows) {
  if (output != &fake::outputTag || theSystem.console.bufferInfoFails) return false;
  *rows = theSystem.console.bufferRows;
  return true;
}

void SetCursorPosition(Handle output, int column, int row) {
  if (output == &fake::outputTag) theSystem.console.cursorMoves.emplace_back(column, row);
}

bool PeekInput(Handle input, ConsoleEvent* event) {
  fake::Console& console = theSystem.console;
  ++console.peeks;
  if (input != &fake::inputTag || console.inputFails) return false;
  if (console.queue.empty()) {
    // Nothing will ever arrive in a test: report the console as unreadable
    // rather than hang.
    ++console.waitsOnEmptyQueue;
    return false;
  }
  *event = console.queue.front();
  return true;
}

bool PeekInputUnicode(Handle input, ConsoleEvent* event) {
  return PeekInput(input, event);
}

bool RemoveInput(Handle input) {
  fake::Console& console = theSystem.console;
  if (input != &fake::inputTag || console.inputFails || console.queue.empty()) return false;
  console.queue.pop_front();
  ++console.removals;
  return true;
}

int ReadUserRegistryValue(const char* key, const char* value, uint8_t* buffer, uint32_t size) {
  auto found = theSystem.registry.find(std::string(key) + "\\" + value);
  if (found == theSystem.registry.end() || found->second.size() > size) return -1;
  if (!found->second.empty()) std::memcpy(buffer, found->second.data(), found->second.size());
  return static_cast<int>(found->second.size());
}

const char* Environment(const char* name) {
  auto found = theSystem.environment.find(name);
  return found == theSystem.environment.end() ? nullptr : found->second.c_str();
}

const char* HomeFolder() {
  return theSystem.home.empty() ? nullptr : theSystem.home.c_str();
}

void* Allocate(size_t bytes) {
  if (theSystem.allocationFails) return nullptr;
  ++theSystem.liveBlocks;
  return std::malloc(bytes);
}

void Free(void* block) {
  if (block != nullptr) --theSystem.liveBlocks;
  std::free(block);
}

namespace {

char16_t AsciiLower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

bool SameNameIgnoringCase(const std::u16string& a, const char16_t* b) {
  size_t i = 0;
  for (; i < a.size(); ++i) {
    if (b[i] == 0 || AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return b[i] == 0;
}

}  // namespace

// The file's bytes sit past a gap in their heap block, so that a caller
// freeing them with Free rather than ReleaseFolderFile fails under the
// sanitizers; they count as a live block until released.
constexpr size_t kFileGap = 16;

FileRead ReadFolderFile(const char16_t* folder, const char16_t* name, uint32_t maxBytes,
                        FolderFile* out) {
  fake::FileSystem& fileSystem = theSystem.fileSystem;
  fileSystem.lookups.push_back(std::u16string(folder) + u"|" + name);
  for (const fake::File& file : fileSystem.files) {
    if (file.folder != folder || !SameNameIgnoringCase(file.name, name)) continue;
    if (file.kind != FileRead::kDone) return file.kind;
    if (file.bytes.size() > maxBytes) return FileRead::kTooLarge;
    auto* block = static_cast<uint8_t*>(Allocate(kFileGap + file.bytes.size() + 1));
    if (block == nullptr) return FileRead::kNoMemory;
    uint8_t* bytes = block + kFileGap;
    if (!file.bytes.empty()) std::memcpy(bytes, file.bytes.data(), file.bytes.size());
    fileSystem.bytesRead += file.bytes.size();
    *out = FolderFile{bytes, static_cast<uint32_t>(file.bytes.size()), true};
    return FileRead::kDone;
  }
  return FileRead::kMissing;
}

void ReleaseFolderFile(FolderFile* file) {
  if (file->bytes != nullptr) Free(file->bytes - kFileGap);
  *file = FolderFile{nullptr, 0, false};
}

namespace {

const std::array<char16_t, 128>& UpperHalf(CodePage page) {
  return page == CodePage::kDescriptionAnsi ? theSystem.ansiUpperHalf : theSystem.oemUpperHalf;
}

// Unicode's simple upper-casing, the same on every machine: the C.UTF-8
// locale's table, not the process's locale.
uint32_t Upper(uint32_t c) {
  static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  return static_cast<uint32_t>(towupper_l(static_cast<wint_t>(c), utf8));
}

}  // namespace

uint32_t ToUtf16(CodePage page, const uint8_t* text, uint32_t count, char16_t* out) {
  for (uint32_t i = 0; i < count; ++i)
    out[i] = text[i] < 0x80 ? text[i] : UpperHalf(page)[text[i] - 0x80];
  return count;
}

uint32_t FromUtf16(CodePage page, const char16_t* text, uint32_t count, uint8_t* out,
                   uint32_t capacity) {
  if (capacity < count) return 0;
  uint32_t written = 0;
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t byte = '?';
    if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < count && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;  // a surrogate pair is one character, as Windows converts it
    } else if (text[i] < 0x80) {
      byte = static_cast<uint8_t>(text[i]);
    } else {
      for (int b = 0; b < 128; ++b) {
        if (UpperHalf(page)[b] == text[i]) {
          byte = static_cast<uint8_t>(0x80 + b);
          break;
        }
      }
    }
    out[written++] = byte;
  }
  return written;
}

// Unit by unit, surrogates untouched, as Windows upper-cases UTF-16.
void UpperCase(char16_t* text, uint32_t count) {
  ++theSystem.upperCaseCalls;
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t upper = Upper(text[i]);
    if (upper < 0x10000) text[i] = static_cast<char16_t>(upper);
  }
}

namespace {

template <class Wide>
bool SameUpperCase(const Wide* a, uint32_t aLength, const Wide* b, uint32_t bLength) {
  ++theSystem.sameNameCalls;
  if (aLength != bLength) return false;
  const auto& kept = theSystem.caseKeptInComparison;
  for (uint32_t i = 0; i < aLength; ++i) {
    const auto x = static_cast<uint32_t>(a[i]);
    const auto y = static_cast<uint32_t>(b[i]);
    const bool keepsCase = std::find(kept.begin(), kept.end(), x) != kept.end() ||
                           std::find(kept.begin(), kept.end(), y) != kept.end();
    if (keepsCase ? x != y : Upper(x) != Upper(y)) return false;
  }
  return true;
}

}  // namespace

bool SameName(const char16_t* a, uint32_t aLength, const char16_t* b, uint32_t bLength) {
  return SameUpperCase(a, aLength, b, bLength);
}

bool SameName(const wchar_t* a, uint32_t aLength, const wchar_t* b, uint32_t bLength) {
  return SameUpperCase(a, aLength, b, bLength);
}

void UpperCase(wchar_t* text, uint32_t count) {
  ++theSystem.upperCaseCalls;
  for (uint32_t i = 0; i < count; ++i)
    text[i] = static_cast<wchar_t>(Upper(static_cast<uint32_t>(text[i])));
}

}  // namespace sys

// Case folding for matching item names with the names in a description file,
// which both hosts compare without regard to case.
//
// Unicode text folds by a simple one-to-one table: ASCII, Latin-1, Latin
// Extended-A, Greek and Cyrillic (the scripts of the host's interface
// languages and of nearly every description file); other characters compare
// as they are. Single-byte OEM text folds through a 256-byte table built from
// the platform's own conversion of the OEM code page.
#pragma once

#include <cstdint>

#include "sys/system.h"

namespace descriptions {

// The simple lower-case fold of one code point (or UTF-16 unit).
constexpr uint32_t FoldUnicode(uint32_t c) {
  if (c < 0x80) return c - u'A' < 26 ? c + 32 : c;
  if (c < 0xC0) return c;
  if (c <= 0xDE) return c == 0xD7 ? c : c + 32;  // not the multiplication sign
  if (c < 0x100) return c;
  if (c < 0x180) {  // Latin Extended-A: pairs, capital first
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149) return c;
    if (c == 0x178) return 0xFF;
    if (c == 0x17F) return u's';
    if (c < 0x138 || (c >= 0x14A && c <= 0x177)) return c | 1;
    return (c & 1) ? c + 1 : c;  // 0x139-0x148 and 0x179-0x17E: capital odd
  }
  if (c >= 0x386 && c <= 0x3AB) {  // Greek capitals
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 37;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 63;
    if (c >= 0x391 && c != 0x3A2) return c + 32;
    return c;
  }
  if (c == 0x3C2) return 0x3C3;   // final sigma
  if (c >= 0x400 && c < 0x530) {  // Cyrillic
    if (c < 0x410) return c + 80;
    if (c < 0x430) return c + 32;
    if (c == 0x4C0) return 0x4CF;
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || c >= 0x4D0) return c | 1;
    if (c >= 0x4C1 && c <= 0x4CE) return (c & 1) ? c + 1 : c;
  }
  return c;
}

// Lower-case counterparts of the OEM code page's bytes.
struct OemFolding {
  uint8_t lower[256];
};

// Builds the table: ASCII letters always, the upper half where the platform
// maps a byte to a character whose fold is another byte of the same page.
inline void BuildOemFolding(OemFolding* folding) {
  for (uint32_t b = 0; b < 256; ++b)
    folding->lower[b] = static_cast<uint8_t>(FoldUnicode(b & 0x7F) | (b & 0x80));
  uint8_t upper[128];
  char16_t unicode[128];
  char16_t folded[128];
  uint8_t back[3 * 128];
  char16_t check[3 * 128];
  for (uint32_t i = 0; i < 128; ++i) upper[i] = static_cast<uint8_t>(0x80 + i);
  // A page with lead bytes (the East Asian ones) gives fewer characters than
  // bytes; its upper half is then left as it is.
  if (sys::OemToUtf16(upper, 128, unicode) != 128) return;
  for (uint32_t i = 0; i < 128; ++i) folded[i] = static_cast<char16_t>(FoldUnicode(unicode[i]));
  if (sys::Utf16ToOem(folded, 128, back, sizeof back) != 128) return;
  if (sys::OemToUtf16(back, 128, check) != 128) return;
  for (uint32_t i = 0; i < 128; ++i) {
    // Only an exact round trip: never a best-fit look-alike.
    if (check[i] == folded[i]) folding->lower[0x80 + i] = back[i];
  }
}

// Folds one unit of Char text: the byte through the table for `char`, the
// code point or UTF-16 unit through FoldUnicode otherwise.
template <class Char>
struct Folder {
  const OemFolding* oem;
  uint32_t operator()(Char c) const {
    if constexpr (sizeof(Char) == 1) {
      return oem->lower[static_cast<uint8_t>(c)];
    } else {
      const auto code = static_cast<uint32_t>(c);
      if (code < 0x80) return code - u'A' < 26 ? code + 32 : code;
      return FoldUnicode(code);
    }
  }
};

}  // namespace descriptions

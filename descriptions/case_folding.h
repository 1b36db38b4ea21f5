// Case, for matching item names with the names in a description file, which
// the hosts compare without regard to case over the whole of Unicode: a name
// is compared in the host's own upper case, which the platform gives (ASCII
// letters are upper-cased here, without asking it). Single-byte OEM text
// goes through a 256-byte table built from the platform's upper-casing and
// its conversion of the OEM code page.
#pragma once

#include <cstdint>
#include <type_traits>

#include "sys/system.h"

namespace descriptions {

// Upper-case counterparts of the OEM code page's bytes.
struct OemUpperCase {
  uint8_t upper[256];
};

// Builds the table: ASCII letters always, the upper half where the platform
// maps a byte to a character whose upper case is another byte of the page.
inline void BuildOemUpperCase(OemUpperCase* table) {
  for (uint32_t b = 0; b < 256; ++b)
    table->upper[b] = static_cast<uint8_t>(b - 'a' < 26 ? b - 32 : b);
  uint8_t bytes[128];
  for (uint32_t i = 0; i < 128; ++i) bytes[i] = static_cast<uint8_t>(0x80 + i);
  // A page with lead bytes (the East Asian ones) gives fewer characters than
  // bytes; its upper half is then left as it is.
  char16_t upper[128];
  if (sys::ToUtf16(sys::CodePage::kOem, bytes, 128, upper) != 128) return;
  sys::UpperCase(upper, 128);
  uint8_t back[3 * 128];
  char16_t check[3 * 128];
  if (sys::FromUtf16(sys::CodePage::kOem, upper, 128, back, sizeof back) != 128) return;
  if (sys::ToUtf16(sys::CodePage::kOem, back, 128, check) != 128) return;
  for (uint32_t i = 0; i < 128; ++i) {
    // Only an exact round trip: never a best-fit look-alike.
    if (check[i] == upper[i]) table->upper[0x80 + i] = back[i];
  }
}

// A name as a hash table looks it up: as written, and in upper case with
// that form's hash.
template <class Char>
struct NameKey {
  const Char* name;
  const Char* key;
  uint32_t length;
  uint32_t hash;
  bool ascii;  // the name is all ASCII
};

// The hash of an upper-case name.
template <class Char>
uint32_t HashKey(const Char* key, uint32_t length) {
  uint32_t hash = 2166136261u;  // FNV-1a
  for (uint32_t i = 0; i < length; ++i) hash = (hash ^ static_cast<uint32_t>(key[i])) * 16777619u;
  return hash;
}

// Writes the upper case of text[0..length) to out (which may be text): the
// byte through the table for `char`, UTF-16 units or code points through
// the platform otherwise.
template <class Char>
struct CaseFolder {
  const OemUpperCase* oem;  // for `char` only

  void operator()(const Char* text, uint32_t length, Char* out) const { Key(text, length, out); }

  // The name's key, its upper case written to out, in one pass where the
  // name is ASCII.
  NameKey<Char> Key(const Char* name, uint32_t length, Char* out) const {
    uint32_t hash = 2166136261u;
    bool ascii = true;
    for (uint32_t i = 0; i < length; ++i) {
      const auto c = static_cast<uint32_t>(static_cast<std::make_unsigned_t<Char>>(name[i]));
      ascii = ascii && c < 0x80;
      const uint32_t upper = sizeof(Char) == 1 ? oem->upper[c] : c - 'a' < 26 ? c - 32 : c;
      out[i] = static_cast<Char>(upper);
      hash = (hash ^ static_cast<uint32_t>(out[i])) * 16777619u;
    }
    if constexpr (sizeof(Char) > 1) {
      if (!ascii) {
        sys::UpperCase(out, length);
        hash = HashKey(out, length);
      }
    }
    return NameKey<Char>{name, out, length, hash, ascii};
  }
};

}  // namespace descriptions

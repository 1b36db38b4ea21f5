// UTF-16 and UTF-8 arithmetic shared by every build: surrogate pairs, and
// code points to and from UTF-8. Where a sequence is bad, U+FFFD stands in
// for it, as the hosts decode such text.
#pragma once

#include <cstdint>

namespace utf {

constexpr uint32_t kReplacement = 0xFFFD;
constexpr uint32_t kLastCodePoint = 0x10FFFF;

constexpr bool IsHighSurrogate(uint32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

constexpr bool IsLowSurrogate(uint32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

constexpr bool IsSurrogate(uint32_t unit) {
  return unit >= 0xD800 && unit <= 0xDFFF;
}

// The code point of a high and a low surrogate.
constexpr uint32_t CombinePair(uint32_t high, uint32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

constexpr bool NeedsPair(uint32_t c) {
  return c >= 0x10000;
}

constexpr char16_t HighSurrogateOf(uint32_t c) {
  return static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
}

constexpr char16_t LowSurrogateOf(uint32_t c) {
  return static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
}

// A code point a UTF-32 unit may hold: surrogates and values past U+10FFFF
// become U+FFFD.
constexpr uint32_t ValidCodePoint(uint32_t c) {
  return c > kLastCodePoint || IsSurrogate(c) ? kReplacement : c;
}

// Appends a code point as UTF-16 (Wide of 16 bits) or as itself.
template <class Wide>
void PutCodePoint(uint32_t c, Wide* out, uint32_t* used) {
  if (sizeof(Wide) == 2 && NeedsPair(c)) {
    out[(*used)++] = static_cast<Wide>(HighSurrogateOf(c));
    out[(*used)++] = static_cast<Wide>(LowSurrogateOf(c));
    return;
  }
  out[(*used)++] = static_cast<Wide>(c);
}

// The code point at units[*at] (a pair taken together), advancing past it;
// an unpaired surrogate gives U+FFFD.
inline uint32_t NextUtf16(const char16_t* units, uint32_t count, uint32_t* at) {
  const uint32_t unit = units[(*at)++];
  if (IsHighSurrogate(unit) && *at < count && IsLowSurrogate(units[*at]))
    return CombinePair(unit, units[(*at)++]);
  return IsSurrogate(unit) ? kReplacement : unit;
}

constexpr uint32_t Utf8Length(uint32_t c) {
  return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// Writes one code point as UTF-8; returns the bytes written.
inline uint32_t PutUtf8(uint32_t c, uint8_t* out) {
  const uint32_t length = Utf8Length(c);
  if (length == 1) {
    out[0] = static_cast<uint8_t>(c);
    return 1;
  }
  static constexpr uint8_t kLead[5] = {0, 0, 0xC0, 0xE0, 0xF0};
  for (uint32_t i = length - 1; i > 0; --i, c >>= 6)
    out[i] = static_cast<uint8_t>(0x80 | (c & 0x3F));
  out[0] = static_cast<uint8_t>(kLead[length] | c);
  return length;
}

// Decodes the UTF-8 sequence at bytes[*at], advancing past it; a bad or cut
// sequence gives U+FFFD and advances by one byte.
inline uint32_t NextUtf8(const uint8_t* bytes, uint32_t size, uint32_t* at) {
  const uint8_t lead = bytes[(*at)++];
  if (lead < 0x80) return lead;
  uint32_t extra;
  uint32_t c;
  uint32_t least;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, c = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, c = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, c = lead & 0x07, least = 0x10000;
  } else {
    return kReplacement;
  }
  if (size - *at < extra) return kReplacement;
  for (uint32_t i = 0; i < extra; ++i) {
    const uint8_t next = bytes[*at + i];
    if ((next & 0xC0) != 0x80) return kReplacement;
    c = (c << 6) | (next & 0x3F);
  }
  if (c < least || ValidCodePoint(c) != c) return kReplacement;
  *at += extra;
  return c;
}

}  // namespace utf

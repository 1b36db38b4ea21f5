// A description file's encodings, and pieces of its text as Char.
//
// As both hosts read it: a byte-order mark names UTF-8, UTF-16 LE or UTF-16
// BE (far2l knows UTF-32 LE and BE marks too); a file without one is in the OEM code page (UTF-8
// without a mark too, as the hosts show it). UTF-8 errors become U+FFFD; so do unpaired surrogates
// where Char holds code points. For `char` Unicode text goes to the OEM code page through the
// platform, whose default character stands for what the page lacks.
//
// The file is never decoded whole: lines are split on its own units (bytes,
// or UTF-16 units), and only names and the descriptions used are decoded.
#pragma once

#include <cstdint>

#include "sys/system.h"

namespace descriptions {

enum class TextEncoding : uint8_t { kOem, kUtf8, kUtf16Le, kUtf16Be, kUtf32Le, kUtf32Be };

struct DetectedEncoding {
  TextEncoding encoding;
  uint32_t markBytes;  // the byte-order mark's length, skipped
};

inline DetectedEncoding DetectEncoding(const uint8_t* bytes, uint32_t size, bool utf32Marks) {
  if (utf32Marks && size >= 4) {
    if (bytes[0] == 0xFF && bytes[1] == 0xFE && bytes[2] == 0 && bytes[3] == 0)
      return {TextEncoding::kUtf32Le, 4};
    if (bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 0xFE && bytes[3] == 0xFF)
      return {TextEncoding::kUtf32Be, 4};
  }
  if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
    return {TextEncoding::kUtf8, 3};
  if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return {TextEncoding::kUtf16Le, 2};
  if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return {TextEncoding::kUtf16Be, 2};
  return {TextEncoding::kOem, 0};
}

namespace detail {

constexpr uint32_t kReplacement = 0xFFFD;

// Appends one code point as UTF-16 (Wide is char16_t) or as itself.
template <class Wide>
inline void PutCodePoint(uint32_t c, Wide* out, uint32_t* used) {
  if constexpr (sizeof(Wide) == 2) {
    if (c >= 0x10000) {
      c -= 0x10000;
      out[(*used)++] = static_cast<Wide>(0xD800 + (c >> 10));
      out[(*used)++] = static_cast<Wide>(0xDC00 + (c & 0x3FF));
      return;
    }
  }
  out[(*used)++] = static_cast<Wide>(c);
}

// Decodes one UTF-8 sequence at bytes[*at], advancing past it; an invalid or
// cut sequence gives U+FFFD and advances by one byte.
inline uint32_t NextUtf8(const uint8_t* bytes, uint32_t size, uint32_t* at) {
  const uint8_t lead = bytes[*at];
  ++*at;
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
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
  *at += extra;
  return c;
}

// UTF-16 units to code points (Wide of 32 bits) or copied (16 bits).
template <class Wide>
inline uint32_t FromUtf16(const char16_t* units, uint32_t count, Wide* out) {
  uint32_t used = 0;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t c = units[i];
    if constexpr (sizeof(Wide) == 4) {
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 &&
          units[i + 1] <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
      } else if (c >= 0xD800 && c <= 0xDFFF) {
        c = kReplacement;
      }
    }
    out[used++] = static_cast<Wide>(c);
  }
  return used;
}

// UTF-16 to the OEM code page, in pieces small enough for the stack.
inline uint32_t Utf16ToOemText(const char16_t* units, uint32_t count, char* out) {
  uint32_t written = 0;
  while (count > 0) {
    uint32_t piece = count < 256 ? count : 256;
    if (piece < count && units[piece - 1] >= 0xD800 && units[piece - 1] <= 0xDBFF) --piece;
    written += sys::Utf16ToOem(units, piece, reinterpret_cast<uint8_t*>(out + written), 3 * piece);
    units += piece;
    count -= piece;
  }
  return written;
}

}  // namespace detail

// Turns pieces of a file's text (its names and descriptions) into Char text.
// Byte encodings (OEM, UTF-8) come as bytes, UTF-16 as units in the
// machine's order.
template <class Char>
struct TextDecoder {
  TextEncoding encoding;
  bool asciiOnly;       // the whole text is ASCII: bytes are already Char
  bool oemTableUsable;  // a single-byte OEM page: oemTable holds it
  char16_t oemTable[256];

  // Out holds Bound(count) units.
  uint32_t Bound(uint32_t count) const {
    const bool toOemFromUnicode = sizeof(Char) == 1 && encoding != TextEncoding::kOem && !asciiOnly;
    return toOemFromUnicode ? 3 * count : count;
  }

  uint32_t Decode(const uint8_t* bytes, uint32_t count, Char* out) const {
    if (asciiOnly || (sizeof(Char) == 1 && encoding == TextEncoding::kOem)) {
      for (uint32_t i = 0; i < count; ++i) out[i] = static_cast<Char>(bytes[i]);
      return count;
    }
    if (encoding == TextEncoding::kUtf8) return DecodeUtf8(bytes, count, out);
    if constexpr (sizeof(Char) > 1) {
      if (oemTableUsable) {
        for (uint32_t i = 0; i < count; ++i) out[i] = static_cast<Char>(oemTable[bytes[i]]);
        return count;
      }
      return DecodeOemByPieces(bytes, count, out);
    }
    return 0;
  }

  // UTF-32, read only where Char holds code points (far2l's text).
  uint32_t Decode(const char32_t* units, uint32_t count, Char* out) const {
    for (uint32_t i = 0; i < count; ++i) {
      const uint32_t c = units[i];
      out[i] = static_cast<Char>(c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) ? detail::kReplacement
                                                                              : c);
    }
    return count;
  }

  uint32_t Decode(const char16_t* units, uint32_t count, Char* out) const {
    if constexpr (sizeof(Char) == 1) {
      return detail::Utf16ToOemText(units, count, out);
    } else {
      return detail::FromUtf16(units, count, out);
    }
  }

 private:
  uint32_t DecodeUtf8(const uint8_t* bytes, uint32_t count, Char* out) const {
    if constexpr (sizeof(Char) == 1) {
      // Through UTF-16 on the stack, a piece at a time.
      char16_t units[256];
      uint32_t written = 0;
      for (uint32_t at = 0; at < count;) {
        uint32_t used = 0;
        while (at < count && used < 254)
          detail::PutCodePoint(detail::NextUtf8(bytes, count, &at), units, &used);
        written += detail::Utf16ToOemText(units, used, out + written);
      }
      return written;
    } else {
      uint32_t used = 0;
      for (uint32_t at = 0; at < count;)
        detail::PutCodePoint(detail::NextUtf8(bytes, count, &at), out, &used);
      return used;
    }
  }

  // A page with lead bytes: the platform converts the whole piece at once,
  // so that no character is cut in two.
  uint32_t DecodeOemByPieces(const uint8_t* bytes, uint32_t count, Char* out) const {
    if constexpr (sizeof(Char) == 2) {
      return sys::OemToUtf16(bytes, count, reinterpret_cast<char16_t*>(out));
    } else {
      auto* units = static_cast<char16_t*>(sys::Allocate(size_t{count} * sizeof(char16_t) + 1));
      if (units == nullptr) return 0;
      const uint32_t length = detail::FromUtf16(units, sys::OemToUtf16(bytes, count, units), out);
      sys::Free(units);
      return length;
    }
  }
};

template <class Char>
void PrepareDecoder(TextEncoding encoding, const uint8_t* bytes, uint32_t size,
                    TextDecoder<Char>* decoder) {
  decoder->encoding = encoding;
  decoder->oemTableUsable = false;
  decoder->asciiOnly = false;
  if (encoding == TextEncoding::kUtf8) {
    uint8_t any = 0;
    for (uint32_t i = 0; i < size; ++i) any |= bytes[i];
    decoder->asciiOnly = any < 0x80;
  }
  if (sizeof(Char) > 1 && encoding == TextEncoding::kOem) {
    uint8_t all[256];
    for (uint32_t b = 0; b < 256; ++b) all[b] = static_cast<uint8_t>(b);
    decoder->oemTableUsable = sys::OemToUtf16(all, 256, decoder->oemTable) == 256;
  }
}

}  // namespace descriptions

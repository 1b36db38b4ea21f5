// A description file's encodings, and pieces of its text as Char.
//
// As both hosts read it: a byte-order mark names UTF-8, UTF-16 LE or UTF-16
// BE (far2l knows UTF-32 LE and BE marks too); a file without one is in the
// OEM code page, or the ANSI one where the host's setting says so (UTF-8
// without a mark too, as the hosts show it). UTF-8 errors become U+FFFD; so
// do unpaired surrogates where Char holds code points. For `char` Unicode text
// goes to the OEM code page through the platform, whose default character
// stands for what the page lacks.
//
// The file is never decoded whole: lines are split on its own units (bytes,
// or UTF-16 units), and only names and the descriptions used are decoded.
#pragma once

#include <cstdint>

#include "core/utf.h"
#include "sys/system.h"

namespace descriptions {

// kCodePage: no byte-order mark, so the code page the host's setting names.
enum class TextEncoding : uint8_t { kCodePage, kUtf8, kUtf16Le, kUtf16Be, kUtf32Le, kUtf32Be };

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
  return {TextEncoding::kCodePage, 0};
}

namespace detail {

// UTF-16 units to code points (Wide of 32 bits) or copied (16 bits).
template <class Wide>
inline uint32_t FromUtf16(const char16_t* units, uint32_t count, Wide* out) {
  if constexpr (sizeof(Wide) == 2) {
    for (uint32_t i = 0; i < count; ++i) out[i] = static_cast<Wide>(units[i]);
    return count;
  } else {
    uint32_t used = 0;
    for (uint32_t at = 0; at < count;)
      out[used++] = static_cast<Wide>(utf::NextUtf16(units, count, &at));
    return used;
  }
}

// UTF-16 to the host's OEM code page, in pieces small enough for the stack.
inline uint32_t Utf16ToOemText(const char16_t* units, uint32_t count, char* out) {
  uint32_t written = 0;
  while (count > 0) {
    uint32_t piece = count < 256 ? count : 256;
    if (piece < count && utf::IsHighSurrogate(units[piece - 1])) --piece;
    written += sys::FromUtf16(sys::CodePage::kOem, units, piece,
                              reinterpret_cast<uint8_t*>(out + written), 3 * piece);
    units += piece;
    count -= piece;
  }
  return written;
}

}  // namespace detail

// Turns pieces of a file's text (its names and descriptions) into Char text.
// Byte encodings (a code page, UTF-8) come as bytes, UTF-16 as units in the
// machine's order.
template <class Char>
struct TextDecoder {
  TextEncoding encoding;
  sys::CodePage page;  // of kCodePage text
  bool asciiOnly;      // the whole text is ASCII: bytes are already Char
  bool tableUsable;    // a single-byte code page: table holds its characters
  bool asciiKept;      // an ASCII byte stands for itself
  char16_t table[256];

  // The 1.x host's text is in the OEM code page: a file in it is copied.
  bool BytesAreChar() const {
    return asciiOnly || (sizeof(Char) == 1 && encoding == TextEncoding::kCodePage &&
                         page == sys::CodePage::kDescriptionOem);
  }

  // Out holds Bound(count) units.
  uint32_t Bound(uint32_t count) const {
    return sizeof(Char) == 1 && !BytesAreChar() ? 3 * count : count;
  }

  uint32_t Decode(const uint8_t* bytes, uint32_t count, Char* out) const {
    if (BytesAreChar()) {
      for (uint32_t i = 0; i < count; ++i) out[i] = static_cast<Char>(bytes[i]);
      return count;
    }
    if (encoding == TextEncoding::kUtf8) return DecodeUtf8(bytes, count, out);
    if (sizeof(Char) > 1 && tableUsable) {
      for (uint32_t i = 0; i < count; ++i) out[i] = static_cast<Char>(table[bytes[i]]);
      return count;
    }
    return DecodeCodePageByPieces(bytes, count, out);
  }

  // UTF-32, read only where the host knows its marks (far2l's text).
  uint32_t Decode(const char32_t* units, uint32_t count, Char* out) const {
    if constexpr (sizeof(Char) == 4) {
      for (uint32_t i = 0; i < count; ++i)
        out[i] = static_cast<Char>(utf::ValidCodePoint(units[i]));
      return count;
    } else {
      uint32_t used = 0;
      for (uint32_t i = 0; i < count; ++i)
        utf::PutCodePoint(utf::ValidCodePoint(units[i]), out, &used);
      return used;
    }
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
          utf::PutCodePoint(utf::NextUtf8(bytes, count, &at), units, &used);
        written += detail::Utf16ToOemText(units, used, out + written);
      }
      return written;
    } else {
      uint32_t used = 0;
      for (uint32_t at = 0; at < count;)
        utf::PutCodePoint(utf::NextUtf8(bytes, count, &at), out, &used);
      return used;
    }
  }

  // A page with lead bytes (or, for `char`, any page but the host's): the
  // platform converts the whole piece at once, so that no character is cut
  // in two.
  uint32_t DecodeCodePageByPieces(const uint8_t* bytes, uint32_t count, Char* out) const {
    auto* units = static_cast<char16_t*>(sys::Allocate(size_t{count} * sizeof(char16_t) + 1));
    if (units == nullptr) return 0;
    const uint32_t converted = sys::ToUtf16(page, bytes, count, units);
    const uint32_t length = Decode(static_cast<const char16_t*>(units), converted, out);
    sys::Free(units);
    return length;
  }
};

template <class Char>
void PrepareDecoder(TextEncoding encoding, sys::CodePage page, const uint8_t* bytes, uint32_t size,
                    TextDecoder<Char>* decoder) {
  decoder->encoding = encoding;
  decoder->page = page;
  decoder->tableUsable = false;
  decoder->asciiOnly = false;
  decoder->asciiKept = encoding == TextEncoding::kUtf8;
  if (encoding == TextEncoding::kUtf8) {
    uint8_t any = 0;
    for (uint32_t i = 0; i < size; ++i) any |= bytes[i];
    decoder->asciiOnly = any < 0x80;
  }
  if (encoding == TextEncoding::kCodePage) {
    uint8_t all[256];
    for (uint32_t b = 0; b < 256; ++b) all[b] = static_cast<uint8_t>(b);
    decoder->tableUsable = sys::ToUtf16(page, all, 256, decoder->table) == 256;
    decoder->asciiKept = decoder->tableUsable;
    for (uint32_t b = 0; b < 0x80; ++b)
      decoder->asciiKept = decoder->asciiKept && decoder->table[b] == b;
  }
}

}  // namespace descriptions

// The descriptions a file gives the items, decoded each time one is read
// into one buffer that the next reading reuses. Every reader (a keystroke's
// scan, the selection, the tree search) looks at one description at a time,
// and decoding a line again costs less than fresh memory for all of them:
// 100,000 descriptions would take some 11 MB of UTF-16, written before the
// first keystroke's scan could end.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/item_strings.h"
#include "descriptions/text_decoding.h"
#include "sys/system.h"

namespace descriptions {

// An item's description in the file's units; length 0 for none.
struct TextSpan {
  uint32_t start;
  uint32_t length;
};

template <class Char>
struct DecodedTexts {
  TextDecoder<Char> decoder;
  const void* text;  // the file's units
  TextSpan* spans;
  Char* buffer;  // the latest description read
  size_t room;   // units of the buffer
};

namespace detail {

// Item i's description, decoded into the buffer, which it holds until the
// next reading; null where the item has none or memory runs out.
template <class Unit, class Char>
const Char* DecodeForReading(const void* source, uint32_t i) {
  auto* texts = static_cast<DecodedTexts<Char>*>(const_cast<void*>(source));
  const TextSpan span = texts->spans[i];
  if (span.length == 0) return nullptr;
  const size_t units = size_t{texts->decoder.Bound(span.length)} + 1;
  if (units > texts->room) {
    sys::Free(texts->buffer);
    const size_t room = units > 256 ? units : 256;
    texts->buffer = static_cast<Char*>(sys::Allocate(room * sizeof(Char)));
    texts->room = texts->buffer != nullptr ? room : 0;
    if (texts->buffer == nullptr) return nullptr;
  }
  const Unit* text = static_cast<const Unit*>(texts->text) + span.start;
  const uint32_t length = texts->decoder.Decode(text, span.length, texts->buffer);
  texts->buffer[length] = Char(0);
  return length != 0 ? texts->buffer : nullptr;
}

}  // namespace detail

// Takes the spans the lines gave (length 0: no description) as the items'
// descriptions. False, with nothing held, where
// no item has a description or memory runs out.
template <class Unit, class Char>
bool StartDecodedTexts(const Unit* text, TextSpan* spans, uint32_t count,
                       const TextDecoder<Char>& decoder, DecodedTexts<Char>** out,
                       ItemStrings<Char>* strings) {
  bool any = false;
  for (uint32_t i = 0; i < count && !any; ++i) any = spans[i].length != 0;
  if (!any) return false;
  auto* texts = static_cast<DecodedTexts<Char>*>(sys::Allocate(sizeof(DecodedTexts<Char>)));
  if (texts == nullptr) return false;
  // Field by field: a whole record on the stack would need the stack probed
  // in the DLLs, which have no runtime to do it.
  __builtin_memcpy(&texts->decoder, &decoder, sizeof decoder);
  texts->text = text;
  texts->spans = spans;
  texts->buffer = nullptr;
  texts->room = 0;
  *out = texts;
  *strings = ItemStrings<Char>{texts, 0, true, count, &detail::DecodeForReading<Unit, Char>};
  return true;
}

// Releases the texts and the spans, which the caller allocated.
template <class Char>
void ReleaseDecodedTexts(DecodedTexts<Char>* texts) {
  if (texts == nullptr) return;
  sys::Free(texts->buffer);
  sys::Free(texts->spans);
  sys::Free(texts);
}

}  // namespace descriptions

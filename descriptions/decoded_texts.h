// The descriptions a file gives the items, decoded only when the rules first
// read each: a file of 100,000 descriptions would otherwise take some 11 MB
// of fresh memory (UTF-16) before the search box could show, where a
// search usually reads a few of them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/item_strings.h"
#include "descriptions/text_decoding.h"
#include "sys/system.h"

namespace descriptions {

// Per item eight bytes: all zero where the item has no description; its
// span of the file (the start doubled with the lowest bit set, then the
// length) until it is first read; then a pointer to the decoded text, whose
// lowest bit is clear (texts start at even addresses).
struct TextSlot {
  uint32_t start;
  uint32_t length;
};
static_assert(sizeof(const void*) <= sizeof(TextSlot), "a pointer fits where its span was");

// Decoded texts in blocks that never move.
struct TextChunk {
  TextChunk* next;
};

template <class Char>
struct DecodedTexts {
  TextDecoder<Char> decoder;
  const void* text;  // the file's units
  TextSlot* slots;
  TextChunk* chunks;
  Char* free;  // the newest chunk's room
  size_t room;
};

namespace detail {

constexpr size_t kChunkUnits = size_t{1} << 15;

template <class Char>
Char* Room(DecodedTexts<Char>* texts, size_t units) {
  // An odd address for a byte text would read as a span: start at an even one.
  const size_t skip = sizeof(Char) == 1 ? reinterpret_cast<uintptr_t>(texts->free) & 1 : 0;
  if (texts->free == nullptr || texts->room < units + skip) {
    const size_t size = units > kChunkUnits ? units : kChunkUnits;
    auto* chunk = static_cast<TextChunk*>(sys::Allocate(sizeof(TextChunk) + size * sizeof(Char)));
    if (chunk == nullptr) return nullptr;
    chunk->next = texts->chunks;
    texts->chunks = chunk;
    texts->free = reinterpret_cast<Char*>(chunk + 1);
    texts->room = size;
  } else {
    texts->free += skip;
    texts->room -= skip;
  }
  Char* room = texts->free;
  texts->free += units;
  texts->room -= units;
  return room;
}

// Item i's description, decoded on the first asking.
template <class Unit, class Char>
const Char* DecodeOnFirstUse(const void* source, uint32_t i) {
  auto* texts = static_cast<DecodedTexts<Char>*>(const_cast<void*>(source));
  TextSlot& slot = texts->slots[i];
  const Char* decoded = nullptr;
  if ((slot.start & 1) == 0) {
    __builtin_memcpy(&decoded, &slot, sizeof decoded);
    return decoded;
  }
  const Unit* text = static_cast<const Unit*>(texts->text) + (slot.start >> 1);
  Char* out = Room(texts, size_t{texts->decoder.Bound(slot.length)} + 1);
  if (out != nullptr) {
    const uint32_t length = texts->decoder.Decode(text, slot.length, out);
    out[length] = Char(0);
    // What the bound left unused goes back to the chunk.
    const size_t unused = size_t{texts->decoder.Bound(slot.length)} - length;
    texts->free -= unused;
    texts->room += unused;
    if (length != 0) decoded = out;
  }
  slot = TextSlot{0, 0};
  __builtin_memcpy(&slot, &decoded, sizeof decoded);
  return decoded;
}

}  // namespace detail

// Takes the spans the lines gave (start kUnmatched or length 0: no
// description) as the items' slots, in place. False, with nothing held,
// where no item has a description or memory runs out.
template <class Unit, class Char>
bool StartDecodedTexts(const Unit* text, TextSlot* slots, uint32_t count, uint32_t unmatched,
                       const TextDecoder<Char>& decoder, DecodedTexts<Char>** out,
                       ItemStrings<Char>* strings) {
  bool any = false;
  for (uint32_t i = 0; i < count; ++i) {
    TextSlot& slot = slots[i];
    if (slot.start == unmatched || slot.length == 0) {
      slot = TextSlot{0, 0};
    } else {
      slot.start = slot.start << 1 | 1;
      any = true;
    }
  }
  if (!any) return false;
  auto* texts = static_cast<DecodedTexts<Char>*>(sys::Allocate(sizeof(DecodedTexts<Char>)));
  if (texts == nullptr) return false;
  // Field by field: a whole record on the stack would need the stack probed
  // in the DLLs, which have no runtime to do it.
  __builtin_memcpy(&texts->decoder, &decoder, sizeof decoder);
  texts->text = text;
  texts->slots = slots;
  texts->chunks = nullptr;
  texts->free = nullptr;
  texts->room = 0;
  *out = texts;
  *strings = ItemStrings<Char>{texts, 0, true, count, &detail::DecodeOnFirstUse<Unit, Char>};
  return true;
}

// Releases the texts and the slots, which the caller allocated.
template <class Char>
void ReleaseDecodedTexts(DecodedTexts<Char>* texts) {
  if (texts == nullptr) return;
  for (TextChunk* chunk = texts->chunks; chunk != nullptr;) {
    TextChunk* next = chunk->next;
    sys::Free(chunk);
    chunk = next;
  }
  sys::Free(texts->slots);
  sys::Free(texts);
}

}  // namespace descriptions

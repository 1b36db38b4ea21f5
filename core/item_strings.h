// One string per panel item, read where the host or the plug-in keeps it:
// in the host's own item array (a pointer field, or the text itself as the
// 1.x item's cFileName), in an array of pointers, or made when read.
#pragma once

#include <cstdint>

// Item i's slot is at first + i * stride; it holds a `const Char*`
// (byPointer) or the NUL-terminated text itself. Where make is set, each
// string is made when asked for: make reads first, and its answer lasts
// until the next asking.
template <class Char>
struct ItemStrings {
  const void* first;
  uint32_t stride;
  bool byPointer;
  uint32_t count;
  const Char* (*make)(const void* source, uint32_t i) = nullptr;

  // Null where the item has no string. Host records may be packed, so a
  // pointer slot is read bytewise.
  const Char* At(uint32_t i) const {
    if (make != nullptr) return make(first, i);
    const auto* slot =
        static_cast<const unsigned char*>(first) + static_cast<uintptr_t>(i) * stride;
    if (!byPointer) return reinterpret_cast<const Char*>(slot);
    const Char* text;
    __builtin_memcpy(&text, slot, sizeof text);
    return text;
  }
};

// Item i's size in bytes at first + i * stride: a 64-bit integer, or two
// 32-bit halves with the high one first (as in WIN32_FIND_DATA).
struct ItemSizes {
  const void* first;
  uint32_t stride;
  bool highHalfFirst;

  uint64_t At(uint32_t i) const {
    const auto* slot =
        static_cast<const unsigned char*>(first) + static_cast<uintptr_t>(i) * stride;
    if (!highHalfFirst) {
      uint64_t size;
      __builtin_memcpy(&size, slot, sizeof size);
      return size;
    }
    uint32_t halves[2];
    __builtin_memcpy(halves, slot, sizeof halves);
    return (uint64_t{halves[0]} << 32) | halves[1];
  }
};

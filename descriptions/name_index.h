// The panel's item names in an open-addressing hash table of their folded
// forms, so that a description file's lines find their items in constant
// time: reading a folder of a million items stays linear.
#pragma once

#include <cstdint>

#include "core/item_strings.h"
#include "descriptions/name_folding.h"
#include "sys/system.h"

namespace descriptions {

struct NameSlot {
  uint32_t item;  // item number + 1, or 0 for an empty slot
  uint32_t hash;  // of the folded name: most mismatches never touch the name
};

template <class Char>
struct NameIndex {
  ItemStrings<Char> names;
  Folder<Char> fold;
  NameSlot* slots;     // mask + 1 of them
  uint32_t* nextSame;  // per item: the next item (+ 1) whose name folds the same, or 0
  uint32_t mask;
};

namespace detail {

template <class Char>
uint32_t HashName(const Char* name, uint32_t length, Folder<Char> fold) {
  uint32_t hash = 2166136261u;  // FNV-1a
  for (uint32_t i = 0; i < length; ++i) hash = (hash ^ fold(name[i])) * 16777619u;
  return hash;
}

template <class Char>
uint32_t NameLength(const Char* name) {
  uint32_t n = 0;
  while (name[n] != Char(0) && n < 0xFFFFFFFEu) ++n;
  return n;
}

// Whether name[0..length) equals the NUL-terminated item name once folded.
template <class Char>
bool SameFoldedName(const Char* name, uint32_t length, const Char* item, Folder<Char> fold) {
  for (uint32_t i = 0; i < length; ++i) {
    if (item[i] == Char(0) || fold(item[i]) != fold(name[i])) return false;
  }
  return item[length] == Char(0);
}

}  // namespace detail

template <class Char>
void ReleaseNameIndex(NameIndex<Char>* index) {
  sys::Free(index->slots);
  sys::Free(index->nextSame);
  index->slots = nullptr;
  index->nextSame = nullptr;
}

namespace detail {

// The slot holding the name, or the empty slot where it would go.
template <class Char>
uint32_t FindSlot(const NameIndex<Char>& index, const Char* name, uint32_t length, uint32_t hash) {
  for (uint32_t slot = hash & index.mask;; slot = (slot + 1) & index.mask) {
    const NameSlot& at = index.slots[slot];
    if (at.item == 0) return slot;
    if (at.hash == hash && SameFoldedName(name, length, index.names.At(at.item - 1), index.fold))
      return slot;
  }
}

}  // namespace detail

// Item number + 1 of the first item whose name matches name[0..length) without
// regard to case (the others follow through nextSame), or 0 for none.
template <class Char>
uint32_t FindItem(const NameIndex<Char>& index, const Char* name, uint32_t length) {
  const uint32_t hash = detail::HashName(name, length, index.fold);
  return index.slots[detail::FindSlot(index, name, length, hash)].item;
}

// Indexes every item with a name. False, with nothing allocated, when memory
// runs out.
template <class Char>
bool BuildNameIndex(const ItemStrings<Char>& names, Folder<Char> fold, NameIndex<Char>* index) {
  if (names.count > (1u << 29)) return false;
  uint32_t capacity = 16;
  while (capacity < 2 * names.count) capacity *= 2;
  *index = NameIndex<Char>{names, fold, nullptr, nullptr, capacity - 1};
  index->slots = static_cast<NameSlot*>(sys::Allocate(size_t{capacity} * sizeof(NameSlot)));
  index->nextSame =
      static_cast<uint32_t*>(sys::Allocate(size_t{names.count} * sizeof(uint32_t) + 1));
  if (index->slots == nullptr || index->nextSame == nullptr) {
    ReleaseNameIndex(index);
    return false;
  }
  for (uint32_t i = 0; i < capacity; ++i) index->slots[i] = NameSlot{0, 0};
  for (uint32_t i = 0; i < names.count; ++i) {
    index->nextSame[i] = 0;
    const Char* name = names.At(i);
    if (name == nullptr || name[0] == Char(0)) continue;
    const uint32_t length = detail::NameLength(name);
    const uint32_t hash = detail::HashName(name, length, fold);
    NameSlot& slot = index->slots[detail::FindSlot(*index, name, length, hash)];
    if (slot.item != 0) {  // names that differ only in case share one slot
      index->nextSame[i] = index->nextSame[slot.item - 1];
      index->nextSame[slot.item - 1] = i + 1;
      continue;
    }
    slot = NameSlot{i + 1, hash};
  }
  return true;
}

}  // namespace descriptions

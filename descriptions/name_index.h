// Names in an open-addressing hash table of their upper-case forms, so that
// a description file's lines find their items in constant time: reading a
// folder of a million items stays linear.
#pragma once

#include <cstdint>
#include <type_traits>

#include "core/item_strings.h"
#include "descriptions/case_folding.h"
#include "sys/system.h"

namespace descriptions {

// No file system gives a name component more than 255 units: a longer name
// in a description file names nothing, and is never decoded.
constexpr uint32_t kMaxNameUnits = 1024;

struct NameSlot {
  uint32_t entry;  // entry number + 1, or 0 for an empty slot
  uint32_t hash;   // of the upper-case name: most mismatches never touch the name
};

template <class Char>
struct NameIndex {
  ItemStrings<Char> names;
  CaseFolder<Char> fold;
  NameSlot* slots;     // mask + 1 of them
  uint32_t* nextSame;  // per entry: the next entry (+ 1) with the same name, or 0
  Char* scratch;       // 2 * kMaxNameUnits units, for upper-case names
  uint32_t mask;
  uint32_t indexed;  // how many names the table holds
};

namespace detail {

// The name's length, or kMaxNameUnits + 1 for any longer one.
template <class Char>
uint32_t IndexedLength(const Char* name) {
  uint32_t n = 0;
  while (n <= kMaxNameUnits && name[n] != Char(0)) ++n;
  return n;
}

template <class Char>
bool IsAscii(const Char* text, uint32_t length) {
  for (uint32_t i = 0; i < length; ++i) {
    if (static_cast<uint32_t>(text[i]) >= 0x80) return false;
  }
  return true;
}

// Whether the entry's name is the key's. Names that upper-case alike are the
// same unless the host's own comparison tells them apart, which only names
// beyond ASCII need asking. An ASCII entry is compared as it is read.
template <class Char>
bool EntryIs(const NameIndex<Char>& index, uint32_t entry, const NameKey<Char>& key) {
  const Char* entryName = index.names.At(entry);
  uint32_t i = 0;
  for (; i < key.length; ++i) {
    const auto c = static_cast<uint32_t>(static_cast<std::make_unsigned_t<Char>>(entryName[i]));
    if (c == 0) return false;
    if (c >= 0x80 && sizeof(Char) > 1) break;
    const uint32_t upper = sizeof(Char) == 1 ? index.fold.oem->upper[c] : c - 'a' < 26 ? c - 32 : c;
    if (static_cast<Char>(upper) != key.key[i]) return false;
  }
  if (i == key.length) {
    if (entryName[i] != Char(0)) return false;
    if constexpr (sizeof(Char) > 1) {
      if (!key.ascii) return sys::SameName(key.name, key.length, entryName, key.length);
    }
    return true;
  }
  if constexpr (sizeof(Char) > 1) {
    if (IndexedLength(entryName) != key.length) return false;
    Char* folded = index.scratch + kMaxNameUnits;
    index.fold(entryName, key.length, folded);
    for (uint32_t k = 0; k < key.length; ++k) {
      if (folded[k] != key.key[k]) return false;
    }
    return sys::SameName(key.name, key.length, entryName, key.length);
  }
  return false;
}

// The slot holding the key's name, or the empty slot where it would go.
template <class Char>
uint32_t FindSlot(const NameIndex<Char>& index, const NameKey<Char>& key) {
  for (uint32_t slot = key.hash & index.mask;; slot = (slot + 1) & index.mask) {
    const NameSlot& at = index.slots[slot];
    if (at.entry == 0) return slot;
    if (at.hash == key.hash && EntryIs(index, at.entry - 1, key)) return slot;
  }
}

}  // namespace detail

// Whether two names are the same to the host, comparing without regard to
// case; scratch holds 2 * kMaxNameUnits units.
template <class Char>
bool SameNames(const Char* a, uint32_t aLength, const Char* b, uint32_t bLength,
               CaseFolder<Char> fold, Char* scratch) {
  if (aLength != bLength || aLength > kMaxNameUnits) return false;
  fold(a, aLength, scratch);
  fold(b, bLength, scratch + kMaxNameUnits);
  for (uint32_t i = 0; i < aLength; ++i) {
    if (scratch[i] != scratch[kMaxNameUnits + i]) return false;
  }
  if constexpr (sizeof(Char) == 1) {
    return true;
  } else {
    return (detail::IsAscii(a, aLength) && detail::IsAscii(b, bLength)) ||
           sys::SameName(a, aLength, b, bLength);
  }
}

template <class Char>
void ReleaseNameIndex(NameIndex<Char>* index) {
  sys::Free(index->slots);
  sys::Free(index->nextSame);
  sys::Free(index->scratch);
  index->slots = nullptr;
  index->nextSame = nullptr;
  index->scratch = nullptr;
}

// Entry number + 1 of the first entry of the key's name; the others follow
// through nextSame. 0 for none.
template <class Char>
uint32_t FindEntry(const NameIndex<Char>& index, const NameKey<Char>& key) {
  return index.slots[detail::FindSlot(index, key)].entry;
}

// Indexes every name of up to kMaxNameUnits units. Fewer than half the
// slots are ever used, so that a search always meets an empty one. False,
// with nothing allocated, when memory runs out.
template <class Char>
bool BuildNameIndex(const ItemStrings<Char>& names, CaseFolder<Char> fold, NameIndex<Char>* index) {
  if (names.count > (1u << 29)) return false;
  uint32_t capacity = 16;
  while (capacity <= 2 * names.count) capacity *= 2;
  *index = NameIndex<Char>{names, fold, nullptr, nullptr, nullptr, capacity - 1, 0};
  index->slots = static_cast<NameSlot*>(sys::Allocate(size_t{capacity} * sizeof(NameSlot)));
  index->nextSame =
      static_cast<uint32_t*>(sys::Allocate(size_t{names.count} * sizeof(uint32_t) + 1));
  index->scratch = static_cast<Char*>(sys::Allocate(2 * kMaxNameUnits * sizeof(Char)));
  if (index->slots == nullptr || index->nextSame == nullptr || index->scratch == nullptr) {
    ReleaseNameIndex(index);
    return false;
  }
  for (uint32_t i = 0; i < capacity; ++i) index->slots[i] = NameSlot{0, 0};
  Char* key = index->scratch;
  for (uint32_t i = 0; i < names.count; ++i) {
    index->nextSame[i] = 0;
    const Char* name = names.At(i);
    if (name == nullptr) continue;
    const uint32_t length = detail::IndexedLength(name);
    if (length == 0 || length > kMaxNameUnits) continue;
    const NameKey<Char> nameKey = fold.Key(name, length, key);
    ++index->indexed;
    NameSlot& slot = index->slots[detail::FindSlot(*index, nameKey)];
    if (slot.entry != 0) {  // names that differ only in case share one slot
      index->nextSame[i] = index->nextSame[slot.entry - 1];
      index->nextSame[slot.entry - 1] = i + 1;
      continue;
    }
    slot = NameSlot{i + 1, nameKey.hash};
  }
  return true;
}

}  // namespace descriptions

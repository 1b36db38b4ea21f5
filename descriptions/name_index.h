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
  NameSlot* slots;     // capacity of them
  uint32_t* nextSame;  // per entry: the next entry (+ 1) with the same name, or 0;
                       // null until two names differ only in case
  Char* scratch;       // kScratchNames * kMaxNameUnits units, for upper-case names
  uint32_t capacity;
  uint32_t indexed;  // how many names the table holds
};

namespace detail {

// Names keyed ahead of the one going into the table, so that the slots they
// go to are on their way from memory meanwhile.
constexpr uint32_t kKeyedAhead = 8;
constexpr uint32_t kScratchNames = 2 + kKeyedAhead;

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

// Where a name of this hash is looked for first: the hash scaled to the
// table, so that it needs no power-of-two size.
template <class Char>
uint32_t HomeSlot(const NameIndex<Char>& index, uint32_t hash) {
  return static_cast<uint32_t>((uint64_t{hash} * index.capacity) >> 32);
}

// The slot holding the key's name, or the empty slot where it would go.
template <class Char>
uint32_t FindSlot(const NameIndex<Char>& index, const NameKey<Char>& key) {
  for (uint32_t slot = HomeSlot(index, key.hash);;
       slot = slot + 1 == index.capacity ? 0 : slot + 1) {
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
// through NextSame. 0 for none.
template <class Char>
uint32_t FindEntry(const NameIndex<Char>& index, const NameKey<Char>& key) {
  return index.slots[detail::FindSlot(index, key)].entry;
}

// As FindEntry, looking first at the entries on either side of entry
// near - 1, which touches no slot: a file usually names the items in the
// panel's order, or in its reverse. Where no two names differ only in case,
// an entry of the key's name is the only one.
template <class Char>
uint32_t FindEntryNear(const NameIndex<Char>& index, const NameKey<Char>& key, uint32_t near) {
  if (index.nextSame == nullptr && near != 0) {
    const uint32_t guesses[2] = {near, near - 2};  // the entries after and before
    for (const uint32_t guess : guesses) {
      if (guess < index.names.count && index.names.At(guess) != nullptr &&
          detail::EntryIs(index, guess, key))
        return guess + 1;
    }
  }
  return FindEntry(index, key);
}

// The entry (+ 1) after entry - 1 with the same name, or 0.
template <class Char>
uint32_t NextSame(const NameIndex<Char>& index, uint32_t entry) {
  return index.nextSame != nullptr ? index.nextSame[entry - 1] : 0;
}

namespace detail {

// Puts entry i in the table, after the first entry of its name where there
// is one (the links are made when first needed). False when memory runs out.
template <class Char>
bool Insert(NameIndex<Char>* index, const NameKey<Char>& key, uint32_t i) {
  NameSlot& slot = index->slots[FindSlot(*index, key)];
  if (slot.entry == 0) {
    slot = NameSlot{i + 1, key.hash};
    return true;
  }
  if (index->nextSame == nullptr) {
    const uint32_t count = index->names.count;
    index->nextSame = static_cast<uint32_t*>(sys::Allocate(size_t{count} * sizeof(uint32_t)));
    if (index->nextSame == nullptr) return false;
    for (uint32_t k = 0; k < count; ++k) index->nextSame[k] = 0;
  }
  const uint32_t first = slot.entry - 1;
  index->nextSame[i] = index->nextSame[first];
  index->nextSame[first] = i + 1;
  return true;
}

}  // namespace detail

// Indexes every name of up to kMaxNameUnits units. At most two slots in
// three are ever used, so that a search always meets an empty one. False,
// with nothing allocated, when memory runs out.
template <class Char>
bool BuildNameIndex(const ItemStrings<Char>& names, CaseFolder<Char> fold, NameIndex<Char>* index) {
  using detail::kKeyedAhead;
  if (names.count > (1u << 29)) return false;
  const uint32_t capacity = names.count + names.count / 2 + 16;
  *index = NameIndex<Char>{names, fold, nullptr, nullptr, nullptr, capacity, 0};
  index->slots = static_cast<NameSlot*>(sys::Allocate(size_t{capacity} * sizeof(NameSlot)));
  index->scratch =
      static_cast<Char*>(sys::Allocate(detail::kScratchNames * kMaxNameUnits * sizeof(Char)));
  if (index->slots == nullptr || index->scratch == nullptr) {
    ReleaseNameIndex(index);
    return false;
  }
  for (uint32_t i = 0; i < capacity; ++i) index->slots[i] = NameSlot{0, 0};
  Char* keys = index->scratch + 2 * kMaxNameUnits;  // the rest serves EntryIs
  NameKey<Char> keyed[kKeyedAhead];
  bool waiting[kKeyedAhead] = {};
  for (uint32_t i = 0; i < names.count + kKeyedAhead; ++i) {
    const uint32_t at = i % kKeyedAhead;
    if (waiting[at] && !detail::Insert(index, keyed[at], i - kKeyedAhead)) {
      ReleaseNameIndex(index);
      return false;
    }
    waiting[at] = false;
    const Char* name = i < names.count ? names.At(i) : nullptr;
    if (name == nullptr) continue;
    const uint32_t length = detail::IndexedLength(name);
    if (length == 0 || length > kMaxNameUnits) continue;
    keyed[at] = fold.Key(name, length, keys + at * kMaxNameUnits);
    waiting[at] = true;
    ++index->indexed;
    __builtin_prefetch(&index->slots[detail::HomeSlot(*index, keyed[at].hash)]);
  }
  return true;
}

}  // namespace descriptions

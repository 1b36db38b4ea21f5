// The matches of one search, kept compactly: one record per match, its path
// relative to the search folder and its description right behind it, in
// chunks taken as the matches come. Memory grows with the matches alone, and
// nothing is moved or copied once written.
#pragma once

#include <cstdint>

#include "sys/system.h"

namespace findtree {

struct MatchFacts {
  uint32_t attributes;
  uint32_t unixMode;
  uint64_t size;
  uint64_t writeTime;
};

// A record, followed by the NUL-terminated path and description.
template <class Char>
struct Match {
  MatchFacts facts;
  uint32_t pathLength;  // units, without the NUL
  uint32_t descriptionLength : 31;
  uint32_t gone : 1;  // no longer on disk: the panel leaves it out

  Char* Path() { return reinterpret_cast<Char*>(this + 1); }
  Char* Description() { return Path() + pathLength + 1; }
};

static_assert(sizeof(Match<char16_t>) == 32 && sizeof(Match<wchar_t>) == 32);

struct MatchChunk {
  MatchChunk* next;
  uint32_t used;  // bytes of records after this header
  uint32_t capacity;
};

template <class Char>
struct MatchList {
  MatchChunk* first;
  MatchChunk* last;
  uint32_t count;
  uint64_t heapBytes;  // everything taken, headers and slack included
};

// 1 MiB: a thousand-odd matches a chunk, few enough chunks for a million.
constexpr uint32_t kMatchChunkBytes = 1u << 20;

// A piece of Char text.
template <class Char>
struct Piece {
  const Char* text;
  uint32_t length;
};

namespace detail {

constexpr uint32_t RoundUp8(uint64_t bytes) {
  return static_cast<uint32_t>((bytes + 7) & ~uint64_t{7});
}

template <class Char>
uint8_t* RecordRoom(MatchList<Char>* list, uint32_t bytes) {
  MatchChunk* chunk = list->last;
  if (chunk == nullptr || chunk->capacity - chunk->used < bytes) {
    const uint32_t capacity = bytes > kMatchChunkBytes ? bytes : kMatchChunkBytes;
    chunk = static_cast<MatchChunk*>(sys::Allocate(sizeof(MatchChunk) + capacity));
    if (chunk == nullptr) return nullptr;
    *chunk = MatchChunk{nullptr, 0, capacity};
    if (list->last != nullptr) {
      list->last->next = chunk;
    } else {
      list->first = chunk;
    }
    list->last = chunk;
    list->heapBytes += sizeof(MatchChunk) + capacity;
  }
  uint8_t* room = reinterpret_cast<uint8_t*>(chunk + 1) + chunk->used;
  chunk->used += bytes;
  return room;
}

template <class Char>
Char* Put(Char* out, Piece<Char> piece) {
  for (uint32_t i = 0; i < piece.length; ++i) *out++ = piece.text[i];
  return out;
}

}  // namespace detail

// Adds a match whose relative path is folder, separator, name (the name alone
// where folder is empty). False, with the list as it was, when memory runs
// out or the match could never fit a chunk.
template <class Char>
bool AddMatch(MatchList<Char>* list, Piece<Char> folder, Char separator, Piece<Char> name,
              Piece<Char> description, const MatchFacts& facts) {
  const uint64_t pathLength = uint64_t{folder.length} + (folder.length > 0) + name.length;
  const uint64_t bytes =
      sizeof(Match<Char>) + (pathLength + 1 + description.length + 1) * sizeof(Char);
  if (bytes > (uint64_t{1} << 30)) return false;  // no host shows such a description
  uint8_t* room = detail::RecordRoom(list, detail::RoundUp8(bytes));
  if (room == nullptr) return false;
  auto* match = reinterpret_cast<Match<Char>*>(room);
  *match = Match<Char>{facts, static_cast<uint32_t>(pathLength), description.length, 0};
  Char* out = detail::Put(match->Path(), folder);
  if (folder.length > 0) *out++ = separator;
  out = detail::Put(out, name);
  *out++ = Char(0);
  *detail::Put(out, description) = Char(0);
  ++list->count;
  return true;
}

// Walks the matches in the order they were added: start with a cursor of
// {list.first, 0}; null past the last.
struct MatchCursor {
  MatchChunk* chunk;
  uint32_t at;
};

template <class Char>
Match<Char>* NextMatch(MatchCursor* cursor) {
  while (cursor->chunk != nullptr && cursor->at >= cursor->chunk->used) {
    *cursor = MatchCursor{cursor->chunk->next, 0};
  }
  if (cursor->chunk == nullptr) return nullptr;
  auto* match =
      reinterpret_cast<Match<Char>*>(reinterpret_cast<uint8_t*>(cursor->chunk + 1) + cursor->at);
  cursor->at += detail::RoundUp8(sizeof(Match<Char>) +
                                 (uint64_t{match->pathLength} + 1 + match->descriptionLength + 1) *
                                     sizeof(Char));
  return match;
}

template <class Char>
void ReleaseMatches(MatchList<Char>* list) {
  for (MatchChunk* chunk = list->first; chunk != nullptr;) {
    MatchChunk* next = chunk->next;
    sys::Free(chunk);
    chunk = next;
  }
  *list = MatchList<Char>{};
}

}  // namespace findtree

// Wildcard matching in one pass with backtracking to the last "*" only, so
// that hostile masks such as "*a*a*a*b" never take exponential time.
#include "filemask/file_mask.h"

#include <type_traits>

namespace {

using Fold = uint32_t (*)(uint32_t);

uint32_t FoldAscii(uint32_t c) {
  return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}

uint32_t FoldUnicode(uint32_t c) {
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x410 && c <= 0x42F)) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  // Latin Extended-A: pairs, the capital first (odd from 0x139 to 0x148 and
  // from 0x179).
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c + (c & 1);
  if (c == 0x178) return 0xFF;
  return FoldAscii(c);
}

template <class Char>
uint32_t Unit(Char c) {
  return static_cast<uint32_t>(static_cast<std::make_unsigned_t<Char>>(c));
}

// Returns the character after the set's closing "]", or nullptr when the
// set is not closed.
template <class Char>
const Char* SetEnd(const Char* set) {
  for (const Char* p = set + 1; *p != 0; ++p) {
    if (*p == ']' && p > set + 1) return p + 1;
  }
  return nullptr;
}

template <class Char>
bool InSet(const Char* set, const Char* end, Char c, Fold fold) {
  const uint32_t folded = fold(Unit(c));
  for (const Char* p = set + 1; p < end - 1; ++p) {
    if (p[1] == '-' && p + 2 < end - 1) {
      if (folded >= fold(Unit(p[0])) && folded <= fold(Unit(p[2]))) return true;
      p += 2;
    } else if (fold(Unit(*p)) == folded) {
      return true;
    }
  }
  return false;
}

// Matches one mask element at mask against c; on success stores where the
// next element starts.
template <class Char>
bool MatchOne(const Char* mask, Char c, const Char** next, Fold fold) {
  if (*mask == '[') {
    if (const Char* end = SetEnd(mask)) {
      *next = end;
      return InSet(mask, end, c, fold);
    }
  }
  *next = mask + 1;
  return *mask == '?' || fold(Unit(*mask)) == fold(Unit(c));
}

}  // namespace

template <class Char>
bool MatchMask(const Char* mask, const Char* str, Fold fold) {
  const Char* starMask = nullptr;  // the element after the last "*" seen
  const Char* starStr = nullptr;   // where that "*" currently stops in str
  while (*str != 0) {
    const Char* next = nullptr;
    if (*mask == '*') {
      starMask = ++mask;
      starStr = str;
    } else if (*mask != 0 && MatchOne(mask, *str, &next, fold)) {
      mask = next;
      ++str;
    } else if (starMask != nullptr) {
      mask = starMask;
      str = ++starStr;
    } else {
      return false;
    }
  }
  // As the host has it, a name without an extension matches a mask that
  // asks for any extension: "abc.*" matches "abc".
  if (*mask == '.' && mask[1] == '*') ++mask;
  while (*mask == '*') ++mask;
  return *mask == 0;
}

template bool MatchMask(const char*, const char*, Fold);
template bool MatchMask(const char16_t*, const char16_t*, Fold);
template bool MatchMask(const wchar_t*, const wchar_t*, Fold);

bool MatchFileMask(const char* mask, const char* str) {
  return MatchMask(mask, str, FoldAscii);
}

bool MatchFileMask(const char16_t* mask, const char16_t* str) {
  return MatchMask(mask, str, FoldUnicode);
}

bool MatchFileMask(const wchar_t* mask, const wchar_t* str) {
  return MatchMask(mask, str, FoldUnicode);
}

// Wildcard matching in one pass with backtracking to the last "*" only, so
// that hostile masks such as "*a*a*a*b" never take exponential time.
#include "filemask/file_mask.h"

namespace {

unsigned char Fold(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

// Returns the character after the set's closing "]", or nullptr when the
// set is not closed.
const char* SetEnd(const char* set) {
  for (const char* p = set + 1; *p != '\0'; ++p) {
    if (*p == ']' && p > set + 1) return p + 1;
  }
  return nullptr;
}

bool InSet(const char* set, const char* end, char c) {
  unsigned char folded = Fold(c);
  for (const char* p = set + 1; p < end - 1; ++p) {
    if (p[1] == '-' && p + 2 < end - 1) {
      if (folded >= Fold(p[0]) && folded <= Fold(p[2])) return true;
      p += 2;
    } else if (Fold(*p) == folded) {
      return true;
    }
  }
  return false;
}

// Matches one mask element at mask against c; on success stores where the
// next element starts.
bool MatchOne(const char* mask, char c, const char** next) {
  if (*mask == '[') {
    if (const char* end = SetEnd(mask)) {
      *next = end;
      return InSet(mask, end, c);
    }
  }
  *next = mask + 1;
  return *mask == '?' || Fold(*mask) == Fold(c);
}

}  // namespace

bool MatchFileMask(const char* mask, const char* str) {
  const char* starMask = nullptr;  // the element after the last "*" seen
  const char* starStr = nullptr;   // where that "*" currently stops in str
  while (*str != '\0') {
    const char* next = nullptr;
    if (*mask == '*') {
      starMask = ++mask;
      starStr = str;
    } else if (*mask != '\0' && MatchOne(mask, *str, &next)) {
      mask = next;
      ++str;
    } else if (starMask != nullptr) {
      mask = starMask;
      str = ++starStr;
    } else {
      return false;
    }
  }
  while (*mask == '*') ++mask;
  return *mask == '\0';
}

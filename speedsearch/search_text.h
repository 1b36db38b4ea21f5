// The text typed into a speed search, for any of the plug-in's character
// types: single-byte, UTF-16 (a character may take two units) or UTF-32.
#pragma once

#include <cstdint>

#include "core/utf.h"

constexpr uint32_t kSearchTextMax = 18;  // characters

template <class Char>
constexpr uint32_t kUnitsPerCharacter = sizeof(Char) == 2 ? 2 : 1;

template <class Char>
constexpr uint32_t kSearchTextUnits = kSearchTextMax* kUnitsPerCharacter<Char>;

template <class Char>
struct BasicSearchText {
  Char chars[kSearchTextUnits<Char> + 2];  // always NUL-terminated
  uint32_t length;                         // characters, at most kSearchTextMax
  uint32_t units;                          // code units in chars
  // The first half of a surrogate pair, typed as a key of its own, waiting
  // for the second half before it becomes a character.
  Char pendingHigh;
};

namespace search_text {

template <class Char>
constexpr bool IsHighSurrogate(uint32_t c) {
  return sizeof(Char) == 2 && utf::IsHighSurrogate(c);
}

template <class Char>
constexpr bool IsLowSurrogate(uint32_t c) {
  return sizeof(Char) == 2 && utf::IsLowSurrogate(c);
}

}  // namespace search_text

template <class Char>
void ClearSearchText(BasicSearchText<Char>* text) {
  text->chars[0] = 0;
  text->length = 0;
  text->units = 0;
  text->pendingHigh = 0;
}

// Drops the last character, both halves of a surrogate pair together.
template <class Char>
void DropLastCharacter(BasicSearchText<Char>* text) {
  text->pendingHigh = 0;
  if (text->length == 0) return;
  uint32_t units = text->units - 1;
  if (units > 0 && search_text::IsLowSurrogate<Char>(text->chars[units]) &&
      search_text::IsHighSurrogate<Char>(text->chars[units - 1])) {
    --units;
  }
  text->units = units;
  text->chars[units] = 0;
  --text->length;
}

// Appends the character c unless the text is full. A high surrogate is held
// back until its low half arrives. Returns true when a whole character was
// added, false when the text is full or the character is not whole yet.
template <class Char>
bool AppendCharacter(BasicSearchText<Char>* text, uint32_t c) {
  if (text->length >= kSearchTextMax) return false;
  if (search_text::IsHighSurrogate<Char>(c)) {
    text->pendingHigh = static_cast<Char>(c);
    return false;
  }
  if (search_text::IsLowSurrogate<Char>(c) && text->pendingHigh != 0) {
    text->chars[text->units++] = text->pendingHigh;
  }
  text->pendingHigh = 0;
  text->chars[text->units++] = static_cast<Char>(c);
  text->chars[text->units] = 0;
  ++text->length;
  return true;
}

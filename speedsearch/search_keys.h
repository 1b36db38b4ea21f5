// The speed search's rules for each key: which it takes, and what a taken key
// does to the search text and the panel cursor. Knows nothing of the screen
// or the console queue; the loop hands it one character code at a time.
#pragma once

#include <cstdint>

#include "speedsearch/find_by_description.h"

namespace search_keys {

// Character codes with a meaning of their own; every other code from 32 up
// is a character to search for.
constexpr uint32_t kBackspace = 8;   // Backspace, Ctrl+H
constexpr uint32_t kNextMatch = 10;  // Ctrl+Enter, Ctrl+J
constexpr uint32_t kClearText = 25;  // Ctrl+Y
constexpr uint32_t kEscape = 27;
constexpr uint32_t kClearTextToo = 127;  // Ctrl+Backspace
constexpr uint32_t kFirstCharacter = 32;

// A character stays in the text only when some description matches the text
// with it; the text is never allowed past its 18 characters.
template <Gateway G>
void AppendAndSearch(uint32_t c, const SearchSession<G>& session) {
  BasicSearchText<typename G::Char>* text = session.text;
  if (text->length >= kSearchTextMax) {
    G::Beep();
    return;
  }
  if (!AppendCharacter(text, c)) return;  // half a surrogate pair so far
  if (!FindByDescription(session, 0)) DropLastCharacter(text);
}

}  // namespace search_keys

// True when the speed search takes the key whose character code is c; any
// other key ends the search and is left to the host.
constexpr bool IsSearchKey(uint32_t c) {
  using namespace search_keys;
  return c >= kFirstCharacter || c == kBackspace || c == kNextMatch || c == kClearText ||
         c == kEscape;
}

// Carries out a taken key. Returns false when the key ends the speed search
// (Esc), true when it goes on.
template <Gateway G>
bool ApplySearchKey(uint32_t c, const SearchSession<G>& session) {
  using namespace search_keys;
  switch (c) {
    case kEscape:
      return false;
    case kBackspace:
      DropLastCharacter(session.text);
      break;
    case kClearText:
    case kClearTextToo:
      ClearSearchText(session.text);
      break;
    case kNextMatch:
      FindByDescription(session, 1);
      break;
    default:
      AppendAndSearch(c, session);
      break;
  }
  return true;
}

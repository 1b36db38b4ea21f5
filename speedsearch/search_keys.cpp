// What each key does during a speed search.
#include "speedsearch/search_keys.h"

#include "host/system.h"
#include "speedsearch/find_by_description.h"

namespace {

// Character codes with a meaning of their own; every other code from 32 up
// is a character to search for.
constexpr uint32_t kBackspace = 8;   // Backspace, Ctrl+H
constexpr uint32_t kNextMatch = 10;  // Ctrl+Enter, Ctrl+J
constexpr uint32_t kClearText = 25;  // Ctrl+Y
constexpr uint32_t kEscape = 27;
constexpr uint32_t kClearTextToo = 127;  // Ctrl+Backspace
constexpr uint32_t kFirstCharacter = 32;

void DropLastCharacter(SearchText* text) {
  if (text->length == 0) return;
  text->chars[--text->length] = '\0';
}

// A character stays in the text only when some description matches the text
// with it; the text is never allowed past its 18 characters.
void AppendAndSearch(uint32_t c, SearchText* text, PanelInfo* panel) {
  if (text->length >= kSearchTextMax) {
    sys::Beep();
    return;
  }
  text->chars[text->length++] = static_cast<char>(c);
  text->chars[text->length] = '\0';
  if (!FindByDescription(text->chars, 0, panel)) DropLastCharacter(text);
}

}  // namespace

void ClearSearchText(SearchText* text) {
  text->chars[0] = '\0';
  text->length = 0;
}

bool IsSearchKey(uint32_t c) {
  return c >= kFirstCharacter || c == kBackspace || c == kNextMatch || c == kClearText ||
         c == kEscape;
}

bool ApplySearchKey(uint32_t c, SearchText* text, PanelInfo* panel) {
  switch (c) {
    case kEscape:
      return false;
    case kBackspace:
      DropLastCharacter(text);
      break;
    case kClearText:
    case kClearTextToo:
      ClearSearchText(text);
      break;
    case kNextMatch:
      FindByDescription(text->chars, 1, panel);
      break;
    default:
      AppendAndSearch(c, text, panel);
      break;
  }
  return true;
}

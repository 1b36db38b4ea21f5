// The speed search's rules for each key: which it takes, and what a taken key
// does to the search text and the panel cursor. Knows nothing of the screen
// or the console queue; the loop hands it one key at a time.
//
// Two rules decide which keys are taken. The 1.x plug-in's: the key's
// character code alone, so that Ctrl+Shift+Enter is Ctrl+Enter there. The
// wide builds': the host's own quick search's, which also reads the virtual
// key and the Shift, Ctrl and Alt keys held. A gateway chooses the second
// by its LikeHostQuickSearch trait.
#pragma once

#include <cstdint>

#include "core/ascii_text.h"
#include "core/gateway.h"
#include "speedsearch/find_by_description.h"
#include "sys/system.h"

// What a key does to a running speed search.
enum class SearchAction : uint8_t {
  kLeave,          // ends the search; the key stays queued for the host
  kEnd,            // Esc: ends the search, taken
  kAppend,         // a character to search for
  kDropLast,       // Backspace
  kClear,          // Ctrl+Y, Ctrl+Backspace
  kNextMatch,      // Ctrl+Enter
  kPreviousMatch,  // Ctrl+Shift+Enter
  kPaste,          // Ctrl+V, Shift+Ins, Shift+Num0
  kHelp,           // F1
};

namespace search_keys {

// Character codes with a meaning of their own; every other code from 32 up
// is a character to search for.
constexpr uint32_t kBackspace = 8;   // Backspace, Ctrl+H
constexpr uint32_t kNextMatch = 10;  // Ctrl+Enter, Ctrl+J
constexpr uint32_t kClearText = 25;  // Ctrl+Y
constexpr uint32_t kEscape = 27;
constexpr uint32_t kClearTextToo = 127;  // Ctrl+Backspace
constexpr uint32_t kFirstCharacter = 32;

// The help topic of the speed search, which F1 opens in the wide builds.
inline constexpr char kSearchHelpTopic[] = "SpeedSearch";

// The virtual keys the host's quick search reads beside the character.
constexpr uint16_t kVkReturn = 0x0D;
constexpr uint16_t kVkInsert = 0x2D;
constexpr uint16_t kVkV = 'V';
constexpr uint16_t kVkNumpad0 = 0x60;
constexpr uint16_t kVkF1 = 0x70;

// Only Shift, only Ctrl (either one), and so on: the state with the lock
// keys and the keypad flag left out.
enum class Held : uint8_t { kNone, kShift, kCtrl, kCtrlShift, kOther };

constexpr Held ModifiersHeld(uint32_t state) {
  const bool shift = (state & sys::kShift) != 0;
  const bool ctrl = (state & (sys::kLeftCtrl | sys::kRightCtrl)) != 0;
  if ((state & (sys::kLeftAlt | sys::kRightAlt)) != 0) return Held::kOther;
  if (ctrl) return shift ? Held::kCtrlShift : Held::kCtrl;
  return shift ? Held::kShift : Held::kNone;
}

// The keys the host's quick search has beyond the 1.x rule, or kLeave.
constexpr SearchAction HostOnlyAction(const sys::ConsoleEvent& key) {
  const Held held = ModifiersHeld(key.controlKeyState);
  switch (key.virtualKeyCode) {
    case kVkReturn:  // also the keypad's Enter, and with the right Ctrl
      return held == Held::kCtrlShift ? SearchAction::kPreviousMatch : SearchAction::kLeave;
    case kVkV:
      return held == Held::kCtrl ? SearchAction::kPaste : SearchAction::kLeave;
    case kVkInsert:  // with Num Lock on, Shift+Num0 comes as the keypad's Insert
    case kVkNumpad0:
      return held == Held::kShift ? SearchAction::kPaste : SearchAction::kLeave;
    case kVkF1:
      return held == Held::kNone ? SearchAction::kHelp : SearchAction::kLeave;
    default:
      return SearchAction::kLeave;
  }
}

// Appends c when some description matches the text with it. A character
// stays in the text only then; the text is never allowed past its 18
// characters. The wide builds take "**" as one "*", as the host's quick
// search does, and a gateway that converts a letter to the other keyboard
// layout has a letter that matches nothing retried converted.
template <Gateway G>
void AppendAndSearch(uint32_t c, const SearchSession<G>& session) {
  BasicSearchText<typename G::Char>* text = session.text;
  if (text->length >= kSearchTextMax) {
    G::Beep();
    return;
  }
  if constexpr (LikeHostQuickSearch<G>()) {
    if (c == '*' && text->units > 0 && text->chars[text->units - 1] == '*') return;
  }
  if (!AppendCharacter(text, c)) return;  // half a surrogate pair so far
  if (FindByDescription(session, 0)) return;
  if constexpr (requires(typename G::Char unit) { G::OtherLayout(unit); }) {
    typename G::Char& last = text->chars[text->units - 1];
    const typename G::Char typed = last;
    last = G::OtherLayout(typed);
    if (last != typed && FindByDescription(session, 0)) return;
  }
  DropLastCharacter(text);
}

// Appends as much of units as the text holds, then drops characters from
// its end until some description matches, as the host's quick search takes
// a pasted text. Quotes are left out, as the host leaves them out. A text
// that matches nothing however short is left as it was.
template <Gateway G>
void AppendWhileMatching(const SearchSession<G>& session, const typename G::Char* units,
                         uint32_t count) {
  BasicSearchText<typename G::Char>* text = session.text;
  const uint32_t lengthBefore = text->length;
  for (uint32_t i = 0; i < count && units[i] != 0 && text->length < kSearchTextMax; ++i) {
    if (units[i] != '"') AppendCharacter(text, static_cast<uint32_t>(units[i]));
  }
  text->pendingHigh = 0;
  while (text->length > lengthBefore && !FindByDescription(session, 0)) {
    DropLastCharacter(text);
  }
}

// Pastes the clipboard's first line, as much of it as the text holds.
template <Gateway G>
void PasteAndSearch(const SearchSession<G>& session) {
  using Char = typename G::Char;
  Char line[kSearchTextUnits<Char>];
  AppendWhileMatching(session, line, G::ClipboardLine(line, kSearchTextUnits<Char>));
}

}  // namespace search_keys

// The 1.x rule: what the key whose character code is c does. Keys below 32
// without a meaning of their own are left to the host.
constexpr SearchAction ActionOfCharacter(uint32_t c) {
  using namespace search_keys;
  switch (c) {
    case kEscape:
      return SearchAction::kEnd;
    case kBackspace:
      return SearchAction::kDropLast;
    case kClearText:
    case kClearTextToo:
      return SearchAction::kClear;
    case kNextMatch:
      return SearchAction::kNextMatch;
    default:
      return c >= kFirstCharacter ? SearchAction::kAppend : SearchAction::kLeave;
  }
}

// True when the 1.x rule takes the key whose character code is c; any other
// key ends the search and is left to the host.
constexpr bool IsSearchKey(uint32_t c) {
  return ActionOfCharacter(c) != SearchAction::kLeave;
}

// The host's quick search's rule: its own keys first, then the character as
// the 1.x rule has it.
constexpr SearchAction ActionOfKey(const sys::ConsoleEvent& key) {
  const SearchAction own = search_keys::HostOnlyAction(key);
  return own != SearchAction::kLeave ? own : ActionOfCharacter(key.character);
}

// Carries out a taken key whose character code is c. Returns false when the
// key ends the speed search (Esc), true when it goes on.
template <Gateway G>
bool ApplySearchKey(SearchAction action, uint32_t c, const SearchSession<G>& session) {
  switch (action) {
    case SearchAction::kLeave:
    case SearchAction::kEnd:
      return false;
    case SearchAction::kDropLast:
      DropLastCharacter(session.text);
      break;
    case SearchAction::kClear:
      ClearSearchText(session.text);
      break;
    case SearchAction::kNextMatch:
      FindByDescription(session, 1);
      break;
    case SearchAction::kPreviousMatch:
      FindPreviousByDescription(session);
      break;
    case SearchAction::kPaste:
      if constexpr (LikeHostQuickSearch<G>()) search_keys::PasteAndSearch(session);
      break;
    case SearchAction::kHelp:
      if constexpr (LikeHostQuickSearch<G>()) {
        G::ShowHelp(kTextIn<typename G::Char, search_keys::kSearchHelpTopic>.units);
      }
      break;
    case SearchAction::kAppend:
      search_keys::AppendAndSearch(c, session);
      break;
  }
  return true;
}

// The 1.x rule's step: carries out the key whose character code is c.
template <Gateway G>
bool ApplySearchKey(uint32_t c, const SearchSession<G>& session) {
  return ApplySearchKey(ActionOfCharacter(c), c, session);
}

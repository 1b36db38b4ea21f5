// The commands a macro calls the plug-in with, by name: "Search" (the speed
// search, optionally with a starting text), "Select" and "Unselect"
// (optionally with a mask; without one, the dialog asks). Names are read
// without regard to ASCII case; a host whose macros pass one string gives
// the argument after a colon or a blank.
#pragma once

#include <cstdint>

#include "commands/select_command.h"
#include "core/gateway.h"
#include "speedsearch/speed_search.h"

enum class MacroCommand : uint8_t { kUnknown, kSearch, kSelect, kUnselect };

namespace macro_command {

inline constexpr const char* kNames[] = {"", "Search", "Select", "Unselect"};

constexpr uint32_t Folded(uint32_t c) {
  return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

constexpr bool IsSeparator(uint32_t c) {
  return c == ':' || c == ' ';
}

// The length of name when text begins with it and the name ends there (at
// the NUL, or at the separator before an argument); else 0.
template <class Char>
uint32_t NameLength(const Char* text, const char* name) {
  uint32_t i = 0;
  for (; name[i] != 0; ++i) {
    if (Folded(static_cast<uint32_t>(text[i])) != Folded(static_cast<uint32_t>(name[i]))) {
      return 0;
    }
  }
  return text[i] == 0 || IsSeparator(static_cast<uint32_t>(text[i])) ? i : 0;
}

}  // namespace macro_command

// The command named by text, which holds the name alone, or the name, a
// colon or blank and the argument (the form of a host whose macros pass one
// string). *argument is then the text after the separator, else null.
template <class Char>
MacroCommand ParseMacroCommand(const Char* text, const Char** argument) {
  *argument = nullptr;
  if (text == nullptr) return MacroCommand::kUnknown;
  for (uint32_t id = 1; id < 4; ++id) {
    const uint32_t length = macro_command::NameLength(text, macro_command::kNames[id]);
    if (length == 0) continue;
    if (text[length] != 0) *argument = text + length + 1;
    return static_cast<MacroCommand>(id);
  }
  return MacroCommand::kUnknown;
}

// Runs the command a macro named, with its argument (a starting text or a
// mask; null for none). Returns what the command answers: 1 for the search
// once it has ended; for select and unselect, the number of items matched,
// -1 when nothing was done.
template <Gateway G>
int64_t RunMacroCommand(MacroCommand command, const typename G::Char* argument) {
  switch (command) {
    case MacroCommand::kSearch:
      SpeedSearchCommand<G>(argument);
      return 1;
    case MacroCommand::kSelect:
    case MacroCommand::kUnselect:
      return SelectCommand<G>(command == MacroCommand::kUnselect, argument);
    case MacroCommand::kUnknown:
      break;
  }
  return -1;
}

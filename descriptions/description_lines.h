// The lines of a description file, as both hosts read them:
//
// - CR, LF and CR LF each end a line; a NUL ends the line's text there.
// - A line that is empty or starts with a blank (space or tab) names no item:
//   it continues the previous description, of which the hosts show only the
//   first line.
// - The name runs to the first blank, or, when the line starts with a double
//   quote, to the next double quote (kept as written, blanks included; a line
//   whose quote is never closed names nothing).
// - The description follows after any blanks, without trailing blanks; every
//   other character (a tab inside, Ctrl+Z, quotes) is part of it.
// - A description that starts with the item's size in bytes and a blank shows
//   without them (the size some tools write first).
//
// Where the hosts differ, the Windows host's rules hold for `char` and
// `char16_t` text and far2l's for UTF-32 `wchar_t`; see HostRules.
#pragma once

#include <cstdint>

namespace descriptions {

struct HostRules {
  // far2l reads "1,234" and "1.234" as the size 1234; the Windows host reads
  // digits only.
  bool sizeWithSeparators;
  // far2l gives "name." the description of an item "name" without extension.
  bool dotNamesItemWithoutExtension;
  // far2l knows UTF-32 byte-order marks; the Windows host reads such files as
  // UTF-16 (and so finds no names in them).
  bool utf32Marks;
};

template <class Char>
constexpr HostRules kHostRules = sizeof(Char) == 4 ? HostRules{true, true, true}
                                                   : HostRules{false, false, false};

template <class Char>
struct DescriptionLine {
  const Char* name;
  uint32_t nameLength;  // 0: the line names no item
  const Char* text;
  uint32_t textLength;  // 0: the item has no description
};

namespace detail {

template <class Char>
constexpr bool IsBlank(Char c) {
  return c == Char(' ') || c == Char('\t');
}

template <class Char>
constexpr bool EndsLine(Char c) {
  return c == Char('\r') || c == Char('\n');
}

template <class Char>
void ParseLine(const Char* text, const Char* end, DescriptionLine<Char>* line) {
  line->nameLength = 0;
  line->textLength = 0;
  line->text = end;
  if (text == end || IsBlank(*text)) return;
  const Char* nameEnd;
  const Char* rest;
  if (*text == Char('"')) {
    ++text;
    nameEnd = text;
    while (nameEnd != end && *nameEnd != Char('"')) ++nameEnd;
    if (nameEnd == end) return;
    rest = nameEnd + 1;
  } else {
    nameEnd = text;
    while (nameEnd != end && !IsBlank(*nameEnd)) ++nameEnd;
    rest = nameEnd;
  }
  line->name = text;
  line->nameLength = static_cast<uint32_t>(nameEnd - text);
  while (rest != end && IsBlank(*rest)) ++rest;
  while (end != rest && IsBlank(end[-1])) --end;
  line->text = rest;
  line->textLength = static_cast<uint32_t>(end - rest);
}

}  // namespace detail

// The length of the size at the start of a description (with the blanks
// after it) when it equals `size`, else 0. A description that is the size
// alone keeps it.
template <class Unit>
uint32_t SizePrefixLength(const Unit* text, uint32_t length, uint64_t size,
                          const HostRules& rules) {
  if (length == 0 || text[0] < Unit('0') || text[0] > Unit('9')) return 0;
  uint64_t value = 0;
  uint32_t at = 0;
  for (; at < length; ++at) {
    const Unit c = text[at];
    if (c >= Unit('0') && c <= Unit('9')) {
      if (value > (~uint64_t{0} - 9) / 10) return 0;
      value = value * 10 + static_cast<uint64_t>(c - Unit('0'));
    } else if (!(rules.sizeWithSeparators && (c == Unit(',') || c == Unit('.')))) {
      break;
    }
  }
  if (value != size || at == length || !detail::IsBlank(text[at])) return 0;
  while (at < length && detail::IsBlank(text[at])) ++at;
  return at;
}

// Reads the line at *cursor into *line and moves *cursor to the next one.
// False when no line is left.
template <class Char>
bool NextDescriptionLine(const Char** cursor, const Char* end, DescriptionLine<Char>* line) {
  const Char* start = *cursor;
  if (start == end) return false;
  const Char* stop = start;
  while (stop != end && !detail::EndsLine(*stop) && *stop != Char(0)) ++stop;
  detail::ParseLine(start, stop, line);
  while (stop != end && !detail::EndsLine(*stop)) ++stop;  // past a NUL's leftovers
  if (stop != end) {
    const Char ending = *stop++;
    if (ending == Char('\r') && stop != end && *stop == Char('\n')) ++stop;
  }
  *cursor = stop;
  return true;
}

}  // namespace descriptions

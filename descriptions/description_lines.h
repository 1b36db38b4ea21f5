// The lines of a description file, as the hosts read them:
//
// - CR, LF and CR LF each end a line.
// - A line that is empty or starts with a blank (space, tab, the ideographic
//   space U+3000, and more as the host has it) names no item: it continues
//   the previous description, of which the hosts show only the first line.
//   Blanks at a line's end are not part of it.
// - The name runs to the first blank, or, when the line starts with a double
//   quote, to the next double quote (kept as written, blanks included; where
//   the quote is never closed, the rest of the line is the name).
// - The description follows after any blanks; every other character (a tab
//   inside, Ctrl+Z, quotes) is part of it.
// - A description that starts with the item's size in bytes and a blank shows
//   without them (the size some tools write first).
//
// Where the hosts differ, the gateway's HostRules say which way it goes.
#pragma once

#include <cstdint>

#include "core/description_rules.h"
#include "core/utf.h"

namespace descriptions {

// The current generation's way (its layer for 1.x plug-ins reads alike).
inline constexpr HostRules kCurrentGenerationRules{.sizeSeparatorsSkipped = false,
                                                   .moreBlanks = true,
                                                   .whiteSpaceTrimmed = true,
                                                   .nulEndsLine = false,
                                                   .dotNamesItemWithoutExtension = false,
                                                   .utf32Marks = false,
                                                   .listQuoted = true};
// far2l's way.
inline constexpr HostRules kFar2lRules{.sizeSeparatorsSkipped = true,
                                       .moreBlanks = false,
                                       .whiteSpaceTrimmed = false,
                                       .nulEndsLine = true,
                                       .dotNamesItemWithoutExtension = true,
                                       .utf32Marks = true,
                                       .listQuoted = false};

constexpr bool IsBlank(uint32_t c, const HostRules& rules) {
  if (c == ' ' || c == '\t' || c == 0x3000) return true;
  return rules.moreBlanks && (c == 0xA0 || c == 0xFEFF);
}

// Whether the host trims the character from a line's end.
constexpr bool IsTrimmed(uint32_t c, const HostRules& rules) {
  if (c == ' ' || c == '\t' || c == 0x3000) return true;
  if (!rules.whiteSpaceTrimmed) return false;
  return (c >= 0x0B && c <= 0x0D) || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
         c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F;
}

// A line as the first pass reads it: the name it gives (if any), and where
// the rest of it lies. DescriptionOf reads the rest where an item takes it.
template <class Unit>
struct DescriptionLine {
  const Unit* name;
  uint32_t nameLength;  // 0: the line names no item
  const Unit* rest;     // after the name and its closing quote
  const Unit* end;      // the line's text ends here (far2l: at a NUL)
  bool nul;             // a NUL lies before end
};

// How a file's units spell characters, for finding the blanks: UTF-16 or
// UTF-32 units are themselves, UTF-8 bytes make sequences, and a code page's
// bytes are read through its table (where it has lead bytes, by ASCII only).
struct LineSyntax {
  HostRules rules;
  bool utf8;
  const char16_t* table;  // a single-byte code page's characters, or null
};

namespace detail {

// The character at `at` and the units it takes.
template <class Unit>
uint32_t CharacterAt(const Unit* at, const Unit* end, const LineSyntax& syntax, uint32_t* units) {
  const auto c = static_cast<uint32_t>(*at);
  *units = 1;
  if (sizeof(Unit) > 1 || c < 0x80) return c;
  if (syntax.utf8) {
    uint32_t used = 0;
    const uint32_t decoded =
        utf::NextUtf8(reinterpret_cast<const uint8_t*>(at), static_cast<uint32_t>(end - at), &used);
    *units = used;
    return decoded;
  }
  return syntax.table != nullptr ? syntax.table[c] : utf::kReplacement;
}

// The number of units the blank at `at` takes, or 0 where none starts there.
template <class Unit>
uint32_t BlankAt(const Unit* at, const Unit* end, const LineSyntax& syntax) {
  uint32_t units;
  const uint32_t c = CharacterAt(at, end, syntax, &units);
  return IsBlank(c, syntax.rules) ? units : 0;
}

// The number of units of the character ending at `end` that the host trims,
// or 0.
template <class Unit>
uint32_t TrimmedBefore(const Unit* start, const Unit* end, const LineSyntax& syntax) {
  const Unit* at = end - 1;
  if (sizeof(Unit) == 1 && syntax.utf8) {
    while (at != start && end - at < 4 && (static_cast<uint8_t>(*at) & 0xC0) == 0x80) --at;
  }
  uint32_t units;
  const uint32_t c = CharacterAt(at, end, syntax, &units);
  return at + units == end && IsTrimmed(c, syntax.rules) ? units : 0;
}

template <class Unit>
const Unit* SkipBlanks(const Unit* at, const Unit* end, const LineSyntax& syntax) {
  while (at != end) {
    const uint32_t blank = BlankAt(at, end, syntax);
    if (blank == 0) break;
    at += blank;
  }
  return at;
}

template <class Unit>
const Unit* Find(const Unit* at, const Unit* end, Unit c) {
  while (at != end && *at != c) ++at;
  return at;
}

template <class Unit>
constexpr bool EndsLine(Unit c) {
  return c == Unit('\r') || c == Unit('\n');
}

// The first CR, LF or NUL at or after `at`. Eight bytes at a time: a
// description file is mostly the text between them.
template <class Unit>
const Unit* FindLineEnd(const Unit* at, const Unit* end) {
  if constexpr (sizeof(Unit) == 1) {
    constexpr uint64_t kOnes = 0x0101010101010101u;
    constexpr uint64_t kHighs = 0x8080808080808080u;
    while (end - at >= 8) {
      uint64_t word;
      __builtin_memcpy(&word, at, sizeof word);
      const uint64_t cr = word ^ (kOnes * '\r');
      const uint64_t lf = word ^ (kOnes * '\n');
      const uint64_t found = ((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf) | ((word - kOnes) & ~word);
      if ((found & kHighs) != 0) break;
      at += 8;
    }
  }
  while (at != end && !EndsLine(*at) && *at != Unit(0)) ++at;
  return at;
}

// `end` less the characters the host trims from a line's end.
template <class Unit>
const Unit* Trimmed(const Unit* start, const Unit* end, const LineSyntax& syntax) {
  for (uint32_t trimmed; end != start && (trimmed = TrimmedBefore(start, end, syntax)) != 0;)
    end -= trimmed;
  return end;
}

// Reads the name of the line's text [text, end).
template <class Unit>
void ParseName(const Unit* text, const Unit* end, bool nul, const LineSyntax& syntax,
               DescriptionLine<Unit>* line) {
  *line = DescriptionLine<Unit>{text, 0, end, end, nul};
  if (text == end || BlankAt(text, end, syntax) != 0) return;
  const Unit* nameEnd;
  const Unit* rest;
  if (*text == Unit('"')) {
    ++text;
    nameEnd = Find(text, end, Unit('"'));
    rest = nameEnd == end ? end : nameEnd + 1;
  } else {
    nameEnd = text;
    while (nameEnd != end) {
      const auto c = static_cast<uint32_t>(*nameEnd);
      if (c < 0x80 ? c == ' ' || c == '\t' : BlankAt(nameEnd, end, syntax) != 0) break;
      ++nameEnd;
    }
    rest = nameEnd;
  }
  // A name that runs to the line's end stops before what the host trims.
  if (nameEnd == end) nameEnd = rest = Trimmed(text, end, syntax);
  // A NUL left inside the name (the current generation reads on past it):
  // the name is no item's.
  if (nameEnd == text || (nul && Find(text, nameEnd, Unit(0)) != nameEnd)) return;
  line->name = text;
  line->nameLength = static_cast<uint32_t>(nameEnd - text);
  line->rest = rest;
}

// The size's decimal digits, digits[k] standing for 10^k, without a 64-bit
// division (the 32-bit DLLs have no runtime that divides). Returns their
// number.
inline uint32_t Decimal(uint64_t value, char* digits) {
  static constexpr uint64_t kPowers[20] = {1u,
                                           10u,
                                           100u,
                                           1000u,
                                           10000u,
                                           100000u,
                                           1000000u,
                                           10000000u,
                                           100000000u,
                                           1000000000u,
                                           10000000000u,
                                           100000000000u,
                                           1000000000000u,
                                           10000000000000u,
                                           100000000000000u,
                                           1000000000000000u,
                                           10000000000000000u,
                                           100000000000000000u,
                                           1000000000000000000u,
                                           10000000000000000000u};
  uint32_t count = 1;
  while (count < 20 && value >= kPowers[count]) ++count;
  for (uint32_t k = count; k > 0; --k) {
    char digit = '0';
    while (value >= kPowers[k - 1]) value -= kPowers[k - 1], ++digit;
    digits[k - 1] = digit;
  }
  return count;
}

}  // namespace detail

// The length of the item's size at the start of a description, with the
// blanks after it, where the host leaves it out; else 0. A description that
// is the size alone keeps it.
template <class Unit>
uint32_t SizePrefixLength(const Unit* text, uint32_t length, uint64_t size,
                          const LineSyntax& syntax) {
  if (length == 0 || text[0] < Unit('0') || text[0] > Unit('9')) return 0;
  char digits[20];
  uint32_t count = detail::Decimal(size, digits);
  uint32_t at = 0;
  while (count > 0) {
    if (at == length) return 0;
    const auto c = static_cast<uint32_t>(text[at++]);
    const bool separator = c == ',' || c == '.';
    if (separator && syntax.rules.sizeSeparatorsSkipped) continue;
    if (!separator && c != static_cast<uint32_t>(digits[--count])) return 0;
    if (separator) --count;
  }
  if (at == length || detail::BlankAt(text + at, text + length, syntax) == 0) return 0;
  return static_cast<uint32_t>(detail::SkipBlanks(text + at, text + length, syntax) - text);
}

// Reads the name of the line at *cursor into *line and moves *cursor to the
// next line. False when no line is left.
template <class Unit>
bool NextDescriptionLine(const Unit** cursor, const Unit* end, const LineSyntax& syntax,
                         DescriptionLine<Unit>* line) {
  const Unit* start = *cursor;
  if (start == end) return false;
  const Unit* stop = detail::FindLineEnd(start, end);
  const Unit* nul = stop;
  while (stop != end && *stop == Unit(0)) stop = detail::FindLineEnd(stop + 1, end);
  if (syntax.rules.nulEndsLine) {
    detail::ParseName(start, nul, false, syntax, line);
  } else {
    detail::ParseName(start, stop, nul != stop, syntax, line);
  }
  if (stop != end) {
    const Unit ending = *stop++;
    if (ending == Unit('\r') && stop != end && *stop == Unit('\n')) ++stop;
  }
  *cursor = stop;
  return true;
}

// The description a line gives: after the blanks that follow its name, to
// its end less what the host trims (and, where the host reads on past a
// NUL, up to the NUL). Its length is 0 where it gives none.
template <class Unit>
const Unit* DescriptionOf(const DescriptionLine<Unit>& line, const LineSyntax& syntax,
                          uint32_t* length) {
  const Unit* end = detail::Trimmed(line.rest, line.end, syntax);
  const Unit* text = detail::SkipBlanks(line.rest, end, syntax);
  if (line.nul) end = detail::Find(text, end, Unit(0));
  *length = static_cast<uint32_t>(end - text);
  return text;
}

}  // namespace descriptions

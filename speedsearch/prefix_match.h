// Does a description begin with the typed text, as the host's mask matcher
// would say for the mask "text*"? Asking the host once per item and
// keystroke costs more than the host's own quick search, so for a text of
// plain letters the matcher compares unit by unit and asks the host only
// about pairs of units it has not seen yet: the host compares a plain mask
// one character at a time, so its verdict on "text*" is exactly the verdict
// on each pair. A text holding anything a mask may treat specially goes to
// the host whole, item by item.
#pragma once

#include <cstdint>

#include "core/gateway.h"
#include "speedsearch/search_text.h"

template <class Char>
struct PrefixMatcher {
  // The text and "*"; a "[" or "]" of the text may take three units.
  Char mask[3 * kSearchTextUnits<Char> + 2];
  bool plain;  // no unit a mask treats specially

  // The host's verdicts, 0 while unknown, else kSame or kDifferent: a row
  // per typed unit (rowOwner), against description units below 256. Rows are
  // reused in turn when a text holds more distinct units than there are rows.
  static constexpr uint32_t kRows = 8;
  Char rowOwner[kRows];
  uint8_t rows[kRows][256];
  uint32_t nextRow;

  // Verdicts on pairs with a description unit of 256 and above.
  struct WidePair {
    uint32_t typed;
    uint32_t seen;
    uint8_t verdict;
  };
  static constexpr uint32_t kWideSlots = 128;
  WidePair wide[kWideSlots];
};

namespace prefix_match {

constexpr uint8_t kSame = 1;
constexpr uint8_t kDifferent = 2;
constexpr uint32_t kWideProbes = 8;

// Wildcards, sets, the dot that may stand for the end of a name, and the
// separators and quotes of mask lists.
constexpr bool IsSpecial(uint32_t unit) {
  switch (unit) {
    case '*':
    case '?':
    case '[':
    case ']':
    case '.':
    case ',':
    case ';':
    case '|':
    case '"':
    case '\\':
    case '/':
    case '^':
      return true;
    default:
      return false;
  }
}

template <Gateway G>
uint8_t AskHost(typename G::Char typed, typename G::Char seen) {
  using Char = typename G::Char;
  const Char mask[] = {typed, 0};
  const Char str[] = {seen, 0};
  return G::CmpName(mask, str) ? kSame : kDifferent;
}

template <Gateway G>
bool SameWideUnit(PrefixMatcher<typename G::Char>* m, typename G::Char typed,
                  typename G::Char seen) {
  using Char = typename G::Char;
  const uint32_t t = static_cast<uint32_t>(typed);
  const uint32_t s = static_cast<uint32_t>(seen);
  uint32_t slot = (t * 40503u ^ s * 2654435761u) % PrefixMatcher<Char>::kWideSlots;
  for (uint32_t probe = 0; probe < kWideProbes; ++probe) {
    auto& pair = m->wide[(slot + probe) % PrefixMatcher<Char>::kWideSlots];
    if (pair.verdict == 0) {
      pair = {t, s, AskHost<G>(typed, seen)};
      return pair.verdict == kSame;
    }
    if (pair.typed == t && pair.seen == s) return pair.verdict == kSame;
  }
  return AskHost<G>(typed, seen) == kSame;  // a crowded table: ask every time
}

// The row of verdicts for a typed unit, emptied when it is taken over.
template <class Char>
uint8_t* RowFor(PrefixMatcher<Char>* m, Char typed) {
  for (uint32_t r = 0; r < PrefixMatcher<Char>::kRows; ++r) {
    if (m->rowOwner[r] == typed) return m->rows[r];
  }
  const uint32_t r = m->nextRow++ % PrefixMatcher<Char>::kRows;
  for (uint8_t& verdict : m->rows[r]) verdict = 0;
  m->rowOwner[r] = typed;
  return m->rows[r];
}

template <Gateway G>
bool SameUnit(PrefixMatcher<typename G::Char>* m, typename G::Char typed, typename G::Char seen) {
  const uint32_t s = static_cast<uint32_t>(seen);
  if (s >= 256) return SameWideUnit<G>(m, typed, seen);
  uint8_t& verdict = RowFor(m, typed)[s];
  if (verdict == 0) verdict = AskHost<G>(typed, seen);
  return verdict == kSame;
}

}  // namespace prefix_match

// Readies the matcher for a new text; verdicts already known are kept. With
// literalSets, "[" and "]" in the text stand for themselves, written as the
// one-character sets "[[]" and "[]]", as the host's quick search writes them.
template <class Char>
void PrepareMatcher(PrefixMatcher<Char>* m, const BasicSearchText<Char>& text, bool literalSets) {
  m->plain = true;
  uint32_t at = 0;
  for (uint32_t k = 0; k < text.units; ++k) {
    const Char unit = text.chars[k];
    if (prefix_match::IsSpecial(static_cast<uint32_t>(unit))) m->plain = false;
    if (literalSets && (unit == '[' || unit == ']')) {
      m->mask[at++] = '[';
      m->mask[at++] = unit;
      m->mask[at++] = ']';
    } else {
      m->mask[at++] = unit;
    }
  }
  m->mask[at] = '*';
  m->mask[at + 1] = 0;
}

template <class Char>
void ResetMatcher(PrefixMatcher<Char>* m) {
  // No unit of a text is 0, so no row belongs to one yet.
  for (Char& owner : m->rowOwner) owner = 0;
  m->nextRow = 0;
  for (auto& pair : m->wide) pair.verdict = 0;
}

// True when description begins with text under the host's rules.
template <Gateway G>
bool MatchesPrefix(PrefixMatcher<typename G::Char>* m,
                   const BasicSearchText<typename G::Char>& text,
                   const typename G::Char* description) {
  using Char = typename G::Char;
  if (!m->plain) return G::CmpName(m->mask, description);
  for (uint32_t k = 0; k < text.units; ++k) {
    const Char seen = description[k];
    const Char typed = text.chars[k];
    if (seen == typed) continue;
    if (seen == 0 || !prefix_match::SameUnit<G>(m, typed, seen)) return false;
  }
  return true;
}

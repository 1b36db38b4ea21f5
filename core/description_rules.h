// What a gateway tells the plug-in's own reading of description files about
// its host: the way the host reads them (HostRules, a constant per host) and
// the host's settings (HostSettings, asked once per command).
#pragma once

#include <cstdint>

namespace descriptions {

struct HostRules {
  // far2l reads digits with ',' and '.' between them left out ("1,234" is
  // 1234); the current generation compares the size's digits position by
  // position, a ',' or '.' standing for any digit.
  bool sizeSeparatorsSkipped;
  // The current generation's blanks (its iswblank) include the no-break
  // space U+00A0 and U+FEFF.
  bool moreBlanks;
  // The current generation trims a line's end of every white space its
  // iswspace knows (vertical tab, form feed, the Unicode spaces); far2l only
  // of blanks.
  bool whiteSpaceTrimmed;
  // far2l ends a line's text at a NUL; the current generation keeps the rest,
  // so that a name holding a NUL names no item and a description ends there.
  bool nulEndsLine;
  // far2l gives "name." the description of an item "name" without extension.
  bool dotNamesItemWithoutExtension;
  // far2l knows UTF-32 byte-order marks; the current generation reads such
  // files as UTF-16 (and so finds no names in them).
  bool utf32Marks;
  // How the host's list of description file names is split: the current
  // generation splits at ',' and ';' outside double quotes and drops the
  // quotes; far2l splits at ',' alone and skips blanks after it.
  bool listQuoted;
};

// The host's own description settings, as the gateway reads them once per
// command.
template <class Char>
struct HostSettings {
  // The host's list of file names; null where it keeps none (its default
  // names then hold), empty where it names no file (nothing is read).
  const Char* fileNames;
  // A file without a byte-order mark is in the ANSI code page, not the OEM
  // one.
  bool ansi;
};

}  // namespace descriptions

// The host's file-name mask rules, for the stand-in host and the test doubles:
// "*" matches any run of characters, "?" any one character, "[...]" any one
// character of a set (single characters and ranges such as a-z), compared
// without regard to case, against the whole string; ".*" at the mask's end
// also matches nothing left ("abc.*" matches "abc"). A "[" without its "]"
// is an ordinary character.
#pragma once

#include <cstdint>

// Single-byte text: letters fold in ASCII only, other bytes compare exactly.
bool MatchFileMask(const char* mask, const char* str);

// Unicode text (UTF-16 or UTF-32 units): ASCII, Latin-1, Latin Extended-A
// and Cyrillic letters fold, everything else compares exactly, unit by unit.
bool MatchFileMask(const char16_t* mask, const char16_t* str);
bool MatchFileMask(const wchar_t* mask, const wchar_t* str);

// The same rules over any character type, folding case with fold.
template <class Char>
bool MatchMask(const Char* mask, const Char* str, uint32_t (*fold)(uint32_t));

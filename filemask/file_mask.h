// The host's file-name mask rules, for the stand-in host and the test doubles:
// "*" matches any run of characters, "?" any one character, "[...]" any one
// character of a set (single characters and ranges such as a-z), compared
// without regard to case, against the whole string. A "[" without its "]"
// is an ordinary character.
#pragma once

bool MatchFileMask(const char* mask, const char* str);

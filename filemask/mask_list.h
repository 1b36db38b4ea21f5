// The host's mask lists, as far as the stand-in hosts need them: masks
// separated by "," or ";", and after "|" a list of masks to leave out. A
// "/regular expression/" (with "i" after it for any case) is taken for
// ASCII text only. A list is unreadable when it is empty, when its
// exclusion is all it holds, or when a regular expression is not closed or
// does not compile.
#pragma once

// Unicode text (UTF-16 or UTF-32 units), folded as MatchFileMask folds it.
bool MaskListIsValid(const char16_t* list);
bool MaskListIsValid(const wchar_t* list);
bool MatchMaskList(const char16_t* list, const char16_t* str);
bool MatchMaskList(const wchar_t* list, const wchar_t* str);

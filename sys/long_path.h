// Paths the Windows file calls open at any length, for the Win32 side of the
// platform layer only.
#pragma once

namespace sys {

// folder, then name after a backslash where name is not empty (both UTF-16),
// as a path CreateFileW and FindFirstFileW open: past MAX_PATH, a drive path
// or a UNC share takes the \\?\ form. Null when it cannot be built;
// otherwise a block to Free.
wchar_t* LongPath(const char16_t* folder, const char16_t* name);

}  // namespace sys

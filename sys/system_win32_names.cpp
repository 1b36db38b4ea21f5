// The current generation's comparison of names without regard to case, for
// its DLLs only: the function came with Windows Vista, and the 1.x DLL,
// which never needs it, must still load where it is missing.
#include <windows.h>

#include "sys/system.h"

#if WINVER < 0x0600
extern "C" __declspec(dllimport) int WINAPI
    CompareStringOrdinal(LPCWCH a, int aLength, LPCWCH b, int bLength, BOOL ignoreCase);
#endif

namespace sys {

// The host's own comparison of names: ordinal, without regard to case.
bool SameName(const char16_t* a, uint32_t aLength, const char16_t* b, uint32_t bLength) {
  return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(a), static_cast<int>(aLength),
                              reinterpret_cast<const wchar_t*>(b), static_cast<int>(bLength),
                              TRUE) == CSTR_EQUAL;
}

}  // namespace sys

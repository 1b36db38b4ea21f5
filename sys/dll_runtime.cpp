// What a DLL built without the C runtime still needs: its entry point, and
// the two memory routines GCC may call for record copies and clears.
#include <windows.h>

#include <cstddef>

extern "C" {

// Nothing to set up or tear down: every table is constant-initialised.
BOOL WINAPI DllMainCRTStartup(HINSTANCE, DWORD, LPVOID) {
  return TRUE;
}

__attribute__((used)) void* memcpy(void* to, const void* from, size_t size) {
  auto* out = static_cast<unsigned char*>(to);
  const auto* in = static_cast<const unsigned char*>(from);
  while (size-- > 0) *out++ = *in++;
  return to;
}

__attribute__((used)) void* memset(void* to, int value, size_t size) {
  auto* out = static_cast<unsigned char*>(to);
  while (size-- > 0) *out++ = static_cast<unsigned char>(value);
  return to;
}
}

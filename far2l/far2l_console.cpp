// The host exports its console functions from the executable itself; looking
// them up at load, rather than linking against them, keeps the module free of
// undefined symbols and lets it load, without a speed search, into a host
// that lacks one.
#include "far2l/far2l_console.h"

#include <dlfcn.h>

namespace far2l {
namespace {

template <class Fn>
void Resolve(Fn* function, const char* name) {
  *function = reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, name));
}

}  // namespace

ConsoleFunctions ResolveConsoleFunctions() {
  ConsoleFunctions functions{};
  Resolve(&functions.PeekConsoleInput, "WINPORT_PeekConsoleInput");
  Resolve(&functions.ReadConsoleInput, "WINPORT_ReadConsoleInput");
  Resolve(&functions.WaitConsoleInput, "WINPORT_WaitConsoleInput");
  Resolve(&functions.GetConsoleScreenBufferInfo, "WINPORT_GetConsoleScreenBufferInfo");
  Resolve(&functions.SetConsoleCursorPosition, "WINPORT_SetConsoleCursorPosition");
  return functions;
}

}  // namespace far2l

// The WinPort console functions, looked up in the far2l executable that
// loaded the module.
#pragma once

#include "far2l/far2l_records.h"

namespace far2l {

// Each function the executable does not export stays null.
ConsoleFunctions ResolveConsoleFunctions();

}  // namespace far2l

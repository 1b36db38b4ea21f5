// The module's exports towards the user: its entry in the host's plug-in
// menu and the command menu behind it.
#pragma once

#include "far1/far1_records.h"

// Fills the host's record with the one plug-in menu entry; touches nothing else.
extern "C" void HOSTCALL GetPluginInfo(PluginInfo* info);

// Shows the command menu and runs the chosen command to its end. Never opens
// a panel of its own: always returns INVALID_HANDLE_VALUE.
extern "C" HostHandle HOSTCALL OpenPlugin(int openFrom, int item);

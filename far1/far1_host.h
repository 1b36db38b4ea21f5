// The one gateway to the host: the saved startup record and one thin wrapper
// per host operation, each adding the arguments that never change.
#pragma once

#include "far1/far1_records.h"

extern "C" void HOSTCALL SetStartupInfo(const PluginStartupInfo* info);

namespace host {

// Control on the active panel. Returns the host's result (non-zero on success).
int Control(int command, void* param);

// Takes a snapshot of the active panel. False when the host gives none, or
// when it is not a file panel with at least one item: the commands then do
// nothing.
bool SnapshotFilePanel(PanelInfo* panel);

// The centred command menu with a title and no bottom line, help or break keys.
// Returns the chosen index, negative when cancelled.
int Menu(const char* title, const FarMenuItem* items, int count);

// A modal dialog; the host writes edited text back into the items' Data.
// Returns the index of the item that closed it, negative when cancelled.
int Dialog(int x1, int y1, int x2, int y2, const char* helpTopic, FarDialogItem* items, int count);

// Writes str at (x, y) into the host's screen buffer.
void Text(int x, int y, int color, const char* str);

// Puts everything written with Text so far on the console.
void FlushText();

// True when the whole of str matches the host's file-name mask.
bool CmpName(const char* mask, const char* str);

}  // namespace host

// The stand-in host's state, its plug-ins, and the pieces its parts share:
// drawing the screen, the host operations it gives plug-ins, menus and dialogs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "far1/far1_records.h"
#include "panelhost/panel.h"

using SetStartupInfoFn = void HOSTCALL (*)(const PluginStartupInfo* info);
using GetPluginInfoFn = void HOSTCALL (*)(PluginInfo* info);
using OpenPluginFn = HostHandle HOSTCALL (*)(int openFrom, int item);

struct Plugin {
  std::string path;
  HMODULE module = nullptr;
  SetStartupInfoFn setStartupInfo = nullptr;
  GetPluginInfoFn getPluginInfo = nullptr;
  OpenPluginFn openPlugin = nullptr;
  PluginStartupInfo startupInfo;         // kept for the plug-in's whole life
  std::vector<std::string> menuStrings;  // its entries in the plug-ins menu
};

struct HostState {
  Panel panel;
  bool defaultRect = true;         // the panel fills the screen and follows its size
  std::string status;              // the line under the panel
  std::vector<std::string> keys;   // every key the host's own loop received
  std::vector<std::string> log;    // host operations called by plug-ins, and their results
  std::vector<CHAR_INFO> flushed;  // the console as read back at a plug-in's last flush
  int flushedWidth = 0;
  COORD cursorAfterCommand = {-1, -1};  // the console cursor when a command returned
};

extern HostState host;

// ---- Drawing (draw.cpp) ------------------------------------------------------

void PlacePanel();  // fits the default panel rectangle to the screen
void DrawPanel();
void DrawAll();  // the whole screen, put on the console

// ---- Plug-ins and host operations (services.cpp) -------------------------------

// Loads a plug-in, resolves its three entry points and hands it its startup
// record; false, with a message, when the DLL or an entry point is missing.
bool LoadPlugin(const std::string& path, int moduleNumber, Plugin* plugin, std::string* error);
void ReadPluginMenu(Plugin* plugin);

// ---- Menus and dialogs (ui.cpp) ----------------------------------------------

struct MenuEntry {
  std::string text;  // "&" marks the hot key
  bool separator;
};

// A menu box: title, items, arrows, hot keys, Enter, Esc. x or y of -1
// centres it; maxHeight of 0 shows as many items as the screen holds.
// Returns the chosen index, or -1 when cancelled.
int RunMenu(const std::string& title, const std::vector<MenuEntry>& entries, int selected, int x,
            int y, int maxHeight);

// A modal dialog of the given items, placed at left, top with the given size.
// Enter closes it with the index of the default item (else the focused one) and
// writes each edit item's text back into its Data; Esc gives -1 and writes nothing.
int RunDialog(int left, int top, int width, int height, FarDialogItem* items, int count);

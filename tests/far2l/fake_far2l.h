// A stand-in for far2l in native tests: a file panel that hands its items out
// one call at a time as far2l does, the dialog and menu services, the
// language file, and the WinPort console's input queue. Records every call
// the plug-in makes.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "far2l/far2l_records.h"

namespace fake2l {

struct Item {
  std::wstring name;
  std::optional<std::wstring> description;
  uint64_t size = 0;
};

struct ControlCall {
  int command;
  int param1;
  bool hasParam2;
};

struct TextCall {
  int x;
  int y;
  uint64_t color;
  bool flush;  // the null-string call that puts output on the screen
  std::wstring text;
};

struct MenuCall {
  std::wstring title;
  std::vector<std::wstring> items;
  int x, y, maxHeight;
  bool hasBottom, hasHelp, hasBreakKeys;
};

struct DialogCall {
  int x1, y1, x2, y2;
  std::wstring helpTopic;
  std::vector<far2l::FarDialogItem> items;  // as handed over; strings below
  std::vector<std::wstring> texts;          // each item's PtrData
  std::wstring history;                     // the edit item's history name
};

struct MessageCall {
  uint32_t flags;
  std::vector<std::wstring> lines;
};

struct Far2lHost {
  // The active panel.
  int panelType = far2l::PTYPE_FILEPANEL;
  int plugin = 0;
  far2l::RECT rect{0, 1, 49, 27};
  int current = 0;
  int top = 0;
  std::vector<Item> items;
  std::wstring folder = L"/home/user/docs";
  // The item count GETPANELINFO reports after the first time: the host
  // re-reading the folder while the plug-in's dialog is up. -1: unchanged.
  int laterItemsNumber = -1;

  // The language file's messages; empty: the host found no language file.
  std::vector<std::wstring> messages;

  int menuResult = -1;
  // The user at the dialog: may edit the field's text; returns the index
  // of the item that closed the dialog.
  std::function<int(std::wstring* field)> onDialog = [](std::wstring*) { return -1; };

  // The console.
  std::deque<far2l::INPUT_RECORD> queue;
  int screenRows = 30;

  std::optional<std::wstring> clipboard;  // none: no text on the clipboard

  // What the plug-in did.
  std::vector<ControlCall> controls;
  std::vector<std::pair<int, int>> redraws;  // (current, top) of redraws that move the cursor
  std::vector<std::pair<int, bool>> selections;
  std::vector<TextCall> texts;
  std::vector<std::pair<int, int>> cursorMoves;
  std::vector<MenuCall> menus;
  std::vector<DialogCall> dialogs;
  std::vector<MessageCall> messageBoxes;
  int screensSaved = 0;
  int screensRestored = 0;
  int maskMessages = 0;                  // "incorrect mask" messages shown
  int listCompares = 0;                  // ProcessName in its list mode
  std::vector<std::wstring> helpTopics;  // ShowHelp with the plug-in's module
  int liveClipboardCopies = 0;           // from PasteFromClipboard, not yet deleted

  std::vector<int> Commands() const;
};

// Resets the host and starts the module in it through SetStartupInfoW. The
// standard functions live, as in far2l, in a record that is gone once
// SetStartupInfoW returns. Their mask lists are filemask/mask_list.h's;
// their XLat table swaps q, w and e with the Cyrillic letters on those keys.
Far2lHost& InstallFar2l();

// Restarts the module as in a far2l executable that exports no WinPort
// console functions.
void StartWithoutConsole();

// Key events as far2l's terminal front end queues them.
far2l::INPUT_RECORD Key(wchar_t character, uint16_t virtualKey = 0, uint32_t controlState = 0,
                        bool down = true);
// A mouse event with the buttons held (none: a move).
far2l::INPUT_RECORD MouseMove(uint32_t buttons = 0);
// Work the host queued for its own thread.
far2l::INPUT_RECORD Callback();

}  // namespace fake2l

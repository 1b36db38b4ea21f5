// A stand-in for the current-generation host in native tests: a file panel
// that hands its items out one call at a time and writes no further than the
// buffer it is given, as the real host does; the palette, text output, name
// matcher, menu, dialog and language services. Records every call.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "far3/far3_panel_records.h"
#include "far3/far3_records.h"

namespace fake3 {

struct Item {
  std::u16string name;
  std::optional<std::u16string> description;
  uint64_t size = 0;
  uintptr_t attributes = 0;
  std::u16string shortName{};  // empty where the file system gives none
};

struct MessageCall {
  uint64_t flags;
  std::vector<std::u16string> lines;
};

// The host's macro engine, where one is installed: what it answers to a
// Lua text run through MacroControl.
struct MacroEngine {
  std::vector<far3::FarMacroValue> answers;
  std::vector<std::u16string> strings;  // the answers' strings live here
  std::u16string ranText;
  uint64_t ranFlags = 0;
};

struct PanelCall {
  int command;
  intptr_t param1;
  intptr_t param2;       // the pointer as a number; the selection state for SETSELECTION
  size_t redrawCurrent;  // FCTL_REDRAWPANEL with a PanelRedrawInfo, else 0
  size_t redrawTop;
};

struct TextCall {
  intptr_t x;
  intptr_t y;
  std::optional<far3::FarColor> color;
  std::optional<std::u16string> text;  // none: the call that flushes
};

struct DialogCall {
  far3::Uuid pluginId;
  far3::Uuid id;
  intptr_t x1, y1, x2, y2;
  std::u16string helpTopic;
  std::vector<far3::FarDialogItem> items;
  std::u16string title;    // the frame's Data
  std::u16string field;    // the edit item's Data as it opened
  std::u16string history;  // the edit item's history name
};

struct Host {
  // The active panel.
  int panelType = far3::PTYPE_FILEPANEL;
  uint64_t panelFlags = 0;
  far3::Rect rect{0, 1, 49, 27};
  size_t current = 0;
  size_t top = 0;
  std::vector<Item> items;
  std::u16string folder = u"C:\\Photos";
  bool panelInfoFails = false;
  // After this many fills, every name is one character longer than the
  // sizes answered before: the panel changed under the command.
  int changeAfterFills = -1;

  std::optional<MacroEngine> macroEngine;

  // Palette entries; none: ACTL_GETCOLOR fails.
  std::optional<far3::FarColor> dialogBox;
  std::optional<far3::FarColor> dialogEdit;

  // What the user does: the menu item chosen (negative: cancelled), the
  // dialog's closing item and the text left in its field.
  intptr_t menuChoice = -1;
  intptr_t dialogResult = 1;
  std::u16string dialogText;
  intptr_t dialogCheck = 1;    // DM_GETCHECK's answer
  intptr_t messageAnswer = 0;  // the button a message with buttons is closed by
  // The items FCTL_SETPANELDIRECTORY leaves the panel with.
  std::vector<Item> itemsAfterFolderChange;
  std::optional<std::u16string> clipboard;  // none: no text on the clipboard

  // The language file, by message number.
  std::vector<std::u16string> messages{u"Veltrane",
                                       u"&Description Speed Search",
                                       u"&Select by description...",
                                       u"&Unselect by description...",
                                       u"Description Select",
                                       u"Description Unselect"};

  // What the plug-in did.
  std::vector<PanelCall> panelCalls;
  std::vector<TextCall> texts;
  std::vector<DialogCall> dialogs;
  std::vector<std::u16string> menuItems;
  std::u16string menuTitle;
  far3::Uuid menuId{};
  std::vector<MessageCall> messageBoxes;
  std::vector<std::u16string> foldersSet;  // by FCTL_SETPANELDIRECTORY
  int screensSaved = 0;
  int screensRestored = 0;
  int itemSizeQueries = 0;
  int itemFills = 0;
  int dialogsFreed = 0;
  std::vector<uint64_t> processNameModes;  // the flags of each ProcessName call
  int maskMessages = 0;                    // "incorrect mask" messages shown
  std::vector<std::u16string> helpTopics;  // ShowHelp with the plug-in's module

  int Count(int command) const;
};

// Resets the host to an empty file panel, and hands the plug-in its startup
// record through SetStartupInfoW as the host does after loading it.
Host& Reset();
Host& TheHost();

// The host's mask rules as far as the tests need them: "*" any run, "?" any
// one character, Latin and Cyrillic letters without regard to case, the
// whole string; an empty mask matches nothing, as in the real host. Mask
// lists (ProcessName's list mode) as filemask/mask_list.h has them.
bool MaskMatches(const char16_t* mask, const char16_t* name);

// A macro engine answering the host's two description settings; a missing
// setting answers nil.
void InstallMacroEngine(std::optional<std::u16string> listNames, std::optional<bool> ansi);

}  // namespace fake3

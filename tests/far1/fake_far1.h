// A stand-in for the host in native tests: it hands out a panel snapshot,
// records every call the plug-in makes, and compares names with the host's
// mask rules.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "far1/far1_records.h"

namespace fake {

struct ControlCall {
  int command;
  bool hasParam;
  // For a redraw with a cursor record: the pair the plug-in handed over.
  int currentItem;
  int topItem;
};

struct TextCall {
  int x;
  int y;
  int color;
  bool flush;  // the null-string call that puts output on the screen
  std::string text;
};

struct MenuCall {
  int moduleNumber, x, y, maxHeight;
  unsigned flags;
  std::optional<std::string> title, bottom, helpTopic;
  bool hasBreakKeys, hasBreakCode;
  std::vector<FarMenuItem> items;
};

struct DialogCall {
  int moduleNumber, x1, y1, x2, y2;
  std::optional<std::string> helpTopic;
  std::vector<FarDialogItem> items;  // as the plug-in handed them over
};

struct Host {
  // The active panel; Snapshot() adds the item array to it.
  PanelInfo panel{};
  std::vector<PluginPanelItem> items;
  std::vector<std::string> descriptions;  // owned storage for items' texts
  int getPanelInfoResult = 1;

  // The dialog's answer; may edit the items like the host's editor does.
  std::function<int(FarDialogItem* items, int count)> onDialog = [](FarDialogItem*, int) {
    return -1;
  };
  int menuResult = -1;

  int moduleNumber = 7;
  std::vector<ControlCall> controls;
  std::vector<TextCall> texts;
  std::vector<MenuCall> menus;
  std::vector<DialogCall> dialogs;
  int cmpNameCalls = 0;
  // What the last FCTL_SETSELECTION handed back, item by item.
  std::vector<uint32_t> selectionFlags;

  // Gives the panel one item per entry; nullopt is an item without description.
  void SetItems(const std::vector<std::optional<std::string>>& list);
  // The panel as FCTL_GETPANELINFO reports it, with items as its array.
  PanelInfo Snapshot();
  std::vector<int> CommandsCalled() const;
  int Count(int command) const;
};

// Resets the one fake host and hands its startup record to the plug-in.
Host& InstallHost();
Host& TheHost();

}  // namespace fake

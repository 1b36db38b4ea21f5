// The stand-in host's one file panel: its items with their descriptions, the
// selection, the cursor and the top line, and the snapshot it hands to plug-ins.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "far1/far1_records.h"

constexpr uint32_t kNoDescription = UINT32_MAX;

struct PanelItem {
  uint32_t name;         // offset of the NUL-terminated name in Panel::text
  uint32_t description;  // offset of the description in Panel::text, or kNoDescription
  bool selected;
  bool directory;
};

struct Panel {
  std::string title;             // the folder or the list file, shown on the frame
  std::vector<char> text;        // every name and description, each NUL-terminated
  std::vector<PanelItem> items;  // in display order
  int current = 0;               // the cursor's item
  int top = 0;                   // the item on the first visible row
  HostRect rect{0, 0, 0, 0};     // frame corners, in screen cells
  int malformedLines = 0;        // description lines that could not be read
  // Plug-ins get the items without descriptions, as from the real host in a
  // view mode without a description column (which then never reads the file).
  bool withoutDescriptions = false;
  // What FCTL_GETPANELINFO hands out; rebuilt on every call and kept until the
  // next one, so it stays valid for the whole plug-in command.
  std::vector<PluginPanelItem> snapshot;
  std::vector<PluginPanelItem> selectedSnapshot;
};

// ---- Loading ---------------------------------------------------------------

// Lists a folder (directories first, then files, by name without regard to
// case) with the descriptions of its descript.ion. False, with a message, when
// the folder cannot be listed or its descript.ion exists but cannot be read.
bool LoadFolder(Panel* panel, const std::string& folder, std::string* error);

// Reads a synthetic panel: one item a line, the name, a tab, the description.
// A line without a tab is an item without a description; empty lines are skipped.
bool LoadList(Panel* panel, const std::string& file, std::string* error);

// One line of descript.ion: the name (in double quotes when it holds spaces),
// white space, the description. Both point into the buffer, which is cut into
// NUL-terminated strings in place. Lines that hold no name are counted in
// *malformed and skipped; a name without text gets an empty description.
struct DescriptionLine {
  const char* name;
  const char* description;
};
std::vector<DescriptionLine> ParseDescriptions(std::vector<char>* data, int* malformed);

// ---- Queries and moves -----------------------------------------------------

int ItemCount(const Panel& panel);
const char* ItemName(const Panel& panel, int index);
const char* ItemDescription(const Panel& panel, int index);  // null when it has none
int VisibleRows(const Panel& panel);

// Puts the cursor on index (clamped to the items) and the top line at top,
// clamped so that the rows stay filled and the cursor stays in view.
void PlaceCursor(Panel* panel, int index, int top);
void MoveCursor(Panel* panel, int delta);

// ---- The plug-in's view ------------------------------------------------------

void FillPanelInfo(Panel* panel, PanelInfo* info);
// Takes the selection from a snapshot that FillPanelInfo handed out; false
// (and nothing changed) for any other array or a different item count.
bool ApplySelection(Panel* panel, const PanelInfo& info);

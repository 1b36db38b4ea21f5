// Drawing the host's screen: the panel with its two columns, the status line
// and the key bar. Drawing only reads the state.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "panelhost/host.h"
#include "panelhost/screen.h"

namespace {

// ---- Colours and glyphs --------------------------------------------------------

constexpr int kPanelColor = 0x1B;           // light cyan on blue
constexpr int kTitleColor = 0x1E;           // yellow on blue
constexpr int kSelectedColor = 0x1E;        // yellow on blue
constexpr int kDirectoryColor = 0x1F;       // white on blue
constexpr int kCursorColor = 0x30;          // black on cyan
constexpr int kCursorSelectedColor = 0x3E;  // yellow on cyan
constexpr int kPlainColor = 0x07;           // grey on black
constexpr int kKeyLabelColor = 0x30;        // black on cyan

constexpr char kTopLeft = '\xC9';         // double top-left corner
constexpr char kTopRight = '\xBB';        // double top-right corner
constexpr char kBottomLeft = '\xC8';      // double bottom-left corner
constexpr char kBottomRight = '\xBC';     // double bottom-right corner
constexpr char kDoubleLine = '\xCD';      // double horizontal line
constexpr char kDoubleBar = '\xBA';       // double vertical line
constexpr char kColumnBar = '\xB3';       // single vertical line
constexpr char kColumnTop = '\xD1';       // double horizontal, single down
constexpr char kSeparator = '\xC4';       // single horizontal line
constexpr char kSeparatorLeft = '\xC7';   // double vertical, single right
constexpr char kSeparatorRight = '\xB6';  // double vertical, single left
constexpr char kColumnEnd = '\xC1';       // single up and horizontal
constexpr char kSelectionMark = '*';

struct KeyLabel {
  const char* key;
  const char* label;
};

constexpr KeyLabel kKeyBar[] = {
    {"Ins", "Select"}, {"Enter", "Show"}, {"F11", "Plugins"}, {"F10", "Quit"}};

// ---- The panel -------------------------------------------------------------------

struct Columns {
  int name;         // first cell of the name column (the selection mark)
  int bar;          // the vertical line between the columns
  int description;  // first cell of the description column
  int end;          // last cell inside the frame
};

Columns PanelColumns(const HostRect& r) {
  int inner = std::max(0, r.right - r.left - 1);
  int nameWidth = std::max(std::min(inner / 2, 8), inner / 3);
  return {r.left + 1, r.left + 1 + nameWidth, r.left + 3 + nameWidth, r.right - 1};
}

void DrawFrame(const HostRect& r, const Columns& c) {
  FillRect(r.left, r.top, r.right, r.bottom, kPanelColor);
  Fill(r.left + 1, r.top, r.right - r.left - 1, kDoubleLine, kPanelColor);
  Fill(r.left + 1, r.bottom, r.right - r.left - 1, kDoubleLine, kPanelColor);
  Fill(r.left + 1, r.bottom - 2, r.right - r.left - 1, kSeparator, kPanelColor);
  for (int y = r.top + 1; y < r.bottom; ++y) {
    Fill(r.left, y, 1, kDoubleBar, kPanelColor);
    Fill(r.right, y, 1, kDoubleBar, kPanelColor);
  }
  for (int y = r.top + 1; y < r.bottom - 2; ++y) Fill(c.bar, y, 1, kColumnBar, kPanelColor);
  Fill(r.left, r.top, 1, kTopLeft, kPanelColor);
  Fill(r.right, r.top, 1, kTopRight, kPanelColor);
  Fill(r.left, r.bottom, 1, kBottomLeft, kPanelColor);
  Fill(r.right, r.bottom, 1, kBottomRight, kPanelColor);
  Fill(c.bar, r.top, 1, kColumnTop, kPanelColor);
  Fill(r.left, r.bottom - 2, 1, kSeparatorLeft, kPanelColor);
  Fill(r.right, r.bottom - 2, 1, kSeparatorRight, kPanelColor);
  Fill(c.bar, r.bottom - 2, 1, kColumnEnd, kPanelColor);
}

// Writes text centred between left and right (inclusive), cut to fit.
void PutCentred(int left, int right, int y, int color, const std::string& text) {
  int width = right - left + 1;
  if (width <= 0) return;
  int length = std::min(static_cast<int>(text.size()), width);
  Put(left + (width - length) / 2, y, color, text.c_str(), length);
}

void DrawItem(const Panel& panel, int index, int y, const Columns& c) {
  const PanelItem& item = panel.items[index];
  bool cursor = index == panel.current;
  int color = item.selected ? kSelectedColor : item.directory ? kDirectoryColor : kPanelColor;
  if (cursor) color = item.selected ? kCursorSelectedColor : kCursorColor;
  Fill(c.name, y, c.end - c.name + 1, ' ', color);
  Fill(c.bar, y, 1, kColumnBar, cursor ? color : kPanelColor);
  if (item.selected) Fill(c.name, y, 1, kSelectionMark, color);
  Put(c.name + 1, y, color, ItemName(panel, index), c.bar - c.name - 1);
  if (const char* description = ItemDescription(panel, index)) {
    Put(c.description, y, color, description, c.end - c.description + 1);
  }
}

std::string FrameSummary(const Panel& panel) {
  int selected = 0;
  for (const PanelItem& item : panel.items) selected += item.selected ? 1 : 0;
  char summary[64];
  if (selected == 0) {
    snprintf(summary, sizeof(summary), " %lu items ",
             static_cast<unsigned long>(panel.items.size()));
  } else {
    snprintf(summary, sizeof(summary), " %d of %lu selected ", selected,
             static_cast<unsigned long>(panel.items.size()));
  }
  return summary;
}

void DrawInfoLine(const Panel& panel, const HostRect& r) {
  if (panel.items.empty()) return;
  std::string info = ItemName(panel, panel.current);
  if (const char* description = ItemDescription(panel, panel.current)) {
    info += "  ";
    info.append(description, std::min<size_t>(strlen(description), 512));
  }
  Put(r.left + 1, r.bottom - 1, kPanelColor, info.c_str(), r.right - r.left - 1);
}

// ---- The lines under the panel --------------------------------------------------

void DrawStatus() {
  int y = screen.height - 2;
  Fill(0, y, screen.width, ' ', kPlainColor);
  Put(0, y, kPlainColor, host.status.c_str(), screen.width);
}

void DrawKeyBar() {
  int y = screen.height - 1;
  Fill(0, y, screen.width, ' ', kPlainColor);
  int x = 0;
  for (const KeyLabel& entry : kKeyBar) {
    Put(x, y, kPlainColor, entry.key);
    x += static_cast<int>(strlen(entry.key));
    std::string label = std::string(" ") + entry.label + " ";
    Put(x, y, kKeyLabelColor, label.c_str());
    x += static_cast<int>(label.size()) + 1;
  }
}

}  // namespace

void PlacePanel() {
  if (host.defaultRect) host.panel.rect = {0, 0, screen.width - 1, screen.height - 3};
  PlaceCursor(&host.panel, host.panel.current, host.panel.top);
}

void DrawPanel() {
  const Panel& panel = host.panel;
  const HostRect& r = panel.rect;
  Columns c = PanelColumns(r);
  DrawFrame(r, c);
  PutCentred(r.left + 1, r.right - 1, r.top, kPanelColor, " " + panel.title + " ");
  PutCentred(c.name, c.bar - 1, r.top + 1, kTitleColor, "Name");
  PutCentred(c.description, c.end, r.top + 1, kTitleColor, "Description");
  int rows = VisibleRows(panel);
  for (int row = 0; row < rows && panel.top + row < ItemCount(panel); ++row) {
    DrawItem(panel, panel.top + row, r.top + 2 + row, c);
  }
  DrawInfoLine(panel, r);
  PutCentred(r.left + 1, r.right - 1, r.bottom, kPanelColor, FrameSummary(panel));
}

void DrawAll() {
  FillRect(0, 0, screen.width - 1, screen.height - 1, kPlainColor);
  DrawStatus();
  DrawKeyBar();
  DrawPanel();
  Flush();
  SetCursor(static_cast<int>(host.status.size()), screen.height - 2);
}

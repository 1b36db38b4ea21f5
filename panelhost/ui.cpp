// Modal menus and dialogs, drawn over the host's screen and fed from the same
// console input queue as everything else.
#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "panelhost/host.h"
#include "panelhost/keys.h"
#include "panelhost/screen.h"

namespace {

// ---- Colours, glyphs and limits ------------------------------------------------

constexpr int kMenuColor = 0x70;           // black on grey
constexpr int kMenuHotColor = 0x74;        // red on grey
constexpr int kMenuCursorColor = 0x0F;     // white on black
constexpr int kMenuCursorHotColor = 0x0E;  // yellow on black
constexpr int kDialogColor = 0x70;         // black on grey
constexpr int kEditColor = 0x30;           // black on cyan
constexpr int kEditUnchangedColor = 0x1F;  // white on blue: typing replaces it
constexpr int kHistoryMarkColor = 0x20;    // black on green

constexpr char kHistoryMark = '\x19';  // down arrow

struct BoxGlyphs {
  char topLeft, topRight, bottomLeft, bottomRight, horizontal, vertical;
};
constexpr BoxGlyphs kDoubleBox = {'\xC9' /* double top-left */,    '\xBB' /* double top-right */,
                                  '\xC8' /* double bottom-left */, '\xBC' /* double bottom-right */,
                                  '\xCD' /* double horizontal */,  '\xBA' /* double vertical */};
constexpr BoxGlyphs kSingleBox = {'\xDA' /* single top-left */,    '\xBF' /* single top-right */,
                                  '\xC0' /* single bottom-left */, '\xD9' /* single bottom-right */,
                                  '\xC4' /* single horizontal */,  '\xB3' /* single vertical */};
constexpr char kSeparatorLeft = '\xC7';   // double vertical, single right
constexpr char kSeparatorRight = '\xB6';  // double vertical, single left

constexpr size_t kDataSize = sizeof(FarDialogItem::Data);
constexpr size_t kHistoryLimit = 64;
constexpr int kDialogSingleBox = 2;  // DI_SINGLEBOX, next to DI_DOUBLEBOX
constexpr int kDialogText = 0;       // DI_TEXT

// Masks and other texts typed into edit lines with a history name, most
// recent first, for the whole session.
std::map<std::string, std::vector<std::string>> histories;

// ---- Shared pieces -------------------------------------------------------------

void DrawBox(int left, int top, int right, int bottom, int color, const BoxGlyphs& g,
             const std::string& title) {
  FillRect(left, top, right, bottom, color);
  Fill(left + 1, top, right - left - 1, g.horizontal, color);
  Fill(left + 1, bottom, right - left - 1, g.horizontal, color);
  for (int y = top + 1; y < bottom; ++y) {
    Fill(left, y, 1, g.vertical, color);
    Fill(right, y, 1, g.vertical, color);
  }
  Fill(left, top, 1, g.topLeft, color);
  Fill(right, top, 1, g.topRight, color);
  Fill(left, bottom, 1, g.bottomLeft, color);
  Fill(right, bottom, 1, g.bottomRight, color);
  if (title.empty()) return;
  std::string shown = " " + title + " ";
  int room = right - left - 1;
  int length = std::min(static_cast<int>(shown.size()), room);
  if (length > 0) Put(left + 1 + (room - length) / 2, top, color, shown.c_str(), length);
}

enum class Modal { kKey, kResized, kFailed };

// Waits for the next key of a modal loop. A resize redraws the host's screen
// underneath; the caller then draws itself again.
Modal NextKey(Key* key) {
  bool resized = false;
  if (ReadKey(screen.input, INFINITE, key, &resized)) return Modal::kKey;
  if (!resized) return Modal::kFailed;
  FitConsole();
  PlacePanel();
  DrawAll();
  return Modal::kResized;
}

unsigned char Folded(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// ---- Menus -----------------------------------------------------------------------

struct MenuLine {
  std::string shown;  // without the "&"
  int hot;            // index of the hot key in shown, or -1
  bool separator;
};

MenuLine StripHotKey(const MenuEntry& entry) {
  MenuLine line{"", -1, entry.separator};
  const std::string& text = entry.text;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != '&' && line.hot < 0) line.hot = static_cast<int>(line.shown.size());
    }
    line.shown += text[i];
  }
  return line;
}

struct MenuBox {
  int left, top, width, height, first;
};

MenuBox PlaceMenu(const std::string& title, const std::vector<MenuLine>& lines, int x, int y,
                  int maxHeight, int cursor, int first) {
  int textWidth = 0;
  for (const MenuLine& line : lines) {
    textWidth = std::max(textWidth, static_cast<int>(line.shown.size()));
  }
  int width = std::min(std::max(textWidth + 6, static_cast<int>(title.size()) + 6), screen.width);
  int count = static_cast<int>(lines.size());
  int rows = std::max(1, screen.height - 4);
  if (maxHeight > 0) rows = std::min(rows, maxHeight);
  rows = std::min(rows, count);
  first = std::clamp(first, std::max(0, cursor - rows + 1), cursor);
  int height = rows + 2;
  return {x < 0 ? (screen.width - width) / 2 : x, y < 0 ? (screen.height - height) / 2 : y, width,
          height, first};
}

void DrawMenu(const std::string& title, const std::vector<MenuLine>& lines, const MenuBox& box,
              int cursor) {
  int right = box.left + box.width - 1;
  DrawBox(box.left, box.top, right, box.top + box.height - 1, kMenuColor, kDoubleBox, title);
  for (int row = 0; row < box.height - 2; ++row) {
    int index = box.first + row;
    const MenuLine& line = lines[index];
    int y = box.top + 1 + row;
    if (line.separator) {
      Fill(box.left + 1, y, box.width - 2, kSingleBox.horizontal, kMenuColor);
      Fill(box.left, y, 1, kSeparatorLeft, kMenuColor);
      Fill(right, y, 1, kSeparatorRight, kMenuColor);
      continue;
    }
    bool current = index == cursor;
    int color = current ? kMenuCursorColor : kMenuColor;
    Fill(box.left + 1, y, box.width - 2, ' ', color);
    Put(box.left + 2, y, color, line.shown.c_str(), box.width - 4);
    if (line.hot >= 0 && line.hot < box.width - 4) {
      Put(box.left + 2 + line.hot, y, current ? kMenuCursorHotColor : kMenuHotColor,
          line.shown.c_str() + line.hot, 1);
    }
  }
}

// The next item from index in direction step that is no separator, wrapping.
int NextItem(const std::vector<MenuLine>& lines, int index, int step) {
  int count = static_cast<int>(lines.size());
  for (int i = 1; i <= count; ++i) {
    int candidate = ((index + step * i) % count + count) % count;
    if (!lines[candidate].separator) return candidate;
  }
  return index;
}

int HotItem(const std::vector<MenuLine>& lines, unsigned char c) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const MenuLine& line = lines[i];
    if (!line.separator && line.hot >= 0 &&
        Folded(static_cast<unsigned char>(line.shown[line.hot])) == Folded(c)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

// Moves the cursor for a navigation key; false for any other key.
bool MoveMenuCursor(const std::vector<MenuLine>& lines, const Key& key, int page, int* cursor) {
  int last = static_cast<int>(lines.size()) - 1;
  switch (key.vk) {
    case VK_UP:
      *cursor = NextItem(lines, *cursor, -1);
      return true;
    case VK_DOWN:
      *cursor = NextItem(lines, *cursor, 1);
      return true;
    case VK_HOME:
      *cursor = NextItem(lines, last, 1);
      return true;
    case VK_END:
      *cursor = NextItem(lines, 0, -1);
      return true;
    case VK_PRIOR:
      *cursor = NextItem(lines, std::max(0, *cursor - page) + 1, -1);
      return true;
    case VK_NEXT:
      *cursor = NextItem(lines, std::min(last, *cursor + page) - 1, 1);
      return true;
    default:
      return false;
  }
}

// ---- Dialogs -------------------------------------------------------------------

struct EditLine {
  int item;
  std::string text;
  size_t pos;
  size_t scroll;
  bool unchanged;  // still the text it opened with: the first character replaces it
  std::string history;
};

std::string ItemText(const FarDialogItem& item) {
  return std::string(item.Data, strnlen(item.Data, kDataSize));
}

void DrawEdit(const FarDialogItem& item, EditLine* edit, int left, int top) {
  int width = std::max(1, item.X2 - item.X1 + 1);
  size_t shown = static_cast<size_t>(width);
  if (edit->pos < edit->scroll) edit->scroll = edit->pos;
  if (edit->pos >= edit->scroll + shown) edit->scroll = edit->pos - shown + 1;
  int color = edit->unchanged ? kEditUnchangedColor : kEditColor;
  Fill(left + item.X1, top + item.Y1, width, ' ', kEditColor);
  std::string visible = edit->text.substr(std::min(edit->scroll, edit->text.size()), shown);
  Put(left + item.X1, top + item.Y1, color, visible.c_str());
  if (!edit->history.empty()) {
    Fill(left + item.X2 + 1, top + item.Y1, 1, kHistoryMark, kHistoryMarkColor);
  }
}

void DrawDialog(FarDialogItem* items, int count, std::vector<EditLine>* edits, int left, int top,
                int width, int height) {
  FillRect(left, top, left + width - 1, top + height - 1, kDialogColor);
  size_t edit = 0;
  for (int i = 0; i < count; ++i) {
    const FarDialogItem& item = items[i];
    if (item.Type == DI_EDIT && edit < edits->size()) {
      DrawEdit(item, &(*edits)[edit++], left, top);
    } else if (item.Type == DI_DOUBLEBOX || item.Type == kDialogSingleBox) {
      DrawBox(left + item.X1, top + item.Y1, left + item.X2, top + item.Y2, kDialogColor,
              item.Type == DI_DOUBLEBOX ? kDoubleBox : kSingleBox, ItemText(item));
    } else {
      Put(left + item.X1, top + item.Y1, kDialogColor, ItemText(item).c_str());
    }
  }
}

void EditKey(const Key& key, EditLine* edit) {
  bool wipe = edit->unchanged;
  switch (key.vk) {
    case VK_LEFT:
      if (edit->pos > 0) --edit->pos;
      wipe = false;
      break;
    case VK_RIGHT:
      if (edit->pos < edit->text.size()) ++edit->pos;
      wipe = false;
      break;
    case VK_HOME:
      edit->pos = 0;
      wipe = false;
      break;
    case VK_END:
      edit->pos = edit->text.size();
      wipe = false;
      break;
    case VK_BACK:
      if (wipe) break;
      if (IsCtrl(key)) {
        edit->text.erase(0, edit->pos);
        edit->pos = 0;
      } else if (edit->pos > 0) {
        edit->text.erase(--edit->pos, 1);
      }
      break;
    case VK_DELETE:
      if (!wipe && edit->pos < edit->text.size()) edit->text.erase(edit->pos, 1);
      break;
    default:
      if (key.c == 25 /* Ctrl+Y */) {
        wipe = true;
      } else if (key.c >= ' ' && key.c != 127 && !IsCtrl(key) && !IsAlt(key)) {
        if (wipe) {
          edit->text.clear();
          edit->pos = 0;
          wipe = false;
        }
        if (edit->text.size() < kDataSize - 1) edit->text.insert(edit->pos++, 1, key.c);
      } else {
        return;  // a key the edit line does not use leaves it as it was
      }
  }
  if (wipe) {
    edit->text.clear();
    edit->pos = 0;
  }
  edit->unchanged = false;
}

void PickFromHistory(EditLine* edit, int x, int y) {
  const std::vector<std::string>& list = histories[edit->history];
  if (list.empty()) return;
  std::vector<MenuEntry> entries;
  for (const std::string& text : list) entries.push_back({text, false});
  int chosen = RunMenu("History", entries, 0, x, y, 8);
  if (chosen < 0) return;
  edit->text = list[chosen];
  edit->pos = edit->text.size();
  edit->unchanged = false;
}

void Remember(const std::string& name, const std::string& text) {
  if (name.empty() || text.empty()) return;
  std::vector<std::string>& list = histories[name];
  list.erase(std::remove(list.begin(), list.end(), text), list.end());
  list.insert(list.begin(), text);
  if (list.size() > kHistoryLimit) list.resize(kHistoryLimit);
}

std::vector<EditLine> OpenEdits(const FarDialogItem* items, int count, size_t* focus) {
  std::vector<EditLine> edits;
  *focus = 0;
  for (int i = 0; i < count; ++i) {
    const FarDialogItem& item = items[i];
    if (item.Type != DI_EDIT) continue;
    std::string text = ItemText(item);
    std::string history;
    if ((item.Flags & DIF_HISTORY) != 0 && item.History != nullptr) {
      history.assign(item.History, strnlen(item.History, kDataSize));
    }
    if (item.Focus != 0) *focus = edits.size();
    edits.push_back({i, text, text.size(), 0, !text.empty(), history});
  }
  return edits;
}

int ClosingItem(const FarDialogItem* items, int count, const std::vector<EditLine>& edits,
                size_t focus) {
  for (int i = 0; i < count; ++i) {
    if (items[i].DefaultButton != 0) return i;
  }
  return edits.empty() ? 0 : edits[focus].item;
}

}  // namespace

// ---- Entry points --------------------------------------------------------------

int RunMenu(const std::string& title, const std::vector<MenuEntry>& entries, int selected, int x,
            int y, int maxHeight) {
  std::vector<MenuLine> lines;
  for (const MenuEntry& entry : entries) lines.push_back(StripHotKey(entry));
  if (lines.empty()) return -1;
  int count = static_cast<int>(lines.size());
  int cursor = selected >= 0 && selected < count ? selected : 0;
  cursor = NextItem(lines, cursor - 1, 1);
  if (lines[cursor].separator) return -1;

  MenuBox box = PlaceMenu(title, lines, x, y, maxHeight, cursor, 0);
  SavedArea under = SaveArea(box.left, box.top, box.left + box.width - 1, box.top + box.height - 1);
  int result = -1;
  for (;;) {
    box = PlaceMenu(title, lines, x, y, maxHeight, cursor, box.first);
    DrawMenu(title, lines, box, cursor);
    Flush();
    SetCursor(box.left + 2, box.top + 1 + cursor - box.first);
    Key key;
    Modal got = NextKey(&key);
    if (got == Modal::kFailed) break;
    if (got == Modal::kResized) {
      under = SaveArea(0, 0, screen.width - 1, screen.height - 1);
      continue;
    }
    if (MoveMenuCursor(lines, key, box.height - 2, &cursor)) continue;
    if (key.vk == VK_RETURN) {
      result = cursor;
      break;
    }
    if (key.vk == VK_ESCAPE || key.vk == VK_F10) break;
    if (int hot = HotItem(lines, key.c); key.c != 0 && hot >= 0) {
      result = hot;
      break;
    }
  }
  RestoreArea(under);
  Flush();
  return result;
}

int RunDialog(int left, int top, int width, int height, FarDialogItem* items, int count) {
  if (items == nullptr || count <= 0) return -1;
  size_t focus = 0;
  std::vector<EditLine> edits = OpenEdits(items, count, &focus);
  SavedArea under = SaveArea(left, top, left + width - 1, top + height - 1);
  int result = -1;
  for (;;) {
    DrawDialog(items, count, &edits, left, top, width, height);
    Flush();
    EditLine* edit = edits.empty() ? nullptr : &edits[focus];
    if (edit != nullptr) {
      const FarDialogItem& item = items[edit->item];
      SetCursor(left + item.X1 + static_cast<int>(edit->pos - edit->scroll), top + item.Y1);
    }
    Key key;
    Modal got = NextKey(&key);
    if (got == Modal::kFailed) break;
    if (got == Modal::kResized) {
      under = SaveArea(0, 0, screen.width - 1, screen.height - 1);
      continue;
    }
    if (key.vk == VK_ESCAPE || key.vk == VK_F10) break;
    if (key.vk == VK_RETURN && !IsCtrl(key)) {
      result = ClosingItem(items, count, edits, focus);
      break;
    }
    if (key.vk == VK_TAB && !edits.empty()) {
      bool back = (key.state & SHIFT_PRESSED) != 0;
      focus = (focus + (back ? edits.size() - 1 : 1)) % edits.size();
    } else if (edit != nullptr && key.vk == VK_DOWN && (IsCtrl(key) || IsAlt(key))) {
      const FarDialogItem& item = items[edit->item];
      PickFromHistory(edit, left + item.X1, top + item.Y1 + 1);
    } else if (edit != nullptr) {
      EditKey(key, edit);
    }
  }
  if (result >= 0) {
    for (const EditLine& edit : edits) {
      FarDialogItem& item = items[edit.item];
      memcpy(item.Data, edit.text.c_str(), edit.text.size() + 1);
      Remember(edit.history, edit.text);
    }
  }
  RestoreArea(under);
  Flush();
  return result;
}

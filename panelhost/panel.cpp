// Loading the panel from a folder or a list file, cursor moves, and the
// snapshot that plug-ins read and hand back.
#include "panelhost/panel.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace {

// Files are read whole; past this a 32-bit process could not hold them.
constexpr uint64_t kMaxFileSize = 1u << 30;

// ---- Files -------------------------------------------------------------------

enum class ReadResult { kOk, kMissing, kFailed };

ReadResult ReadWholeFile(const std::string& path, std::vector<char>* data) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::kMissing
                                                                          : ReadResult::kFailed;
  }
  LARGE_INTEGER size;
  bool ok = GetFileSizeEx(file, &size) && static_cast<uint64_t>(size.QuadPart) <= kMaxFileSize;
  if (ok) {
    data->resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    ok = data->empty() ||
         (ReadFile(file, data->data(), static_cast<DWORD>(data->size()), &got, nullptr) &&
          got == data->size());
  }
  CloseHandle(file);
  return ok ? ReadResult::kOk : ReadResult::kFailed;
}

std::string Folded(const char* name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

uint32_t AddText(Panel* panel, const char* text) {
  uint32_t offset = static_cast<uint32_t>(panel->text.size());
  panel->text.insert(panel->text.end(), text, text + strlen(text) + 1);
  return offset;
}

// Cuts the buffer into lines in place; each returned line is NUL-terminated
// without its line break.
std::vector<char*> SplitLines(std::vector<char>* data) {
  std::vector<char*> lines;
  data->push_back('\0');
  char* p = data->data();
  char* end = p + data->size() - 1;
  while (p < end) {
    char* line = p;
    while (p < end && *p != '\n') ++p;
    char* cut = p;
    if (cut > line && cut[-1] == '\r') --cut;
    *cut = '\0';
    if (p < end) *p++ = '\0';
    lines.push_back(line);
  }
  return lines;
}

struct Entry {
  std::string name;
  bool directory;
};

bool ListFolder(const std::string& folder, std::vector<Entry>* entries, std::string* error) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    *error = "cannot list the folder '" + folder + "'";
    return false;
  }
  do {
    if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0) continue;
    if (_stricmp(found.cFileName, "descript.ion") == 0) continue;
    entries->push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(entries->begin(), entries->end(), [](const Entry& a, const Entry& b) {
    if (a.directory != b.directory) return a.directory;
    return Folded(a.name.c_str()) < Folded(b.name.c_str());
  });
  return true;
}

}  // namespace

// ---- Loading -------------------------------------------------------------------

std::vector<DescriptionLine> ParseDescriptions(std::vector<char>* data, int* malformed) {
  std::vector<DescriptionLine> parsed;
  for (char* line : SplitLines(data)) {
    char* p = line;
    while (IsBlank(*p)) ++p;
    if (*p == '\0') continue;
    char* name = p;
    if (*p == '"') {
      name = ++p;
      while (*p != '\0' && *p != '"') ++p;
      // An unclosed quote, an empty name or text glued to the closing quote.
      if (*p != '"' || p == name || (p[1] != '\0' && !IsBlank(p[1]))) {
        ++*malformed;
        continue;
      }
      *p++ = '\0';
    } else {
      while (*p != '\0' && !IsBlank(*p)) ++p;
      if (*p != '\0') *p++ = '\0';
    }
    while (IsBlank(*p)) ++p;
    // A 0x04 byte starts the extended data some tools append; it is no text.
    if (char* extended = strchr(p, '\x04')) *extended = '\0';
    char* end = p + strlen(p);
    while (end > p && IsBlank(end[-1])) *--end = '\0';
    parsed.push_back({name, p});
  }
  return parsed;
}

// The folder's full path, without a trailing separator unless it is a root.
static std::string FullPath(const std::string& folder) {
  char full[MAX_PATH];
  DWORD length = GetFullPathNameA(folder.c_str(), sizeof(full), full, nullptr);
  std::string path = length > 0 && length < sizeof(full) ? std::string(full, length) : folder;
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  return path;
}

bool LoadFolder(Panel* panel, const std::string& where, std::string* error) {
  std::string folder = FullPath(where);
  std::vector<Entry> entries;
  if (!ListFolder(folder, &entries, error)) return false;

  std::vector<char> data;
  std::unordered_map<std::string, std::string> descriptions;
  switch (ReadWholeFile(folder + "\\descript.ion", &data)) {
    case ReadResult::kMissing:
      break;
    case ReadResult::kFailed:
      *error = "cannot read '" + folder + "\\descript.ion'";
      return false;
    case ReadResult::kOk:
      for (const DescriptionLine& line : ParseDescriptions(&data, &panel->malformedLines)) {
        descriptions.emplace(Folded(line.name), line.description);  // the first line wins
      }
      break;
  }

  panel->title = folder;
  for (const Entry& entry : entries) {
    PanelItem item{AddText(panel, entry.name.c_str()), kNoDescription, false, entry.directory};
    auto found = descriptions.find(Folded(entry.name.c_str()));
    if (found != descriptions.end()) item.description = AddText(panel, found->second.c_str());
    panel->items.push_back(item);
  }
  return true;
}

bool LoadList(Panel* panel, const std::string& file, std::string* error) {
  if (ReadWholeFile(file, &panel->text) != ReadResult::kOk) {
    *error = "cannot read the list file '" + file + "'";
    return false;
  }
  // The file's own bytes become the names and descriptions: a million items
  // with long descriptions then cost no copy.
  std::vector<char*> lines = SplitLines(&panel->text);
  const char* base = panel->text.data();
  panel->items.reserve(lines.size());
  for (char* line : lines) {
    if (*line == '\0') continue;
    char* tab = strchr(line, '\t');
    PanelItem item{static_cast<uint32_t>(line - base), kNoDescription, false, false};
    if (tab != nullptr) {
      *tab = '\0';
      item.description = static_cast<uint32_t>(tab + 1 - base);
    }
    panel->items.push_back(item);
  }
  panel->title = file;
  return true;
}

// ---- Queries and moves -----------------------------------------------------

int ItemCount(const Panel& panel) {
  return static_cast<int>(panel.items.size());
}

const char* ItemName(const Panel& panel, int index) {
  return panel.text.data() + panel.items[index].name;
}

const char* ItemDescription(const Panel& panel, int index) {
  uint32_t offset = panel.items[index].description;
  return offset == kNoDescription ? nullptr : panel.text.data() + offset;
}

// Frame, column titles, the separator, the info line and the frame again
// take five of the panel's rows.
int VisibleRows(const Panel& panel) {
  return std::max(1, panel.rect.bottom - panel.rect.top - 4);
}

void PlaceCursor(Panel* panel, int index, int top) {
  int count = ItemCount(*panel);
  int rows = VisibleRows(*panel);
  panel->current = std::clamp(index, 0, std::max(0, count - 1));
  top = std::clamp(top, 0, std::max(0, count - rows));
  if (panel->current < top) top = panel->current;
  if (panel->current >= top + rows) top = panel->current - rows + 1;
  panel->top = top;
}

void MoveCursor(Panel* panel, int delta) {
  int64_t target = static_cast<int64_t>(panel->current) + delta;
  target = std::clamp<int64_t>(target, 0, std::max(0, ItemCount(*panel) - 1));
  PlaceCursor(panel, static_cast<int>(target), panel->top);
}

// ---- The plug-in's view ------------------------------------------------------

namespace {

void FillItem(const Panel& panel, int index, PluginPanelItem* out) {
  memset(out, 0, sizeof(*out));
  const PanelItem& item = panel.items[index];
  out->FindData.dwFileAttributes = item.directory ? FILE_ATTRIBUTE_DIRECTORY : 0;
  strncpy(out->FindData.cFileName, ItemName(panel, index), sizeof(out->FindData.cFileName) - 1);
  out->Flags = item.selected ? PPIF_SELECTED : 0;
  out->Description =
      panel.withoutDescriptions ? nullptr : const_cast<char*>(ItemDescription(panel, index));
  out->UserData = static_cast<uint32_t>(index);
}

void CopyText(char* out, size_t size, const std::string& text) {
  strncpy(out, text.c_str(), size - 1);
  out[size - 1] = '\0';
}

}  // namespace

void FillPanelInfo(Panel* panel, PanelInfo* info) {
  int count = ItemCount(*panel);
  panel->snapshot.resize(count);
  panel->selectedSnapshot.clear();
  for (int i = 0; i < count; ++i) {
    FillItem(*panel, i, &panel->snapshot[i]);
    if (panel->items[i].selected) panel->selectedSnapshot.push_back(panel->snapshot[i]);
  }
  // With nothing selected, the item under the cursor is what a command works on.
  if (panel->selectedSnapshot.empty() && count > 0) {
    panel->selectedSnapshot.push_back(panel->snapshot[panel->current]);
  }

  memset(info, 0, sizeof(*info));
  info->PanelType = PTYPE_FILEPANEL;
  info->PanelRect = panel->rect;
  info->PanelItems = panel->snapshot.data();
  info->ItemsNumber = count;
  info->SelectedItems = panel->selectedSnapshot.data();
  info->SelectedItemsNumber = static_cast<int>(panel->selectedSnapshot.size());
  info->CurrentItem = panel->current;
  info->TopPanelItem = panel->top;
  info->Visible = 1;
  info->Focus = 1;
  // Without descriptions: the real host's default (medium) view mode.
  CopyText(info->ColumnTypes, sizeof(info->ColumnTypes),
           panel->withoutDescriptions ? "N,N,N" : "N,Z");
  CopyText(info->ColumnWidths, sizeof(info->ColumnWidths),
           panel->withoutDescriptions ? "0,0,0" : "0,0");
  CopyText(info->CurDir, sizeof(info->CurDir), panel->title);
}

bool ApplySelection(Panel* panel, const PanelInfo& info) {
  int count = ItemCount(*panel);
  if (info.PanelItems != panel->snapshot.data() || info.ItemsNumber != count ||
      static_cast<int>(panel->snapshot.size()) != count) {
    return false;
  }
  for (int i = 0; i < count; ++i) {
    panel->items[i].selected = (panel->snapshot[i].Flags & PPIF_SELECTED) != 0;
  }
  return true;
}

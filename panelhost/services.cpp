// The host operations handed to plug-ins in their startup record, and loading
// the plug-ins themselves.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "filemask/file_mask.h"
#include "panelhost/host.h"
#include "panelhost/screen.h"

namespace {

constexpr int kMaxMenuStrings = 64;
constexpr size_t kMenuTextSize = sizeof(FarMenuItem::Text);
const char kRootKey[] = "Software\\Far\\Plugins";

std::string Text(const char* text, size_t limit) {
  return text == nullptr ? std::string() : std::string(text, strnlen(text, limit));
}

// ---- Operations plug-ins call ----------------------------------------------------

int HOSTCALL HostControl(HostHandle panel, int command, void* param) {
  if (panel != INVALID_HANDLE_VALUE) {
    host.log.push_back("Control " + std::to_string(command) + " on another panel: refused");
    return 0;
  }
  switch (command) {
    case FCTL_GETPANELINFO:
      if (param == nullptr) return 0;
      FillPanelInfo(&host.panel, static_cast<PanelInfo*>(param));
      host.log.push_back("Control GETPANELINFO");
      return 1;
    case FCTL_REDRAWPANEL:
      if (param == nullptr) {
        host.log.push_back("Control REDRAWPANEL");
      } else {
        // CurrentItem and TopPanelItem, side by side as in PanelInfo.
        const int* place = static_cast<const int*>(param);
        PlaceCursor(&host.panel, place[0], place[1]);
        host.log.push_back("Control REDRAWPANEL " + std::to_string(place[0]) + " " +
                           std::to_string(place[1]) + " -> " + std::to_string(host.panel.current) +
                           " " + std::to_string(host.panel.top));
      }
      DrawPanel();
      Flush();
      return 1;
    case FCTL_SETSELECTION: {
      bool applied =
          param != nullptr && ApplySelection(&host.panel, *static_cast<PanelInfo*>(param));
      host.log.push_back(applied ? "Control SETSELECTION" : "Control SETSELECTION refused");
      return applied ? 1 : 0;
    }
    default:
      host.log.push_back("Control " + std::to_string(command) + ": not supported");
      return 0;
  }
}

int HOSTCALL HostMenu(int, int x, int y, int maxHeight, unsigned, const char* title, const char*,
                      const char*, const int*, int* breakCode, const FarMenuItem* items,
                      int count) {
  if (breakCode != nullptr) *breakCode = -1;
  std::vector<MenuEntry> entries;
  int selected = 0;
  for (int i = 0; items != nullptr && i < count; ++i) {
    entries.push_back({Text(items[i].Text, kMenuTextSize), items[i].Separator != 0});
    if (items[i].Selected != 0) selected = i;
  }
  std::string shownTitle = Text(title, kMenuTextSize);
  int chosen = RunMenu(shownTitle, entries, selected, x, y, maxHeight);
  host.log.push_back("Menu " + shownTitle + " -> " + std::to_string(chosen));
  return chosen;
}

// The title and the edit lines' texts, e.g. "Description Select [Rec*]".
std::string DialogTexts(const FarDialogItem* items, int count) {
  std::string texts;
  for (int i = 0; items != nullptr && i < count; ++i) {
    std::string data = Text(items[i].Data, sizeof(items[i].Data));
    if (items[i].Type == DI_EDIT) data = "[" + data + "]";
    texts += (texts.empty() ? "" : " ") + data;
  }
  return texts;
}

// X1 and Y1 of -1 centre the dialog, X2 and Y2 then being its width and height;
// otherwise the four are its corners.
int HOSTCALL HostDialog(int, int x1, int y1, int x2, int y2, const char*, FarDialogItem* items,
                        int count) {
  int width = x1 < 0 ? x2 : x2 - x1 + 1;
  int height = y1 < 0 ? y2 : y2 - y1 + 1;
  int left = x1 < 0 ? (screen.width - width) / 2 : x1;
  int top = y1 < 0 ? (screen.height - height) / 2 : y1;
  host.log.push_back("Dialog " + DialogTexts(items, count));
  int result = RunDialog(left, top, std::max(1, width), std::max(1, height), items, count);
  host.log.push_back("Dialog -> " + std::to_string(result) + " " + DialogTexts(items, count));
  return result;
}

// A null string puts the screen on the console; what the console then shows
// is read back, so a scripted run can report what a plug-in really drew.
void HOSTCALL HostText(int x, int y, int color, const char* text) {
  if (text != nullptr) {
    Put(x, y, color, text);
    return;
  }
  Flush();
  host.flushed = ReadConsoleCells();
  host.flushedWidth = screen.width;
  host.log.push_back("Text flush");
}

int HOSTCALL HostCmpName(const char* mask, const char* name, int skipPath) {
  if (mask == nullptr || name == nullptr) return 0;
  if (skipPath != 0) {
    for (const char* p = name; *p != '\0'; ++p) {
      if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    }
  }
  return MatchFileMask(mask, name) ? 1 : 0;
}

// ---- Operations this host does not offer ---------------------------------------
// Each keeps its operation's parameters so that the stdcall stack stays
// balanced. Those that ask the user something answer "cancelled", so that no
// plug-in goes on with something it wanted confirmed.

int HOSTCALL NoMessage(int, unsigned, const char*, const char* const*, int, int) {
  return -1;
}
const char* HOSTCALL NoMessageText(int, int) {
  return "";
}
HostHandle HOSTCALL NoSaveScreen(int, int, int, int) {
  return nullptr;
}
void HOSTCALL NoRestoreScreen(HostHandle) {}
int HOSTCALL NoDirList(const char*, PluginPanelItem** items, int* count) {
  if (items != nullptr) *items = nullptr;
  if (count != nullptr) *count = 0;
  return 0;
}
int HOSTCALL NoPluginDirList(int, HostHandle, const char*, PluginPanelItem** items, int* count) {
  return NoDirList(nullptr, items, count);
}
void HOSTCALL NoFreeDirList(const PluginPanelItem*) {}
int HOSTCALL NoViewer(const char*, const char*, int, int, int, int, unsigned) {
  return 0;
}
int HOSTCALL NoEditor(const char*, const char*, int, int, int, int, unsigned, int, int) {
  return 0;
}
int HOSTCALL NoCharTable(int, char*, int) {
  return -1;
}
int HOSTCALL NoEditorControl(int, void*) {
  return 0;
}
int HOSTCALL NoShowHelp(const char*, const char*, unsigned) {
  return 0;
}
int HOSTCALL NoAdvControl(int, int, void*) {
  return 0;
}
int HOSTCALL NoInputBox(const char*, const char*, const char*, const char*, char*, int, const char*,
                        unsigned) {
  return 0;
}
int HOSTCALL NoDialogEx(int, int, int, int, int, const char*, FarDialogItem*, int, unsigned,
                        unsigned, void*, long) {
  return -1;
}
long HOSTCALL NoDialogMessage(HostHandle, int, int, long) {
  return 0;
}
int HOSTCALL NoViewerControl(int, void*) {
  return 0;
}

template <typename Fn>
void* Slot(Fn fn) {
  return reinterpret_cast<void*>(fn);
}

// The nine slots after EditorControl: standard functions (a table this host
// does not have, so null), help, advanced control, input box, extended dialog,
// its two message functions, a reserved word, viewer control.
void FillFurther(void** further) {
  void* slots[] = {nullptr,
                   Slot(&NoShowHelp),
                   Slot(&NoAdvControl),
                   Slot(&NoInputBox),
                   Slot(&NoDialogEx),
                   Slot(&NoDialogMessage),
                   Slot(&NoDialogMessage),
                   nullptr,
                   Slot(&NoViewerControl)};
  static_assert(sizeof(slots) == sizeof(PluginStartupInfo::Further));
  memcpy(further, slots, sizeof(slots));
}

void FillStartupInfo(const std::string& path, int moduleNumber, PluginStartupInfo* info) {
  memset(info, 0, sizeof(*info));
  info->StructSize = sizeof(PluginStartupInfo);
  strncpy(info->ModuleName, path.c_str(), sizeof(info->ModuleName) - 1);
  info->ModuleNumber = moduleNumber;
  info->RootKey = kRootKey;
  info->Menu = &HostMenu;
  info->Dialog = &HostDialog;
  info->Message = Slot(&NoMessage);
  info->GetMsg = Slot(&NoMessageText);
  info->Control = &HostControl;
  info->SaveScreen = Slot(&NoSaveScreen);
  info->RestoreScreen = Slot(&NoRestoreScreen);
  info->GetDirList = Slot(&NoDirList);
  info->GetPluginDirList = Slot(&NoPluginDirList);
  info->FreeDirList = Slot(&NoFreeDirList);
  info->Viewer = Slot(&NoViewer);
  info->Editor = Slot(&NoEditor);
  info->CmpName = &HostCmpName;
  info->CharTable = Slot(&NoCharTable);
  info->Text = &HostText;
  info->EditorControl = Slot(&NoEditorControl);
  FillFurther(info->Further);
}

}  // namespace

// ---- Plug-ins --------------------------------------------------------------------

bool LoadPlugin(const std::string& path, int moduleNumber, Plugin* plugin, std::string* error) {
  plugin->path = path;
  plugin->module = LoadLibraryA(path.c_str());
  if (plugin->module == nullptr) {
    *error = "cannot load the plug-in '" + path + "' (Windows error " +
             std::to_string(GetLastError()) + ")";
    return false;
  }
  struct Export {
    const char* name;
    void** slot;
  } exports[] = {
      {"SetStartupInfo", reinterpret_cast<void**>(&plugin->setStartupInfo)},
      {"GetPluginInfo", reinterpret_cast<void**>(&plugin->getPluginInfo)},
      {"OpenPlugin", reinterpret_cast<void**>(&plugin->openPlugin)},
  };
  for (const Export& entry : exports) {
    *entry.slot = reinterpret_cast<void*>(GetProcAddress(plugin->module, entry.name));
    if (*entry.slot == nullptr) {
      *error = "the plug-in '" + path + "' does not export " + entry.name;
      FreeLibrary(plugin->module);
      plugin->module = nullptr;
      return false;
    }
  }
  FillStartupInfo(path, moduleNumber, &plugin->startupInfo);
  plugin->setStartupInfo(&plugin->startupInfo);
  return true;
}

void ReadPluginMenu(Plugin* plugin) {
  PluginInfo info;
  memset(&info, 0, sizeof(info));
  info.StructSize = sizeof(info);
  plugin->getPluginInfo(&info);
  plugin->menuStrings.clear();
  int count = std::clamp(info.PluginMenuStringsNumber, 0, kMaxMenuStrings);
  for (int i = 0; info.PluginMenuStrings != nullptr && i < count; ++i) {
    plugin->menuStrings.push_back(Text(info.PluginMenuStrings[i], kMenuTextSize));
  }
}

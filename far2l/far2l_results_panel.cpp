// The results of a search as a far2l plug-in panel, like the host's
// temporary panel: one item per match under its real full name, so that the
// host's own view, edit, copy, move and delete act on the real file; its
// path relative to the search folder in the name column of the panel's own
// view mode, its description in the description column. The panel's handle
// is its findtree::Results, freed when the host closes it.
#include "far2l/far2l_gateway.h"
#include "far2l/far2l_panel_records.h"
#include "findtree/results.h"
#include "findtree/results_panel.h"

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

using namespace far2l;

namespace {

using Results = findtree::Results<wchar_t>;
using Match = findtree::Match<wchar_t>;

// ---- View modes and the information panel --------------------------------

// The mode the panel opens in: its relative path (custom column 0) and
// description side by side; the status line names the full path. The other
// modes are the host's own: their description columns show the same
// descriptions.
constexpr int kStartMode = 6;
constexpr int kModeCount = 10;

constinit const wchar_t* columnTitles[2] = {};
constinit PanelMode panelModes[kModeCount] = {};

constinit findtree::InfoPanel<InfoPanelLine, wchar_t> infoPanel = {};

// The host's record of an item, or the size it needs where item is null.
int GetItem(int index, PluginPanelItem* item) {
  if (index == findtree::kCurrentItem) {
    return Control(FCTL_GETCURRENTPANELITEM, 0, PointerParam(item));
  }
  return Control(FCTL_GETPANELITEM, index, PointerParam(item));
}

}  // namespace

// ---- The host's items, read for leaving for an item's own folder ---------

size_t Far2l::ItemRecordSize(int index) {
  const int size = GetItem(index, nullptr);
  return size < static_cast<int>(sizeof(PluginPanelItem)) ? 0 : static_cast<size_t>(size);
}

const wchar_t* Far2l::ReadItem(int index, void* block, size_t, bool* isFolder) {
  auto* item = static_cast<PluginPanelItem*>(block);
  if (GetItem(index, item) < static_cast<int>(sizeof *item)) return nullptr;
  *isFolder = (item->FindData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return item->FindData.lpwszFileName;
}

bool Far2l::GoToFolder(const wchar_t* folder, int* count, int* top) {
  Control(FCTL_SETPANELDIR, 0, PointerParam(folder));
  PanelInfo info{};
  if (!Control(FCTL_GETPANELINFO, 0, PointerParam(&info))) return false;
  *count = info.ItemsNumber;
  *top = info.TopPanelItem;
  return true;
}

PLUGIN_EXPORT void GetOpenPluginInfoW(HANDLE panel, OpenPluginInfo* info) {
  const auto& results = *static_cast<const Results*>(panel);
  columnTitles[0] = Far2l::Msg(Message::kColumnName);
  columnTitles[1] = Far2l::Msg(Message::kColumnDescription);
  panelModes[kStartMode] =
      PanelMode{L"C0,Z", L"0,0", columnTitles, 0, 0, 0, 0, L"NR,S,D,T", L"0,10,0,5", {0, 0}};
  info->StructSize = sizeof *info;
  info->Flags = OPIF_USEFILTER | OPIF_USESORTGROUPS | OPIF_USEHIGHLIGHTING | OPIF_ADDDOTS |
                OPIF_REALNAMES | OPIF_SHOWPRESERVECASE;
  info->HostFile = nullptr;
  info->CurDir = L"";
  info->Format = Far2l::Msg(Message::kPluginTitle);
  info->PanelTitle = results.title;
  info->InfoLines = infoPanel.lines;
  info->InfoLinesNumber = findtree::FillInfoPanel<Far2l>(results, &infoPanel);
  info->PanelModesArray = panelModes;
  info->PanelModesNumber = kModeCount;
  info->StartPanelMode = L'0' + kStartMode;
}

PLUGIN_EXPORT int GetFindDataW(HANDLE panel, PluginPanelItem** items, int* count, int) {
  auto* results = static_cast<Results*>(panel);
  size_t listed = 0;
  *items = findtree::ListMatches<PluginPanelItem>(
      results, Far2l::kPathSeparator, &listed,
      [](PluginPanelItem* item, Match& match, const wchar_t* name, const wchar_t* const* column) {
        *item = PluginPanelItem{};
        const uint64_t time = match.facts.writeTime;
        item->FindData.ftLastWriteTime =
            FILETIME{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
        item->FindData.nFileSize = match.facts.size;
        item->FindData.dwFileAttributes = match.facts.attributes;
        item->FindData.dwUnixMode = match.facts.unixMode;
        item->FindData.lpwszFileName = name;
        item->Description = match.descriptionLength > 0 ? match.Description() : nullptr;
        item->CustomColumnData = column;
        item->CustomColumnNumber = 1;
      });
  // The host counts its items in an int.
  *count = static_cast<int>(listed < INT32_MAX ? listed : INT32_MAX);
  return *items != nullptr || findtree::LiveMatches(*results) == 0;
}

PLUGIN_EXPORT void FreeFindDataW(HANDLE, PluginPanelItem* items, int) {
  sys::Free(items);
}

// The panel has no folders of its own to go into: Enter on a folder is taken
// in ProcessKeyW, and the host's find does not descend. A macro's argument
// given here after the panel opened is no folder either.
PLUGIN_EXPORT int SetDirectoryW(HANDLE, const wchar_t*, int) {
  return 0;
}

// Enter on a folder, and Ctrl+PgUp on any item, leave the results for the
// item's own folder with the cursor on it.
PLUGIN_EXPORT int ProcessKeyW(HANDLE, int key, unsigned int controlState) {
  const bool enter = key == VK_RETURN && controlState == 0;
  const bool ctrlPgUp = key == VK_PRIOR && controlState == PKF_CONTROL;
  return (enter || ctrlPgUp) && findtree::LeaveForItem<Far2l>(enter);
}

PLUGIN_EXPORT void ClosePluginW(HANDLE panel) {
  findtree::ReleaseResults(static_cast<Results*>(panel));
}

// The results of a search as a far2l plug-in panel, like the host's
// temporary panel: one item per match under its real full name, so that the
// host's own view, edit, copy, move and delete act on the real file; its
// path relative to the search folder in the name column of the panel's own
// view mode, its description in the description column. The panel's handle
// is its findtree::Results, freed when the host closes it.
#include "far2l/far2l_gateway.h"
#include "far2l/far2l_panel_records.h"
#include "findtree/results.h"

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

enum InfoLine {
  kMaskLine,
  kFolderLine,
  kCountsSeparator,
  kFoldersLine,
  kFoundLine,
  kFoldersSkippedLine,
  kFilesSkippedLine,
  kLoopsLine,
  kEndingLine,  // stopped, or out of memory; left out where neither
  kInfoLineCount
};
static_assert(kLoopsLine - kFoldersLine + 1 == findtree::kCountFigures);

constinit InfoPanelLine infoLines[kInfoLineCount] = {};
constinit wchar_t countTexts[findtree::kCountFigures][findtree::kNumberUnits] = {};

int FillInfoLines(const Results& results) {
  findtree::FormatCounts(results.counts, countTexts);
  for (int i = 0; i < findtree::kCountFigures; ++i) {
    infoLines[kFoldersLine + i] = {
        Far2l::Msg(static_cast<Message>(static_cast<int>(Message::kInfoFolders) + i)),
        countTexts[i], 0};
  }
  infoLines[kMaskLine] = {Far2l::Msg(Message::kInfoMask), results.mask, 0};
  infoLines[kFolderLine] = {Far2l::Msg(Message::kInfoFolder), results.folder, 0};
  infoLines[kCountsSeparator] = {L"", nullptr, 1};
  if (results.counts.stopped || results.counts.outOfMemory) {
    infoLines[kEndingLine] = {
        Far2l::Msg(results.counts.stopped ? Message::kInfoStopped : Message::kInfoOutOfMemory), L"",
        0};
    return kInfoLineCount;
  }
  return kEndingLine;
}

// ---- The items -----------------------------------------------------------

// ---- Leaving for an item's own folder ------------------------------------

// The full name of the item under the cursor, in a block to Free; null
// where there is none or it is "..".
wchar_t* CurrentName(bool* isFolder) {
  const int size = Control(FCTL_GETCURRENTPANELITEM, 0, 0);
  if (size < static_cast<int>(sizeof(PluginPanelItem))) return nullptr;
  auto* item = static_cast<PluginPanelItem*>(sys::Allocate(static_cast<size_t>(size)));
  if (item == nullptr) return nullptr;
  const int filled = Control(FCTL_GETCURRENTPANELITEM, 0, PointerParam(item));
  const wchar_t* name =
      filled >= static_cast<int>(sizeof(PluginPanelItem)) ? item->FindData.lpwszFileName : nullptr;
  *isFolder = name != nullptr && (item->FindData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  if (name == nullptr || (name[0] == L'.' && name[1] == L'.' && name[2] == 0)) {
    sys::Free(item);
    return nullptr;
  }
  // The name lies after the record, in the same block.
  return findtree::MoveToStart(item, name);
}

// Sets the active panel to the folder of fullName, which closes the results
// panel (the host frees it then), and puts the cursor on the item.
void GoToItem(wchar_t* fullName) {
  wchar_t* folder;
  wchar_t* name;
  findtree::CutName(fullName, Far2l::kPathSeparator, &folder, &name);
  Control(FCTL_SETPANELDIR, 0, PointerParam(folder));
  PanelInfo info{};
  if (!Control(FCTL_GETPANELINFO, 0, PointerParam(&info))) return;
  size_t capacity = 0;
  PluginPanelItem* item = nullptr;
  for (int i = 0; i < info.ItemsNumber; ++i) {
    const int size = Control(FCTL_GETPANELITEM, i, 0);
    if (size < static_cast<int>(sizeof(PluginPanelItem))) continue;
    if (static_cast<size_t>(size) > capacity) {
      sys::Free(item);
      capacity = static_cast<size_t>(size);
      item = static_cast<PluginPanelItem*>(sys::Allocate(capacity));
      if (item == nullptr) return;
    }
    if (Control(FCTL_GETPANELITEM, i, PointerParam(item)) < static_cast<int>(sizeof *item))
      continue;
    if (findtree::SameText(item->FindData.lpwszFileName, name)) {
      PanelRedrawInfo redraw{i, info.TopPanelItem};
      Control(FCTL_REDRAWPANEL, 0, PointerParam(&redraw));
      break;
    }
  }
  sys::Free(item);
}

}  // namespace

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
  info->InfoLines = infoLines;
  info->InfoLinesNumber = FillInfoLines(results);
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
  if (!enter && !ctrlPgUp) return 0;
  bool isFolder = false;
  wchar_t* name = CurrentName(&isFolder);
  if (name == nullptr || (enter && !isFolder)) {
    sys::Free(name);
    return 0;
  }
  GoToItem(name);
  sys::Free(name);
  return 1;
}

PLUGIN_EXPORT void ClosePluginW(HANDLE panel) {
  findtree::ReleaseResults(static_cast<Results*>(panel));
}

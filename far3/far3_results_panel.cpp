// The results of a search as a plug-in panel of the current generation, like
// the host's temporary panel: one item per match under its real full name,
// so that the host's own view, edit, copy, move and delete act on the real
// file; its path relative to the search folder in the name column of the
// panel's own view mode, its description in the description column. The
// panel's handle is its findtree::Results, freed when the host closes it.
#include "far3/far3_gateway.h"
#include "far3/far3_panel_records.h"
#include "findtree/results.h"

namespace {

using far3::Host;
using Results = findtree::Results<char16_t>;
using Match = findtree::Match<char16_t>;

// ---- View modes and the information panel --------------------------------------------

// The mode the panel opens in: its relative path (custom column 0) and
// description side by side; the status line names the full path. The other
// modes are the host's own: their description columns show the same
// descriptions.
constexpr intptr_t kStartMode = 6;
constexpr size_t kModeCount = 10;

constinit const char16_t* columnTitles[2] = {};
constinit far3::PanelMode panelModes[kModeCount] = {};

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

constinit far3::InfoPanelLine infoLines[kInfoLineCount] = {};
constinit char16_t countTexts[findtree::kCountFigures][findtree::kNumberUnits] = {};

size_t FillInfoLines(const Results& results) {
  findtree::FormatCounts(results.counts, countTexts);
  for (int i = 0; i < findtree::kCountFigures; ++i) {
    infoLines[kFoldersLine + i] = {
        Far3::Msg(static_cast<Message>(static_cast<int>(Message::kInfoFolders) + i)), countTexts[i],
        0};
  }
  infoLines[kMaskLine] = {Far3::Msg(Message::kInfoMask), results.mask, 0};
  infoLines[kFolderLine] = {Far3::Msg(Message::kInfoFolder), results.folder, 0};
  infoLines[kCountsSeparator] = {u"", nullptr, far3::IPLFLAGS_SEPARATOR};
  if (results.counts.stopped || results.counts.outOfMemory) {
    const Message ending =
        results.counts.stopped ? Message::kInfoStopped : Message::kInfoOutOfMemory;
    infoLines[kEndingLine] = {Far3::Msg(ending), u"", 0};
    return kInfoLineCount;
  }
  return kEndingLine;
}

// ---- The items ---------------------------------------------------------------------

far3::FileTime FileTime(uint64_t ticks) {
  return far3::FileTime{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
}

// ---- Leaving for an item's own folder ------------------------------------------------

// The full name of the item under the cursor, in a block to Free; null
// where there is none or it is "..".
char16_t* CurrentName(bool* isFolder) {
  void* active = far3::ActivePanel();
  const intptr_t size = Host().PanelControl(active, far3::FCTL_GETCURRENTPANELITEM, 0, nullptr);
  if (size < static_cast<intptr_t>(sizeof(far3::PluginPanelItem))) return nullptr;
  void* buffer = sys::Allocate(static_cast<size_t>(size));
  if (buffer == nullptr) return nullptr;
  far3::FarGetPluginPanelItem request{sizeof request, static_cast<size_t>(size),
                                      static_cast<far3::PluginPanelItem*>(buffer)};
  const intptr_t filled = Host().PanelControl(active, far3::FCTL_GETCURRENTPANELITEM, 0, &request);
  const char16_t* name = filled > 0 && filled <= size ? request.Item->FileName : nullptr;
  *isFolder = name != nullptr && (request.Item->FileAttributes & far3::FILE_ATTRIBUTE_DIRECTORY);
  if (name == nullptr || (name[0] == u'.' && name[1] == u'.' && name[2] == 0)) {
    sys::Free(buffer);
    return nullptr;
  }
  // The name lies after the record, in the same block.
  return findtree::MoveToStart(buffer, name);
}

// Sets the active panel to the folder of fullName, which closes the results
// panel (the host frees it then), and puts the cursor on the item.
void GoToItem(char16_t* fullName) {
  char16_t* folderName;
  char16_t* name;
  findtree::CutName(fullName, Far3::kPathSeparator, &folderName, &name);
  far3::FarPanelDirectory folder{sizeof folder, folderName, nullptr, {}, nullptr};
  void* active = far3::ActivePanel();
  Host().PanelControl(active, far3::FCTL_SETPANELDIRECTORY, 0, &folder);
  far3::PanelInfo info{};
  info.StructSize = sizeof info;
  if (Host().PanelControl(active, far3::FCTL_GETPANELINFO, 0, &info) == 0) return;
  size_t bufferSize = 0;
  void* buffer = nullptr;
  for (size_t i = 0; i < info.ItemsNumber; ++i) {
    const intptr_t size = Host().PanelControl(active, far3::FCTL_GETPANELITEM, i, nullptr);
    if (size <= 0) continue;
    if (static_cast<size_t>(size) > bufferSize) {
      sys::Free(buffer);
      bufferSize = static_cast<size_t>(size);
      buffer = sys::Allocate(bufferSize);
      if (buffer == nullptr) return;
    }
    far3::FarGetPluginPanelItem request{sizeof request, bufferSize,
                                        static_cast<far3::PluginPanelItem*>(buffer)};
    if (Host().PanelControl(active, far3::FCTL_GETPANELITEM, i, &request) <= 0) continue;
    if (findtree::SameText(request.Item->FileName, name)) {
      far3::PanelRedrawInfo redraw{sizeof redraw, i, info.TopPanelItem};
      Host().PanelControl(active, far3::FCTL_REDRAWPANEL, 0, &redraw);
      break;
    }
  }
  sys::Free(buffer);
}

// Whether record is a press of key, with Ctrl alone or with no modifier.
bool Pressed(const far3::InputRecord& record, uint16_t key, bool ctrl) {
  constexpr uint32_t kModifiers = far3::LEFT_CTRL_PRESSED | far3::RIGHT_CTRL_PRESSED |
                                  far3::LEFT_ALT_PRESSED | far3::RIGHT_ALT_PRESSED |
                                  far3::SHIFT_PRESSED;
  const far3::KeyEventRecord& event = record.Event.KeyEvent;
  const uint32_t held = event.dwControlKeyState & kModifiers;
  const bool ctrlAlone = held == far3::LEFT_CTRL_PRESSED || held == far3::RIGHT_CTRL_PRESSED;
  return record.EventType == far3::KEY_EVENT && event.bKeyDown && event.wVirtualKeyCode == key &&
         (ctrl ? ctrlAlone : held == 0);
}

}  // namespace

extern "C" {

void FAR3CALL GetOpenPanelInfoW(far3::OpenPanelInfo* info) {
  const auto& results = *static_cast<const Results*>(info->hPanel);
  columnTitles[0] = Far3::Msg(Message::kColumnName);
  columnTitles[1] = Far3::Msg(Message::kColumnDescription);
  panelModes[kStartMode] =
      far3::PanelMode{u"C0,Z", u"0,0", columnTitles, u"NR,S,D,T", u"0,10,0,5", 0};
  info->StructSize = sizeof *info;
  info->Flags = far3::OPIF_ADDDOTS | far3::OPIF_REALNAMES | far3::OPIF_SHOWPRESERVECASE;
  info->HostFile = nullptr;
  info->CurDir = u"";
  info->Format = Far3::Msg(Message::kPluginTitle);
  info->PanelTitle = results.title;
  info->InfoLines = infoLines;
  info->InfoLinesNumber = FillInfoLines(results);
  info->PanelModesArray = panelModes;
  info->PanelModesNumber = kModeCount;
  info->StartPanelMode = u'0' + kStartMode;
}

intptr_t FAR3CALL GetFindDataW(far3::GetFindDataInfo* info) {
  auto* results = static_cast<Results*>(info->hPanel);
  size_t count = 0;
  info->PanelItem = findtree::ListMatches<far3::PluginPanelItem>(
      results, Far3::kPathSeparator, &count,
      [](far3::PluginPanelItem* item, Match& match, const char16_t* name,
         const char16_t* const* column) {
        *item = far3::PluginPanelItem{};
        item->FileName = name;
        item->Description = match.descriptionLength > 0 ? match.Description() : nullptr;
        item->CustomColumnData = column;
        item->CustomColumnNumber = 1;
        item->FileAttributes = match.facts.attributes;
        item->FileSize = match.facts.size;
        item->LastWriteTime = FileTime(match.facts.writeTime);
      });
  info->ItemsNumber = count;
  return info->PanelItem != nullptr || findtree::LiveMatches(*results) == 0;
}

void FAR3CALL FreeFindDataW(const far3::FreeFindDataInfo* info) {
  sys::Free(info->PanelItem);
}

// The panel has no folders of its own to go into: Enter on a folder is taken
// in ProcessPanelInputW, and the host's find does not descend.
intptr_t FAR3CALL SetDirectoryW(const far3::SetDirectoryInfo*) {
  return 0;
}

// Enter on a folder, and Ctrl+PgUp on any item, leave the results for the
// item's own folder with the cursor on it.
intptr_t FAR3CALL ProcessPanelInputW(const far3::ProcessPanelInputInfo* info) {
  const bool enter = Pressed(info->Rec, far3::VK_RETURN, false);
  const bool ctrlPgUp = Pressed(info->Rec, far3::VK_PRIOR, true);
  if (!enter && !ctrlPgUp) return 0;
  bool isFolder = false;
  char16_t* name = CurrentName(&isFolder);
  if (name == nullptr || (enter && !isFolder)) {
    sys::Free(name);
    return 0;
  }
  GoToItem(name);
  sys::Free(name);
  return 1;
}

void FAR3CALL ClosePanelW(const far3::ClosePanelInfo* info) {
  findtree::ReleaseResults(static_cast<Results*>(info->hPanel));
}

}  // extern "C"

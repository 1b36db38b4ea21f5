// The results of a search as a plug-in panel of the current generation, like
// the host's temporary panel: one item per match under its real full name,
// so that the host's own view, edit, copy, move and delete act on the real
// file; its path relative to the search folder in the name column of the
// panel's own view mode, its description in the description column. The
// panel's handle is its findtree::Results, freed when the host closes it.
#include "far3/far3_gateway.h"
#include "far3/far3_panel_records.h"
#include "findtree/results.h"
#include "findtree/results_panel.h"

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

constinit findtree::InfoPanel<far3::InfoPanelLine, char16_t> infoPanel = {};

// ---- The items ---------------------------------------------------------------------

far3::FileTime FileTime(uint64_t ticks) {
  return far3::FileTime{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
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

// ---- The host's items, read for leaving for an item's own folder -------------------

namespace {

// The host's record of an item, or the size it needs where request is null.
intptr_t GetItem(int index, far3::FarGetPluginPanelItem* request) {
  if (index == findtree::kCurrentItem) {
    return Host().PanelControl(far3::ActivePanel(), far3::FCTL_GETCURRENTPANELITEM, 0, request);
  }
  return Host().PanelControl(far3::ActivePanel(), far3::FCTL_GETPANELITEM, index, request);
}

}  // namespace

size_t Far3::ItemRecordSize(int index) {
  const intptr_t size = GetItem(index, nullptr);
  return size < static_cast<intptr_t>(sizeof(far3::PluginPanelItem)) ? 0
                                                                     : static_cast<size_t>(size);
}

const Far3::Char* Far3::ReadItem(int index, void* block, size_t size, bool* isFolder) {
  far3::FarGetPluginPanelItem request{sizeof request, size,
                                      static_cast<far3::PluginPanelItem*>(block)};
  const intptr_t filled = GetItem(index, &request);
  if (filled <= 0 || static_cast<size_t>(filled) > size) return nullptr;
  *isFolder = (request.Item->FileAttributes & far3::FILE_ATTRIBUTE_DIRECTORY) != 0;
  return request.Item->FileName;
}

bool Far3::GoToFolder(const Char* folder, int* count, int* top) {
  far3::FarPanelDirectory directory{sizeof directory, folder, nullptr, {}, nullptr};
  void* active = far3::ActivePanel();
  Host().PanelControl(active, far3::FCTL_SETPANELDIRECTORY, 0, &directory);
  far3::PanelInfo info{};
  info.StructSize = sizeof info;
  if (Host().PanelControl(active, far3::FCTL_GETPANELINFO, 0, &info) == 0) return false;
  *count = static_cast<int>(info.ItemsNumber < INT32_MAX ? info.ItemsNumber : INT32_MAX);
  *top = static_cast<int>(info.TopPanelItem < INT32_MAX ? info.TopPanelItem : INT32_MAX);
  return true;
}

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
  info->InfoLines = infoPanel.lines;
  info->InfoLinesNumber = static_cast<size_t>(findtree::FillInfoPanel<Far3>(results, &infoPanel));
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
  return (enter || ctrlPgUp) && findtree::LeaveForItem<Far3>(enter);
}

void FAR3CALL ClosePanelW(const far3::ClosePanelInfo* info) {
  findtree::ReleaseResults(static_cast<Results*>(info->hPanel));
}

}  // extern "C"

// What every host's results panel shows and does alike: the lines of its
// information panel, and leaving the results for an item's own folder with
// the cursor on the item. A gateway reads the host's item records and sets
// its panel's folder; the panel's entry points stay in each interface.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>

#include "core/gateway.h"
#include "core/messages.h"
#include "findtree/results.h"
#include "sys/system.h"

namespace findtree {

// The item under the cursor, where a gateway takes an item's index.
inline constexpr int kCurrentItem = -1;

// What a gateway gives a results panel besides its panel, messages and path
// separator.
// ItemRecordSize answers the bytes the host's record of the active panel's
// item index needs, 0 where there is no such item; ReadItem reads it into
// block (that many bytes) and answers the item's name within the block and
// whether it is a folder, null where the host did not fill it. GoToFolder
// sets the active panel's folder and answers its item count and first item
// shown, false where the host does not answer.
template <class G>
concept ResultsPanelGateway = PanelGateway<G> && CommandGateway<G> &&
    requires(int index, void* block, size_t size, bool* isFolder, int* place,
             const typename G::Char* folder) {
  { G::kPathSeparator } -> std::convertible_to<typename G::Char>;
  { G::ItemRecordSize(index) } -> std::same_as<size_t>;
  { G::ReadItem(index, block, size, isFolder) } -> std::same_as<const typename G::Char*>;
  { G::GoToFolder(folder, place, place) } -> std::same_as<bool>;
};

// ---- The information panel ---------------------------------------------------

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
static_assert(kLoopsLine - kFoldersLine + 1 == kCountFigures);

// The lines in the host's record (text, data, and the separator mark, 1 in
// every host), and the counts' texts they point at, which the host reads
// until it asks again.
template <class Line, class Char>
struct InfoPanel {
  Line lines[kInfoLineCount];
  Char counts[kCountFigures][kNumberUnits];
};

// Fills the information panel for results; answers how many lines to show.
template <class G, class Line>
int FillInfoPanel(const Results<typename G::Char>& results,
                  InfoPanel<Line, typename G::Char>* info) {
  using Char = typename G::Char;
  static constexpr Char kNoText[1] = {};
  FormatCounts(results.counts, info->counts);
  for (int i = 0; i < kCountFigures; ++i) {
    const auto label = static_cast<Message>(static_cast<int>(Message::kInfoFolders) + i);
    info->lines[kFoldersLine + i] = Line{G::Msg(label), info->counts[i], 0};
  }
  info->lines[kMaskLine] = Line{G::Msg(Message::kInfoMask), results.mask, 0};
  info->lines[kFolderLine] = Line{G::Msg(Message::kInfoFolder), results.folder, 0};
  info->lines[kCountsSeparator] = Line{kNoText, nullptr, 1};
  if (!results.counts.stopped && !results.counts.outOfMemory) return kEndingLine;
  const Message ending = results.counts.stopped ? Message::kInfoStopped : Message::kInfoOutOfMemory;
  info->lines[kEndingLine] = Line{G::Msg(ending), kNoText, 0};
  return kInfoLineCount;
}

// ---- Leaving for an item's own folder ----------------------------------------

// The full name of the item under the cursor, in a block to Free; null
// where there is none or it is "..".
template <ResultsPanelGateway G>
typename G::Char* CurrentName(bool* isFolder) {
  using Char = typename G::Char;
  const size_t size = G::ItemRecordSize(kCurrentItem);
  void* block = size > 0 ? sys::Allocate(size) : nullptr;
  if (block == nullptr) return nullptr;
  const Char* name = G::ReadItem(kCurrentItem, block, size, isFolder);
  if (name == nullptr || (name[0] == Char('.') && name[1] == Char('.') && name[2] == Char(0))) {
    sys::Free(block);
    return nullptr;
  }
  // The name lies after the record, in the same block.
  return MoveToStart(block, name);
}

// Sets the active panel to the folder of fullName, which closes the results
// panel (the host frees it then), and puts the cursor on the item.
template <ResultsPanelGateway G>
void GoToItem(typename G::Char* fullName) {
  typename G::Char* folder;
  typename G::Char* name;
  CutName(fullName, G::kPathSeparator, &folder, &name);
  int count = 0;
  int top = 0;
  if (!G::GoToFolder(folder, &count, &top)) return;
  size_t capacity = 0;
  void* block = nullptr;
  for (int i = 0; i < count; ++i) {
    const size_t size = G::ItemRecordSize(i);
    if (size == 0) continue;
    if (size > capacity) {
      sys::Free(block);
      capacity = size;
      block = sys::Allocate(capacity);
      if (block == nullptr) return;
    }
    bool isFolder = false;
    const typename G::Char* itemName = G::ReadItem(i, block, capacity, &isFolder);
    if (itemName != nullptr && SameText(itemName, static_cast<const typename G::Char*>(name))) {
      G::MoveCursor(nullptr, i, top);
      break;
    }
  }
  sys::Free(block);
}

// Enter on a folder (enter), and Ctrl+PgUp on any item, leave the results
// for the item's own folder with the cursor on it; false where the key is
// left to the host.
template <ResultsPanelGateway G>
bool LeaveForItem(bool enter) {
  bool isFolder = false;
  typename G::Char* name = CurrentName<G>(&isFolder);
  if (name == nullptr || (enter && !isFolder)) {
    sys::Free(name);
    return false;
  }
  GoToItem<G>(name);
  sys::Free(name);
  return true;
}

}  // namespace findtree

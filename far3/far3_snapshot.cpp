// The panel snapshot of the current-generation gateway. The host hands items
// out one call at a time, so a command reads every item up front and keeps
// what the rules read in one heap block: a keystroke then never calls the
// host per item.
//
// The host's calls are cheap; what costs is memory touched for the first
// time, and a third call per item. So the block is sized once from the
// host's own size answers (the untouched rest costs nothing), nothing is
// ever moved, and each item is asked for once: its description is kept, or,
// where it has none, its name and short name, from which the rules read the
// folder's description file where the host gives no item a description.
#include <cstdint>

#include "far3/far3_gateway.h"

namespace {

using far3::Host;

// ---- Talking to the host ---------------------------------------------------------

size_t AskItemSize(size_t index) {
  const intptr_t size = Host().PanelControl(far3::ActivePanel(), far3::FCTL_GETPANELITEM,
                                            static_cast<intptr_t>(index), nullptr);
  return size > 0 ? static_cast<size_t>(size) : 0;
}

// Fills buffer with the item at index. The host writes no further than size
// and answers the size it needs; the item is whole only when that fits.
const far3::PluginPanelItem* FillItem(size_t index, void* buffer, size_t size) {
  far3::FarGetPluginPanelItem request{sizeof request, size,
                                      static_cast<far3::PluginPanelItem*>(buffer)};
  const intptr_t needed = Host().PanelControl(far3::ActivePanel(), far3::FCTL_GETPANELITEM,
                                              static_cast<intptr_t>(index), &request);
  if (needed < static_cast<intptr_t>(sizeof(far3::PluginPanelItem)) ||
      static_cast<size_t>(needed) > size) {
    return nullptr;
  }
  return request.Item;
}

size_t AskFolderSize(const far3::PanelInfo& info) {
  if (info.Flags & far3::PFLAGS_PLUGIN) return 0;  // a plug-in's panel has no folder on disk
  const intptr_t size =
      Host().PanelControl(far3::ActivePanel(), far3::FCTL_GETPANELDIRECTORY, 0, nullptr);
  return size >= static_cast<intptr_t>(sizeof(far3::FarPanelDirectory)) ? static_cast<size_t>(size)
                                                                        : 0;
}

const char16_t* FillFolder(void* buffer, size_t size) {
  auto* directory = static_cast<far3::FarPanelDirectory*>(buffer);
  directory->StructSize = sizeof *directory;
  const intptr_t filled = Host().PanelControl(far3::ActivePanel(), far3::FCTL_GETPANELDIRECTORY,
                                              static_cast<intptr_t>(size), directory);
  return filled > 0 && static_cast<size_t>(filled) <= size ? directory->Name : nullptr;
}

bool ReadPanelInfo(far3::PanelInfo* info) {
  *info = far3::PanelInfo{};
  info->StructSize = sizeof *info;
  return Host().PanelControl(far3::ActivePanel(), far3::FCTL_GETPANELINFO, 0, info) != 0 &&
         info->PanelType == far3::PTYPE_FILEPANEL && info->ItemsNumber > 0 &&
         info->ItemsNumber <= UINT32_MAX;
}

// ---- The block -------------------------------------------------------------------
// Per item a pointer to its description or else its name, then the folder;
// per item a pointer to its short name, its size and whether the first
// pointer is its name (kept only without a description: the description file
// may begin a description with the size); then the strings the pointers
// point to.

struct Block {
  const char16_t** slots;  // count items, then the folder
  const char16_t** shortNames;
  uint64_t* sizes;
  uint8_t* named;
  char16_t* strings;
  size_t room;  // code units left at strings
};

const char16_t* Keep(Block* block, const char16_t* text) {
  if (text == nullptr) return nullptr;
  size_t length = 0;
  while (text[length] != 0) ++length;
  if (length >= block->room) return nullptr;  // the host answered beyond its own size
  char16_t* kept = block->strings;
  for (size_t i = 0; i <= length; ++i) kept[i] = text[i];
  block->strings += length + 1;
  block->room -= length + 1;
  return kept;
}

// What the host's size answers say a snapshot needs.
struct Sizes {
  size_t largestItem;  // bytes, the scratch buffer's size
  size_t strings;      // bytes: every item's strings together bound those kept of it
};

// False when the host gives no size for some item (the panel changed under
// the command) or the sizes cannot be added up.
bool AddUpSizes(size_t count, size_t folderSize, Sizes* sizes) {
  *sizes = Sizes{folderSize, folderSize};
  for (size_t i = 0; i < count; ++i) {
    const size_t size = AskItemSize(i);
    if (size < sizeof(far3::PluginPanelItem)) return false;
    if (size > sizes->largestItem) sizes->largestItem = size;
    if (sizes->strings > SIZE_MAX - size) return false;
    sizes->strings += size - sizeof(far3::PluginPanelItem);
  }
  return true;
}

bool StartBlock(size_t count, const Sizes& sizes, Block* block, void** memory) {
  constexpr size_t kPerItem = 2 * sizeof(const char16_t*) + sizeof(uint64_t) + 1;
  if (count > SIZE_MAX / kPerItem - 8) return false;
  const size_t slotBytes = (2 * count + 1) * sizeof(const char16_t*);
  const size_t sizeBytes = count * sizeof(uint64_t);
  const size_t fixedBytes = slotBytes + sizeBytes + (count + 1) / 2 * 2;  // strings stay aligned
  if (sizes.strings > SIZE_MAX - fixedBytes) return false;
  *memory = sys::Allocate(fixedBytes + sizes.strings);
  if (*memory == nullptr) return false;
  auto* bytes = static_cast<unsigned char*>(*memory);
  block->slots = static_cast<const char16_t**>(*memory);
  block->shortNames = block->slots + count + 1;
  block->sizes = reinterpret_cast<uint64_t*>(bytes + slotBytes);
  block->named = bytes + slotBytes + sizeBytes;
  block->strings = reinterpret_cast<char16_t*>(bytes + fixedBytes);
  block->room = sizes.strings / sizeof(char16_t);
  return true;
}

// Keeps every item's description, or where it has none and the panel has a
// folder whose file the rules may read, its name, short name and size; then
// the folder. Returns how many items have a description, or -1 when the host
// stops answering.
int64_t KeepStrings(size_t count, size_t folderSize, void* scratch, size_t scratchSize,
                    Block* block) {
  int64_t described = 0;
  for (size_t i = 0; i < count; ++i) {
    const far3::PluginPanelItem* item = FillItem(i, scratch, scratchSize);
    if (item == nullptr) return -1;
    block->slots[i] = Keep(block, item->Description);
    block->named[i] = block->slots[i] == nullptr && folderSize > 0;
    if (block->slots[i] != nullptr) {
      ++described;
    } else if (block->named[i]) {
      block->slots[i] = Keep(block, item->FileName);
      block->shortNames[i] = Keep(block, item->AlternateFileName);
      block->sizes[i] = item->FileSize;
    }
  }
  block->slots[count] = folderSize > 0 ? Keep(block, FillFolder(scratch, scratchSize)) : nullptr;
  return described;
}

// Where some item has a description, the names kept of the others are not
// the view's descriptions.
void DropNames(size_t count, Block* block) {
  for (size_t i = 0; i < count; ++i) {
    if (block->named[i]) block->slots[i] = nullptr;
  }
}

// Every item of the view reads as having no string of this kind.
constinit const char16_t* const kNoStrings[1] = {nullptr};

}  // namespace

bool Far3::TakeSnapshot(PanelSnapshot* snapshot, PanelView<Char>* view) {
  snapshot->block = nullptr;
  far3::PanelInfo info;
  if (!ReadPanelInfo(&info)) return false;
  const size_t count = info.ItemsNumber;
  const size_t folderSize = AskFolderSize(info);
  Sizes sizes;
  if (!AddUpSizes(count, folderSize, &sizes)) return false;

  void* scratch = sys::Allocate(sizes.largestItem);
  Block block{};
  void* memory = nullptr;
  int64_t described = -1;
  if (scratch != nullptr && StartBlock(count, sizes, &block, &memory))
    described = KeepStrings(count, folderSize, scratch, sizes.largestItem, &block);
  sys::Free(scratch);
  if (described < 0) {
    sys::Free(memory);
    return false;
  }

  snapshot->block = memory;
  const bool byName = described == 0 && folderSize > 0;
  if (!byName) DropNames(count, &block);
  const uint32_t items = static_cast<uint32_t>(count);
  const ItemStrings<Char> kept{block.slots, sizeof(const char16_t*), true, items};
  const ItemStrings<Char> none{kNoStrings, 0, true, items};
  *view = PanelView<Char>{};
  view->count = items;
  view->current = static_cast<int>(info.CurrentItem);
  view->top = static_cast<int>(info.TopPanelItem);
  view->rect = PanelRect{info.PanelRect.left, info.PanelRect.top, info.PanelRect.right,
                         info.PanelRect.bottom};
  view->descriptions = byName ? none : kept;
  view->names = byName ? kept : none;
  if (byName) {
    view->shortNames = {block.shortNames, sizeof(const char16_t*), true, items};
    view->sizes = ItemSizes{block.sizes, sizeof(uint64_t), false};
  }
  view->folder = block.slots[count];
  return true;
}

void Far3::ReleaseSnapshot(PanelSnapshot* snapshot) {
  sys::Free(snapshot->block);
  snapshot->block = nullptr;
}

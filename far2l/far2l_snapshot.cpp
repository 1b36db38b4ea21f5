// The command's copy of the active panel: far2l hands items out one call at a
// time, two calls each (the size, then the item), so everything the rules
// read is copied once, when the command starts.
#include <cstring>
#include <cwchar>
#include <new>

#include "far2l/far2l_gateway.h"

using namespace far2l;

// ---- The snapshot's text ---------------------------------------------------

// Text is kept in chunks that never move once written, so the pointers handed
// to the rules stay valid while more items are copied.
struct Far2l::TextChunk {
  TextChunk* next;
  size_t capacity;  // in wide characters
  size_t used;
  wchar_t* Chars() { return reinterpret_cast<wchar_t*>(this + 1); }
};

namespace {

constexpr size_t kChunkChars = size_t{1} << 16;

void FreeChunks(Far2l::TextChunk* chunk) {
  while (chunk != nullptr) {
    Far2l::TextChunk* next = chunk->next;
    sys::Free(chunk);
    chunk = next;
  }
}

// Room for chars wide characters, in the newest chunk or a new one. Null when
// the heap has no more.
wchar_t* Reserve(Far2l::TextChunk** chunks, size_t chars) {
  Far2l::TextChunk* chunk = *chunks;
  if (chunk == nullptr || chunk->capacity - chunk->used < chars) {
    const size_t capacity = chars > kChunkChars ? chars : kChunkChars;
    if (capacity > (SIZE_MAX - sizeof(Far2l::TextChunk)) / sizeof(wchar_t)) return nullptr;
    void* block = sys::Allocate(sizeof(Far2l::TextChunk) + capacity * sizeof(wchar_t));
    if (block == nullptr) return nullptr;
    chunk = new (block) Far2l::TextChunk{*chunks, capacity, 0};
    *chunks = chunk;
  }
  wchar_t* room = chunk->Chars() + chunk->used;
  chunk->used += chars;
  return room;
}

// Copies a host string into the snapshot. A null string stays null; *ok turns
// false when the heap runs out.
const wchar_t* Keep(Far2l::TextChunk** chunks, const wchar_t* str, bool* ok) {
  if (str == nullptr) return nullptr;
  const size_t chars = wcslen(str) + 1;
  wchar_t* copy = Reserve(chunks, chars);
  if (copy == nullptr) {
    *ok = false;
    return nullptr;
  }
  memcpy(copy, str, chars * sizeof(wchar_t));
  return copy;
}

// ---- Copying the panel -----------------------------------------------------

// One item as the host writes it: the record with its strings after it. The
// host asks for no buffer size, so the buffer always holds what it said.
struct ItemBuffer {
  void* block = nullptr;
  size_t capacity = 0;

  ~ItemBuffer() { sys::Free(block); }

  // The item at index, or null where the host has none. *ok turns false
  // when the heap runs out.
  const PluginPanelItem* Fetch(int index, bool* ok) {
    const int need = Control(FCTL_GETPANELITEM, index, 0);
    if (need < static_cast<int>(sizeof(PluginPanelItem))) return nullptr;
    if (static_cast<size_t>(need) > capacity) {
      sys::Free(block);
      capacity = static_cast<size_t>(need) * 2;
      block = sys::Allocate(capacity);
      if (block == nullptr) {
        capacity = 0;
        *ok = false;
        return nullptr;
      }
    }
    if (Control(FCTL_GETPANELITEM, index, PointerParam(block)) <
        static_cast<int>(sizeof(PluginPanelItem)))
      return nullptr;
    return static_cast<const PluginPanelItem*>(block);
  }
};

// Copies every item's description and name. False when the heap runs out.
bool CopyItems(Far2l::PanelSnapshot* snapshot) {
  const uint32_t count = snapshot->count;
  ItemBuffer buffer;
  bool ok = true;
  for (uint32_t i = 0; i < count && ok; ++i) {
    const PluginPanelItem* item = buffer.Fetch(static_cast<int>(i), &ok);
    const wchar_t* description = nullptr;
    const wchar_t* name = nullptr;
    if (item != nullptr) {
      description = Keep(&snapshot->chunks, item->Description, &ok);
      name = Keep(&snapshot->chunks, item->FindData.lpwszFileName, &ok);
    }
    snapshot->strings[i] = description;
    snapshot->strings[count + i] = name;
    snapshot->sizes[i] = item != nullptr ? item->FindData.nFileSize : 0;
  }
  return ok;
}

// The folder a file panel shows, or null where the host gives none.
const wchar_t* CopyFolder(Far2l::TextChunk** chunks) {
  const int chars = Control(FCTL_GETPANELDIR, 0, 0);
  if (chars <= 1) return nullptr;
  wchar_t* folder = Reserve(chunks, static_cast<size_t>(chars));
  if (folder == nullptr) return nullptr;
  folder[0] = 0;
  Control(FCTL_GETPANELDIR, chars, PointerParam(folder));
  folder[chars - 1] = 0;
  return folder[0] != 0 ? folder : nullptr;
}

}  // namespace

bool Far2l::TakeSnapshot(PanelSnapshot* snapshot, PanelView<wchar_t>* view) {
  *snapshot = PanelSnapshot{};
  PanelInfo info{};
  if (!Control(FCTL_GETPANELINFO, 0, PointerParam(&info))) return false;
  if (info.PanelType != PTYPE_FILEPANEL || info.ItemsNumber <= 0) return false;

  // One block for the two pointers and the size of every item.
  snapshot->count = static_cast<uint32_t>(info.ItemsNumber);
  const size_t perItem = 2 * sizeof(wchar_t*) + sizeof(uint64_t);
  snapshot->strings = static_cast<const wchar_t**>(sys::Allocate(snapshot->count * perItem));
  if (snapshot->strings != nullptr) {
    snapshot->sizes = reinterpret_cast<uint64_t*>(snapshot->strings + size_t{2} * snapshot->count);
  }
  if (snapshot->strings == nullptr || !CopyItems(snapshot)) {
    ReleaseSnapshot(snapshot);
    return false;
  }
  *view = PanelView<wchar_t>{};
  view->count = snapshot->count;
  view->current = info.CurrentItem;
  view->top = info.TopPanelItem;
  view->rect = {info.PanelRect.left, info.PanelRect.top, info.PanelRect.right,
                info.PanelRect.bottom};
  view->descriptions = {snapshot->strings, sizeof(wchar_t*), true, snapshot->count};
  view->names = {snapshot->strings + snapshot->count, sizeof(wchar_t*), true, snapshot->count};
  view->sizes = {snapshot->sizes, sizeof(uint64_t), false};
  view->folder = info.Plugin ? nullptr : CopyFolder(&snapshot->chunks);
  return true;
}

void Far2l::ReleaseSnapshot(PanelSnapshot* snapshot) {
  sys::Free(snapshot->strings);
  FreeChunks(snapshot->chunks);
  *snapshot = PanelSnapshot{};
}

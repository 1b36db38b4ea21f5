// The plug-in's own view of the active panel, the same whatever host
// interface handed it over: the rules search and select through this view
// and never see a host record.
#pragma once

#include <cstddef>
#include <cstdint>

// One string per panel item, laid out as the host or the plug-in keeps them:
// item i's slot is at first + i * stride and holds either a pointer to the
// text (byPointer) or the NUL-terminated text itself (a name kept inline in
// the host's item record).
template <class Char>
struct ItemStrings {
  const void* first;
  uint32_t stride;
  bool byPointer;

  // Null where the item has no string. Slots in packed host records are not
  // aligned, so the pointer is copied out byte-wise.
  const Char* At(uint32_t i) const {
    const unsigned char* slot = static_cast<const unsigned char*>(first) + size_t{i} * stride;
    if (!byPointer) return reinterpret_cast<const Char*>(slot);
    const Char* text;
    __builtin_memcpy(&text, slot, sizeof text);
    return text;
  }
};

struct PanelRect {
  int left;
  int top;
  int right;
  int bottom;
};

template <class Char>
struct PanelView {
  uint32_t count;  // at least 1: an empty panel has no view
  int current;     // the cursor as the host reports it, possibly out of range
  int top;         // the first item shown
  PanelRect rect;  // in screen cells
  ItemStrings<Char> descriptions;
  ItemStrings<Char> names;
  // The folder a file panel shows, or null where the panel is a plug-in's
  // and has no folder on disk to read a description file from.
  const Char* folder;
};

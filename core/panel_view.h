// The plug-in's own view of the active panel, the same whatever host
// interface handed it over: the rules search and select through this view
// and never see a host record.
#pragma once

#include <cstdint>

#include "core/item_strings.h"

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
  // The items' 8.3 names, where the host gives them (first is null where
  // not): a description file may name an item by it.
  ItemStrings<Char> shortNames;
  ItemSizes sizes;
  // The folder a file panel shows, or null where the panel is a plug-in's
  // and has no folder on disk to read a description file from.
  const Char* folder;
};

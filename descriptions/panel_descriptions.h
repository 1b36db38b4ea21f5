// Descriptions for a panel the host handed over without any: the host reads
// a folder's description file only while a panel shows a description column,
// so in every other view mode the plug-in reads the file itself, by the
// host's rules (the gateway's kDescriptionRules) and settings (its
// ReadDescriptionSettings, asked once per command, only where a file is
// read).
#pragma once

#include "core/gateway.h"
#include "core/panel_view.h"
#include "descriptions/folder_descriptions.h"

namespace descriptions {

template <class Char>
bool HasAnyDescription(const PanelView<Char>& panel) {
  for (uint32_t i = 0; i < panel.count; ++i) {
    if (panel.descriptions.At(i) != nullptr) return true;
  }
  return false;
}

// Where a panel of a real folder has not one description from the host,
// points its descriptions at those read from the folder's description file
// into read, which the caller releases. A description the host gave is never
// replaced, and where the file cannot be used the panel stays as it was.
template <Gateway G>
void UseFolderDescriptions(PanelView<typename G::Char>* panel,
                           FolderDescriptions<typename G::Char>* read) {
  *read = {};
  if (panel->folder == nullptr || HasAnyDescription(*panel)) return;
  const ItemSizes* sizes = panel->sizes.first != nullptr ? &panel->sizes : nullptr;
  const FolderItems<typename G::Char> items{panel->folder, panel->names, panel->shortNames, sizes};
  if (!ReadFolderDescriptions(G::kDescriptionRules, G::ReadDescriptionSettings(), items, read))
    return;
  panel->descriptions = read->strings;
}

}  // namespace descriptions

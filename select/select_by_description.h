// Selecting and unselecting the items of the active panel whose description
// matches a mask.
#pragma once

#include <cstdint>

#include "core/gateway.h"
#include "core/panel_view.h"
#include "descriptions/panel_descriptions.h"

// Sets (select) or clears the selection of every item of the snapshot whose
// description matches mask under the host's rules, leaving the others as
// they were, and has the host apply the selection and redraw.
template <Gateway G>
void SelectByDescription(typename G::PanelSnapshot* snapshot, PanelView<typename G::Char> panel,
                         const typename G::Char* mask, bool select) {
  using Char = typename G::Char;
  descriptions::FolderDescriptions<Char> fromFile;
  descriptions::UseFolderDescriptions<G>(&panel, &fromFile);
  G::BeginSelection(snapshot);
  for (uint32_t i = 0; i < panel.count; ++i) {
    const Char* description = panel.descriptions.At(i);
    if (description != nullptr && G::CmpName(mask, description)) {
      G::SetSelected(snapshot, i, select);
    }
  }
  G::EndSelection(snapshot);
  descriptions::ReleaseFolderDescriptions(&fromFile);
}

// Selecting and unselecting the items of the active panel whose description
// matches a mask.
#pragma once

#include <cstdint>

#include "core/gateway.h"
#include "core/panel_view.h"
#include "descriptions/panel_descriptions.h"

// Sets (select) or clears the selection of every item of the snapshot whose
// description matches mask as the host's own select matches it, leaving the
// others as they were, and has the host apply the selection and redraw.
// Returns the number of items the mask matched, as the host's own select
// counts them.
template <Gateway G>
uint32_t SelectByDescription(typename G::PanelSnapshot* snapshot, PanelView<typename G::Char> panel,
                             const typename G::Char* mask, bool select) {
  using Char = typename G::Char;
  descriptions::FolderDescriptions<Char> fromFile;
  descriptions::UseFolderDescriptions<G>(&panel, &fromFile);
  uint32_t matched = 0;
  G::BeginSelection(snapshot);
  for (uint32_t i = 0; i < panel.count; ++i) {
    const Char* description = panel.descriptions.At(i);
    if (description != nullptr && G::MatchesMask(mask, description)) {
      G::SetSelected(snapshot, i, select);
      ++matched;
    }
  }
  G::EndSelection(snapshot);
  descriptions::ReleaseFolderDescriptions(&fromFile);
  return matched;
}

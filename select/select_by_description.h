// Selecting and unselecting the items of the active panel whose description
// matches a mask the user gives.
#pragma once

#include <cstdint>

#include "core/panel_view.h"
#include "descriptions/panel_descriptions.h"

// Asks for a mask; then sets or clears the selection of every item whose
// description matches it under the host's rules, leaving the others as they
// were, and has the host apply the selection and redraw. A cancelled dialog
// changes nothing.
template <class G>
void SelectCommand(bool unselect) {
  using Char = typename G::Char;
  typename G::PanelRecord record;
  PanelView<Char> panel{};
  if (!G::TakeSnapshot(&record, &panel)) return;
  if (const Char* mask = G::AskForMask(unselect)) {
    descriptions::FolderDescriptions<Char> fromFile;
    descriptions::UseFolderDescriptions<G>(&panel, &fromFile);
    G::BeginSelection(&record);
    for (uint32_t i = 0; i < panel.count; ++i) {
      const Char* description = panel.descriptions.At(i);
      if (description != nullptr && G::CmpName(mask, description)) {
        G::SetSelected(&record, i, !unselect);
      }
    }
    G::EndSelection(&record);
    descriptions::ReleaseFolderDescriptions(&fromFile);
  }
  G::ReleaseSnapshot(&record);
}

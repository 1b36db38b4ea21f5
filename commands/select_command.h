// The select and unselect commands: the mask dialog, then the selection of
// every item whose description matches the mask.
#pragma once

#include "core/gateway.h"
#include "core/mask_dialog.h"
#include "core/messages.h"
#include "core/panel_view.h"
#include "select/select_by_description.h"

// Shows the mask dialog titled after the command. Returns the mask the user
// confirmed, or null when the dialog was cancelled.
template <Gateway G>
const typename G::Char* AskForMask(bool unselect) {
  // One for the module's life, shared by both commands; constant-initialised,
  // so a module without a C runtime needs no code to set it up.
  static constinit KeptMask<typename G::Char> kept{};
  const bool accepted =
      G::RunMaskDialog(G::Msg(unselect ? Message::kUnselectTitle : Message::kSelectTitle), &kept);
  return accepted ? kept.text : nullptr;
}

// Asks for a mask on a file panel with items, then selects or unselects by
// it. A panel that cannot be searched shows no dialog; a cancelled dialog
// changes nothing.
template <Gateway G>
void SelectCommand(bool unselect) {
  typename G::PanelSnapshot snapshot;
  PanelView<typename G::Char> panel{};
  if (!G::TakeSnapshot(&snapshot, &panel)) return;
  if (const typename G::Char* mask = AskForMask<G>(unselect)) {
    SelectByDescription<G>(&snapshot, panel, mask, !unselect);
  }
  G::ReleaseSnapshot(&snapshot);
}

// The select and unselect commands: the mask dialog, then the selection of
// every item whose description matches the mask.
#pragma once

#include "core/gateway.h"
#include "core/mask_dialog.h"
#include "core/messages.h"
#include "core/panel_view.h"
#include "select/select_by_description.h"

// Shows the mask dialog titled after the command until the user confirms a
// mask the host can read: the host shows its own message about one it
// cannot, and the dialog opens again with the text as it was typed. Returns
// the mask, or null when the dialog was cancelled.
template <Gateway G>
const typename G::Char* AskForMask(bool unselect) {
  // One for the module's life, shared by both commands; constant-initialised,
  // so a module without a C runtime needs no code to set it up.
  static constinit KeptMask<typename G::Char> kept{};
  const typename G::Char* title =
      G::Msg(unselect ? Message::kUnselectTitle : Message::kSelectTitle);
  while (G::RunMaskDialog(title, &kept)) {
    if (G::CheckMask(kept.text)) return kept.text;
  }
  return nullptr;
}

// A mask a macro gives: no longer than the dialog's field, and one the host
// can read (it shows its own message about one it cannot).
template <Gateway G>
bool TakesGivenMask(const typename G::Char* mask) {
  uint32_t length = 0;
  while (mask[length] != 0) {
    if (++length > kMaskMax) return false;
  }
  return G::CheckMask(mask);
}

// Selects or unselects by a mask on a file panel with items: the mask given
// (by a macro), else one the user confirms in the dialog. Returns the number
// of items the mask matched; -1 when nothing was done: the panel cannot be
// searched (no dialog is shown then), the dialog was cancelled, or the mask
// given is one the dialog would not take.
template <Gateway G>
int64_t SelectCommand(bool unselect, const typename G::Char* givenMask = nullptr) {
  typename G::PanelSnapshot snapshot;
  PanelView<typename G::Char> panel{};
  if (!G::TakeSnapshot(&snapshot, &panel)) return -1;
  const typename G::Char* mask = givenMask;
  if (mask == nullptr) {
    mask = AskForMask<G>(unselect);
  } else if (!TakesGivenMask<G>(mask)) {
    mask = nullptr;
  }
  int64_t matched = -1;
  if (mask != nullptr) matched = SelectByDescription<G>(&snapshot, panel, mask, !unselect);
  G::ReleaseSnapshot(&snapshot);
  return matched;
}

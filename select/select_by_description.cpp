// The mask dialog and the selection it drives.
#include "select/select_by_description.h"

#include <cstdint>

#include "host/host_services.h"
#include "host/system.h"
#include "plugin/texts.h"

namespace {

enum DialogItemIndex { kFrameItem, kMaskItem, kDialogItemCount };

// Kept for the module's life and never re-initialised, so the edit field
// reopens with whatever mask the last dialog of either command left in it.
constinit FarDialogItem dialogItems[kDialogItemCount] = {
    {.Type = DI_DOUBLEBOX,
     .X1 = 3,
     .Y1 = 1,
     .X2 = 41,
     .Y2 = 3,
     .Focus = 0,
     .Selected = 0,
     .Flags = 0,
     .DefaultButton = 0,
     .Data = ""},
    {.Type = DI_EDIT,
     .X1 = 5,
     .Y1 = 2,
     .X2 = 39,
     .Y2 = 3,
     .Focus = 1,
     .History = texts::kSelectHistory,
     .Flags = DIF_HISTORY,
     .DefaultButton = 1,
     .Data = ""},
};

// X1 and Y1 of -1 have the host centre the dialog; X2 and Y2 are then its size.
constexpr int kDialogWidth = 45;
constexpr int kDialogHeight = 5;

// Shows the dialog with the command's title. Returns the mask the user
// confirmed, or nullptr when the dialog was cancelled.
const char* AskForMask(bool unselect) {
  sys::FormatText(dialogItems[kFrameItem].Data, texts::kSelectTitleFormat,
                  unselect ? texts::kUnselectWord : texts::kSelectWord);
  int closedBy = host::Dialog(-1, -1, kDialogWidth, kDialogHeight, texts::kSelectHelpTopic,
                              dialogItems, kDialogItemCount);
  if (closedBy != kMaskItem) return nullptr;
  // The host writes the edited text back; even if it filled the whole
  // buffer, the mask ends inside it.
  char* mask = dialogItems[kMaskItem].Data;
  mask[sizeof dialogItems[kMaskItem].Data - 1] = '\0';
  return mask;
}

// Sets or clears only the selection bit of matching items; the host keeps
// other bits of its own in Flags.
void MarkMatches(const PanelInfo& panel, const char* mask, bool unselect) {
  for (int i = 0; i < panel.ItemsNumber; ++i) {
    PluginPanelItem& item = panel.PanelItems[i];
    if (item.Description == nullptr || !host::CmpName(mask, item.Description)) continue;
    if (unselect) {
      item.Flags &= ~PPIF_SELECTED;
    } else {
      item.Flags |= PPIF_SELECTED;
    }
  }
}

}  // namespace

void SelectByDescription(int unselect) {
  PanelInfo panel;
  if (!host::SnapshotFilePanel(&panel)) return;
  const char* mask = AskForMask(unselect != 0);
  if (mask == nullptr) return;
  MarkMatches(panel, mask, unselect != 0);
  host::Control(FCTL_SETSELECTION, &panel);
  host::Control(FCTL_REDRAWPANEL, nullptr);
}

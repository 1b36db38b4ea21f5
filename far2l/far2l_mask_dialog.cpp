// The mask dialog of the selection commands, with the mask kept for the
// module's life.
#include <cstring>

#include "far2l/far2l_gateway.h"

using namespace far2l;

namespace {

enum DialogItemIndex { kFrameItem, kMaskItem, kDialogItemCount };

// X1 and Y1 of -1 have the host centre the dialog; X2 and Y2 are then its size.
constexpr int kDialogWidth = 45;
constexpr int kDialogHeight = 5;
constexpr size_t kMaskMax = 511;

// Kept for the module's life, so the edit field reopens with whatever mask
// the last dialog of either command left in it.
constinit wchar_t keptMask[kMaskMax + 1] = {};

void KeepMask(const wchar_t* text) {
  size_t length = 0;
  if (text != nullptr) {
    while (length < kMaskMax && text[length] != 0) ++length;
    memmove(keptMask, text, length * sizeof(wchar_t));  // the host may hand our own buffer back
  }
  keptMask[length] = 0;
}

}  // namespace

const wchar_t* Far2l::AskForMask(bool unselect) {
  FarDialogItem items[kDialogItemCount] = {
      {.Type = DI_DOUBLEBOX,
       .X1 = 3,
       .Y1 = 1,
       .X2 = 41,
       .Y2 = 3,
       .Focus = 0,
       .Param = {.Reserved = 0},
       .Flags = 0,
       .DefaultButton = 0,
       .PtrData = Msg(unselect ? kMsgUnselectTitle : kMsgSelectTitle),
       .MaxLen = 0},
      {.Type = DI_EDIT,
       .X1 = 5,
       .Y1 = 2,
       .X2 = 39,
       .Y2 = 3,
       .Focus = 1,
       .Param = {.History = kSelectHistory},
       .Flags = DIF_HISTORY,
       .DefaultButton = 1,
       .PtrData = keptMask,
       .MaxLen = kMaskMax},
  };
  HANDLE dialog = Host().DialogInit(Host().ModuleNumber, -1, -1, kDialogWidth, kDialogHeight,
                                    kSelectHelpTopic, items, kDialogItemCount, 0, 0, nullptr, 0);
  if (dialog == InvalidHandleValue()) return nullptr;
  const int closedBy = Host().DialogRun(dialog);
  // The field's text as the dialog closed, whichever way it closed.
  KeepMask(reinterpret_cast<const wchar_t*>(
      Host().SendDlgMessage(dialog, DM_GETCONSTTEXTPTR, kMaskItem, 0)));
  Host().DialogFree(dialog);
  return closedBy == kMaskItem ? keptMask : nullptr;
}

// The mask dialog of select and unselect as far2l runs a dialog: the rows
// become the host's records, and the field's text is read back before the
// host frees the dialog.
#include "core/ascii_text.h"
#include "core/mask_dialog.h"
#include "far2l/far2l_gateway.h"

using namespace far2l;

bool Far2l::RunMaskDialog(const wchar_t* title, KeptMask<wchar_t>* mask) {
  FarDialogItem items[kMaskDialogRows];
  for (int i = 0; i < kMaskDialogRows; ++i) items[i] = DialogRecord<FarDialogItem>(kMaskDialog[i]);
  items[kMaskFrame].PtrData = title;
  items[kMaskField].PtrData = mask->text;
  items[kMaskField].MaxLen = kMaskMax;
  HANDLE dialog = Host().DialogInit(Host().ModuleNumber, -1, -1, kMaskDialogWidth,
                                    kMaskDialogHeight, kTextIn<wchar_t, kSelectHelpTopic>.units,
                                    items, kMaskDialogRows, 0, 0, nullptr, 0);
  if (dialog == InvalidHandleValue()) return false;
  const int closedBy = Host().DialogRun(dialog);
  KeepMask(mask, reinterpret_cast<const wchar_t*>(
                     Host().SendDlgMessage(dialog, DM_GETCONSTTEXTPTR, kMaskField, 0)));
  Host().DialogFree(dialog);
  return closedBy == kMaskField;
}

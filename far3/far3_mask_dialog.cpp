// The mask dialog of select and unselect as the current generation runs a
// dialog: the rows become the host's records, and the field's text is read
// back before the host frees the dialog.
#include "core/ascii_text.h"
#include "far3/far3_gateway.h"
#include "far3/far3_ids.h"

namespace {

far3::FarDialogItem DialogItem(const DialogRow& row) {
  far3::FarDialogItem item = DialogRecord<far3::FarDialogItem>(row);
  if (row.focus) item.Flags |= far3::DIF_FOCUS;
  if (row.defaultButton) item.Flags |= far3::DIF_DEFAULTBUTTON;
  return item;
}

bool IsDialog(void* handle) {
  return handle != nullptr && handle != reinterpret_cast<void*>(static_cast<intptr_t>(-1));
}

}  // namespace

bool Far3::RunMaskDialog(const Char* title, KeptMask<Char>* mask) {
  far3::FarDialogItem items[kMaskDialogRows];
  for (int i = 0; i < kMaskDialogRows; ++i) items[i] = DialogItem(kMaskDialog[i]);
  items[kMaskFrame].Data = title;
  items[kMaskField].Data = mask->text;
  items[kMaskField].MaxLength = kMaskMax;
  const far3::PluginStartupInfo& host = far3::Host();
  void* dialog = host.DialogInit(
      &far3::kPluginGuid, &far3::kMaskDialogGuid, -1, -1, kMaskDialogWidth, kMaskDialogHeight,
      kTextIn<char16_t, kSelectHelpTopic>.units, items, kMaskDialogRows, 0, 0, nullptr, nullptr);
  if (!IsDialog(dialog)) return false;
  const bool accepted = host.DialogRun(dialog) == kMaskField;
  KeepMask(mask, reinterpret_cast<const char16_t*>(
                     host.SendDlgMessage(dialog, far3::DM_GETCONSTTEXTPTR, kMaskField, nullptr)));
  host.DialogFree(dialog);
  return accepted;
}

// Dialogs as the current generation runs them: a form's rows become the
// host's records, and the field's text and the box's check are read back
// before the host frees the dialog.
#include "far3/far3_gateway.h"
#include "far3/far3_ids.h"
#include "far3/far3_panel_records.h"

// The forms' rows are laid out in the host's item types and flags.
static_assert(static_cast<int>(DialogControl::kText) == far3::DI_TEXT &&
              static_cast<int>(DialogControl::kDoubleBox) == far3::DI_DOUBLEBOX &&
              static_cast<int>(DialogControl::kEdit) == far3::DI_EDIT &&
              static_cast<int>(DialogControl::kButton) == far3::DI_BUTTON &&
              static_cast<int>(DialogControl::kCheckbox) == far3::DI_CHECKBOX);
static_assert(kDialogHistoryFlag == far3::DIF_HISTORY &&
              kDialogSeparatorFlag == far3::DIF_SEPARATOR &&
              kDialogCenterGroupFlag == far3::DIF_CENTERGROUP && far3::BSTATE_CHECKED == 1);

namespace {

const far3::Uuid& DialogGuid(DialogName name) {
  return name == DialogName::kFind ? far3::kFindDialogGuid : far3::kMaskDialogGuid;
}

bool IsDialog(void* handle) {
  return handle != nullptr && handle != reinterpret_cast<void*>(static_cast<intptr_t>(-1));
}

}  // namespace

int Far3::RunForm(const DialogForm<Char>& form, const Char* const* texts, KeptMask<Char>* field,
                  bool* checked) {
  constexpr int kRowsMax = 8;
  if (form.count > kRowsMax) return -1;
  far3::FarDialogItem items[kRowsMax];
  for (int i = 0; i < form.count; ++i) {
    items[i] =
        FormRecord<far3::FarDialogItem>(form, i, texts[i], *field, checked != nullptr && *checked);
    // This generation takes focus and the default button as flags.
    if (form.rows[i].focus) items[i].Flags |= far3::DIF_FOCUS;
    if (form.rows[i].defaultButton) items[i].Flags |= far3::DIF_DEFAULTBUTTON;
  }
  const far3::PluginStartupInfo& host = far3::Host();
  void* dialog = host.DialogInit(&far3::kPluginGuid, &DialogGuid(form.name), -1, -1, form.width,
                                 form.height, form.helpTopic, items,
                                 static_cast<size_t>(form.count), 0, 0, nullptr, nullptr);
  if (!IsDialog(dialog)) return -1;
  const int closedBy = static_cast<int>(host.DialogRun(dialog));
  KeepFormAnswers(
      form, field, checked,
      [&](int row) {
        return reinterpret_cast<const char16_t*>(
            host.SendDlgMessage(dialog, far3::DM_GETCONSTTEXTPTR, row, nullptr));
      },
      [&](int row) {
        return host.SendDlgMessage(dialog, far3::DM_GETCHECK, row, nullptr) == far3::BSTATE_CHECKED;
      });
  host.DialogFree(dialog);
  return closedBy;
}

bool Far3::RunMaskDialog(const Char* title, KeptMask<Char>* mask) {
  return RunMaskForm<Far3>(title, mask);
}

// Dialogs as far2l runs them: a form's rows become the host's records, and
// the field's text and the box's check are read back before the host frees
// the dialog.
#include "far2l/far2l_gateway.h"
#include "far2l/far2l_panel_records.h"

using namespace far2l;

// The forms' rows are laid out in the host's item types and flags.
static_assert(static_cast<int>(DialogControl::kText) == DI_TEXT &&
              static_cast<int>(DialogControl::kDoubleBox) == DI_DOUBLEBOX &&
              static_cast<int>(DialogControl::kEdit) == DI_EDIT &&
              static_cast<int>(DialogControl::kButton) == DI_BUTTON &&
              static_cast<int>(DialogControl::kCheckbox) == DI_CHECKBOX);
static_assert(kDialogHistoryFlag == DIF_HISTORY && kDialogSeparatorFlag == DIF_SEPARATOR &&
              kDialogCenterGroupFlag == DIF_CENTERGROUP && BSTATE_CHECKED == 1);

int Far2l::RunForm(const DialogForm<wchar_t>& form, const wchar_t* const* texts,
                   KeptMask<wchar_t>* field, bool* checked) {
  constexpr int kRowsMax = 8;
  if (form.count > kRowsMax) return -1;
  FarDialogItem items[kRowsMax];
  for (int i = 0; i < form.count; ++i) {
    items[i] = FormRecord<FarDialogItem>(form, i, texts[i], *field, checked != nullptr && *checked);
  }
  HANDLE dialog =
      Host().DialogInit(Host().ModuleNumber, -1, -1, form.width, form.height, form.helpTopic, items,
                        static_cast<unsigned>(form.count), 0, 0, nullptr, 0);
  if (dialog == InvalidHandleValue()) return -1;
  const int closedBy = Host().DialogRun(dialog);
  KeepFormAnswers(
      form, field, checked,
      [&](int row) {
        return reinterpret_cast<const wchar_t*>(
            Host().SendDlgMessage(dialog, DM_GETCONSTTEXTPTR, row, 0));
      },
      [&](int row) {
        return Host().SendDlgMessage(dialog, DM_GETCHECK, row, 0) == BSTATE_CHECKED;
      });
  Host().DialogFree(dialog);
  return closedBy;
}

bool Far2l::RunMaskDialog(const wchar_t* title, KeptMask<wchar_t>* mask) {
  return RunMaskForm<Far2l>(title, mask);
}

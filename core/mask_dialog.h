// The mask dialog of select and unselect, the same in every host: a double
// frame titled after the command around one edit field with the host's
// history list, centred, 45 by 5 cells; and the mask it keeps.
#pragma once

#include <cstdint>

#include "core/ascii_text.h"
#include "core/dialog_form.h"

enum MaskDialogRow { kMaskFrame, kMaskField, kMaskDialogRows };

inline constexpr DialogRow kMaskDialog[kMaskDialogRows] = {
    {DialogControl::kDoubleBox, 3, 1, 41, 3, 0, false, false},
    {DialogControl::kEdit, 5, 2, 39, 3, kDialogHistoryFlag, true, true},
};

inline constexpr char kSelectHelpTopic[] = "DescSel";
inline constexpr char kSelectHistory[] = "DescSelect";

// X1 and Y1 of -1 have the host centre the dialog; X2 and Y2 are then its size.
constexpr int kMaskDialogWidth = 45;
constexpr int kMaskDialogHeight = 5;

template <class Char>
inline constexpr DialogForm<Char> kMaskForm = Form<Char, kSelectHelpTopic, kSelectHistory>(
    DialogName::kMask, kMaskDialog, kMaskDialogWidth, kMaskDialogHeight);

// A host that runs a form (RunForm: see FormGateway in core/gateway.h) runs
// the mask dialog through it: Enter in the field closes it.
template <class G>
bool RunMaskForm(const typename G::Char* title, KeptMask<typename G::Char>* mask) {
  const typename G::Char* texts[kMaskDialogRows] = {title, nullptr};
  return G::RunForm(kMaskForm<typename G::Char>, texts, mask, nullptr) == kMaskField;
}

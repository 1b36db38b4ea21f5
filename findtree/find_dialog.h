// The find dialog, the same in every host: the mask with the host's history
// list, whether to search subfolders, OK and Cancel; it opens as it last
// closed while the module stays loaded.
#pragma once

#include "core/ascii_text.h"
#include "core/dialog_form.h"
#include "core/gateway.h"
#include "core/messages.h"

// The find dialog's help topic and history list, which each host's gateway
// draws in its own records.
inline constexpr char kFindHelpTopic[] = "DescFind";
inline constexpr char kFindHistory[] = "DescFind";

namespace findtree {

enum FindRow {
  kFindFrame,
  kFindLabel,
  kFindField,
  kFindSubfoldersBox,
  kFindSeparator,
  kFindOkButton,
  kFindCancelButton,
  kFindRows
};

constexpr int kFindDialogWidth = 66;
constexpr int kFindDialogHeight = 9;

inline constexpr DialogRow kFindDialog[kFindRows] = {
    {DialogControl::kDoubleBox, 3, 1, kFindDialogWidth - 4, kFindDialogHeight - 2, 0, false, false},
    {DialogControl::kText, 5, 2, 0, 2, 0, false, false},
    {DialogControl::kEdit, 5, 3, kFindDialogWidth - 6, 3, kDialogHistoryFlag, true, false},
    {DialogControl::kCheckbox, 5, 4, 0, 4, 0, false, false},
    {DialogControl::kText, -1, 5, 0, 5, kDialogSeparatorFlag, false, false},
    {DialogControl::kButton, 0, 6, 0, 6, kDialogCenterGroupFlag, false, true},
    {DialogControl::kButton, 0, 6, 0, 6, kDialogCenterGroupFlag, false, false},
};

template <class Char>
inline constexpr DialogForm<Char> kFindForm = Form<Char, kFindHelpTopic, kFindHistory>(
    DialogName::kFind, kFindDialog, kFindDialogWidth, kFindDialogHeight);

// The dialog as it last closed: all zero at first, so that it takes no room
// in the module's file.
template <class Char>
struct FindChoice {
  KeptMask<Char> mask;
  bool withoutSubfolders;  // Search subfolders starts on
};

template <class Char>
constinit FindChoice<Char> lastFind = {};

// The find dialog: false when cancelled or the mask is empty. The mask
// stays valid until the next dialog.
template <class G>
requires FormGateway<G> && CommandGateway<G>
bool AskForFind(const typename G::Char** mask, bool* subfolders) {
  using Char = typename G::Char;
  FindChoice<Char>& last = lastFind<Char>;
  const Char* texts[kFindRows] = {G::Msg(Message::kFindTitle),
                                  G::Msg(Message::kFindMask),
                                  nullptr,
                                  G::Msg(Message::kFindSubfolders),
                                  nullptr,
                                  G::Msg(Message::kFindOk),
                                  G::Msg(Message::kFindCancel)};
  *subfolders = !last.withoutSubfolders;
  const bool accepted = G::RunForm(kFindForm<Char>, texts, &last.mask, subfolders) == kFindOkButton;
  last.withoutSubfolders = !*subfolders;
  *mask = last.mask.text;
  return accepted && last.mask.text[0] != 0;
}

}  // namespace findtree

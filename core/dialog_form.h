// A dialog written once as a table of rows, the same in every host: a
// gateway turns each row into its host's dialog record and runs the dialog
// as its host does. Every host generation numbers its controls and flags
// alike.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/ascii_text.h"

enum class DialogControl : uint8_t {
  kText = 0,
  kDoubleBox = 3,
  kEdit = 4,
  kButton = 7,
  kCheckbox = 8
};

// DIF_CENTERGROUP, DIF_SEPARATOR and DIF_HISTORY.
constexpr uint32_t kDialogCenterGroupFlag = 0x4000;
constexpr uint32_t kDialogSeparatorFlag = 0x10000;
constexpr uint32_t kDialogHistoryFlag = 0x40000;

struct DialogRow {
  DialogControl control;
  int x1;
  int y1;
  int x2;
  int y2;
  uint32_t flags;  // the host's DIF_ bits above
  bool focus;
  bool defaultButton;  // Enter closes the dialog with this row
};

// The current generation names each dialog by an identity of its own.
enum class DialogName : uint8_t { kMask, kFind };

// A dialog: its rows, its size (the host centres it), its help topic and the
// history list its edit row remembers under.
template <class Char>
struct DialogForm {
  DialogName name;
  const DialogRow* rows;
  int count;
  int width;
  int height;
  const Char* helpTopic;
  const Char* history;
};

// The 1.x host's edit field holds 512 bytes: no host takes a longer mask.
constexpr uint32_t kMaskMax = 511;  // units

// The edit field's text as the form last closed, which the next dialog
// opens with while the module stays loaded; earlier texts are in the host's
// history list.
template <class Char>
struct KeptMask {
  Char text[kMaskMax + 1];
};

// Keeps field, cut at kMaskMax units; null keeps an empty mask. The host may
// hand the kept buffer itself back, or a field it filled to the brim.
template <class Char>
void KeepMask(KeptMask<Char>* kept, const Char* field) {
  uint32_t length = 0;
  if (field != nullptr) {
    for (; length < kMaskMax && field[length] != 0; ++length) kept->text[length] = field[length];
  }
  kept->text[length] = 0;
}

// A form with its help topic and history list in Char.
template <class Char, const auto& kHelpTopic, const auto& kHistory, size_t N>
constexpr DialogForm<Char> Form(DialogName name, const DialogRow (&rows)[N], int width,
                                int height) {
  return {name,
          rows,
          static_cast<int>(N),
          width,
          height,
          kTextIn<Char, kHelpTopic>.units,
          kTextIn<Char, kHistory>.units};
}

namespace dialog_form {

// far2l keeps the history name and the check state in a union named Param,
// and names the text and its limit otherwise.
template <class HostItem>
auto& HistoryOf(HostItem& item) {
  if constexpr (requires { item.Param.History; }) {
    return item.Param.History;
  } else {
    return item.History;
  }
}

template <class HostItem>
auto& SelectedOf(HostItem& item) {
  if constexpr (requires { item.Param.Selected; }) {
    return item.Param.Selected;
  } else {
    return item.Selected;
  }
}

template <class HostItem>
auto& TextOf(HostItem& item) {
  if constexpr (requires { item.PtrData; }) {
    return item.PtrData;
  } else {
    return item.Data;
  }
}

template <class HostItem>
auto& MaxLengthOf(HostItem& item) {
  if constexpr (requires { item.MaxLen; }) {
    return item.MaxLen;
  } else {
    return item.MaxLength;
  }
}

}  // namespace dialog_form

// A host's dialog record for a row. Every host generation names the fields
// alike; those before the current one keep focus and default in fields of
// their own (the current one takes them as flags, which its gateway adds).
template <class HostItem, class Char>
HostItem DialogRecord(const DialogRow& row, const Char* history) {
  HostItem item{};
  item.Type = static_cast<int>(row.control);
  item.X1 = row.x1;
  item.Y1 = row.y1;
  item.X2 = row.x2;
  item.Y2 = row.y2;
  item.Flags = row.flags;
  if constexpr (requires { item.Focus + item.DefaultButton; }) {
    item.Focus = row.focus ? 1 : 0;
    item.DefaultButton = row.defaultButton ? 1 : 0;
  }
  if (row.flags & kDialogHistoryFlag) dialog_form::HistoryOf(item) = history;
  return item;
}

// A form's row as the record of a host whose records point at their text:
// text (null for none), the edit row showing field, a checkbox row checked
// or not (BSTATE_CHECKED is 1 in every such host).
template <class HostItem, class Char>
HostItem FormRecord(const DialogForm<Char>& form, int row, const Char* text,
                    const KeptMask<Char>& field, bool checked) {
  static constexpr Char kNoText[1] = {};
  const DialogRow& shape = form.rows[row];
  HostItem item = DialogRecord<HostItem>(shape, form.history);
  dialog_form::TextOf(item) = text != nullptr ? text : kNoText;
  if (shape.control == DialogControl::kEdit) {
    dialog_form::TextOf(item) = field.text;
    dialog_form::MaxLengthOf(item) = kMaskMax;
  }
  if (shape.control == DialogControl::kCheckbox) dialog_form::SelectedOf(item) = checked ? 1 : 0;
  return item;
}

// What a closed form answers, read back before the host frees it: the edit
// row's text (textAt(row)) kept in *field, a checkbox's state
// (checkedAt(row)) in *checked where given.
template <class Char, class TextAt, class CheckedAt>
void KeepFormAnswers(const DialogForm<Char>& form, KeptMask<Char>* field, bool* checked,
                     TextAt textAt, CheckedAt checkedAt) {
  for (int i = 0; i < form.count; ++i) {
    if (form.rows[i].control == DialogControl::kEdit) KeepMask(field, textAt(i));
    if (form.rows[i].control == DialogControl::kCheckbox && checked != nullptr) {
      *checked = checkedAt(i);
    }
  }
}

// The mask dialog of select and unselect, the same in every host: a double
// frame titled after the command around one edit field with the host's
// history list, centred, 45 by 5 cells. A gateway turns each row into its
// host's dialog record and runs the dialog as its host does.
#pragma once

#include <cstdint>
#include <type_traits>

#include "core/ascii_text.h"

// Numbered as every host generation numbers its dialog items.
enum class DialogControl : uint8_t { kDoubleBox = 3, kEdit = 4 };

struct DialogRow {
  DialogControl control;
  int x1;
  int y1;
  int x2;
  int y2;
  bool focus;
  bool history;        // the field remembers masks under kSelectHistory
  bool defaultButton;  // Enter in the field closes the dialog with it
};

enum MaskDialogRow { kMaskFrame, kMaskField, kMaskDialogRows };

inline constexpr DialogRow kMaskDialog[kMaskDialogRows] = {
    {DialogControl::kDoubleBox, 3, 1, 41, 3, false, false, false},
    {DialogControl::kEdit, 5, 2, 39, 3, true, true, true},
};

inline constexpr char kSelectHelpTopic[] = "DescSel";
inline constexpr char kSelectHistory[] = "DescSelect";

// DIF_HISTORY, the same bit in every host generation.
constexpr uint32_t kDialogHistoryFlag = 0x40000;

namespace mask_dialog {

// far2l keeps the history name in a union named Param.
template <class HostItem>
auto& HistoryOf(HostItem& item) {
  if constexpr (requires { item.Param.History; }) {
    return item.Param.History;
  } else {
    return item.History;
  }
}

}  // namespace mask_dialog

// A host's dialog record for a row. Every host generation names the fields
// alike; those before the current one keep focus and default in fields of
// their own (the current one takes them as flags, which its gateway adds).
template <class HostItem>
HostItem DialogRecord(const DialogRow& row) {
  HostItem item{};
  item.Type = static_cast<int>(row.control);
  item.X1 = row.x1;
  item.Y1 = row.y1;
  item.X2 = row.x2;
  item.Y2 = row.y2;
  if constexpr (requires { item.Focus + item.DefaultButton; }) {
    item.Focus = row.focus ? 1 : 0;
    item.DefaultButton = row.defaultButton ? 1 : 0;
  }
  auto& history = mask_dialog::HistoryOf(item);
  if (row.history) {
    using Char = std::remove_cvref_t<decltype(*history)>;
    history = kTextIn<Char, kSelectHistory>.units;
    item.Flags |= kDialogHistoryFlag;
  }
  return item;
}

// X1 and Y1 of -1 have the host centre the dialog; X2 and Y2 are then its size.
constexpr int kMaskDialogWidth = 45;
constexpr int kMaskDialogHeight = 5;

// The 1.x host's edit field holds 512 bytes: no host takes a longer mask.
constexpr uint32_t kMaskMax = 511;  // units

// The field's text as the last dialog of either command closed, which the
// next dialog opens with while the module stays loaded; earlier masks are in
// the host's history list.
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

// The mask dialog of select and unselect: a double frame titled after the
// command around one edit field with the host's history list.
#include "far3/far3_gateway.h"
#include "far3/far3_ids.h"

namespace {

constexpr size_t kMaskMax = 511;  // characters

// The field opens with the text it held when the dialog last closed, in either
// command, while the module stays loaded; earlier masks are in the host's
// history list.
constinit char16_t lastMask[kMaskMax + 1] = {};

enum DialogItem { kFrame, kMaskField, kItemCount };

// Same place and size as the 1.x dialog: centred, 45 by 5 cells.
constexpr intptr_t kWidth = 45;
constexpr intptr_t kHeight = 5;

void BuildItems(bool unselect, far3::FarDialogItem (&items)[kItemCount]) {
  items[kFrame] = far3::FarDialogItem{};
  items[kFrame].Type = far3::DI_DOUBLEBOX;
  items[kFrame].X1 = 3;
  items[kFrame].Y1 = 1;
  items[kFrame].X2 = 41;
  items[kFrame].Y2 = 3;
  items[kFrame].Data = far3::Msg(unselect ? far3::MUnselectTitle : far3::MSelectTitle);

  items[kMaskField] = far3::FarDialogItem{};
  items[kMaskField].Type = far3::DI_EDIT;
  items[kMaskField].X1 = 5;
  items[kMaskField].Y1 = 2;
  items[kMaskField].X2 = 39;
  items[kMaskField].Y2 = 2;
  items[kMaskField].History = far3::texts::kSelectHistory;
  // The field is the default item, so Enter in it closes the dialog with it.
  items[kMaskField].Flags = far3::DIF_HISTORY | far3::DIF_FOCUS | far3::DIF_DEFAULTBUTTON;
  items[kMaskField].Data = lastMask;
  items[kMaskField].MaxLength = kMaskMax;
}

// Keeps the field's text; the host's limit is trusted no further than the buffer.
void KeepMask(const char16_t* text) {
  size_t length = 0;
  if (text != nullptr) {
    for (; length < kMaskMax && text[length] != 0; ++length) lastMask[length] = text[length];
  }
  lastMask[length] = 0;
}

bool IsDialog(void* handle) {
  return handle != nullptr && handle != reinterpret_cast<void*>(static_cast<intptr_t>(-1));
}

}  // namespace

const Far3::Char* Far3::AskForMask(bool unselect) {
  far3::FarDialogItem items[kItemCount];
  BuildItems(unselect, items);
  const far3::PluginStartupInfo& host = far3::Host();
  void* dialog =
      host.DialogInit(&far3::kPluginGuid, &far3::kMaskDialogGuid, -1, -1, kWidth, kHeight,
                      far3::texts::kSelectHelpTopic, items, kItemCount, 0, 0, nullptr, nullptr);
  if (!IsDialog(dialog)) return nullptr;
  const bool accepted = host.DialogRun(dialog) == kMaskField;
  // Whatever closed the dialog, the field's text is what it opens with next
  // time. The text lives in the dialog, which DialogFree takes away.
  KeepMask(reinterpret_cast<const char16_t*>(
      host.SendDlgMessage(dialog, far3::DM_GETCONSTTEXTPTR, kMaskField, nullptr)));
  host.DialogFree(dialog);
  return accepted ? lastMask : nullptr;
}

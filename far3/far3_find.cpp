// The current generation's side of the search of a folder tree: the active
// panel's folder, the find dialog, the screen under the progress message,
// Esc read from the console, and the host's message box for what
// findtree/find_messages.h composes.
#include "far3/far3_gateway.h"
#include "far3/far3_ids.h"
#include "far3/far3_panel_records.h"

namespace {

using far3::Host;

// ---- The find dialog ---------------------------------------------------------------

// The dialog opens as it last closed, while the module stays loaded; earlier
// masks are in the host's history list.
constinit KeptMask<char16_t> lastMask = {};
constinit bool lastSubfolders = true;

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

constexpr intptr_t kWidth = 66;
constexpr intptr_t kHeight = 9;

far3::FarDialogItem DialogItem(int type, intptr_t x1, intptr_t y, intptr_t x2, uint64_t flags,
                               const char16_t* data) {
  far3::FarDialogItem item{};
  item.Type = type;
  item.X1 = x1;
  item.Y1 = y;
  item.X2 = x2;
  item.Y2 = y;
  item.Flags = flags;
  item.Data = data;
  return item;
}

void BuildItems(far3::FarDialogItem (&items)[kFindRows]) {
  items[kFindFrame] =
      DialogItem(far3::DI_DOUBLEBOX, 3, 1, kWidth - 4, 0, Far3::Msg(Message::kFindTitle));
  items[kFindFrame].Y2 = kHeight - 2;
  items[kFindLabel] = DialogItem(far3::DI_TEXT, 5, 2, 0, 0, Far3::Msg(Message::kFindMask));
  items[kFindField] = DialogItem(far3::DI_EDIT, 5, 3, kWidth - 6,
                                 far3::DIF_HISTORY | far3::DIF_FOCUS, lastMask.text);
  items[kFindField].History = kTextIn<char16_t, kFindHistory>.units;
  items[kFindField].MaxLength = kMaskMax;
  items[kFindSubfoldersBox] =
      DialogItem(far3::DI_CHECKBOX, 5, 4, 0, 0, Far3::Msg(Message::kFindSubfolders));
  items[kFindSubfoldersBox].Selected = lastSubfolders ? far3::BSTATE_CHECKED : 0;
  items[kFindSeparator] = DialogItem(far3::DI_TEXT, -1, 5, 0, far3::DIF_SEPARATOR, u"");
  items[kFindOkButton] =
      DialogItem(far3::DI_BUTTON, 0, 6, 0, far3::DIF_CENTERGROUP | far3::DIF_DEFAULTBUTTON,
                 Far3::Msg(Message::kFindOk));
  items[kFindCancelButton] =
      DialogItem(far3::DI_BUTTON, 0, 6, 0, far3::DIF_CENTERGROUP, Far3::Msg(Message::kFindCancel));
}

// ---- Messages ----------------------------------------------------------------------

constinit void* savedScreen = nullptr;

}  // namespace

// ---- The active panel's folder -------------------------------------------------------

Far3::Char* Far3::ActiveFolder() {
  far3::PanelInfo info{};
  info.StructSize = sizeof info;
  void* active = far3::ActivePanel();
  if (Host().PanelControl(active, far3::FCTL_GETPANELINFO, 0, &info) == 0 ||
      info.PanelType != far3::PTYPE_FILEPANEL || (info.Flags & far3::PFLAGS_PLUGIN)) {
    return nullptr;
  }
  const intptr_t size = Host().PanelControl(active, far3::FCTL_GETPANELDIRECTORY, 0, nullptr);
  if (size < static_cast<intptr_t>(sizeof(far3::FarPanelDirectory))) return nullptr;
  auto* directory = static_cast<far3::FarPanelDirectory*>(sys::Allocate(static_cast<size_t>(size)));
  if (directory == nullptr) return nullptr;
  directory->StructSize = sizeof *directory;
  const intptr_t filled =
      Host().PanelControl(active, far3::FCTL_GETPANELDIRECTORY, size, directory);
  const char16_t* name = filled > 0 && filled <= size ? directory->Name : nullptr;
  if (name == nullptr || name[0] == 0) {
    sys::Free(directory);
    return nullptr;
  }
  // The name lies after the record, in the same block.
  return findtree::MoveToStart(directory, name);
}

// ---- The dialog ----------------------------------------------------------------------------

bool Far3::AskForFind(const Char** mask, bool* subfolders) {
  far3::FarDialogItem items[kFindRows];
  BuildItems(items);
  void* dialog = Host().DialogInit(&far3::kPluginGuid, &far3::kFindDialogGuid, -1, -1, kWidth,
                                   kHeight, kTextIn<char16_t, kFindHelpTopic>.units, items,
                                   kFindRows, 0, 0, nullptr, nullptr);
  if (dialog == nullptr || dialog == reinterpret_cast<void*>(static_cast<intptr_t>(-1))) {
    return false;
  }
  const bool accepted = Host().DialogRun(dialog) == kFindOkButton;
  KeepMask(&lastMask, reinterpret_cast<const char16_t*>(Host().SendDlgMessage(
                          dialog, far3::DM_GETCONSTTEXTPTR, kFindField, nullptr)));
  lastSubfolders = Host().SendDlgMessage(dialog, far3::DM_GETCHECK, kFindSubfoldersBox, nullptr) ==
                   far3::BSTATE_CHECKED;
  Host().DialogFree(dialog);
  *mask = lastMask.text;
  *subfolders = lastSubfolders;
  return accepted && lastMask.text[0] != 0;
}

// ---- Progress and messages --------------------------------------------------------------

void Far3::BeginSearchProgress() {
  savedScreen = Host().SaveScreen(0, 0, -1, -1);
}

void Far3::EndSearchProgress() {
  if (savedScreen != nullptr) Host().RestoreScreen(savedScreen);
  savedScreen = nullptr;
}

bool Far3::EscapePressed() {
  return sys::EscapeWaiting(sys::ConsoleInput());
}

int Far3::Say(findtree::SayKind kind, const Char* const* lines, int count) {
  constexpr uint64_t kFlags[] = {far3::FMSG_LEFTALIGN, far3::FMSG_MB_OK,
                                 far3::FMSG_WARNING | far3::FMSG_MB_OK,
                                 far3::FMSG_WARNING | far3::FMSG_MB_YESNO};
  return static_cast<int>(Host().Message(&far3::kPluginGuid, &far3::kFindMessageGuid,
                                         kFlags[static_cast<int>(kind)], nullptr, lines,
                                         static_cast<size_t>(count), 0));
}

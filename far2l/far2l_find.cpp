// far2l's side of the search of a folder tree: the active panel's folder,
// the find dialog, the screen under the progress message, Esc read from the
// host's console, and the host's message box for what
// findtree/find_messages.h composes.
#include "far2l/far2l_gateway.h"
#include "far2l/far2l_panel_records.h"

using namespace far2l;

namespace {

// ---- The find dialog ---------------------------------------------------------

// The dialog opens as it last closed, while the module stays loaded; earlier
// masks are in the host's history list.
constinit KeptMask<wchar_t> lastMask = {};
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

constexpr int kWidth = 66;
constexpr int kHeight = 9;

FarDialogItem DialogItem(int type, int x1, int y, int x2, uint32_t flags, const wchar_t* data) {
  FarDialogItem item{};
  item.Type = type;
  item.X1 = x1;
  item.Y1 = y;
  item.X2 = x2;
  item.Y2 = y;
  item.Flags = flags;
  item.PtrData = data;
  return item;
}

void BuildItems(FarDialogItem (&items)[kFindRows]) {
  items[kFindFrame] =
      DialogItem(DI_DOUBLEBOX, 3, 1, kWidth - 4, 0, Far2l::Msg(Message::kFindTitle));
  items[kFindFrame].Y2 = kHeight - 2;
  items[kFindLabel] = DialogItem(DI_TEXT, 5, 2, 0, 0, Far2l::Msg(Message::kFindMask));
  items[kFindField] = DialogItem(DI_EDIT, 5, 3, kWidth - 6, DIF_HISTORY, lastMask.text);
  items[kFindField].Focus = 1;
  items[kFindField].Param.History = kTextIn<wchar_t, kFindHistory>.units;
  items[kFindField].MaxLen = kMaskMax;
  items[kFindSubfoldersBox] =
      DialogItem(DI_CHECKBOX, 5, 4, 0, 0, Far2l::Msg(Message::kFindSubfolders));
  items[kFindSubfoldersBox].Param.Selected = lastSubfolders ? BSTATE_CHECKED : 0;
  items[kFindSeparator] = DialogItem(DI_TEXT, -1, 5, 0, DIF_SEPARATOR, L"");
  items[kFindOkButton] =
      DialogItem(DI_BUTTON, 0, 6, 0, DIF_CENTERGROUP, Far2l::Msg(Message::kFindOk));
  items[kFindOkButton].DefaultButton = 1;
  items[kFindCancelButton] =
      DialogItem(DI_BUTTON, 0, 6, 0, DIF_CENTERGROUP, Far2l::Msg(Message::kFindCancel));
}

// ---- Messages ----------------------------------------------------------------

constinit HANDLE savedScreen = nullptr;

}  // namespace

// ---- The active panel's folder ----------------------------------------------

wchar_t* Far2l::ActiveFolder() {
  PanelInfo info{};
  if (!Control(FCTL_GETPANELINFO, 0, PointerParam(&info)) || info.PanelType != PTYPE_FILEPANEL ||
      info.Plugin != 0) {
    return nullptr;
  }
  const int chars = Control(FCTL_GETPANELDIR, 0, 0);
  if (chars <= 1) return nullptr;
  auto* folder = static_cast<wchar_t*>(sys::Allocate(size_t(chars) * sizeof(wchar_t)));
  if (folder == nullptr) return nullptr;
  folder[0] = 0;
  Control(FCTL_GETPANELDIR, chars, PointerParam(folder));
  folder[chars - 1] = 0;
  if (folder[0] == 0) {
    sys::Free(folder);
    return nullptr;
  }
  return folder;
}

// ---- The dialog --------------------------------------------------------------

bool Far2l::AskForFind(const wchar_t** mask, bool* subfolders) {
  FarDialogItem items[kFindRows];
  BuildItems(items);
  HANDLE dialog =
      Host().DialogInit(Host().ModuleNumber, -1, -1, kWidth, kHeight,
                        kTextIn<wchar_t, kFindHelpTopic>.units, items, kFindRows, 0, 0, nullptr, 0);
  if (dialog == InvalidHandleValue()) return false;
  const bool accepted = Host().DialogRun(dialog) == kFindOkButton;
  KeepMask(&lastMask, reinterpret_cast<const wchar_t*>(
                          Host().SendDlgMessage(dialog, DM_GETCONSTTEXTPTR, kFindField, 0)));
  lastSubfolders =
      Host().SendDlgMessage(dialog, DM_GETCHECK, kFindSubfoldersBox, 0) == BSTATE_CHECKED;
  Host().DialogFree(dialog);
  *mask = lastMask.text;
  *subfolders = lastSubfolders;
  return accepted && lastMask.text[0] != 0;
}

// ---- Progress and messages ---------------------------------------------------

void Far2l::BeginSearchProgress() {
  savedScreen = Host().SaveScreen(0, 0, -1, -1);
}

void Far2l::EndSearchProgress() {
  if (savedScreen != nullptr) Host().RestoreScreen(savedScreen);
  savedScreen = nullptr;
}

// The host's console queue, read without waiting.
bool Far2l::EscapePressed() {
  const ConsoleFunctions& console = Console();
  if (console.PeekConsoleInput == nullptr || console.ReadConsoleInput == nullptr) return false;
  bool escape = false;
  INPUT_RECORD record{};
  DWORD count = 0;
  while (console.PeekConsoleInput(nullptr, &record, 1, &count) && count > 0) {
    if (!console.ReadConsoleInput(nullptr, &record, 1, &count) || count == 0) break;
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    if (record.EventType == KEY_EVENT && key.bKeyDown && key.wVirtualKeyCode == VK_ESCAPE) {
      escape = true;
    }
  }
  return escape;
}

int Far2l::Say(findtree::SayKind kind, const wchar_t* const* lines, int count) {
  constexpr DWORD kFlags[] = {FMSG_LEFTALIGN, FMSG_MB_OK, FMSG_WARNING | FMSG_MB_OK,
                              FMSG_WARNING | FMSG_MB_YESNO};
  return static_cast<int>(Host().Message(Host().ModuleNumber, kFlags[static_cast<int>(kind)],
                                         nullptr, lines, count, 0));
}

// far2l's side of the search of a folder tree: the active panel's folder,
// the find dialog, the progress message with Esc read from the host's
// console, and what the user is told.
#include "far2l/far2l_gateway.h"
#include "far2l/far2l_panel_records.h"
#include "findtree/results.h"
#include "findtree/tree_search.h"

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

constexpr uint32_t kProgressWidth = 60;

constinit HANDLE savedScreen = nullptr;

intptr_t Say(DWORD flags, const wchar_t* const* lines, int count) {
  return Host().Message(Host().ModuleNumber, flags, nullptr, lines, count, 0);
}

// A line of two counts, composed from a message with "%1" and "%2".
void CountsLine(Message format, uint64_t first, uint64_t second,
                wchar_t (&line)[findtree::kLineUnits]) {
  wchar_t a[findtree::kNumberUnits];
  wchar_t b[findtree::kNumberUnits];
  findtree::FormatCount(first, a);
  findtree::FormatCount(second, b);
  findtree::Compose(line, findtree::kLineUnits, Far2l::Msg(format), a, b);
}

void PadTo(wchar_t* line, uint32_t width) {
  uint32_t length = 0;
  while (line[length] != 0) ++length;
  while (length < width) line[length++] = L' ';
  line[length] = 0;
}

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

void Far2l::ShowSearchProgress(const findtree::SearchCounts& counts, const wchar_t* folder) {
  wchar_t path[kProgressWidth + 1];
  wchar_t countsLine[findtree::kLineUnits];
  findtree::FitPath(folder, kProgressWidth, path);
  PadTo(path, kProgressWidth);
  CountsLine(Message::kSearchCounts, counts.folders, counts.found, countsLine);
  const wchar_t* lines[] = {Far2l::Msg(Message::kFindTitle), Far2l::Msg(Message::kSearchingIn),
                            path, countsLine};
  Say(FMSG_LEFTALIGN, lines, 4);
}

// The host's console queue, read without waiting: an Esc among the keys
// typed since asks whether to stop.
bool Far2l::SearchStopAsked() {
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
  if (!escape) return false;
  const wchar_t* lines[] = {Far2l::Msg(Message::kInterrupted),
                            Far2l::Msg(Message::kInterruptedQuestion)};
  return Say(FMSG_WARNING | FMSG_MB_YESNO, lines, 2) == 0;
}

void Far2l::EndSearchProgress() {
  if (savedScreen != nullptr) Host().RestoreScreen(savedScreen);
  savedScreen = nullptr;
}

void Far2l::SayFolderNeeded() {
  const wchar_t* lines[] = {Far2l::Msg(Message::kFindTitle), Far2l::Msg(Message::kFolderNeeded)};
  Say(FMSG_WARNING | FMSG_MB_OK, lines, 2);
}

void Far2l::SayNothingFound(const findtree::SearchCounts& counts) {
  wchar_t countsLine[findtree::kLineUnits];
  wchar_t skippedLine[findtree::kLineUnits];
  CountsLine(Message::kSearchCounts, counts.folders, counts.found, countsLine);
  CountsLine(Message::kSkippedCounts, counts.foldersSkipped, counts.filesSkipped, skippedLine);
  const wchar_t* lines[] = {Far2l::Msg(Message::kFindTitle), Far2l::Msg(Message::kNothingFound),
                            countsLine, skippedLine};
  Say(FMSG_MB_OK, lines, 4);
}

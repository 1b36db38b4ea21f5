// The far2l stand-in: the host's services as plain functions over one
// Far2lHost.
#include "tests/far2l/fake_far2l.h"

#include <cstring>

#include "far2l/far2l_gateway.h"
#include "filemask/file_mask.h"
#include "filemask/mask_list.h"

extern "C" void SetStartupInfoW(const far2l::PluginStartupInfo* info);

namespace fake2l {

using namespace far2l;

namespace {

Far2lHost theHost;
PluginStartupInfo startupInfo{};
bool panelInfoGiven = false;
const INT_PTR kModuleNumber = 0x5eed;

HANDLE DialogHandle() {
  return reinterpret_cast<HANDLE>(intptr_t{0xd1a});
}

// ---- Panel -----------------------------------------------------------------

int PanelInfoFor(PanelInfo* info) {
  *info = PanelInfo{};
  info->PanelType = theHost.panelType;
  info->Plugin = theHost.plugin;
  info->PanelRect = theHost.rect;
  info->ItemsNumber = static_cast<int>(theHost.items.size());
  if (panelInfoGiven && theHost.laterItemsNumber >= 0) info->ItemsNumber = theHost.laterItemsNumber;
  info->CurrentItem = theHost.current;
  info->TopPanelItem = theHost.top;
  panelInfoGiven = true;
  return 1;
}

size_t Units(const std::wstring& text) {
  return (text.size() + 1) * sizeof(wchar_t);
}

// far2l's layout: the record, then the name, then the description, all in
// the caller's buffer, which it trusts to hold the size it gave.
int PanelItem(int index, void* buffer) {
  if (index < 0 || static_cast<size_t>(index) >= theHost.items.size()) return 0;
  const Item& item = theHost.items[index];
  size_t need = sizeof(PluginPanelItem) + Units(item.name);
  if (item.description) need += Units(*item.description);
  if (buffer == nullptr) return static_cast<int>(need);
  auto* bytes = static_cast<unsigned char*>(buffer);
  PluginPanelItem record{};
  auto* name = reinterpret_cast<wchar_t*>(bytes + sizeof record);
  memcpy(name, item.name.c_str(), Units(item.name));
  record.FindData.lpwszFileName = name;
  record.FindData.nFileSize = item.size;
  if (item.description) {
    auto* description = reinterpret_cast<wchar_t*>(bytes + sizeof record + Units(item.name));
    memcpy(description, item.description->c_str(), Units(*item.description));
    record.Description = description;
  }
  memcpy(bytes, &record, sizeof record);
  return static_cast<int>(need);
}

int PanelDir(int size, wchar_t* buffer) {
  const int need = static_cast<int>(theHost.folder.size() + 1);
  if (buffer == nullptr) return need;
  wcsncpy(buffer, theHost.folder.c_str(), static_cast<size_t>(size));
  return need;
}

int Control(HANDLE panel, int command, int param1, LONG_PTR param2) {
  if (panel != PanelActive()) return 0;
  theHost.controls.push_back({command, param1, param2 != 0});
  auto* pointer = reinterpret_cast<void*>(param2);
  switch (command) {
    case FCTL_GETPANELINFO:
      return PanelInfoFor(static_cast<PanelInfo*>(pointer));
    case FCTL_GETPANELITEM:
      return PanelItem(param1, pointer);
    case FCTL_GETPANELDIR:
      return PanelDir(param1, static_cast<wchar_t*>(pointer));
    case FCTL_REDRAWPANEL:
      if (pointer != nullptr) {
        PanelRedrawInfo redraw;
        memcpy(&redraw, pointer, sizeof redraw);
        theHost.redraws.emplace_back(redraw.CurrentItem, redraw.TopPanelItem);
      }
      return 1;
    case FCTL_SETSELECTION:
      theHost.selections.emplace_back(param1, param2 != 0);
      return 1;
    default:
      return 1;
  }
}

int CmpName(const wchar_t* pattern, const wchar_t* str, int skipPath) {
  return skipPath == 0 && MatchFileMask(pattern, str) ? 1 : 0;
}

int ProcessName(const wchar_t* mask, wchar_t* name, DWORD, DWORD flags) {
  switch (flags & ~PN_SHOWERRORMESSAGE) {
    case PN_CMPNAMELIST:
      ++theHost.listCompares;
      return MatchMaskList(mask, name) ? 1 : 0;
    case PN_CHECKMASK:
      if (MaskListIsValid(mask)) return 1;
      theHost.maskMessages += (flags & PN_SHOWERRORMESSAGE) != 0;
      return 0;
    default:
      return 0;
  }
}

wchar_t* PasteFromClipboard() {
  if (!theHost.clipboard) return nullptr;
  ++theHost.liveClipboardCopies;
  return wcsdup(theHost.clipboard->c_str());
}

void DeleteBuffer(void* buffer) {
  if (buffer != nullptr) --theHost.liveClipboardCopies;
  free(buffer);
}

wchar_t* XLat(wchar_t* line, int start, int end, DWORD) {
  const std::wstring latin = L"qwe", local = L"\x0439\x0446\x0443";
  for (int i = start; i < end && line[i] != 0; ++i) {
    if (const size_t at = latin.find(line[i]); at != std::wstring::npos) line[i] = local[at];
  }
  return line;
}

BOOL ShowHelp(const wchar_t* module, const wchar_t* topic, DWORD flags) {
  if (flags == FHELP_SELFHELP && module == startupInfo.ModuleName) {
    theHost.helpTopics.push_back(topic);
  }
  return 1;
}

void Text(int x, int y, uint64_t color, const wchar_t* str) {
  theHost.texts.push_back({x, y, color, str == nullptr, str ? str : L""});
}

// ---- Menu, messages, dialog ------------------------------------------------

int Menu(INT_PTR module, int x, int y, int maxHeight, DWORD, const wchar_t* title,
         const wchar_t* bottom, const wchar_t* help, const int* breakKeys, int*,
         const FarMenuItem* items, int count) {
  if (module != kModuleNumber) return -1;
  MenuCall call{title ? title : L"", {}, x, y, maxHeight, bottom != nullptr, help != nullptr,
                breakKeys != nullptr};
  for (int i = 0; i < count; ++i) {
    const wchar_t* text = items[i].Text;  // packed: copied out, never bound to
    call.items.push_back(text ? text : L"");
  }
  theHost.menus.push_back(call);
  return theHost.menuResult;
}

const wchar_t* GetMsg(INT_PTR module, int id) {
  if (module != kModuleNumber || id < 0 || static_cast<size_t>(id) >= theHost.messages.size())
    return nullptr;
  return theHost.messages[id].c_str();
}

struct OpenDialog {
  std::vector<std::wstring> texts;
  int closedBy = -1;
} openDialog;

HANDLE DialogInit(INT_PTR module, int x1, int y1, int x2, int y2, const wchar_t* help,
                  FarDialogItem* items, unsigned count, DWORD, DWORD, FarWindowProc, LONG_PTR) {
  if (module != kModuleNumber) return InvalidHandleValue();
  DialogCall call{x1, y1, x2, y2, help ? help : L"", {}, {}, {}};
  for (unsigned i = 0; i < count; ++i) {
    call.items.push_back(items[i]);
    const wchar_t* text = items[i].PtrData;  // packed: copied out, never bound to
    const wchar_t* history = items[i].Param.History;
    call.texts.push_back(text ? text : L"");
    if (items[i].Type == DI_EDIT && history != nullptr) call.history = history;
  }
  theHost.dialogs.push_back(call);
  openDialog = OpenDialog{call.texts, -1};
  return DialogHandle();
}

int DialogRun(HANDLE dialog) {
  if (dialog != DialogHandle()) return -1;
  openDialog.closedBy = theHost.onDialog(&openDialog.texts.at(1));
  return openDialog.closedBy;
}

LONG_PTR SendDlgMessage(HANDLE dialog, int message, int param1, LONG_PTR) {
  if (dialog != DialogHandle() || message != DM_GETCONSTTEXTPTR) return 0;
  return reinterpret_cast<LONG_PTR>(openDialog.texts.at(param1).c_str());
}

void DialogFree(HANDLE dialog) {
  if (dialog == DialogHandle()) openDialog = OpenDialog{};
}

// ---- Console ---------------------------------------------------------------

BOOL PeekConsoleInput(HANDLE input, INPUT_RECORD* buffer, DWORD length, DWORD* read) {
  *read = 0;
  if (input != nullptr || length == 0) return 0;
  if (!theHost.queue.empty()) {
    *buffer = theHost.queue.front();
    *read = 1;
  }
  return 1;
}

BOOL ReadConsoleInput(HANDLE input, INPUT_RECORD* buffer, DWORD length, DWORD* read) {
  *read = 0;
  if (input != nullptr || length == 0 || theHost.queue.empty()) return 0;
  *buffer = theHost.queue.front();
  theHost.queue.pop_front();
  *read = 1;
  return 1;
}

// The real wait would block for ever on an empty queue: here it fails, which
// ends the speed search like a console that went away.
BOOL WaitConsoleInput(HANDLE input, DWORD) {
  return input == nullptr && !theHost.queue.empty() ? 1 : 0;
}

BOOL GetConsoleScreenBufferInfo(HANDLE output, CONSOLE_SCREEN_BUFFER_INFO* info) {
  if (output != nullptr) return 0;
  *info = CONSOLE_SCREEN_BUFFER_INFO{};
  info->dwSize = COORD{100, static_cast<int16_t>(theHost.screenRows)};
  return 1;
}

BOOL SetConsoleCursorPosition(HANDLE output, COORD position) {
  if (output != nullptr) return 0;
  theHost.cursorMoves.emplace_back(position.X, position.Y);
  return 1;
}

intptr_t Message(INT_PTR, DWORD flags, const wchar_t*, const wchar_t* const* items, int count,
                 int) {
  MessageCall call{flags, {}};
  for (int i = 0; i < count; ++i) call.lines.push_back(items[i]);
  theHost.messageBoxes.push_back(call);
  return (flags & 0xF0000) != 0 ? 0 : -1;
}

int screenTag;

HANDLE SaveScreen(int, int, int, int) {
  ++theHost.screensSaved;
  return &screenTag;
}

void RestoreScreen(HANDLE screen) {
  if (screen == &screenTag) ++theHost.screensRestored;
}

}  // namespace

std::vector<int> Far2lHost::Commands() const {
  std::vector<int> commands;
  for (const ControlCall& call : controls) commands.push_back(call.command);
  return commands;
}

Far2lHost& InstallFar2l() {
  theHost = Far2lHost{};
  panelInfoGiven = false;
  openDialog = OpenDialog{};
  PluginStartupInfo& info = startupInfo;
  info = PluginStartupInfo{};
  info.StructSize = sizeof info;
  info.ModuleNumber = kModuleNumber;
  info.Menu = Menu;
  info.GetMsg = GetMsg;
  info.Control = Control;
  info.CmpName = CmpName;
  info.Text = Text;
  info.DialogInit = DialogInit;
  info.DialogRun = DialogRun;
  info.DialogFree = DialogFree;
  info.SendDlgMessage = SendDlgMessage;
  info.Message = Message;
  info.SaveScreen = SaveScreen;
  info.RestoreScreen = RestoreScreen;
  info.ShowHelp = ShowHelp;
  info.ModuleName = L"/usr/lib/far2l/Plugins/Veltrane/plug/Veltrane.far-plug-wide";
  FarStandardFunctions functions{};
  functions.StructSize = sizeof functions;
  functions.ProcessName = ProcessName;
  functions.PasteFromClipboard = PasteFromClipboard;
  functions.DeleteBuffer = DeleteBuffer;
  functions.XLat = XLat;
  info.FSF = &functions;
  SetStartupInfoW(&info);
  // The test binary exports no WinPort functions: the module found none, so
  // the console is handed over as the far2l executable would resolve it.
  ConsoleFunctions console{PeekConsoleInput, ReadConsoleInput, WaitConsoleInput,
                           GetConsoleScreenBufferInfo, SetConsoleCursorPosition};
  far2l::Start(info, console);
  functions = FarStandardFunctions{};
  info.FSF = nullptr;
  return theHost;
}

void StartWithoutConsole() {
  SetStartupInfoW(&startupInfo);
}

INPUT_RECORD Key(wchar_t character, uint16_t virtualKey, uint32_t controlState, bool down) {
  INPUT_RECORD record{};
  record.EventType = KEY_EVENT;
  record.Event.KeyEvent.bKeyDown = down ? 1 : 0;
  record.Event.KeyEvent.wRepeatCount = 1;
  record.Event.KeyEvent.wVirtualKeyCode = virtualKey;
  record.Event.KeyEvent.uChar.UnicodeChar = character;
  record.Event.KeyEvent.dwControlKeyState = controlState;
  return record;
}

INPUT_RECORD MouseMove(uint32_t buttons) {
  INPUT_RECORD record{};
  record.EventType = MOUSE_EVENT;
  record.Event.MouseEvent.dwButtonState = buttons;
  return record;
}

INPUT_RECORD Callback() {
  INPUT_RECORD record{};
  record.EventType = CALLBACK_EVENT;
  return record;
}

}  // namespace fake2l

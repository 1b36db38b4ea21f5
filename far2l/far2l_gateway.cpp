// far2l's side of the rules and commands: the saved startup record and the
// host calls that need no more than a line or two.
// The panel copy, the console and the mask dialog have files of their own.
#include "far2l/far2l_gateway.h"

#include <cwchar>
#include <cwctype>

#include "far2l/far2l_settings.h"

namespace far2l {
namespace {

// Copied when the host loads the module: the host's own record lives on its
// stack only for the length of that call.
constinit PluginStartupInfo startupInfo{};
constinit FarStandardFunctions standardFunctions{};
constinit ConsoleFunctions consoleFunctions{};

}  // namespace

void Start(const PluginStartupInfo& info, const ConsoleFunctions& console) {
  startupInfo = info;
  if (info.FSF != nullptr) standardFunctions = *info.FSF;
  startupInfo.FSF = &standardFunctions;
  consoleFunctions = console;
}

const PluginStartupInfo& Host() {
  return startupInfo;
}

const FarStandardFunctions& Functions() {
  return standardFunctions;
}

const ConsoleFunctions& Console() {
  return consoleFunctions;
}

int Control(int command, int param1, LONG_PTR param2) {
  return startupInfo.Control(PanelActive(), command, param1, param2);
}

}  // namespace far2l

using namespace far2l;

bool Far2l::CmpName(const wchar_t* mask, const wchar_t* str) {
  return startupInfo.CmpName(mask, str, 0) != 0;
}

namespace {

// One pattern, without the separators, quotes, exclusion, regular
// expression or group of a list and without blanks at its ends, means to
// the host's list service just what it means to CmpName, which does not
// parse it anew for every item.
bool IsOnePattern(const wchar_t* mask) {
  if (*mask == 0 || iswspace(static_cast<wint_t>(*mask))) return false;
  const wchar_t* p = mask;
  for (; *p != 0; ++p) {
    if (wcschr(L",;|/<\"", *p) != nullptr) return false;
  }
  return !iswspace(static_cast<wint_t>(p[-1]));
}

}  // namespace

// A host without the service compares one plain mask, as CmpName does.
bool Far2l::CheckMask(const wchar_t* mask) {
  if (standardFunctions.ProcessName == nullptr) return true;
  wchar_t none[] = L"";
  return standardFunctions.ProcessName(mask, none, 0, PN_CHECKMASK | PN_SHOWERRORMESSAGE) != 0;
}

bool Far2l::MatchesMask(const wchar_t* mask, const wchar_t* str) {
  if (standardFunctions.ProcessName == nullptr || IsOnePattern(mask)) return CmpName(mask, str);
  return standardFunctions.ProcessName(mask, const_cast<wchar_t*>(str), 0, PN_CMPNAMELIST) != 0;
}

void Far2l::MoveCursor(PanelSnapshot*, int current, int top) {
  PanelRedrawInfo redraw{current, top};
  Control(FCTL_REDRAWPANEL, 0, PointerParam(&redraw));
}

void Far2l::RedrawPanel() {
  Control(FCTL_REDRAWPANEL, 0, 0);
}

uint32_t Far2l::ClipboardLine(wchar_t* out, uint32_t capacity) {
  if (standardFunctions.PasteFromClipboard == nullptr) return 0;
  wchar_t* text = standardFunctions.PasteFromClipboard();
  if (text == nullptr) return 0;
  uint32_t length = 0;
  for (; length < capacity && text[length] != 0 && text[length] != L'\r' && text[length] != L'\n';
       ++length) {
    out[length] = text[length];
  }
  if (standardFunctions.DeleteBuffer != nullptr) standardFunctions.DeleteBuffer(text);
  return length;
}

void Far2l::ShowHelp(const wchar_t* topic) {
  if (startupInfo.ShowHelp == nullptr) return;
  startupInfo.ShowHelp(startupInfo.ModuleName, topic, FHELP_SELFHELP);
}

wchar_t Far2l::OtherLayout(wchar_t letter) {
  if (standardFunctions.XLat == nullptr || !HostOptionOn("XLat", "EnableForFastFileFind", true)) {
    return letter;
  }
  wchar_t converted[] = {letter, 0};
  standardFunctions.XLat(converted, 0, 1, 0);
  return converted[0];
}

// The palette entries, not colours: the host looks the entry up at every
// call, so the box follows the current palette.
void Far2l::Text(int x, int y, Ink ink, const wchar_t* str) {
  startupInfo.Text(x, y, ink == Ink::kFrame ? COL_DIALOGBOX : COL_DIALOGEDIT, str);
}

void Far2l::FlushText() {
  startupInfo.Text(0, 0, 0, nullptr);
}

void Far2l::BeginSelection(PanelSnapshot* snapshot) {
  // The host may have re-read the folder while the dialog was up, and it
  // does not range-check the indices it is given.
  PanelInfo info{};
  const bool known = Control(FCTL_GETPANELINFO, 0, PointerParam(&info)) && info.ItemsNumber > 0;
  const uint32_t now = known ? static_cast<uint32_t>(info.ItemsNumber) : 0;
  snapshot->selectable = now < snapshot->count ? now : snapshot->count;
  Control(FCTL_BEGINSELECTION, 0, 0);
}

void Far2l::SetSelected(PanelSnapshot* snapshot, uint32_t index, bool selected) {
  if (index >= snapshot->selectable) return;
  Control(FCTL_SETSELECTION, static_cast<int>(index), selected ? 1 : 0);
}

void Far2l::EndSelection(PanelSnapshot*) {
  Control(FCTL_ENDSELECTION, 0, 0);
  Control(FCTL_REDRAWPANEL, 0, 0);
}

const wchar_t* Far2l::Msg(Message id) {
  const wchar_t* text = startupInfo.GetMsg
                            ? startupInfo.GetMsg(startupInfo.ModuleNumber, static_cast<int>(id))
                            : nullptr;
  return text != nullptr ? text : kEnglishMessages<wchar_t>[id];
}

int Far2l::Menu(const wchar_t* title, const wchar_t* const* items, int count) {
  if (count < 0 || count > kMenuItemsMax) return -1;
  FarMenuItem rows[kMenuItemsMax] = {};
  for (int i = 0; i < count; ++i) rows[i].Text = items[i];
  return startupInfo.Menu(startupInfo.ModuleNumber, -1, -1, 0, 0, title, nullptr, nullptr, nullptr,
                          nullptr, rows, count);
}

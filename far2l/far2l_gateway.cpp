// far2l's side of the rules and commands: the saved startup record and the
// host calls that need no more than a line or two.
// The panel copy, the console and the mask dialog have files of their own.
#include "far2l/far2l_gateway.h"

namespace far2l {
namespace {

// Copied when the host loads the module: the host's own record lives on its
// stack only for the length of that call.
constinit PluginStartupInfo startupInfo{};
constinit ConsoleFunctions consoleFunctions{};

}  // namespace

void Start(const PluginStartupInfo& info, const ConsoleFunctions& console) {
  startupInfo = info;
  startupInfo.FSF = nullptr;  // points into the host's stack; never used
  consoleFunctions = console;
}

const PluginStartupInfo& Host() {
  return startupInfo;
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

void Far2l::MoveCursor(PanelSnapshot*, int current, int top) {
  PanelRedrawInfo redraw{current, top};
  Control(FCTL_REDRAWPANEL, 0, PointerParam(&redraw));
}

void Far2l::RedrawPanel() {
  Control(FCTL_REDRAWPANEL, 0, 0);
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

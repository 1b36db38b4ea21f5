// The module's entry points, the plug-in menu entry and a macro's calls: the
// only symbols the host sees, with the results panel's in
// far2l_results_panel.cpp.
#include "commands/command_menu.h"
#include "commands/macro_command.h"
#include "far2l/far2l_console.h"
#include "far2l/far2l_gateway.h"
#include "far2l/far2l_panel_records.h"
#include "findtree/find_command.h"

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

using namespace far2l;

namespace {

// The number a macro's callplugin names the plug-in by ("VLTR"); never to
// change once released.
constexpr uint32_t kSysId = 0x564C5452;

// The menu texts come from the language file, so the strings are fetched
// each time: the host may have switched its language since.
constinit const wchar_t* pluginMenuStrings[1] = {};

bool StartsWith(const wchar_t* text, const wchar_t* prefix) {
  for (; *prefix != 0; ++text, ++prefix) {
    if (*text != *prefix) return false;
  }
  return true;
}

// callplugin(0x564C5452, "Find:MASK") searches the active panel's folder,
// callplugin(0x564C5452, "Find:\"FOLDER\" MASK") the folder named: the
// search without its dialog, its results opened as a panel. The host opens
// a panel only for a call from the panels, so no other is searched for.
HANDLE FindFromMacro(int openFrom, const wchar_t* call) {
  constexpr int kFromPanels = 0x7;  // OPEN_PLUGINSMENU or OPEN_FILEPANEL, as the host tests
  if (!(openFrom & kFromPanels)) return InvalidHandleValue();
  const wchar_t* mask = call + 5;
  wchar_t* folder = nullptr;
  if (*mask == L'"') {
    size_t length = 0;
    while (mask[1 + length] != 0 && mask[1 + length] != L'"') ++length;
    if (mask[1 + length] != L'"') return InvalidHandleValue();
    folder = static_cast<wchar_t*>(sys::Allocate((length + 1) * sizeof(wchar_t)));
    if (folder == nullptr) return InvalidHandleValue();
    for (size_t i = 0; i < length; ++i) folder[i] = mask[1 + i];
    folder[length] = 0;
    mask += length + 2;
    while (*mask == L' ') ++mask;
  }
  void* results = findtree::FindFromMacro<Far2l>(mask, folder);
  sys::Free(folder);
  return results != nullptr ? results : InvalidHandleValue();
}

// callplugin(0x564C5452, "Search"), "Search:text", "Select", "Select:mask",
// "Unselect" or "Unselect:mask" (a blank may stand for the colon); or a
// number, the command's place in the command menu (0 the speed search).
// They open no panel, so the host's callplugin answers 1: a macro reads the
// selection back from APanel.SelCount.
HANDLE CallFromMacro(int openFrom, INT_PTR item) {
  if (!(openFrom & OPEN_FROMMACROSTRING)) {
    void* results = nullptr;
    if (item >= 0 && item < kCommandCount<Far2l>) results = RunCommand<Far2l>(Command(item));
    return results != nullptr ? results : InvalidHandleValue();
  }
  const auto* call = reinterpret_cast<const wchar_t*>(item);
  if (call == nullptr) return InvalidHandleValue();
  if (StartsWith(call, L"Find:")) return FindFromMacro(openFrom, call);
  const wchar_t* argument = nullptr;
  const MacroCommand command = ParseMacroCommand(call, &argument);
  if (command != MacroCommand::kUnknown) RunMacroCommand<Far2l>(command, argument);
  return InvalidHandleValue();
}

}  // namespace

PLUGIN_EXPORT int GetMinFarVersionW() {
  return FARMANAGERVERSION;
}

PLUGIN_EXPORT void SetStartupInfoW(const PluginStartupInfo* info) {
  Start(*info, ResolveConsoleFunctions());
}

PLUGIN_EXPORT void GetPluginInfoW(PluginInfo* info) {
  pluginMenuStrings[0] = Far2l::Msg(Message::kPluginTitle);
  info->StructSize = sizeof(PluginInfo);
  info->PluginMenuStrings = pluginMenuStrings;
  info->PluginMenuStringsNumber = 1;
  info->SysID = kSysId;
}

PLUGIN_EXPORT HANDLE OpenPluginW(int openFrom, INT_PTR item) {
  if (openFrom & OPEN_FROMMACRO) return CallFromMacro(openFrom, item);
  if (void* results = OpenCommandMenu<Far2l>()) return results;
  return InvalidHandleValue();
}

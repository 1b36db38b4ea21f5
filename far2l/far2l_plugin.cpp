// The module's entry points and the plug-in menu entry: the only symbols
// the host sees.
#include "commands/command_menu.h"
#include "far2l/far2l_console.h"
#include "far2l/far2l_gateway.h"

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

using namespace far2l;

namespace {

// The menu texts come from the language file, so the strings are fetched
// each time: the host may have switched its language since.
constinit const wchar_t* pluginMenuStrings[1] = {};

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
}

PLUGIN_EXPORT HANDLE OpenPluginW(int, INT_PTR) {
  OpenCommandMenu<Far2l>();
  return InvalidHandleValue();
}

// The module's entry points, the plug-in menu entry and the command menu:
// the only symbols the host sees.
#include "far2l/far2l_console.h"
#include "far2l/far2l_gateway.h"
#include "select/select_by_description.h"
#include "speedsearch/speed_search.h"

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

using namespace far2l;

namespace {

enum CommandIndex { kSpeedSearch, kSelect, kUnselect, kCommandCount };

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
  pluginMenuStrings[0] = Msg(kMsgPluginTitle);
  info->StructSize = sizeof(PluginInfo);
  info->PluginMenuStrings = pluginMenuStrings;
  info->PluginMenuStringsNumber = 1;
}

PLUGIN_EXPORT HANDLE OpenPluginW(int, INT_PTR) {
  const FarMenuItem commands[kCommandCount] = {
      {Msg(kMsgSpeedSearchCommand), 0, 0, 0},
      {Msg(kMsgSelectCommand), 0, 0, 0},
      {Msg(kMsgUnselectCommand), 0, 0, 0},
  };
  switch (Menu(Msg(kMsgPluginTitle), commands, kCommandCount)) {
    case kSpeedSearch:
      SpeedSearchCommand<Far2l>();
      break;
    case kSelect:
      SelectCommand<Far2l>(false);
      break;
    case kUnselect:
      SelectCommand<Far2l>(true);
      break;
    default:  // the menu was cancelled
      break;
  }
  return InvalidHandleValue();
}

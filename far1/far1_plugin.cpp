// The plug-in menu entry and the command menu.
#include "far1/far1_plugin.h"

#include "commands/command_menu.h"
#include "far1/far1_gateway.h"

namespace {

constexpr const char* kPluginMenuStrings[] = {kEnglishMessages<char>[Message::kPluginTitle]};
constexpr int kPluginMenuStringsNumber = sizeof kPluginMenuStrings / sizeof kPluginMenuStrings[0];

}  // namespace

extern "C" void HOSTCALL GetPluginInfo(PluginInfo* info) {
  info->StructSize = kPluginInfoSize;
  info->PluginMenuStrings = kPluginMenuStrings;
  info->PluginMenuStringsNumber = kPluginMenuStringsNumber;
}

extern "C" HostHandle HOSTCALL OpenPlugin(int, int) {
  OpenCommandMenu<Far1>();
  return InvalidHandleValue();
}

// The plug-in menu entry and the command menu.
#include "far1/far1_plugin.h"

#include "far1/far1_commands.h"
#include "far1/far1_host.h"
#include "far1/far1_texts.h"

namespace {

constexpr const char* kPluginMenuStrings[] = {texts::kPluginTitle};
constexpr int kPluginMenuStringsNumber = sizeof kPluginMenuStrings / sizeof kPluginMenuStrings[0];

enum CommandIndex { kSpeedSearch, kSelect, kUnselect, kCommandCount };

// Builds a menu row at compile time; the host's record holds its text inline.
constexpr FarMenuItem MenuItem(const char* text) {
  FarMenuItem item{};
  for (int i = 0; text[i] != '\0'; ++i) item.Text[i] = text[i];
  return item;
}

constexpr FarMenuItem kCommandMenu[kCommandCount] = {
    MenuItem(texts::kSpeedSearchCommand),
    MenuItem(texts::kSelectCommand),
    MenuItem(texts::kUnselectCommand),
};

}  // namespace

extern "C" void HOSTCALL GetPluginInfo(PluginInfo* info) {
  info->StructSize = kPluginInfoSize;
  info->PluginMenuStrings = kPluginMenuStrings;
  info->PluginMenuStringsNumber = kPluginMenuStringsNumber;
}

extern "C" HostHandle HOSTCALL OpenPlugin(int, int) {
  switch (host::Menu(texts::kPluginTitle, kCommandMenu, kCommandCount)) {
    case kSpeedSearch:
      SpeedSearch();
      break;
    case kSelect:
      SelectByDescription(0);
      break;
    case kUnselect:
      SelectByDescription(1);
      break;
    default:  // the menu was cancelled
      break;
  }
  return InvalidHandleValue();
}

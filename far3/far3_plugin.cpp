// The entry points the current-generation host looks for, and nothing else:
// identity, the saved startup record, the plug-ins menu entry, and the
// command menu behind it.
#include "far3/far3_gateway.h"
#include "far3/far3_ids.h"
#include "select/select_by_description.h"
#include "speedsearch/speed_search.h"

#ifndef VELTRANE_VERSION_MAJOR
#define VELTRANE_VERSION_MAJOR 0
#define VELTRANE_VERSION_MINOR 0
#define VELTRANE_VERSION_PATCH 0
#endif

namespace {

using far3::Msg;

// The oldest host the plug-in was tried with: 3.0 build 6100.
constexpr far3::VersionInfo kMinHostVersion = {3, 0, 0, 6100, far3::VS_RELEASE};
constexpr far3::VersionInfo kVersion = {VELTRANE_VERSION_MAJOR, VELTRANE_VERSION_MINOR,
                                        VELTRANE_VERSION_PATCH, 0, far3::VS_RELEASE};

// The host keeps the menu strings' addresses until it asks again.
constinit const char16_t* pluginMenuStrings[1] = {};

enum Command { kSpeedSearch, kSelect, kUnselect, kCommandCount };

intptr_t ShowCommandMenu() {
  far3::FarMenuItem items[kCommandCount] = {};
  items[kSpeedSearch].Text = Msg(far3::MSpeedSearch);
  items[kSelect].Text = Msg(far3::MSelect);
  items[kUnselect].Text = Msg(far3::MUnselect);
  return far3::Host().Menu(&far3::kPluginGuid, &far3::kCommandMenuGuid, -1, -1, 0, 0,
                           Msg(far3::MTitle), nullptr, nullptr, nullptr, nullptr, items,
                           kCommandCount);
}

}  // namespace

extern "C" {

void FAR3CALL GetGlobalInfoW(far3::GlobalInfo* info) {
  info->StructSize = sizeof *info;
  info->MinFarVersion = kMinHostVersion;
  info->Version = kVersion;
  info->Guid = far3::kPluginGuid;
  info->Title = far3::texts::kPluginTitle;
  info->Description = far3::texts::kPluginDescription;
  info->Author = far3::texts::kPluginAuthor;
}

void FAR3CALL SetStartupInfoW(const far3::PluginStartupInfo* info) {
  far3::SaveStartupInfo(info);
}

void FAR3CALL GetPluginInfoW(far3::PluginInfo* info) {
  pluginMenuStrings[0] = Msg(far3::MTitle);
  info->StructSize = sizeof *info;
  info->PluginMenu = far3::PluginMenuItem{&far3::kMenuEntryGuid, pluginMenuStrings, 1};
}

// Runs the chosen command to its end; a null handle tells the host that no
// plug-in panel was opened.
void* FAR3CALL OpenW(const far3::OpenInfo*) {
  switch (ShowCommandMenu()) {
    case kSpeedSearch:
      SpeedSearchCommand<Far3>();
      break;
    case kSelect:
      SelectCommand<Far3>(false);
      break;
    case kUnselect:
      SelectCommand<Far3>(true);
      break;
    default:  // the menu was cancelled
      break;
  }
  return nullptr;
}

}  // extern "C"

// The entry points the current-generation host looks for, and nothing else:
// identity, the saved startup record, the plug-ins menu entry, and the
// command menu behind it.
#include "commands/command_menu.h"
#include "far3/far3_gateway.h"
#include "far3/far3_ids.h"
#include "far3/far3_texts.h"

#ifndef VELTRANE_VERSION_MAJOR
#define VELTRANE_VERSION_MAJOR 0
#define VELTRANE_VERSION_MINOR 0
#define VELTRANE_VERSION_PATCH 0
#endif

namespace {

// The oldest host the plug-in was tried with: 3.0 build 6100.
constexpr far3::VersionInfo kMinHostVersion = {3, 0, 0, 6100, far3::VS_RELEASE};
constexpr far3::VersionInfo kVersion = {VELTRANE_VERSION_MAJOR, VELTRANE_VERSION_MINOR,
                                        VELTRANE_VERSION_PATCH, 0, far3::VS_RELEASE};

// The host keeps the menu strings' addresses until it asks again.
constinit const char16_t* pluginMenuStrings[1] = {};

}  // namespace

int Far3::Menu(const Char* title, const Char* const* items, int count) {
  if (count < 0 || count > kMenuItemsMax) return -1;
  far3::FarMenuItem rows[kMenuItemsMax] = {};
  for (int i = 0; i < count; ++i) rows[i].Text = items[i];
  return static_cast<int>(far3::Host().Menu(&far3::kPluginGuid, &far3::kCommandMenuGuid, -1, -1, 0,
                                            0, title, nullptr, nullptr, nullptr, nullptr, rows,
                                            count));
}

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
  pluginMenuStrings[0] = Far3::Msg(Message::kPluginTitle);
  info->StructSize = sizeof *info;
  info->PluginMenu = far3::PluginMenuItem{&far3::kMenuEntryGuid, pluginMenuStrings, 1};
}

// Runs the chosen command to its end; a null handle tells the host that no
// plug-in panel was opened.
void* FAR3CALL OpenW(const far3::OpenInfo*) {
  OpenCommandMenu<Far3>();
  return nullptr;
}

}  // extern "C"

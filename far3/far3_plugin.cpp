// The entry points the current-generation host looks for, and nothing else:
// identity, the saved startup record, the plug-ins menu entry, the command
// menu behind it and a macro's calls. The results panel's entry points are
// in far3_results_panel.cpp.
#include "commands/command_menu.h"
#include "commands/macro_command.h"
#include "far3/far3_gateway.h"
#include "far3/far3_ids.h"
#include "far3/far3_panel_records.h"
#include "far3/far3_texts.h"
#include "findtree/find_command.h"

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

// What OpenW hands a macro: the results panel to open, or an answer. The
// host reads it before the next call.
constinit far3::FarMacroValue macroValue{};
constinit far3::FarMacroCall macroResult{};

void* AnswerMacro(int32_t type, int64_t value) {
  macroValue = far3::FarMacroValue{};
  macroValue.Type = type;
  macroValue.Integer = value;
  macroResult = far3::FarMacroCall{sizeof macroResult, 1, &macroValue, nullptr, nullptr};
  return &macroResult;
}

bool IsString(const far3::OpenMacroInfo& call, size_t at) {
  return at < call.Count && call.Values[at].Type == far3::FMVT_STRING &&
         call.Values[at].String != nullptr;
}

bool IsFind(const char16_t* text) {
  const char16_t* word = u"find";
  for (; *word != 0; ++text, ++word) {
    if ((*text | 0x20) != *word) return false;
  }
  return *text == 0;
}

// Plugin.Call(guid, "Find", mask[, folder]): the search without its dialog,
// its results opened as a panel; null where nothing was found.
void* FindFromMacro(const far3::OpenMacroInfo& call) {
  if (!IsString(call, 1)) return nullptr;
  const char16_t* folder = IsString(call, 2) ? call.Values[2].String : nullptr;
  void* results = findtree::FindFromMacro<Far3>(call.Values[1].String, folder);
  if (results == nullptr) return nullptr;
  macroValue = far3::FarMacroValue{};
  macroValue.Type = far3::FMVT_PANEL;
  macroValue.Pointer = results;
  macroResult = far3::FarMacroCall{sizeof macroResult, 1, &macroValue, nullptr, nullptr};
  return &macroResult;
}

// Plugin.Call(guid, "Search"[, text]) answers true once the search has
// ended; Plugin.Call(guid, "Select" or "Unselect"[, mask]) the number of
// items the mask matched, -1 when nothing was done (the argument may also
// follow the name after a colon or blank). Anything else is refused:
// Plugin.Call then answers false.
void* CallFromMacro(const far3::OpenMacroInfo* call) {
  if (call == nullptr || !IsString(*call, 0)) return nullptr;
  if (IsFind(call->Values[0].String)) return FindFromMacro(*call);
  const char16_t* argument = nullptr;
  const MacroCommand command = ParseMacroCommand(call->Values[0].String, &argument);
  if (command == MacroCommand::kUnknown) return nullptr;
  if (IsString(*call, 1)) argument = call->Values[1].String;
  const int64_t answer = RunMacroCommand<Far3>(command, argument);
  return command == MacroCommand::kSearch ? AnswerMacro(far3::FMVT_BOOLEAN, 1)
                                          : AnswerMacro(far3::FMVT_INTEGER, answer);
}

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
// plug-in panel was opened, any other is the results panel.
void* FAR3CALL OpenW(const far3::OpenInfo* info) {
  if (info->OpenFrom == far3::OPEN_FROMMACRO) {
    return CallFromMacro(reinterpret_cast<const far3::OpenMacroInfo*>(info->Data));
  }
  return OpenCommandMenu<Far3>();
}

}  // extern "C"

// The host's own description settings, for reading a description file as
// the host reads it. The plug-in interface's settings calls cannot reach
// them; the host's macro engine can, where it is installed.
#include <cstddef>

#include "far3/far3_gateway.h"
#include "far3/far3_ids.h"
#include "far3/far3_panel_records.h"

namespace {

// Each answer is the setting, or nil where the engine cannot read it (a
// failed Far.GetConfig raises an error, which pcall turns into nil).
constexpr char16_t kAskSettings[] =
    u"local function get(key) local ok, value = pcall(Far.GetConfig, key) "
    u"if ok then return value end end "
    u"return get('Descriptions.ListNames'), get('Descriptions.AnsiByDefault')";

// Kept for the module's life: the engine's own answer lasts only until its
// next run.
constexpr size_t kListUnits = 2048;
constinit char16_t fileNames[kListUnits] = {};

// Copies the list; one too long for the buffer keeps the names that fit
// whole.
void KeepList(const char16_t* list) {
  size_t length = 0;
  size_t whole = 0;  // the length up to the last separator seen
  for (; list[length] != 0 && length + 1 < kListUnits; ++length) {
    fileNames[length] = list[length];
    if (list[length] == u',' || list[length] == u';') whole = length;
  }
  fileNames[list[length] == 0 ? length : whole] = 0;
}

}  // namespace

descriptions::HostSettings<char16_t> Far3::ReadDescriptionSettings() {
  descriptions::HostSettings<char16_t> settings{nullptr, false};
  const far3::PluginStartupInfo& host = far3::Host();
  if (host.StructSize <
          offsetof(far3::PluginStartupInfo, MacroControl) + sizeof host.MacroControl ||
      host.MacroControl == nullptr)
    return settings;
  far3::MacroExecuteString run{sizeof run, far3::KMFLAGS_SILENTCHECK, kAskSettings, 0, nullptr, 0,
                               nullptr};
  if (host.MacroControl(&far3::kPluginGuid, far3::MCTL_EXECSTRING, 0, &run) == 0 ||
      run.OutValues == nullptr)
    return settings;
  if (run.OutCount >= 1 && run.OutValues[0].Type == far3::FMVT_STRING &&
      run.OutValues[0].String != nullptr) {
    KeepList(run.OutValues[0].String);
    settings.fileNames = fileNames;
  }
  if (run.OutCount >= 2 && run.OutValues[1].Type == far3::FMVT_BOOLEAN)
    settings.ansi = run.OutValues[1].Integer != 0;
  return settings;
}

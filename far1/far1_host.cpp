// Keeps the host's startup record and reaches the host only through it.
#include "far1/far1_host.h"

namespace {

// Copied once when the host loads the module; zero until then, so that
// nothing is reached through pointers the host has not given us.
constinit PluginStartupInfo startupInfo{};

}  // namespace

extern "C" void HOSTCALL SetStartupInfo(const PluginStartupInfo* info) {
  startupInfo = *info;
}

namespace host {

int Control(int command, void* param) {
  return startupInfo.Control(InvalidHandleValue(), command, param);
}

bool SnapshotFilePanel(PanelInfo* panel) {
  *panel = PanelInfo{};
  if (!Control(FCTL_GETPANELINFO, panel)) return false;
  // A negative count is as empty as zero: the host's array holds nothing.
  return panel->PanelType == PTYPE_FILEPANEL && panel->ItemsNumber > 0;
}

int Menu(const char* title, const FarMenuItem* items, int count) {
  return startupInfo.Menu(startupInfo.ModuleNumber, -1, -1, 0, 0, title, nullptr, nullptr, nullptr,
                          nullptr, items, count);
}

int Dialog(int x1, int y1, int x2, int y2, const char* helpTopic, FarDialogItem* items, int count) {
  return startupInfo.Dialog(startupInfo.ModuleNumber, x1, y1, x2, y2, helpTopic, items, count);
}

void Text(int x, int y, int color, const char* str) {
  startupInfo.Text(x, y, color, str);
}

void FlushText() {
  startupInfo.Text(0, 0, 0, nullptr);
}

bool CmpName(const char* mask, const char* str) {
  return startupInfo.CmpName(mask, str, 0) != 0;
}

}  // namespace host

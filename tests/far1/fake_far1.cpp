// The fake host's callbacks, wired into a startup record for the plug-in.
#include "tests/far1/fake_far1.h"

#include <cstring>

#include "far1/far1_host.h"
#include "filemask/file_mask.h"

namespace fake {
namespace {

Host theHost;

std::optional<std::string> Copy(const char* s) {
  return s != nullptr ? std::optional<std::string>(s) : std::nullopt;
}

int HOSTCALL FakeControl(HostHandle handle, int command, void* param) {
  Host& h = theHost;
  if (handle != InvalidHandleValue()) return 0;
  ControlCall call{command, param != nullptr, 0, 0};
  if (command == FCTL_GETPANELINFO && param != nullptr) {
    if (h.getPanelInfoResult != 0) {
      PanelInfo info = h.Snapshot();
      std::memcpy(param, &info, sizeof info);
    }
  } else if (command == FCTL_REDRAWPANEL && param != nullptr) {
    const int* pair = static_cast<const int*>(param);
    call.currentItem = pair[0];
    call.topItem = pair[1];
    h.panel.CurrentItem = pair[0];
    h.panel.TopPanelItem = pair[1];
  } else if (command == FCTL_SETSELECTION && param != nullptr) {
    const PanelInfo* info = static_cast<const PanelInfo*>(param);
    h.selectionFlags.clear();
    for (int i = 0; i < info->ItemsNumber; ++i) {
      const uint32_t flags = info->PanelItems[i].Flags;  // a packed field: copy, never bind
      h.selectionFlags.push_back(flags);
    }
  }
  h.controls.push_back(call);
  return command == FCTL_GETPANELINFO ? h.getPanelInfoResult : 1;
}

int HOSTCALL FakeMenu(int moduleNumber, int x, int y, int maxHeight, unsigned flags,
                      const char* title, const char* bottom, const char* helpTopic,
                      const int* breakKeys, int* breakCode, const FarMenuItem* items, int count) {
  MenuCall call{moduleNumber,
                x,
                y,
                maxHeight,
                flags,
                Copy(title),
                Copy(bottom),
                Copy(helpTopic),
                breakKeys != nullptr,
                breakCode != nullptr,
                std::vector<FarMenuItem>(items, items + count)};
  theHost.menus.push_back(call);
  return theHost.menuResult;
}

int HOSTCALL FakeDialog(int moduleNumber, int x1, int y1, int x2, int y2, const char* helpTopic,
                        FarDialogItem* items, int count) {
  theHost.dialogs.push_back(DialogCall{moduleNumber, x1, y1, x2, y2, Copy(helpTopic),
                                       std::vector<FarDialogItem>(items, items + count)});
  return theHost.onDialog(items, count);
}

void HOSTCALL FakeText(int x, int y, int color, const char* str) {
  theHost.texts.push_back(TextCall{x, y, color, str == nullptr, str != nullptr ? str : ""});
}

int HOSTCALL FakeCmpName(const char* mask, const char* str, int skipPath) {
  ++theHost.cmpNameCalls;
  return skipPath == 0 && MatchFileMask(mask, str) ? 1 : 0;
}

}  // namespace

void Host::SetItems(const std::vector<std::optional<std::string>>& list) {
  items.assign(list.size(), PluginPanelItem{});
  descriptions.clear();
  descriptions.reserve(list.size());
  for (size_t i = 0; i < list.size(); ++i) {
    if (!list[i]) continue;
    descriptions.push_back(*list[i]);
    items[i].Description = descriptions.back().data();
  }
}

PanelInfo Host::Snapshot() {
  PanelInfo info = panel;
  info.PanelItems = items.empty() ? nullptr : items.data();
  info.ItemsNumber = static_cast<int>(items.size());
  return info;
}

std::vector<int> Host::CommandsCalled() const {
  std::vector<int> commands;
  for (const ControlCall& call : controls) commands.push_back(call.command);
  return commands;
}

int Host::Count(int command) const {
  int n = 0;
  for (const ControlCall& call : controls) n += call.command == command;
  return n;
}

Host& InstallHost() {
  theHost = Host{};
  theHost.panel.PanelType = PTYPE_FILEPANEL;
  theHost.panel.PanelRect = HostRect{0, 1, 39, 20};
  PluginStartupInfo info{};
  info.StructSize = sizeof info;
  info.ModuleNumber = theHost.moduleNumber;
  info.Control = FakeControl;
  info.Menu = FakeMenu;
  info.Dialog = FakeDialog;
  info.Text = FakeText;
  info.CmpName = FakeCmpName;
  SetStartupInfo(&info);
  return theHost;
}

Host& TheHost() {
  return theHost;
}

}  // namespace fake

// far2l's side of the search of a folder tree: the active panel's folder,
// the screen under the progress message, Esc read from the host's console,
// and the host's message box for what findtree/find_messages.h composes.
#include "far2l/far2l_gateway.h"
#include "far2l/far2l_panel_records.h"

using namespace far2l;

// ---- The active panel's folder ----------------------------------------------

wchar_t* Far2l::ActiveFolder() {
  PanelInfo info{};
  if (!Control(FCTL_GETPANELINFO, 0, PointerParam(&info)) || info.PanelType != PTYPE_FILEPANEL ||
      info.Plugin != 0) {
    return nullptr;
  }
  const int chars = Control(FCTL_GETPANELDIR, 0, 0);
  if (chars <= 1) return nullptr;
  auto* folder = static_cast<wchar_t*>(sys::Allocate(size_t(chars) * sizeof(wchar_t)));
  if (folder == nullptr) return nullptr;
  folder[0] = 0;
  Control(FCTL_GETPANELDIR, chars, PointerParam(folder));
  folder[chars - 1] = 0;
  if (folder[0] == 0) {
    sys::Free(folder);
    return nullptr;
  }
  return folder;
}

// ---- Progress and messages ---------------------------------------------------

void* Far2l::SaveScreen() {
  return Host().SaveScreen(0, 0, -1, -1);
}

void Far2l::RestoreScreen(void* screen) {
  if (screen != nullptr) Host().RestoreScreen(screen);
}

// The host's console queue, read without waiting.
bool Far2l::EscapePressed() {
  const ConsoleFunctions& console = Console();
  if (console.PeekConsoleInput == nullptr || console.ReadConsoleInput == nullptr) return false;
  bool escape = false;
  INPUT_RECORD record{};
  DWORD count = 0;
  while (console.PeekConsoleInput(nullptr, &record, 1, &count) && count > 0) {
    if (!console.ReadConsoleInput(nullptr, &record, 1, &count) || count == 0) break;
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    if (record.EventType == KEY_EVENT && key.bKeyDown && key.wVirtualKeyCode == VK_ESCAPE) {
      escape = true;
    }
  }
  return escape;
}

int Far2l::Say(findtree::SayKind kind, const wchar_t* const* lines, int count) {
  constexpr DWORD kFlags[] = {FMSG_LEFTALIGN, FMSG_MB_OK, FMSG_WARNING | FMSG_MB_OK,
                              FMSG_WARNING | FMSG_MB_YESNO};
  return static_cast<int>(Host().Message(Host().ModuleNumber, kFlags[static_cast<int>(kind)],
                                         nullptr, lines, count, 0));
}

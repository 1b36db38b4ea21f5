// The current generation's side of the search of a folder tree: the active
// panel's folder, the screen under the progress message, Esc read from the
// console, and the host's message box for what findtree/find_messages.h
// composes.
#include "far3/far3_gateway.h"
#include "far3/far3_ids.h"
#include "far3/far3_panel_records.h"

namespace {

using far3::Host;

}  // namespace

// ---- The active panel's folder -------------------------------------------------------

Far3::Char* Far3::ActiveFolder() {
  far3::PanelInfo info{};
  info.StructSize = sizeof info;
  void* active = far3::ActivePanel();
  if (Host().PanelControl(active, far3::FCTL_GETPANELINFO, 0, &info) == 0 ||
      info.PanelType != far3::PTYPE_FILEPANEL || (info.Flags & far3::PFLAGS_PLUGIN)) {
    return nullptr;
  }
  const intptr_t size = Host().PanelControl(active, far3::FCTL_GETPANELDIRECTORY, 0, nullptr);
  if (size < static_cast<intptr_t>(sizeof(far3::FarPanelDirectory))) return nullptr;
  auto* directory = static_cast<far3::FarPanelDirectory*>(sys::Allocate(static_cast<size_t>(size)));
  if (directory == nullptr) return nullptr;
  directory->StructSize = sizeof *directory;
  const intptr_t filled =
      Host().PanelControl(active, far3::FCTL_GETPANELDIRECTORY, size, directory);
  const char16_t* name = filled > 0 && filled <= size ? directory->Name : nullptr;
  if (name == nullptr || name[0] == 0) {
    sys::Free(directory);
    return nullptr;
  }
  // The name lies after the record, in the same block.
  return findtree::MoveToStart(directory, name);
}

// ---- Progress and messages --------------------------------------------------------------

void* Far3::SaveScreen() {
  return Host().SaveScreen(0, 0, -1, -1);
}

void Far3::RestoreScreen(void* screen) {
  if (screen != nullptr) Host().RestoreScreen(screen);
}

bool Far3::EscapePressed() {
  return sys::EscapeWaiting(sys::ConsoleInput());
}

int Far3::Say(findtree::SayKind kind, const Char* const* lines, int count) {
  constexpr uint64_t kFlags[] = {far3::FMSG_LEFTALIGN, far3::FMSG_MB_OK,
                                 far3::FMSG_WARNING | far3::FMSG_MB_OK,
                                 far3::FMSG_WARNING | far3::FMSG_MB_YESNO};
  return static_cast<int>(Host().Message(&far3::kPluginGuid, &far3::kFindMessageGuid,
                                         kFlags[static_cast<int>(kind)], nullptr, lines,
                                         static_cast<size_t>(count), 0));
}

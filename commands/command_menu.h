// The command menu behind the plug-in's entry in the host's plug-ins menu:
// one list of commands, shown through the gateway's menu in the host's
// language, and the chosen one run to its end.
#pragma once

#include "commands/select_command.h"
#include "core/gateway.h"
#include "core/messages.h"
#include "findtree/find_command.h"
#include "speedsearch/speed_search.h"

enum class Command { kSpeedSearch, kSelect, kUnselect, kFind };

// The menu's rows, in the order of Command. Find by description shows its
// results in a plug-in's own panel: only where the gateway can open one.
inline constexpr Message kCommandLabels[] = {
    Message::kSpeedSearchCommand,
    Message::kSelectCommand,
    Message::kUnselectCommand,
    Message::kFindCommand,
};
constexpr int kAllCommands = sizeof kCommandLabels / sizeof kCommandLabels[0];
static_assert(kAllCommands <= kMenuItemsMax);

template <Gateway G>
constexpr int kCommandCount = findtree::FindGateway<G> ? kAllCommands : kAllCommands - 1;

// Runs a command; returns the panel it opened (the results of a find), or
// null.
template <Gateway G>
void* RunCommand(Command command) {
  switch (command) {
    case Command::kSpeedSearch:
      SpeedSearchCommand<G>();
      break;
    case Command::kSelect:
      SelectCommand<G>(false);
      break;
    case Command::kUnselect:
      SelectCommand<G>(true);
      break;
    case Command::kFind:
      if constexpr (findtree::FindGateway<G>) return findtree::FindCommand<G>();
      break;
  }
  return nullptr;
}

// Shows the command menu and runs the chosen command; a cancelled menu runs
// nothing. Returns the panel the command opened, or null.
template <Gateway G>
void* OpenCommandMenu() {
  constexpr int count = kCommandCount<G>;
  const typename G::Char* labels[count];
  for (int i = 0; i < count; ++i) labels[i] = G::Msg(kCommandLabels[i]);
  const int chosen = G::Menu(G::Msg(Message::kPluginTitle), labels, count);
  if (chosen < 0 || chosen >= count) return nullptr;
  return RunCommand<G>(static_cast<Command>(chosen));
}

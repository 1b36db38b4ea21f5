// The command menu behind the plug-in's entry in the host's plug-ins menu:
// one list of commands, shown through the gateway's menu in the host's
// language, and the chosen one run to its end.
#pragma once

#include "commands/select_command.h"
#include "core/gateway.h"
#include "core/messages.h"
#include "speedsearch/speed_search.h"

enum class Command { kSpeedSearch, kSelect, kUnselect };

// The menu's rows, in the order of Command.
inline constexpr Message kCommandLabels[] = {
    Message::kSpeedSearchCommand,
    Message::kSelectCommand,
    Message::kUnselectCommand,
};
constexpr int kCommandCount = sizeof kCommandLabels / sizeof kCommandLabels[0];
static_assert(kCommandCount <= kMenuItemsMax);

template <Gateway G>
void RunCommand(Command command) {
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
  }
}

// Shows the command menu and runs the chosen command; a cancelled menu runs
// nothing.
template <Gateway G>
void OpenCommandMenu() {
  const typename G::Char* labels[kCommandCount];
  for (int i = 0; i < kCommandCount; ++i) labels[i] = G::Msg(kCommandLabels[i]);
  const int chosen = G::Menu(G::Msg(Message::kPluginTitle), labels, kCommandCount);
  if (chosen >= 0 && chosen < kCommandCount) RunCommand<G>(static_cast<Command>(chosen));
}

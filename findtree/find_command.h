// The command that finds items by description in a whole folder tree, and
// the same search asked for by a macro: the search folder, the mask, the
// search with its progress, and the results a panel shows.
#pragma once

#include <concepts>

#include "core/gateway.h"
#include "core/messages.h"
#include "findtree/find_dialog.h"
#include "findtree/find_messages.h"
#include "findtree/results.h"
#include "findtree/tree_search.h"
#include "sys/system.h"

namespace findtree {

// What a gateway gives the search of a folder tree, besides its panel and
// messages: the path separator; the active panel's folder (a block to Free,
// null on a panel without a folder on disk); its forms, for the find
// dialog; the screen saved under the progress message (a handle, null where
// the host could not save it) and restored after; whether Esc was pressed
// since (taking the keys typed); and a message shown as SayKind says,
// answering the button chosen.
template <class G>
concept FindGateway = PanelGateway<G> && CommandGateway<G> && FormGateway<G> &&
    requires(const typename G::Char* const* lines, int count, void* screen) {
  { G::kPathSeparator } -> std::convertible_to<typename G::Char>;
  { G::ActiveFolder() } -> std::same_as<typename G::Char*>;
  { G::SaveScreen() } -> std::same_as<void*>;
  { G::RestoreScreen(screen) } -> std::same_as<void>;
  { G::EscapePressed() } -> std::same_as<bool>;
  { G::Say(SayKind::kReport, lines, count) } -> std::same_as<int>;
};

// Searches folder's tree for mask and returns the results for a panel, or
// null when nothing was found (the user is told, with what was skipped) or
// memory runs out.
template <FindGateway G>
Results<typename G::Char>* FindInTree(const typename G::Char* folder, const typename G::Char* mask,
                                      bool subfolders) {
  Results<typename G::Char>* results = CreateResults(folder, mask, G::Msg(Message::kResultsTitle));
  if (results == nullptr) return nullptr;
  void* screen = G::SaveScreen();
  results->counts = SearchTree<G, MessageProgress<G>>(results->folder, results->mask, subfolders,
                                                      &results->matches);
  G::RestoreScreen(screen);
  if (results->matches.count == 0) {
    SayNothingFound<G>(results->counts);
    ReleaseResults(results);
    return nullptr;
  }
  return results;
}

// The command from the plug-in's menu: on the active panel's folder, with
// what the user gives in the dialog. On a panel without a folder on disk
// (a plug-in's), the user is told that the search needs one.
template <FindGateway G>
Results<typename G::Char>* FindCommand() {
  typename G::Char* folder = G::ActiveFolder();
  if (folder == nullptr) {
    SayFolderNeeded<G>();
    return nullptr;
  }
  const typename G::Char* mask = nullptr;
  bool subfolders = true;
  Results<typename G::Char>* results = nullptr;
  if (AskForFind<G>(&mask, &subfolders)) results = FindInTree<G>(folder, mask, subfolders);
  sys::Free(folder);
  return results;
}

// The search a macro asks for: in folder where it names one, else in the
// active panel's folder; subfolders always, no dialog.
template <FindGateway G>
Results<typename G::Char>* FindFromMacro(const typename G::Char* mask,
                                         const typename G::Char* folder) {
  if (mask == nullptr || mask[0] == 0) return nullptr;
  if (folder != nullptr && folder[0] != 0) return FindInTree<G>(folder, mask, true);
  typename G::Char* active = G::ActiveFolder();
  if (active == nullptr) {
    SayFolderNeeded<G>();
    return nullptr;
  }
  Results<typename G::Char>* results = FindInTree<G>(active, mask, true);
  sys::Free(active);
  return results;
}

}  // namespace findtree

// The plug-in's messages: the texts a user reads, numbered as the lines of
// every interface's language files, and the English texts of an interface
// without language files or of a host that has lost them.
#pragma once

#include <cstdint>

enum class Message : int {
  kPluginTitle,  // the plug-ins menu entry and the command menu's title
  kSpeedSearchCommand,
  kSelectCommand,
  kUnselectCommand,
  kSelectTitle,  // the mask dialog's title for each of the two commands
  kUnselectTitle,
  kFindCommand,  // the fourth command, its dialog and messages
  kFindTitle,
  kFindMask,
  kFindSubfolders,
  kFindOk,
  kFindCancel,
  kFolderNeeded,
  kSearchingIn,  // the progress message
  kSearchCounts,
  kInterrupted,  // Esc during the search: the host's own question
  kInterruptedQuestion,
  kNothingFound,
  kSkippedCounts,
  kResultsTitle,  // the results panel: "%1" the mask, "%2" the folder
  kColumnName,
  kColumnDescription,
  kInfoMask,  // its lines in the host's information panel
  kInfoFolder,
  kInfoFolders,
  kInfoFound,
  kInfoFoldersSkipped,
  kInfoFilesSkipped,
  kInfoLoops,
  kInfoStopped,
  kInfoOutOfMemory,
};
constexpr int kMessageCount = 31;

constexpr uint32_t kMessageUnits = 80;  // the longest English message and its NUL

template <class Char>
struct MessageTable {
  Char text[kMessageCount][kMessageUnits];

  constexpr const Char* operator[](Message id) const { return text[static_cast<int>(id)]; }
};

namespace messages {

inline constexpr char kEnglish[kMessageCount][kMessageUnits] = {
    "Veltrane",
    "&Description Speed Search",
    "&Select by description...",
    "&Unselect by description...",
    "Description Select",
    "Description Unselect",
    "&Find by description...",
    "Find by description",
    "&Description mask:",
    "Search &subfolders",
    "OK",
    "Cancel",
    "The search needs a folder on disk: the active panel shows a plug-in's items.",
    "Searching in:",
    "Folders searched: %1   Found: %2",
    "Operation has been interrupted",
    "Do you really want to cancel it?",
    "No description in the folder tree matches the mask.",
    "Skipped: %1 folders, %2 description files",
    "%1 in %2",
    "Name",
    "Description",
    "Mask",
    "Folder",
    "Folders searched",
    "Found",
    "Folders skipped",
    "Description files skipped",
    "Links not followed",
    "The search was stopped",
    "Out of memory: the search ended early",
};

template <class Char>
constexpr MessageTable<Char> Widened() {
  MessageTable<Char> table{};
  for (int m = 0; m < kMessageCount; ++m) {
    for (uint32_t i = 0; i < kMessageUnits; ++i)
      table.text[m][i] = static_cast<Char>(kEnglish[m][i]);
  }
  return table;
}

}  // namespace messages

template <class Char>
inline constexpr MessageTable<Char> kEnglishMessages = messages::Widened<Char>();

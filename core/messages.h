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
};
constexpr int kMessageCount = 6;

constexpr uint32_t kMessageUnits = 32;  // the longest English message and its NUL

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

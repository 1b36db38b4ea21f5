// A stand-in file system of folders for the tree search: folders by path,
// their entries, links to other folders, and faults (a folder that cannot be
// read, one that vanishes); and a clock that moves only when told. Description
// files themselves stay in fake::AddFile's file system.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sys/folders.h"

namespace fake {

struct Entry {
  std::u16string name;
  uint32_t flags = 0;  // sys::kEntry*
  uint64_t size = 0;
};

struct Folder {
  std::vector<Entry> entries;
  sys::ListResult result = sys::ListResult::kDone;
  uint64_t id = 0;  // its identity; set by AddFolder
};

struct Folders {
  std::map<std::u16string, Folder> byPath;
  std::map<std::u16string, std::u16string> links;  // link path -> target path
  std::vector<std::u16string> listed;              // every path ListFolder was given
  std::vector<std::u16string> looked;              // every path LookAtPath was given
  uint64_t clock = 0;
  uint64_t clockStep = 0;  // added at every reading
  int liveListings = 0;
  int escapesWaiting = 0;  // Esc presses EscapeWaiting finds, one a call
  char16_t separator = u'\\';
};

Folders& ResetFolders(char16_t separator = u'\\');
Folders& TheFolders();

// Adds a folder with files of the given names; each name also becomes a
// folder entry of the parent folder, where the parent is known.
void AddFolder(const std::u16string& path, const std::vector<std::u16string>& files = {});
// A link at path (an entry of its parent) to the folder at target.
void AddLink(const std::u16string& path, const std::u16string& target);

}  // namespace fake

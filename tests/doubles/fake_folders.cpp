// The native build's side of sys/folders.h.
#include "tests/doubles/fake_folders.h"

#include <cstdlib>
#include <cstring>

namespace fake {
namespace {

Folders theFolders;
uint64_t nextId = 1;

std::u16string Parent(const std::u16string& path) {
  const size_t at = path.rfind(theFolders.separator);
  return at == std::u16string::npos ? std::u16string() : path.substr(0, at);
}

std::u16string Name(const std::u16string& path) {
  const size_t at = path.rfind(theFolders.separator);
  return at == std::u16string::npos ? path : path.substr(at + 1);
}

void AddToParent(const std::u16string& path, uint32_t flags) {
  auto parent = theFolders.byPath.find(Parent(path));
  if (parent == theFolders.byPath.end()) return;
  for (const Entry& entry : parent->second.entries) {
    if (entry.name == Name(path)) return;
  }
  parent->second.entries.push_back(Entry{Name(path), flags, 0});
}

// The folder a path reaches through links, as the platform would follow them.
std::u16string Resolve(std::u16string path) {
  for (int hops = 0; hops < 1000; ++hops) {
    bool changed = false;
    for (const auto& [link, target] : theFolders.links) {
      if (path == link || (path.size() > link.size() && path.compare(0, link.size(), link) == 0 &&
                           path[link.size()] == theFolders.separator)) {
        path = target + path.substr(link.size());
        changed = true;
        break;
      }
    }
    if (!changed) break;
  }
  return path;
}

}  // namespace

Folders& ResetFolders(char16_t separator) {
  theFolders = Folders{};
  theFolders.separator = separator;
  return theFolders;
}

Folders& TheFolders() {
  return theFolders;
}

void AddFolder(const std::u16string& path, const std::vector<std::u16string>& files) {
  Folder& folder = theFolders.byPath[path];
  folder.id = nextId++;
  for (const std::u16string& name : files) folder.entries.push_back(Entry{name, 0, 100});
  AddToParent(path, sys::kEntryFolder);
}

void AddLink(const std::u16string& path, const std::u16string& target) {
  theFolders.links[path] = target;
  AddToParent(path, sys::kEntryFolder | sys::kEntryLink);
}

}  // namespace fake

namespace sys {

using fake::theFolders;

ListResult ListFolder(const char16_t* path, FolderListing* listing) {
  theFolders.listed.push_back(path);
  auto found = theFolders.byPath.find(fake::Resolve(path));
  if (found == theFolders.byPath.end()) return ListResult::kMissing;
  const fake::Folder& folder = found->second;
  if (folder.result != ListResult::kDone) return folder.result;
  size_t bytes = folder.entries.size() * sizeof(FolderEntry);
  for (const fake::Entry& entry : folder.entries) bytes += (entry.name.size() + 1) * 2;
  auto* block = static_cast<uint8_t*>(std::malloc(bytes + 1));
  auto* entries = reinterpret_cast<FolderEntry*>(block);
  auto* names = reinterpret_cast<char16_t*>(block + folder.entries.size() * sizeof(FolderEntry));
  for (size_t i = 0; i < folder.entries.size(); ++i) {
    const fake::Entry& entry = folder.entries[i];
    std::memcpy(names, entry.name.c_str(), (entry.name.size() + 1) * 2);
    const uint32_t attributes = (entry.flags & kEntryFolder ? kAttributeFolder : 0) |
                                (entry.flags & kEntryLink ? kAttributeReparsePoint : 0);
    entries[i] = FolderEntry{names, entry.flags, attributes, 0, entry.size, 1000 + i};
    names += entry.name.size() + 1;
  }
  *listing = FolderListing{entries, static_cast<uint32_t>(folder.entries.size()),
                           FolderIdentity{7, folder.id}, block};
  ++theFolders.liveListings;
  return ListResult::kDone;
}

void ReleaseFolderListing(FolderListing* listing) {
  if (listing->block != nullptr) --theFolders.liveListings;
  std::free(listing->block);
  *listing = FolderListing{};
}

void ReadEntryFacts(const char16_t* path, FolderListing* listing) {
  constexpr uint32_t kMarks = kEntryFactsLater | kEntryFactsWanted;
  for (uint32_t i = 0; i < listing->count; ++i) {
    FolderEntry& entry = listing->entries[i];
    if ((entry.flags & kMarks) != kMarks) continue;
    const std::u16string full = std::u16string(path) + theFolders.separator + entry.name;
    FolderEntry facts;
    if (LookAtPath(full.c_str(), &facts)) {
      facts.name = entry.name;
      facts.flags |= entry.flags & kEntryMarked;
      entry = facts;
    } else {
      entry.flags = (entry.flags & ~kMarks) | kEntryGone;
    }
  }
}

bool LookAtPath(const char16_t* path, FolderEntry* facts) {
  theFolders.looked.push_back(path);
  const std::u16string full = fake::Resolve(path);
  if (theFolders.byPath.count(full) != 0) {
    *facts = FolderEntry{nullptr, kEntryFolder, kAttributeFolder, 0, 0, 1};
    return true;
  }
  auto parent = theFolders.byPath.find(fake::Parent(full));
  if (parent == theFolders.byPath.end()) return false;
  for (const fake::Entry& entry : parent->second.entries) {
    if (entry.name == fake::Name(full)) {
      *facts = FolderEntry{nullptr, entry.flags & ~kEntryFactsLater, 0, 0, entry.size, 2};
      return true;
    }
  }
  return false;
}

bool EscapeWaiting(Handle) {
  if (theFolders.escapesWaiting == 0) return false;
  --theFolders.escapesWaiting;
  return true;
}

uint64_t Milliseconds() {
  theFolders.clock += theFolders.clockStep;
  return theFolders.clock;
}

}  // namespace sys

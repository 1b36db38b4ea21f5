// libFuzzer target for the reading of a folder's description file: any bytes
// as the file, read for each character type by its host's rules against a
// panel whose names (and short names) come partly from the input, so that
// lines do match. Checks that every description is one line, trimmed as its
// host trims it, and that nothing outlives the reading.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "descriptions/folder_descriptions.h"
#include "tests/doubles/fake_system.h"

namespace {

const std::u16string kFolder = u"C:\\Fuzz";

// One line, not empty, beginning with no blank; ending with none either,
// unless the host reads on past a NUL (the line's end was trimmed, not the
// description's).
template <class Char>
void Check(const Char* text, const descriptions::HostRules& rules) {
  if (text == nullptr) return;
  size_t n = 0;
  while (text[n] != Char(0)) {
    if (text[n] == Char('\r') || text[n] == Char('\n')) abort();
    ++n;
  }
  if (n == 0 || text[0] == Char(' ') || text[0] == Char('\t')) abort();
  if (rules.nulEndsLine && (text[n - 1] == Char(' ') || text[n - 1] == Char('\t'))) abort();
}

template <class Char>
void ReadAs(const descriptions::HostRules& rules, const uint8_t* data, size_t size) {
  // Names: a few fixed ones, and the first word of each of the first lines.
  std::vector<std::basic_string<Char>> names = {{Char('a')}, {Char('A'), Char('.'), Char('t')}};
  std::basic_string<Char> word;
  for (size_t i = 0; i < size && names.size() < 64; ++i) {
    const uint8_t byte = data[i];
    if (byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r' || byte == '"') {
      if (!word.empty()) names.push_back(word);
      word.clear();
    } else {
      word += static_cast<Char>(byte);
    }
  }
  std::vector<const Char*> pointers;
  for (const auto& name : names) pointers.push_back(name.c_str());
  pointers.push_back(nullptr);
  const std::basic_string<Char> folder(kFolder.begin(), kFolder.end());
  // Sizes 0, 1, 2, ...: lines written "name 1 text" drop their size.
  std::vector<uint64_t> sizes(pointers.size());
  for (size_t i = 0; i < sizes.size(); ++i) sizes[i] = i;
  const ItemSizes itemSizes{sizes.data(), sizeof(uint64_t), false};
  descriptions::FolderDescriptions<Char> read;
  const ItemStrings<Char> strings{pointers.data(), sizeof(const Char*), true,
                                  static_cast<uint32_t>(pointers.size())};
  // Either code page, and the short names the reversed long ones.
  std::vector<std::basic_string<Char>> shortNames;
  for (const auto& name : names) shortNames.emplace_back(name.rbegin(), name.rend());
  std::vector<const Char*> shortPointers;
  for (const auto& name : shortNames) shortPointers.push_back(name.c_str());
  shortPointers.push_back(nullptr);
  const descriptions::FolderItems<Char> items{
      folder.c_str(),
      strings,
      {shortPointers.data(), sizeof(const Char*), true, strings.count},
      &itemSizes};
  const descriptions::HostSettings<Char> settings{nullptr, size % 2 == 1};
  if (descriptions::ReadFolderDescriptions<Char>(rules, settings, items, &read)) {
    bool any = false;
    for (uint32_t i = 0; i < read.strings.count; ++i) {
      Check(read.strings.At(i), rules);
      any = any || read.strings.At(i) != nullptr;
    }
    if (!any || read.strings.At(pointers.size() - 1) != nullptr) abort();
    descriptions::ReleaseFolderDescriptions(&read);
  }
  if (fake::TheSystem().liveBlocks != 0) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fake::ResetSystem();
  fake::AddFile(kFolder, u"Descript.ion", std::vector<uint8_t>(data, data + size));
  ReadAs<char>(descriptions::kCurrentGenerationRules, data, size);
  ReadAs<char16_t>(descriptions::kCurrentGenerationRules, data, size);
  ReadAs<wchar_t>(descriptions::kFar2lRules, data, size);
  return 0;
}

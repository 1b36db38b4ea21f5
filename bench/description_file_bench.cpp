// What reading a folder's description file costs before the search box
// appears: the file's bytes taken from the stand-in file system (an OS read
// of a cached file adds about a millisecond per 5 MB), decoded, split into
// lines, matched with every item by name and laid out, for each character
// type and encoding.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "descriptions/folder_descriptions.h"
#include "tests/doubles/fake_system.h"

namespace {

const std::u16string kFolder = u"C:\\Big";

std::string ItemName(int i) {
  return "File " + std::to_string(i) + " of the archive.txt";
}

// One line per item, names quoted (they hold blanks), in the order a host
// writes them; the items are asked for in the panel's own (other) order.
std::vector<uint8_t> DescriptionFile(int items, bool utf8Mark) {
  std::string text = utf8Mark ? "\xef\xbb\xbf" : "";
  for (int i = 0; i < items; ++i)
    text +=
        "\"" + ItemName(i) + "\" Scanned letter number " + std::to_string(i) + " from the bank\r\n";
  return std::vector<uint8_t>(text.begin(), text.end());
}

template <class Char>
void ReadDescriptions(
    benchmark::State& state, bool utf8Mark,
    const descriptions::HostRules& rules = descriptions::kCurrentGenerationRules) {
  const int items = static_cast<int>(state.range(0));
  fake::ResetSystem();
  const auto bytes = DescriptionFile(items, utf8Mark);
  fake::AddFile(kFolder, u"Descript.ion", bytes);
  std::vector<std::basic_string<Char>> names;
  for (int i = items - 1; i >= 0; --i) {
    const std::string name = ItemName(i);
    names.emplace_back(name.begin(), name.end());
  }
  std::vector<const Char*> pointers;
  for (const auto& name : names) pointers.push_back(name.c_str());
  const std::basic_string<Char> folder(kFolder.begin(), kFolder.end());
  const ItemStrings<Char> strings{pointers.data(), sizeof(const Char*), true,
                                  static_cast<uint32_t>(items)};
  const descriptions::FolderItems<Char> panel{folder.c_str(), strings, {}, nullptr};
  for (auto _ : state) {
    descriptions::FolderDescriptions<Char> read;
    if (!descriptions::ReadFolderDescriptions<Char>(rules, {nullptr, false}, panel, &read))
      state.SkipWithError("nothing read");
    benchmark::DoNotOptimize(read.strings.At(0));
    descriptions::ReleaseFolderDescriptions(&read);
  }
  state.counters["file_MiB"] = static_cast<double>(bytes.size()) / (1 << 20);
}

void BM_Oem_char(benchmark::State& state) {
  ReadDescriptions<char>(state, false);
}
void BM_Utf8_char(benchmark::State& state) {
  ReadDescriptions<char>(state, true);
}
void BM_Oem_char16(benchmark::State& state) {
  ReadDescriptions<char16_t>(state, false);
}
void BM_Utf8_char16(benchmark::State& state) {
  ReadDescriptions<char16_t>(state, true);
}
void BM_Oem_wchar(benchmark::State& state) {
  ReadDescriptions<wchar_t>(state, false, descriptions::kFar2lRules);
}
void BM_Utf8_wchar(benchmark::State& state) {
  ReadDescriptions<wchar_t>(state, true, descriptions::kFar2lRules);
}

#define SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Oem_char) SIZES;
BENCHMARK(BM_Utf8_char) SIZES;
BENCHMARK(BM_Oem_char16) SIZES;
BENCHMARK(BM_Utf8_char16) SIZES;
BENCHMARK(BM_Oem_wchar) SIZES;
BENCHMARK(BM_Utf8_wchar) SIZES;

}  // namespace

BENCHMARK_MAIN();

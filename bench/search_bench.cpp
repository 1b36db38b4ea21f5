// What one keystroke of the speed search costs on large panels: the whole
// circular scan over the 1.x host's own item array, with the host's mask
// matcher, and with a host whose every call costs what a call through the
// current host's compatibility layer costs (both strings converted).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "far1/far1_gateway.h"
#include "far1/far1_host.h"
#include "filemask/file_mask.h"
#include "speedsearch/find_by_description.h"
#include "tests/doubles/test_gateway.h"

namespace {

// ---- A light host ------------------------------------------------------------
// Nothing is recorded, so that the timings are the plug-in's and the
// matcher's, not a test double's bookkeeping.

int HOSTCALL IgnoreControl(HostHandle, int, void*) {
  return 1;
}

int HOSTCALL RealMatcher(const char* mask, const char* str, int skipPath) {
  return skipPath == 0 && MatchFileMask(mask, str) ? 1 : 0;
}

// Converting both strings to UTF-16 before comparing, as a compatibility
// layer does on every call.
int HOSTCALL ConvertingMatcher(const char* mask, const char* str, int skipPath) {
  char16_t wideMask[64], wideStr[512];
  size_t m = 0, s = 0;
  for (; mask[m] != '\0' && m < 63; ++m) wideMask[m] = static_cast<unsigned char>(mask[m]);
  for (; str[s] != '\0' && s < 511; ++s) wideStr[s] = static_cast<unsigned char>(str[s]);
  wideMask[m] = wideStr[s] = 0;
  benchmark::DoNotOptimize(wideStr);
  return skipPath == 0 && MatchFileMask(wideMask, wideStr) ? 1 : 0;
}

void InstallHost(FarCmpNameFn cmpName) {
  PluginStartupInfo info{};
  info.StructSize = sizeof info;
  info.Control = IgnoreControl;
  info.CmpName = cmpName;
  SetStartupInfo(&info);
}

// ---- Panels ------------------------------------------------------------------

// Descriptions of the kind a photo folder carries: a shared first word, and
// one last item that alone begins otherwise.
constexpr char kLastItemText[] = "Tax";

struct Panel {
  std::vector<std::string> descriptions;
  std::vector<PluginPanelItem> items;
  PanelInfo info{};
};

Panel& PanelOf(int count) {
  static std::vector<std::unique_ptr<Panel>> panels;
  for (auto& p : panels) {
    if (p->info.ItemsNumber == count) return *p;
  }
  auto p = std::make_unique<Panel>();
  p->descriptions.resize(count);
  p->items.assign(count, PluginPanelItem{});
  char buffer[64];
  for (int i = 0; i < count; ++i) {
    std::snprintf(buffer, sizeof buffer, "Holiday photo %07d, beach and old town", i);
    p->descriptions[i] = i + 1 < count ? buffer : "Tax return 2024";
    p->items[i].Description = p->descriptions[i].data();
  }
  p->info.PanelType = PTYPE_FILEPANEL;
  p->info.PanelRect = HostRect{0, 1, 79, 40};
  p->info.PanelItems = p->items.data();
  p->info.ItemsNumber = count;
  panels.push_back(std::move(p));
  return *panels.back();
}

// ---- Benchmarks ----------------------------------------------------------------

// One keystroke from the first item, within one speed search: the matcher
// keeps what the host told it on earlier keystrokes, so the search visits
// every item without asking the host again.
void KeystrokeSearch(benchmark::State& state, FarCmpNameFn cmpName, const char* typed) {
  InstallHost(cmpName);
  Panel& panel = PanelOf(static_cast<int>(state.range(0)));
  auto matcher = std::make_unique<PrefixMatcher<char>>();
  ResetMatcher(matcher.get());
  BasicSearchText<char> text;
  ClearSearchText(&text);
  for (const char* c = typed; *c != '\0'; ++c) AppendCharacter(&text, uint8_t(*c));
  for (auto _ : state) {
    panel.info.CurrentItem = 0;
    PanelView<char> view = Far1::ViewOf(panel.info);
    const SearchSession<Far1> session{&text, &view, &panel.info, matcher.get()};
    benchmark::DoNotOptimize(FindByDescription(session, 0));
  }
  const double items = static_cast<double>(state.range(0));
  state.counters["per_item"] = benchmark::Counter(
      items, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The same keystroke with every item asked about, as before the matcher
// kept the host's verdicts: a text with a wildcard goes to the host whole.
void AskingTheHostPerItem(benchmark::State& state, FarCmpNameFn cmpName) {
  KeystrokeSearch(state, cmpName, "T?x");
}

void FindsTheLastItem(benchmark::State& state) {
  KeystrokeSearch(state, RealMatcher, kLastItemText);
}
void FindsTheLastItemThroughAConvertingHost(benchmark::State& state) {
  KeystrokeSearch(state, ConvertingMatcher, kLastItemText);
}
void PerItemThroughAConvertingHost(benchmark::State& state) {
  AskingTheHostPerItem(state, ConvertingMatcher);
}
void FindsNothing(benchmark::State& state) {
  KeystrokeSearch(state, RealMatcher, "Harbour");
}

// ---- The current generation's snapshot ---------------------------------------
// Descriptions copied once into one block of UTF-16 with a pointer per item,
// matched through the host's matcher for Unicode text.

// The test gateway with nothing recorded on the keystroke's path.
struct UnicodeHost : test::TestGateway<char16_t> {
  static bool CmpName(const char16_t* mask, const char16_t* str) {
    return MatchFileMask(mask, str);
  }
  static void MoveCursor(PanelSnapshot*, int, int) {}
};
static_assert(Gateway<UnicodeHost>);

void SnapshotKeystroke(benchmark::State& state) {
  const uint32_t count = static_cast<uint32_t>(state.range(0));
  std::vector<std::u16string> texts(count);
  std::vector<const char16_t*> pointers(count);
  for (uint32_t i = 0; i < count; ++i) {
    const std::string& narrow = PanelOf(static_cast<int>(count)).descriptions[i];
    texts[i].assign(narrow.begin(), narrow.end());
    pointers[i] = texts[i].c_str();
  }
  auto matcher = std::make_unique<PrefixMatcher<char16_t>>();
  ResetMatcher(matcher.get());
  BasicSearchText<char16_t> text;
  ClearSearchText(&text);
  AppendCharacter(&text, u'T');
  UnicodeHost::PanelSnapshot snapshot;
  for (auto _ : state) {
    PanelView<char16_t> view{};
    view.count = count;
    view.rect = {0, 1, 79, 40};
    view.descriptions = {pointers.data(), sizeof(const char16_t*), true, count};
    const SearchSession<UnicodeHost> session{&text, &view, &snapshot, matcher.get()};
    benchmark::DoNotOptimize(FindByDescription(session, 0));
  }
  state.counters["per_item"] = benchmark::Counter(
      count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void PanelSizes(benchmark::internal::Benchmark* b) {
  b->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(FindsTheLastItem)->Apply(PanelSizes);
BENCHMARK(FindsNothing)->Apply(PanelSizes);
BENCHMARK(FindsTheLastItemThroughAConvertingHost)->Apply(PanelSizes);
BENCHMARK(PerItemThroughAConvertingHost)->Apply(PanelSizes);
BENCHMARK(SnapshotKeystroke)->Apply(PanelSizes);

}  // namespace

BENCHMARK_MAIN();

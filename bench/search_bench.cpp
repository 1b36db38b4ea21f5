// What one keystroke of the speed search costs on large panels: the whole
// circular scan of FindByDescription, with the host's real mask matcher and
// with a matcher that rejects at once (the plug-in's own loop alone).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "filemask/file_mask.h"
#include "host/host_services.h"
#include "plugin/far1_commands.h"

namespace {

// ---- A light host ------------------------------------------------------------
// Nothing is recorded, so that the timings are the plug-in's and the
// matcher's, not a test double's bookkeeping.

int redraws = 0;

int HOSTCALL CountRedraws(HostHandle, int command, void*) {
  redraws += command == FCTL_REDRAWPANEL;
  return 1;
}

int HOSTCALL RealMatcher(const char* mask, const char* str, int skipPath) {
  return skipPath == 0 && MatchFileMask(mask, str) ? 1 : 0;
}

int HOSTCALL RejectAtOnce(const char*, const char*, int) {
  return 0;
}

void InstallHost(FarCmpNameFn cmpName) {
  PluginStartupInfo info{};
  info.StructSize = sizeof info;
  info.Control = CountRedraws;
  info.CmpName = cmpName;
  SetStartupInfo(&info);
}

// ---- Panels ------------------------------------------------------------------

// Descriptions of the kind a photo or document folder carries: a shared
// first word, so that the real matcher reads several characters of each
// before it rejects, and a number that only the last item starts with.
constexpr char kLastItemText[] = "Holiday 9";

struct Panel {
  std::vector<std::string> descriptions;
  std::vector<PluginPanelItem> items;
  PanelInfo info{};
};

Panel& PanelOf(int count) {
  static std::vector<Panel*> panels;
  for (Panel* p : panels) {
    if (p->info.ItemsNumber == count) return *p;
  }
  Panel* p = new Panel;
  p->descriptions.resize(count);
  p->items.assign(count, PluginPanelItem{});
  char buffer[64];
  for (int i = 0; i < count; ++i) {
    // Every item but the last numbers from 1 so that none starts with a 9.
    int number = i + 1 < count ? 1000000 + i : 9000000;
    std::snprintf(buffer, sizeof buffer, "Holiday %07d, beach and old town", number);
    p->descriptions[i] = buffer;
    p->items[i].Description = p->descriptions[i].data();
  }
  p->info.PanelType = PTYPE_FILEPANEL;
  p->info.PanelRect = HostRect{0, 1, 79, 40};
  p->info.PanelItems = p->items.data();
  p->info.ItemsNumber = count;
  panels.push_back(p);
  return *p;
}

// ---- Benchmarks ----------------------------------------------------------------

// One keystroke from the first item: the search visits every item, finding
// either the last one or nothing at all.
void KeystrokeSearch(benchmark::State& state, FarCmpNameFn cmpName, const char* text) {
  InstallHost(cmpName);
  Panel& panel = PanelOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    panel.info.CurrentItem = 0;
    benchmark::DoNotOptimize(FindByDescription(text, 0, &panel.info));
  }
  const double items = static_cast<double>(state.range(0));
  state.counters["items"] = items;
  state.counters["per_item"] = benchmark::Counter(
      items, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void RealMatcherFindsTheLastItem(benchmark::State& state) {
  KeystrokeSearch(state, RealMatcher, kLastItemText);
}
void RealMatcherFindsNothing(benchmark::State& state) {
  KeystrokeSearch(state, RealMatcher, "Harbour");
}
void OwnLoopOnly(benchmark::State& state) {
  KeystrokeSearch(state, RejectAtOnce, "H");
}

void PanelSizes(benchmark::internal::Benchmark* b) {
  b->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(RealMatcherFindsTheLastItem)->Apply(PanelSizes);
BENCHMARK(RealMatcherFindsNothing)->Apply(PanelSizes);
BENCHMARK(OwnLoopOnly)->Apply(PanelSizes);

}  // namespace

BENCHMARK_MAIN();

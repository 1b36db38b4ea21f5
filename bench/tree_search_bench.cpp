// What finding by description in a whole folder tree costs, on the real file
// system through far2l's platform layer: trees of described files (every
// tenth described as a cake) searched twice, the second time with a warm
// cache, for a tenth of the files and for all of them; time, matches, the
// heap the matches take per match, and the process's peak memory.
//
//   tree_search_bench [ROOT]    (default /dev/shm/veltrane-tree-bench; the
//                                trees are made once and kept there)
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "filemask/file_mask.h"
#include "findtree/tree_search.h"

namespace {

struct Gateway {
  using Char = wchar_t;
  static constexpr wchar_t kPathSeparator = L'/';
  static constexpr descriptions::HostRules kDescriptionRules = descriptions::kFar2lRules;
  static descriptions::HostSettings<wchar_t> ReadDescriptionSettings() { return {nullptr, false}; }
  static bool CmpName(const wchar_t* mask, const wchar_t* str) { return MatchFileMask(mask, str); }
  static void ShowSearchProgress(const findtree::SearchCounts&, const wchar_t*) {}
  static bool SearchStopAsked() { return false; }
};

bool Exists(const std::string& path) {
  struct stat facts;
  return stat(path.c_str(), &facts) == 0;
}

// folders folders of files files each, all described, made once.
std::string MakeTree(const std::string& root, int folders, int files) {
  const std::string tree = root + "/" + std::to_string(folders) + "x" + std::to_string(files);
  if (Exists(tree + "/done")) return tree;
  mkdir(root.c_str(), 0755);
  mkdir(tree.c_str(), 0755);
  for (int f = 0; f < folders; ++f) {
    const std::string folder = tree + "/folder" + std::to_string(f);
    mkdir(folder.c_str(), 0755);
    std::string lines;
    for (int i = 0; i < files; ++i) {
      const std::string name = "photo" + std::to_string(i) + ".jpg";
      if (FILE* file = std::fopen((folder + "/" + name).c_str(), "w")) std::fclose(file);
      lines += name + (i % 10 == 0 ? " lemon cake, photo " : " holiday photo ") +
               std::to_string(i) + "\r\n";
    }
    if (FILE* file = std::fopen((folder + "/descript.ion").c_str(), "w")) {
      std::fwrite(lines.data(), 1, lines.size(), file);
      std::fclose(file);
    }
  }
  if (FILE* done = std::fopen((tree + "/done").c_str(), "w")) std::fclose(done);
  return tree;
}

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void Measure(const std::string& tree, int folders, int files, const wchar_t* mask) {
  std::wstring root(tree.begin(), tree.end());
  double seconds = 0;
  findtree::SearchCounts counts{};
  uint64_t heap = 0;
  for (int run = 0; run < 2; ++run) {  // the second with a warm cache
    findtree::MatchList<wchar_t> matches{};
    const auto start = std::chrono::steady_clock::now();
    counts = findtree::SearchTree<Gateway>(root.c_str(), mask, true, &matches);
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    heap = matches.heapBytes;
    findtree::ReleaseMatches(&matches);
  }
  std::printf("| %d x %d | `%ls` | %.3f s | %llu | %.1f | %ld MiB |\n", folders, files, mask,
              seconds, static_cast<unsigned long long>(counts.found),
              counts.found ? static_cast<double>(heap) / static_cast<double>(counts.found) : 0.0,
              PeakKilobytes() / 1024);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string root = argc > 1 ? argv[1] : "/dev/shm/veltrane-tree-bench";
  std::printf(
      "| Folders x files | Mask | Warm search | Found | Heap bytes per match | Peak RSS |\n");
  std::printf("|---|---|---:|---:|---:|---:|\n");
  const int shapes[][2] = {{1000, 100}, {10000, 100}};
  for (const auto& shape : shapes) {
    const std::string tree = MakeTree(root, shape[0], shape[1]);
    Measure(tree, shape[0], shape[1], L"*cake*");
    Measure(tree, shape[0], shape[1], L"*");
  }
  return 0;
}

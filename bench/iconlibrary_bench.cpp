// The module census and loading icon libraries over a folder of real DLLs (wine64's, or the
// folder named by VARNEL_DLL_DIR), and writing both library kinds.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "base/fileio.h"
#include "resources/iclwriter32.h"
#include "resources/iconlibrary.h"
#include "resources/imagescan.h"
#include "resources/modulecensus.h"
#include "resources/ne16bitwriter.h"

using namespace varnel;

namespace {

std::vector<std::string> Dlls() {
  const char* folder = std::getenv("VARNEL_DLL_DIR");
  std::string path = folder ? folder : "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows";
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(path, error))
    if (entry.is_regular_file() && entry.path().extension() == ".dll")
      files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

int64_t TotalSize(const std::vector<std::string>& files) {
  int64_t total = 0;
  for (const std::string& file : files) total += std::max<int64_t>(FileSizeOf(file), 0);
  return total;
}

void BM_CountModuleIcons(benchmark::State& state) {
  std::vector<std::string> dlls = Dlls();
  if (dlls.empty()) return state.SkipWithError("no DLLs (install wine64)");
  int64_t groups = 0;
  for (auto _ : state) {
    groups = 0;
    for (const std::string& dll : dlls) {
      bool is64Bit = false;
      groups += std::max(CountModuleIcons(dll, is64Bit), 0);
    }
    benchmark::DoNotOptimize(groups);
  }
  state.counters["files"] = double(dlls.size());
  state.counters["groups"] = double(groups);
  state.SetBytesProcessed(int64_t(state.iterations()) * TotalSize(dlls));
}
BENCHMARK(BM_CountModuleIcons)->Unit(benchmark::kMillisecond);

// LoadFromFile as a folder search uses it: only modules the census finds icons in are read.
void BM_LoadFromFile(benchmark::State& state) {
  std::vector<std::string> dlls = Dlls();
  if (dlls.empty()) return state.SkipWithError("no DLLs (install wine64)");
  int64_t icons = 0;
  for (auto _ : state) {
    icons = 0;
    for (const std::string& dll : dlls) {
      TIconLibrary library;
      library.LoadFromFile(dll);
      icons += library.Count();
    }
    benchmark::DoNotOptimize(icons);
  }
  state.counters["files"] = double(dlls.size());
  state.counters["icons"] = double(icons);
  state.SetBytesProcessed(int64_t(state.iterations()) * TotalSize(dlls));
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond);

// The raw scan over the bytes of the first 40 DLLs without icon groups.
void BM_ScanForImages(benchmark::State& state) {
  std::vector<std::string> plain;
  for (const std::string& dll : Dlls()) {
    bool is64Bit = false;
    if (plain.size() < 40 && CountModuleIcons(dll, is64Bit) <= 0) plain.push_back(dll);
  }
  if (plain.empty()) return state.SkipWithError("no DLLs (install wine64)");
  int64_t icons = 0;
  for (auto _ : state) {
    TIconList found;
    for (const std::string& dll : plain) ScanForImages(dll, found);
    icons = found.Count();
    benchmark::DoNotOptimize(icons);
  }
  state.counters["files"] = double(plain.size());
  state.counters["icons"] = double(icons);
  state.SetBytesProcessed(int64_t(state.iterations()) * TotalSize(plain));
}
BENCHMARK(BM_ScanForImages)->Unit(benchmark::kMillisecond);

// Every icon of the DLLs, for the writers.
const TIconLibrary& AllIcons() {
  static TIconLibrary library = [] {
    TIconLibrary all;
    for (const std::string& dll : Dlls()) all.AppendFromFile(dll);
    for (int i = 0; i < all.Count(); ++i) all.Icons.SetName(i, std::to_string(i));
    return all;
  }();
  return library;
}

void BM_Write32BitIcl(benchmark::State& state) {
  const TIconLibrary& library = AllIcons();
  if (library.Count() == 0) return state.SkipWithError("no icons");
  size_t size = 0;
  for (auto _ : state) size = BuildIcl32Image(library.Icons).size();
  state.counters["icons"] = double(library.Count());
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}
BENCHMARK(BM_Write32BitIcl)->Unit(benchmark::kMillisecond);

void BM_Write16BitIcl(benchmark::State& state) {
  const TIconLibrary& library = AllIcons();
  if (library.Count() == 0) return state.SkipWithError("no icons");
  size_t size = 0;
  for (auto _ : state) size = T16BitWriter(library.Icons).BuildImage().size();
  state.counters["icons"] = double(library.Count());
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}
BENCHMARK(BM_Write16BitIcl)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

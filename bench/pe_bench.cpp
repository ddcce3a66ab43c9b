// Decoding the resources of a folder of real modules and assembling all their icons.
// The folder is $VARNEL_BENCH_MODULES, else the 64-bit DLLs of wine64.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/stream.h"
#include "resources/containericons.h"
#include "resources/pefile.h"

namespace {

using namespace varnel;

const std::vector<std::string>& Modules() {
  static const std::vector<std::string> modules = [] {
    const char* folder = std::getenv("VARNEL_BENCH_MODULES");
    std::string path = folder ? folder : "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows";
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path, error))
      if (entry.is_regular_file()) files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
  }();
  return modules;
}

void DecodeResources(benchmark::State& state) {
  if (Modules().empty()) state.SkipWithError("no modules to read");
  for (auto _ : state) {
    int64_t records = 0;
    for (const std::string& path : Modules()) {
      TPEResourceModule module;
      module.LoadFromFile(path);
      records += module.ResourceCount();
    }
    benchmark::DoNotOptimize(records);
    state.counters["records"] = double(records);
  }
  state.counters["modules"] = double(Modules().size());
}
BENCHMARK(DecodeResources)->Unit(benchmark::kMillisecond);

void AssembleAllIcons(benchmark::State& state) {
  if (Modules().empty()) state.SkipWithError("no modules to read");
  for (auto _ : state) {
    int64_t icons = 0, images = 0;
    for (const std::string& path : Modules()) {
      TIconList list;
      try {
        ReadContainerIcons(path, list);
      } catch (const std::exception&) {
      }
      icons += list.Count();
      for (int i = 0; i < list.Count(); ++i) images += list.Icons(i)->Images().Count();
    }
    state.counters["icons"] = double(icons);
    state.counters["images"] = double(images);
  }
}
BENCHMARK(AssembleAllIcons)->Unit(benchmark::kMillisecond);

void RewriteLargestModule(benchmark::State& state) {
  if (Modules().empty()) state.SkipWithError("no modules to read");
  std::string largest;
  std::uintmax_t largestSize = 0;
  for (const std::string& path : Modules()) {
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(path, error);
    TPEResourceModule module;
    module.LoadFromFile(path);
    if (!error && size > largestSize && module.ResourceSection())
      largest = path, largestSize = size;
  }
  for (auto _ : state) {
    TPEResourceModule module;
    module.DecodeFile(largest);
    MemoryStream out;
    module.SaveToStream(out);
    benchmark::DoNotOptimize(out.Size());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(largestSize));
  state.SetLabel(std::filesystem::path(largest).filename().string());
}
BENCHMARK(RewriteLargestModule)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

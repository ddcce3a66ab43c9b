// Reading and writing multi-image icons, and packing and unpacking PNG images.

#include <benchmark/benchmark.h>

#include "base/fileio.h"
#include "icons/advancedicon.h"

using namespace varnel;

namespace {

std::vector<uint8_t> SampleIcon() {
  return ReadWholeFile(std::string(VARNEL_CORPUS) + "/ico/bug785447.ico");
}

void BM_ReadIco(benchmark::State& state) {
  std::vector<uint8_t> bytes = SampleIcon();
  for (auto _ : state) {
    TAdvancedIcon icon;
    icon.LoadFromBytes(bytes);
    benchmark::DoNotOptimize(icon.Images().Count());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_ReadIco);

void BM_WriteIco(benchmark::State& state) {
  TAdvancedIcon icon;
  icon.LoadFromBytes(SampleIcon());
  for (auto _ : state) {
    MemoryStream stream;
    icon.SaveToStream(stream);
    benchmark::DoNotOptimize(stream.Size());
  }
}
BENCHMARK(BM_WriteIco);

// The 128-pixel 32-bit image of the sample, packed as PNG and unpacked again.
const TSubIcon& LargeImage(const TAdvancedIcon& icon) {
  for (const auto& image : icon.Images())
    if (image->ImageWidth() == 128) return *image;
  return *icon.Images()[0];
}

void BM_PackPng(benchmark::State& state) {
  TAdvancedIcon icon;
  icon.LoadFromBytes(SampleIcon());
  const TSubIcon& image = LargeImage(icon);
  for (auto _ : state) {
    TSubIcon packed;
    image.PackPng(packed);
    benchmark::DoNotOptimize(packed.DataSize());
  }
}
BENCHMARK(BM_PackPng);

void BM_UnpackPng(benchmark::State& state) {
  TAdvancedIcon icon;
  icon.LoadFromBytes(SampleIcon());
  TSubIcon packed;
  LargeImage(icon).PackPng(packed);
  for (auto _ : state) {
    TSubIcon unpacked;
    packed.UnpackPng(unpacked);
    benchmark::DoNotOptimize(unpacked.DataSize());
  }
}
BENCHMARK(BM_UnpackPng);

}  // namespace

BENCHMARK_MAIN();

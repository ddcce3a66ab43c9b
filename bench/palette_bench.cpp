// Palette reduction and box quantisation of a 256 x 256 picture: a smooth photo-like gradient
// (the reduced-set path) and noise (the histogram path).
#include <benchmark/benchmark.h>

#include <random>

#include "graphics/boxquantizer.h"
#include "graphics/palettereduction.h"

namespace varnel {
namespace {

TBitmap Picture(bool noise) {
  TBitmap bitmap(256, 256, PixelFormat::Bits32);
  std::mt19937 random(3);
  for (int y = 0; y < 256; ++y) {
    auto* row = reinterpret_cast<RGBQuad*>(bitmap.ScanLine(y));
    for (int x = 0; x < 256; ++x) {
      uint32_t value = noise ? random() : uint32_t(x | (y << 8) | ((x + y) / 2 << 16));
      row[x] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), 255};
    }
  }
  return bitmap;
}

void BM_ReducePalette(benchmark::State& state) {
  TBitmap picture = Picture(state.range(0) != 0);
  for (auto _ : state) benchmark::DoNotOptimize(ReducePalette(picture, 256, 80));
}
BENCHMARK(BM_ReducePalette)->ArgName("noise")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_QuantizeAndMap(benchmark::State& state) {
  TBitmap picture = Picture(state.range(0) != 0);
  for (auto _ : state)
    benchmark::DoNotOptimize(MapToPalette(picture, QuantizeColors(picture, 254)));
}
BENCHMARK(BM_QuantizeAndMap)->ArgName("noise")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varnel

BENCHMARK_MAIN();

// Bringing a large picture to an icon size: the "Add Image" answer for a 1024-pixel picture.

#include <benchmark/benchmark.h>

#include "graphics/resamplefilters.h"
#include "icons/picturesizing.h"

using namespace varnel;

namespace {

// A 1024 x 1024 picture with gradients in colour and alpha, so that every filter tap counts.
const TBitmap& LargePicture() {
  static TBitmap picture = [] {
    TBitmap bitmap(1024, 1024, PixelFormat::Bits32);
    for (int y = 0; y < 1024; ++y) {
      uint8_t* row = bitmap.ScanLine(y);
      for (int x = 0; x < 1024; ++x) {
        row[4 * x] = uint8_t(x / 4), row[4 * x + 1] = uint8_t(y / 4);
        row[4 * x + 2] = uint8_t((x + y) / 8), row[4 * x + 3] = uint8_t(255 - (x ^ y) / 8);
      }
    }
    return bitmap;
  }();
  return picture;
}

// Argument: the picture's format (32 or 24 bits).
void BM_AddBitmapSized1024To256Lanczos(benchmark::State& state) {
  TBitmap picture =
      state.range(0) == 32 ? LargePicture() : ConvertFormat(LargePicture(), PixelFormat::Bits24);
  state.SetLabel(std::to_string(state.range(0)) + " bits");
  for (auto _ : state) {
    TSubIconList images;
    AddBitmapSized(images, picture, nullptr, rfLanczos3, 80, true, 256, 256);
    benchmark::DoNotOptimize(images[0]);
  }
}
BENCHMARK(BM_AddBitmapSized1024To256Lanczos)->Arg(32)->Arg(24)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

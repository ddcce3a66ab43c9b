// Resampling and fitted drawing: the grid scales every large image it shows.

#include <benchmark/benchmark.h>

#include "base/fileio.h"
#include "graphics/resample.h"
#include "graphics/resamplefilters.h"
#include "icons/advancedicon.h"
#include "icons/icondrawing.h"

using namespace varnel;

namespace {

// The 256 x 256 PNG image of a real icon.
const TSubIcon& LargePngImage() {
  static TAdvancedIcon icon;
  if (icon.Images().Count() == 0) icon.LoadFromFile(std::string(VARNEL_CORPUS) + "/ico/pillow.ico");
  return *icon.GetBestImage(256, 256, 32);
}

// Its pixels as a 32-bit picture with alpha.
const TBitmap& LargePicture() {
  static TBitmap picture = [] {
    TBitmap bitmap;
    LargePngImage().GetBitmaps(nullptr, &bitmap, clNone, nullptr);
    return bitmap;
  }();
  return picture;
}

// Arguments: destination size, filter.
void BM_ResampleAlpha(benchmark::State& state) {
  const TBitmap& source = LargePicture();
  int size = int(state.range(0));
  int filter = int(state.range(1));
  state.SetLabel(std::to_string(source.Width()) + " -> " + std::to_string(size) + " " +
                 ResampleFilterName(filter));
  for (auto _ : state) {
    TBitmap dest(size, size, PixelFormat::Bits32);
    ResampleAlpha(source, dest, filter);
    benchmark::DoNotOptimize(dest.Bits().data());
  }
}
BENCHMARK(BM_ResampleAlpha)
    ->Args({48, rfMitchell})
    ->Args({48, rfLanczos3})
    ->Args({512, rfMitchell})
    ->Args({512, rfLanczos3})
    ->Unit(benchmark::kMicrosecond);

// Argument: 1 to draw on a background colour, 0 to keep alpha.
void BM_DrawFittedPngInto48Cell(benchmark::State& state) {
  const TSubIcon& image = LargePngImage();
  bool onColor = state.range(0) != 0;
  state.SetLabel(onColor ? "on white" : "no background");
  for (auto _ : state) {
    TBitmap cell(48, 48, onColor ? PixelFormat::Bits24 : PixelFormat::Bits32);
    DrawFitted(cell, 0, 0, false, true, onColor ? clWhite : clNone, image, 48, 48);
    benchmark::DoNotOptimize(cell.Bits().data());
  }
}
BENCHMARK(BM_DrawFittedPngInto48Cell)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

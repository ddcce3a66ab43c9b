// Composing the frames of a long animated GIF, as importing or showing its frames does.

#include <benchmark/benchmark.h>

#include "graphics/gifcodec.h"
#include "icons/gifframes.h"

using namespace varnel;

namespace {

// 100 frames on a 128 x 128 screen: a full first frame, then 64 x 64 frames with their own
// maps, transparency and every disposal in turn.
GifPicture HundredFrames() {
  GifPicture gif;
  gif.width = gif.height = 128;
  for (int i = 0; i < 256; ++i)
    gif.globalMap.push_back({uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0});
  for (int n = 0; n < 100; ++n) {
    GifFrame frame;
    frame.width = frame.height = n == 0 ? 128 : 64;
    frame.left = frame.top = n == 0 ? 0 : (n * 5) % 64;
    frame.pixels.resize(size_t(frame.width) * frame.height);
    for (size_t i = 0; i < frame.pixels.size(); ++i) frame.pixels[i] = uint8_t(i * 31 + n);
    if (n % 2) frame.colorMap = gif.globalMap;
    frame.control = GifGraphicControl{4, GifDisposal(n % 4), n % 3 ? 7 : -1};
    gif.frames.push_back(std::move(frame));
  }
  return gif;
}

void BM_ComposeGifFrames(benchmark::State& state) {
  GifPicture gif = DecodeGif(EncodeGif(HundredFrames()));
  for (auto _ : state) {
    std::vector<TFrameItem> items;
    ComposeGifFrames(gif, items);
    benchmark::DoNotOptimize(items.data());
  }
}
BENCHMARK(BM_ComposeGifFrames)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

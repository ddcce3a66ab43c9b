#include "icons/xcursoricons.h"

#include <map>

namespace varnel {

namespace {

std::unique_ptr<TSubIcon> CursorImage(const XCursorImage& source) {
  auto image = std::make_unique<TSubIcon>();
  image->AssignFrom32BitBitmap(source.picture);
  image->SetHotSpot(uint32_t(source.hotX & 0xFFFF) | uint32_t(source.hotY & 0xFFFF) << 16);
  return image;
}

}  // namespace

std::vector<XCursorFrame> XCursorFrames(const std::vector<XCursorImage>& images) {
  std::vector<int> sizes;  // in file order
  std::map<int, std::vector<const XCursorImage*>> bySize;
  for (const XCursorImage& image : images) {
    std::vector<const XCursorImage*>& frames = bySize[image.nominalSize];
    if (frames.empty()) sizes.push_back(image.nominalSize);
    frames.push_back(&image);
  }
  std::vector<XCursorFrame> frames;
  for (size_t k = 0;; ++k) {
    XCursorFrame frame{std::make_unique<TAdvancedCursor>()};
    int largest = -1;
    for (int size : sizes) {
      const std::vector<const XCursorImage*>& ofSize = bySize[size];
      if (k >= ofSize.size()) continue;
      frame.cursor->Images().Add(CursorImage(*ofSize[k]));
      if (size > largest) {
        largest = size;
        frame.delay = ofSize[k]->delay;
      }
    }
    if (largest < 0) break;
    frames.push_back(std::move(frame));
  }
  return frames;
}

}  // namespace varnel

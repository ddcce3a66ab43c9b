// TAdvancedIcon: choosing the image to show for a wanted size and colour depth.

#include <cstdint>
#include <cstdlib>

#include "icons/advancedicon.h"

namespace varnel {

namespace {

// Scores an image narrower (or lower) than wanted by more than an eighth so that any image
// that is not much smaller beats it. The pixel difference is added to the penalty so that among
// images that are all much smaller the largest wins, whatever its depth.
constexpr int kMuchSmallerPenalty = 4096;
constexpr double kSmallerTolerance = -0.125;
// Below 8 bits per pixel an image is far from a wanted 16-bit depth.
constexpr int kFewColorsPenalty = 8;

// Widths come from image headers, damaged ones included, so distances are taken in 64 bits.
int64_t LengthDistance(int actual, int wanted) {
  if (wanted == 0) return 0;
  int64_t difference = std::abs(int64_t(actual) - wanted);
  if (double(int64_t(actual) - wanted) / wanted < kSmallerTolerance)
    return kMuchSmallerPenalty + difference;
  return difference;
}

int64_t SizeDistance(const TSubIcon& image, int width, int height) {
  return LengthDistance(image.ImageWidth(), width) + LengthDistance(image.ImageHeight(), height);
}

int ColorDistance(const TSubIcon& image, int bpp) {
  if (bpp == 0) return 0;
  int bits = image.BitsPerPixel();
  return std::abs(bits - bpp) + (bpp == 16 && bits < 8 ? kFewColorsPenalty : 0);
}

bool InTrueColorRange(int bits) {
  return bits >= 8 && bits <= 24;
}

}  // namespace

int TAdvancedIcon::BestImageIndex(int width, int height, int bpp) const {
  if (images_.Count() < 2) return 0;
  int best = 0;
  int64_t bestSize = SizeDistance(*images_[0], width, height);
  int bestColor = ColorDistance(*images_[0], bpp);
  for (int i = 1; i < images_.Count(); ++i) {
    int64_t size = SizeDistance(*images_[i], width, height);
    int color = ColorDistance(*images_[i], bpp);
    if (size < bestSize || (size == bestSize && color < bestColor)) {
      best = i;
      bestSize = size;
      bestColor = color;
    }
  }
  return best;
}

TSubIcon* TAdvancedIcon::GetBestImage(int width, int height, int bpp) const {
  return images_[BestImageIndex(width, height, bpp)];
}

const TIconHandle* TAdvancedIcon::GetBestHandle(int width, int height, int bpp) const {
  TSubIcon* image = GetBestImage(width, height, bpp);
  return image ? image->Handle() : nullptr;
}

TSubIcon* TAdvancedIcon::FindImage(int width, int height, int bpp) const {
  TSubIcon* similar = nullptr;
  for (const auto& image : images_) {
    if (image->ImageWidth() != width || image->ImageHeight() != height) continue;
    int bits = image->BitsPerPixel();
    if (bits == bpp) return image.get();
    if (InTrueColorRange(bits) && InTrueColorRange(bpp)) similar = image.get();
  }
  return similar;
}

}  // namespace varnel

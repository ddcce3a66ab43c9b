#include "graphics/palettereduction.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_set>

#include "graphics/canvas.h"
#include "graphics/nearestindex.h"

namespace varnel {

namespace {

// A picture read as 32-bit pixels, with the rule that says which of them count.
class CountedPixels {
 public:
  CountedPixels(const TBitmap& picture, int alphaThreshold)
      : converted_(picture.Format() == PixelFormat::Bits32
                       ? TBitmap()
                       : ConvertFormat(picture, PixelFormat::Bits32)),
        pixels_(picture.Format() == PixelFormat::Bits32 ? picture : converted_),
        alphaCounts_(picture.Format() == PixelFormat::Bits32),
        threshold_(alphaThreshold) {}

  int Width() const { return pixels_.Width(); }
  int Height() const { return pixels_.Height(); }
  const RGBQuad& At(int x, int y) const {
    return reinterpret_cast<const RGBQuad*>(pixels_.ScanLine(y))[x];
  }
  bool Counted(const RGBQuad& pixel) const { return !alphaCounts_ || pixel.reserved >= threshold_; }

  // Calls visit(colour) for each counted pixel, rows from the top, left to right, until it
  // returns false.
  template <typename Visit>
  void ForEachCounted(Visit visit) const {
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x)
        if (const RGBQuad& pixel = At(x, y); Counted(pixel) && !visit(pixel.ToColor())) return;
  }

 private:
  TBitmap converted_;
  const TBitmap& pixels_;
  bool alphaCounts_;
  int threshold_;
};

// Colours in the order they were first added, without repeats.
class ColorList {
 public:
  bool Add(TColor color) {
    if (!seen_.insert(color).second) return false;
    colors_.push_back(color);
    return true;
  }
  bool Contains(TColor color) const { return seen_.contains(color); }
  size_t Size() const { return colors_.size(); }
  const std::vector<TColor>& Colors() const { return colors_; }
  void TruncateTo(size_t count) {
    for (size_t i = count; i < colors_.size(); ++i) seen_.erase(colors_[i]);
    if (count < colors_.size()) colors_.resize(count);
  }

 private:
  std::vector<TColor> colors_;
  std::unordered_set<TColor> seen_;
};

constexpr int kReducedSets = 3;  // colours with the lowest 1, 2 and 3 bits cleared

TColor ClearLowBits(TColor color, int bits) {
  uint8_t keep = uint8_t(0xFF << bits);
  return color & RGB(keep, keep, keep);
}

// The first entries every palette starts with: black, white and the bottom-left pixel's colour
// when that pixel counts.
ColorList StartingList(const CountedPixels& pixels) {
  ColorList list;
  list.Add(clBlack);
  list.Add(clWhite);
  if (pixels.Width() > 0 && pixels.Height() > 0) {
    const RGBQuad& bottomLeft = pixels.At(0, pixels.Height() - 1);
    if (pixels.Counted(bottomLeft)) list.Add(bottomLeft.ToColor());
  }
  return list;
}

// The gathering of step one: the exact colours and the three reduced sets, stopped once even
// the coarsest set holds more than limit colours.
struct GatheredSets {
  ColorList exact;
  std::array<ColorList, kReducedSets> reduced;
};

GatheredSets GatherColors(const CountedPixels& pixels, size_t limit) {
  GatheredSets sets{StartingList(pixels), {}};
  for (ColorList& set : sets.reduced) set = sets.exact;
  pixels.ForEachCounted([&](TColor color) {
    sets.exact.Add(color);
    for (int bits = 1; bits <= kReducedSets; ++bits)
      sets.reduced[bits - 1].Add(ClearLowBits(color, bits));
    return sets.reduced[kReducedSets - 1].Size() <= limit;
  });
  return sets;
}

// Step two: the first reduced set that fits, topped up with what the next finer set adds.
std::optional<ColorList> FirstFittingSet(const GatheredSets& sets, size_t limit) {
  for (int i = 0; i < kReducedSets; ++i) {
    if (sets.reduced[i].Size() > limit) continue;
    ColorList list = sets.reduced[i];
    const ColorList& finer = i == 0 ? sets.exact : sets.reduced[i - 1];
    for (TColor color : finer.Colors()) {
      if (list.Size() >= limit) break;
      list.Add(color);
    }
    return list;
  }
  return std::nullopt;
}

// Step three: a histogram of 33 levels per channel, each cell counting up to 255 pixels.
class LevelHistogram {
 public:
  static constexpr int kLevels = 33;

  explicit LevelHistogram(const CountedPixels& pixels) : counts_(kLevels * kLevels * kLevels) {
    pixels.ForEachCounted([&](TColor color) {
      uint8_t& count =
          counts_[Cell(Level(GetRValue(color)), Level(GetGValue(color)), Level(GetBValue(color)))];
      if (count < 255) ++count;
      return true;
    });
  }

  // Takes cells on the grid of levels that are multiples of step, most used first, into list
  // until it holds limit colours or the grid is empty.
  void TakeGrid(int step, ColorList& list, size_t limit) {
    for (int threshold = 255; threshold > 0 && list.Size() < limit;) {
      int nextThreshold = 0;
      for (int r = 0; r < kLevels; r += step)
        for (int g = 0; g < kLevels; g += step)
          for (int b = 0; b < kLevels; b += step) {
            uint8_t& count = counts_[Cell(r, g, b)];
            if (count >= threshold) {
              count = 0;
              if (list.Size() < limit) list.Add(RGB(Value(r), Value(g), Value(b)));
            } else if (count > nextThreshold) {
              nextThreshold = count;
            }
          }
      threshold = nextThreshold;
    }
  }

 private:
  static int Level(int value) { return (value + 4) / 8; }
  static uint8_t Value(int level) { return uint8_t(std::min(level * 8, 255)); }
  static int Cell(int r, int g, int b) { return (r * kLevels + g) * kLevels + b; }

  std::vector<uint8_t> counts_;
};

ColorList HistogramPalette(const CountedPixels& pixels, size_t limit) {
  ColorList list = StartingList(pixels);
  LevelHistogram histogram(pixels);
  for (int step : {8, 4, 2, 1}) histogram.TakeGrid(step, list, limit);
  pixels.ForEachCounted([&](TColor color) {
    list.Add(color);
    return list.Size() < limit;
  });
  return list;
}

std::vector<RGBQuad> PaletteWithBlackAndWhiteFirst(const ColorList& list) {
  std::vector<TColor> colors = list.Colors();
  for (TColor first : {clBlack, clWhite}) {
    size_t target = first == clBlack ? 0 : 1;
    auto found = std::find(colors.begin(), colors.end(), first);
    if (found != colors.end() && target < colors.size())
      std::iter_swap(colors.begin() + target, found);
  }
  std::vector<RGBQuad> palette;
  palette.reserve(colors.size());
  for (TColor color : colors) palette.push_back(RGBQuad::FromColor(color));
  return palette;
}

TBitmap MapCountedPixels(const CountedPixels& pixels, const std::vector<RGBQuad>& palette) {
  TBitmap result(pixels.Width(), pixels.Height(), PixelFormat::Bits8);
  result.SetPalette(palette);
  NearestColorCache nearest(result);
  for (int y = 0; y < pixels.Height(); ++y) {
    uint8_t* row = result.ScanLine(y);
    for (int x = 0; x < pixels.Width(); ++x) {
      const RGBQuad& pixel = pixels.At(x, y);
      if (!pixels.Counted(pixel)) {
        row[x] = 0;
        continue;
      }
      row[x] = nearest.IndexOf(pixel.ToColor());
    }
  }
  return result;
}

}  // namespace

TBitmap ReducePalette(const TBitmap& picture, int limit, int alphaThreshold) {
  size_t entries = size_t(std::clamp(limit, 2, 256));
  CountedPixels pixels(picture, alphaThreshold);
  GatheredSets sets = GatherColors(pixels, entries);
  ColorList list;
  if (sets.exact.Size() <= entries)
    list = sets.exact;
  else if (auto fitting = FirstFittingSet(sets, entries))
    list = *fitting;
  else
    list = HistogramPalette(pixels, entries);
  list.TruncateTo(entries);
  return MapCountedPixels(pixels, PaletteWithBlackAndWhiteFirst(list));
}

}  // namespace varnel

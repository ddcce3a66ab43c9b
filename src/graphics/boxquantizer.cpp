#include "graphics/boxquantizer.h"

#include <algorithm>
#include <array>

#include "graphics/canvas.h"
#include "graphics/nearestindex.h"

namespace varnel {

namespace {

constexpr int kLevels = 32;  // histogram cells per channel: the top five bits

struct CellSums {
  uint64_t count = 0;
  uint64_t red = 0, green = 0, blue = 0;
};

class ColorHistogram {
 public:
  explicit ColorHistogram(const TBitmap& picture) : cells_(kLevels * kLevels * kLevels) {
    const TBitmap converted = picture.Format() == PixelFormat::Bits32
                                  ? TBitmap()
                                  : ConvertFormat(picture, PixelFormat::Bits32);
    const TBitmap& pixels = picture.Format() == PixelFormat::Bits32 ? picture : converted;
    for (int y = 0; y < pixels.Height(); ++y) {
      auto* row = reinterpret_cast<const RGBQuad*>(pixels.ScanLine(y));
      for (int x = 0; x < pixels.Width(); ++x) {
        CellSums& cell = cells_[Cell(row[x].red >> 3, row[x].green >> 3, row[x].blue >> 3)];
        ++cell.count;
        cell.red += row[x].red;
        cell.green += row[x].green;
        cell.blue += row[x].blue;
      }
    }
  }

  const CellSums& At(int r, int g, int b) const { return cells_[Cell(r, g, b)]; }

 private:
  static int Cell(int r, int g, int b) { return (r * kLevels + g) * kLevels + b; }
  std::vector<CellSums> cells_;
};

// A box of histogram cells, lower and upper level per channel (inclusive).
struct Box {
  std::array<int, 3> low{0, 0, 0};
  std::array<int, 3> high{kLevels - 1, kLevels - 1, kLevels - 1};
  uint64_t count = 0;

  int Side(int channel) const { return high[channel] - low[channel]; }
  int LongestChannel() const {
    int best = 0;
    for (int c = 1; c < 3; ++c)
      if (Side(c) > Side(best)) best = c;
    return best;
  }
  // The measure that chooses the next box to split: its pixels times its longest side.
  uint64_t SplitWeight() const { return count * uint64_t(Side(LongestChannel())); }
};

template <typename Visit>
void ForEachCell(const Box& box, Visit visit) {
  for (int r = box.low[0]; r <= box.high[0]; ++r)
    for (int g = box.low[1]; g <= box.high[1]; ++g)
      for (int b = box.low[2]; b <= box.high[2]; ++b) visit(std::array<int, 3>{r, g, b});
}

// The box shrunk to the cells that hold pixels, with its pixel count.
Box Shrink(const ColorHistogram& histogram, const Box& box) {
  Box result;
  result.low = {kLevels, kLevels, kLevels};
  result.high = {-1, -1, -1};
  ForEachCell(box, [&](const std::array<int, 3>& cell) {
    uint64_t count = histogram.At(cell[0], cell[1], cell[2]).count;
    if (count == 0) return;
    result.count += count;
    for (int c = 0; c < 3; ++c) {
      result.low[c] = std::min(result.low[c], cell[c]);
      result.high[c] = std::max(result.high[c], cell[c]);
    }
  });
  return result;
}

// Splits box at the median pixel of its longest side; both halves shrunk to their cells.
std::pair<Box, Box> Split(const ColorHistogram& histogram, const Box& box) {
  int channel = box.LongestChannel();
  std::vector<uint64_t> perLevel(kLevels, 0);
  ForEachCell(box, [&](const std::array<int, 3>& cell) {
    perLevel[cell[channel]] += histogram.At(cell[0], cell[1], cell[2]).count;
  });
  uint64_t seen = 0;
  int cut = box.low[channel];
  for (int level = box.low[channel]; level < box.high[channel]; ++level) {
    seen += perLevel[level];
    cut = level;
    if (seen * 2 >= box.count) break;
  }
  Box lower = box, upper = box;
  lower.high[channel] = cut;
  upper.low[channel] = cut + 1;
  return {Shrink(histogram, lower), Shrink(histogram, upper)};
}

RGBQuad MeanColor(const ColorHistogram& histogram, const Box& box) {
  CellSums sum;
  ForEachCell(box, [&](const std::array<int, 3>& cell) {
    const CellSums& sums = histogram.At(cell[0], cell[1], cell[2]);
    sum.count += sums.count;
    sum.red += sums.red;
    sum.green += sums.green;
    sum.blue += sums.blue;
  });
  if (sum.count == 0) return {};
  auto mean = [&](uint64_t total) { return uint8_t((total + sum.count / 2) / sum.count); };
  return RGBQuad{mean(sum.blue), mean(sum.green), mean(sum.red), 0};
}

}  // namespace

std::vector<RGBQuad> QuantizeColors(const TBitmap& picture, int colors) {
  ColorHistogram histogram(picture);
  std::vector<Box> boxes;
  if (Box all = Shrink(histogram, Box{}); all.count > 0) boxes.push_back(all);
  while (boxes.size() < size_t(std::max(colors, 0))) {
    auto widest = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
      return a.SplitWeight() < b.SplitWeight();
    });
    if (widest == boxes.end() || widest->SplitWeight() == 0) break;
    auto [lower, upper] = Split(histogram, *widest);
    *widest = lower;
    boxes.push_back(upper);
  }
  std::vector<RGBQuad> palette;
  for (const Box& box : boxes) palette.push_back(MeanColor(histogram, box));
  return palette;
}

TBitmap MapToPalette(const TBitmap& picture, const std::vector<RGBQuad>& palette) {
  TBitmap result(picture.Width(), picture.Height(), PixelFormat::Bits8);
  result.SetPalette(palette);
  NearestColorCache nearest(result);
  for (int y = 0; y < picture.Height(); ++y) {
    uint8_t* row = result.ScanLine(y);
    for (int x = 0; x < picture.Width(); ++x) {
      row[x] = nearest.IndexOf(picture.GetPixel(x, y));
    }
  }
  return result;
}

}  // namespace varnel

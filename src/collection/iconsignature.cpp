#include "collection/iconsignature.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "base/errors.h"
#include "graphics/pixelrow.h"
#include "icons/maskbits.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace varnel {

namespace {

// Cells a side of the grid the picture is first averaged onto; every feature grid divides it.
constexpr int kBaseGrid = 24;
// Pixels with at least this alpha are visible and make up the box the picture is cut to.
constexpr uint8_t kVisibleAlpha = 32;

// The planes averaged onto the base grid: coverage, and lightness and the two colour
// differences of the colour on black (so that what is clear adds nothing).
enum Plane { kAlpha, kLuma, kRedDifference, kBlueDifference, kPlaneCount };
using BaseGrid = std::array<std::array<float, kBaseGrid * kBaseGrid>, kPlaneCount>;

// One feature grid of the signature: a plane at cells a side, its values scaled by gain around
// offset; or, when contrasted, each value's distance from the grid's mean in units of the
// grid's mean deviation, halved, around the middle of the byte.
struct FeatureGrid {
  Plane plane;
  int cells;
  float gain;
  float offset;
  bool contrasted = false;
};

// The grids, coarsest where small sizes are drawn most differently: the outline at 4 x 4 cells,
// lightness at 6 x 6 and the colour differences at 3 x 3 (70 bytes). Measured on Adwaita's and
// GNOME's themes, finer outlines let the 16 and 24 pixel drawings drift away from their large
// sizes, and coarser lightness confuses the folders and documents that differ by an emblem.
// Lightness is contrasted: a theme draws its small sizes darker or lighter overall than its
// large ones (outlines, flatter shading), which made icons nearer to other icons of their own
// size than to their own other sizes (Adwaita's full-colour icons at 16 to 512 pixels: the
// nearest is another size of the same icon for 66% of them with plain lightness, 75% with
// contrasted; GNOME's and the symbolic icons' figures are unchanged).
constexpr std::array<FeatureGrid, 4> kGrids{{{kAlpha, 4, 255, 0},
                                             {kLuma, 6, 127.5f, 127.5f, true},
                                             {kRedDifference, 3, 255, 128},
                                             {kBlueDifference, 3, 255, 128}}};

constexpr int FeatureCount() {
  int count = 0;
  for (const FeatureGrid& grid : kGrids) count += grid.cells * grid.cells;
  return count;
}
static_assert(FeatureCount() <= kSignatureBytes);
static_assert(kSignatureBytes % 16 == 0);

}  // namespace

const TSubIcon* SignatureImage(const TAdvancedIcon& icon) {
  const TSubIcon* best = nullptr;
  int64_t bestArea = 0;
  for (const auto& image : icon.Images()) {
    if (!image->HasData()) continue;
    int64_t area = int64_t(image->ImageWidth()) * image->ImageHeight();
    if (!best || area > bestArea ||
        (area == bestArea && image->BitsPerPixel() > best->BitsPerPixel())) {
      best = image.get();
      bestArea = area;
    }
  }
  return best;
}

namespace {

// The pixels of an image from the top row down, the fourth byte being the alpha: the image's
// own for 32-bit images that have one, else opaque where the mask is clear.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<RGBQuad> quads;
  const RGBQuad& At(int x, int y) const { return quads[size_t(y) * size_t(width) + size_t(x)]; }
};

Pixels ReadPixels(const TSubIcon& image) {
  TBitmap color, mask;
  image.GetBitmaps(nullptr, &color, clNone, &mask);
  Pixels pixels{color.Width(), color.Height(), {}};
  pixels.quads.resize(size_t(pixels.width) * size_t(pixels.height));
  bool ownAlpha = color.Format() == PixelFormat::Bits32 && !AllAlphaZero(color);
  bool masked = !ownAlpha && mask.Width() >= pixels.width && mask.Height() >= pixels.height;
  for (int y = 0; y < pixels.height; ++y) {
    RGBQuad* row = &pixels.quads[size_t(y) * size_t(pixels.width)];
    ReadColorRow(color, y, 0, pixels.width, row);
    if (ownAlpha) continue;
    for (int x = 0; x < pixels.width; ++x)
      row[x].reserved = masked && MaskBitSet(mask, x, y) ? 0 : 255;
  }
  return pixels;
}

// The square the picture is averaged over: the box of its visible pixels, its shorter side
// widened evenly on both sides.
struct Square {
  double left = 0;
  double top = 0;
  double side = 0;
};

std::optional<Square> VisibleSquare(const Pixels& pixels) {
  int left = pixels.width, top = pixels.height, right = -1, bottom = -1;
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x) {
      if (pixels.At(x, y).reserved < kVisibleAlpha) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  if (right < 0) return std::nullopt;
  double width = right - left + 1, height = bottom - top + 1, side = std::max(width, height);
  return Square{left - (side - width) / 2, top - (side - height) / 2, side};
}

// The pixels of one axis that a cell overlaps, each with the length of the overlap.
struct Overlap {
  int pixel;
  double length;
};

std::vector<std::vector<Overlap>> CellOverlaps(double start, double side, int pixelCount) {
  std::vector<std::vector<Overlap>> cells(kBaseGrid);
  double cellLength = side / kBaseGrid;
  for (int cell = 0; cell < kBaseGrid; ++cell) {
    double from = start + cell * cellLength, to = from + cellLength;
    int first = std::max(0, int(std::floor(from))), last = std::min(pixelCount, int(std::ceil(to)));
    for (int pixel = first; pixel < last; ++pixel) {
      double length = std::min(to, pixel + 1.0) - std::max(from, double(pixel));
      if (length > 0) cells[size_t(cell)].push_back({pixel, length});
    }
  }
  return cells;
}

// Adds a pixel's planes, weighted, to a cell.
void AddPixel(BaseGrid& grid, int cell, const RGBQuad& quad, float weight) {
  float alpha = quad.reserved / 255.0f;
  float red = quad.red / 255.0f * alpha, green = quad.green / 255.0f * alpha,
        blue = quad.blue / 255.0f * alpha;
  float luma = 0.299f * red + 0.587f * green + 0.114f * blue;
  grid[kAlpha][size_t(cell)] += weight * alpha;
  grid[kLuma][size_t(cell)] += weight * luma;
  grid[kRedDifference][size_t(cell)] += weight * (red - luma);
  grid[kBlueDifference][size_t(cell)] += weight * (blue - luma);
}

BaseGrid AverageOntoGrid(const Pixels& pixels, const Square& square) {
  BaseGrid grid{};
  auto columns = CellOverlaps(square.left, square.side, pixels.width);
  auto rows = CellOverlaps(square.top, square.side, pixels.height);
  double cellArea = (square.side / kBaseGrid) * (square.side / kBaseGrid);
  for (int cy = 0; cy < kBaseGrid; ++cy)
    for (int cx = 0; cx < kBaseGrid; ++cx) {
      int cell = cy * kBaseGrid + cx;
      for (const Overlap& row : rows[size_t(cy)])
        for (const Overlap& column : columns[size_t(cx)])
          AddPixel(grid, cell, pixels.At(column.pixel, row.pixel),
                   float(row.length * column.length / cellArea));
    }
  return grid;
}

uint8_t Quantize(float value) {
  return uint8_t(std::clamp(std::lround(value), 0L, 255L));
}

// The smallest mean deviation a contrasted grid is divided by, so that a flat one stays flat.
constexpr float kLeastDeviation = 0.02f;

// A plane pooled onto cells x cells.
std::vector<float> PooledValues(const BaseGrid& grid, const FeatureGrid& feature) {
  int block = kBaseGrid / feature.cells;
  std::vector<float> values;
  for (int gy = 0; gy < feature.cells; ++gy)
    for (int gx = 0; gx < feature.cells; ++gx) {
      float sum = 0;
      for (int y = gy * block; y < (gy + 1) * block; ++y)
        for (int x = gx * block; x < (gx + 1) * block; ++x)
          sum += grid[feature.plane][size_t(y * kBaseGrid + x)];
      values.push_back(sum / float(block * block));
    }
  return values;
}

// The values' distances from their mean, in units of their mean deviation.
void Contrast(std::vector<float>& values) {
  float mean = 0, deviation = 0;
  for (float value : values) mean += value;
  mean /= float(values.size());
  for (float value : values) deviation += std::abs(value - mean);
  deviation = std::max(deviation / float(values.size()), kLeastDeviation);
  for (float& value : values) value = (value - mean) / deviation;
}

// Writes a feature grid, returning the next free byte.
int WriteGrid(const BaseGrid& grid, const FeatureGrid& feature, IconSignature& signature, int at) {
  std::vector<float> values = PooledValues(grid, feature);
  if (feature.contrasted) Contrast(values);
  for (float value : values)
    signature.features[size_t(at++)] = Quantize(feature.offset + feature.gain * value);
  return at;
}

}  // namespace

std::optional<IconSignature> MakeIconSignature(const TAdvancedIcon& icon) {
  const TSubIcon* image = SignatureImage(icon);
  if (!image) return std::nullopt;
  return MakeImageSignature(*image);
}

std::optional<IconSignature> MakeImageSignature(const TSubIcon& image) {
  Pixels pixels;
  try {
    pixels = ReadPixels(image);
  } catch (const Exception&) {
    return std::nullopt;
  }
  auto square = VisibleSquare(pixels);
  if (!square) return std::nullopt;
  BaseGrid grid = AverageOntoGrid(pixels, *square);
  IconSignature signature;
  signature.width = pixels.width;
  signature.height = pixels.height;
  signature.bits = image.BitsPerPixel();
  int at = 0;
  for (const FeatureGrid& feature : kGrids) at = WriteGrid(grid, feature, signature, at);
  return signature;
}

namespace {

// The sum of the differences of features [from, to), a multiple of 16 apart.
int PartialDistance(const IconSignature& a, const IconSignature& b, int from, int to) {
  const uint8_t* left = a.features.data();
  const uint8_t* right = b.features.data();
#if defined(__SSE2__)
  __m128i sum = _mm_setzero_si128();
  for (int i = from; i < to; i += 16)
    sum = _mm_add_epi64(sum,
                        _mm_sad_epu8(_mm_load_si128(reinterpret_cast<const __m128i*>(left + i)),
                                     _mm_load_si128(reinterpret_cast<const __m128i*>(right + i))));
  return _mm_cvtsi128_si32(sum) + _mm_cvtsi128_si32(_mm_srli_si128(sum, 8));
#else
  int sum = 0;
  for (int i = from; i < to; ++i) sum += std::abs(int(left[i]) - int(right[i]));
  return sum;
#endif
}

constexpr int kFirstHalf = kSignatureBytes / 32 * 16;

}  // namespace

int SignatureDistance(const IconSignature& a, const IconSignature& b) {
  return PartialDistance(a, b, 0, kSignatureBytes);
}

int SignatureDistanceWithin(const IconSignature& a, const IconSignature& b, int bound) {
  int first = PartialDistance(a, b, 0, kFirstHalf);
  if (first > bound) return first;
  return first + PartialDistance(a, b, kFirstHalf, kSignatureBytes);
}

}  // namespace varnel

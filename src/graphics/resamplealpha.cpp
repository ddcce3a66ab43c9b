// ResampleAlpha: 32-bit pictures scaled with their alpha. Every colour contribution is weighed by
// the contributor's alpha, the alpha itself is filtered with the plain weights, pictures whose
// edges are partly transparent are scaled inside a transparent margin, and one-pixel-wide or
// -high pictures are widened to two pixels first.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/resample.h"
#include "graphics/resamplefilters.h"

namespace varnel {

namespace {

constexpr int kMargin = 30;          // transparent border put around pictures with soft edges
constexpr int kMaxEdgeAlpha = 230;   // edges more opaque than this need no margin
constexpr int kMaxSideRatio = 40;    // pictures more elongated than this get no margin
constexpr int kEdgeColumnStep = 32;  // one more edge column or row per 32 pixels of width

// Alpha-weighted contribution: the plain weight scaled by the contributor's alpha.
inline int AlphaWeight(int alpha, int weight) {
  return alpha * weight / 255;
}

// The horizontal pass: per pixel blue, green, red and the alpha-weighted alpha, plus a separate
// plane of the alpha filtered with the plain weights.
struct Intermediate {
  std::vector<uint8_t> colors;  // 4 bytes a pixel, rows packed tightly
  std::vector<uint8_t> alphas;  // 1 byte a pixel
};

// Which source pixels of a row are fully transparent and which fully opaque, counted up to each
// column, so that a run of contributors can be classified at once.
class RowAlphaCounts {
 public:
  enum Kind { kClear, kOpaque, kMixed };

  explicit RowAlphaCounts(int width) : clear_(size_t(width) + 1), opaque_(size_t(width) + 1) {}

  void Count(const uint8_t* row, int width) {
    for (int x = 0; x < width; ++x) {
      uint8_t alpha = row[4 * x + 3];
      clear_[x + 1] = clear_[x] + (alpha == 0);
      opaque_[x + 1] = opaque_[x] + (alpha == 255);
    }
  }

  // The kind of the pixels first..last.
  Kind Of(int first, int last) const {
    int count = last - first + 1;
    if (clear_[last + 1] - clear_[first] == count) return kClear;
    if (opaque_[last + 1] - opaque_[first] == count) return kOpaque;
    return kMixed;
  }

 private:
  std::vector<int> clear_, opaque_;
};

// The lowest and highest source index among each destination pixel's contributors.
std::vector<std::pair<int, int>> ContributorSpans(const ContributorList& list) {
  std::vector<std::pair<int, int>> spans;
  for (int i = 0; i < list.DestLength(); ++i) {
    std::pair<int, int> span{INT32_MAX, -1};
    for (const Contributor* c = list.Begin(i); c != list.End(i); ++c)
      span = {std::min(span.first, c->source), std::max(span.second, c->source)};
    spans.push_back(span);
  }
  return spans;
}

// One intermediate pixel from contributors of mixed alpha: colours weighed by alpha.
void FilterMixed(const uint8_t* in, const Contributor* begin, const Contributor* end,
                 const WeightDivider& byWeightSum, uint8_t* color, uint8_t* plain) {
  int weights = 0, blue = 0, green = 0, red = 0, weightedAlpha = 0, alpha = 0;
  for (const Contributor* c = begin; c != end; ++c) {
    const uint8_t* p = in + 4 * c->source;
    int a = p[3];
    int v = AlphaWeight(a, c->weight);
    weights += v;  // 0 for a transparent pixel, whose colour so counts for nothing
    blue += v * p[0];
    green += v * p[1];
    red += v * p[2];
    weightedAlpha += v * a;
    alpha += c->weight * a;
  }
  WeightDivider byWeights(weights);
  color[0] = byWeights(blue);
  color[1] = byWeights(green);
  color[2] = byWeights(red);
  color[3] = byWeights(weightedAlpha);
  *plain = byWeightSum(alpha);
}

// One intermediate pixel from opaque contributors, whose alpha weights are the plain weights.
void FilterOpaque(const uint8_t* in, const Contributor* begin, const Contributor* end,
                  int weightSum, const WeightDivider& byWeightSum, uint8_t* color, uint8_t* plain) {
  int blue = 0, green = 0, red = 0;
  for (const Contributor* c = begin; c != end; ++c) {
    const uint8_t* p = in + 4 * c->source;
    blue += c->weight * p[0];
    green += c->weight * p[1];
    red += c->weight * p[2];
  }
  color[0] = byWeightSum(blue);
  color[1] = byWeightSum(green);
  color[2] = byWeightSum(red);
  color[3] = *plain = byWeightSum(255 * weightSum);
}

Intermediate FilterRows(const TBitmap& source, const ContributorList& columns) {
  int width = columns.DestLength();
  CheckIntermediateSize(width, source.Height());
  Intermediate result;
  result.colors.resize(size_t(width) * 4 * size_t(source.Height()));
  result.alphas.resize(size_t(width) * size_t(source.Height()));
  uint8_t* color = result.colors.data();
  uint8_t* plain = result.alphas.data();
  std::vector<WeightDivider> columnSums;
  for (int x = 0; x < width; ++x) columnSums.emplace_back(columns.WeightSum(x));
  std::vector<std::pair<int, int>> spans = ContributorSpans(columns);
  RowAlphaCounts counts(source.Width());
  for (int y = 0; y < source.Height(); ++y) {
    const uint8_t* in = source.ScanLine(y);
    counts.Count(in, source.Width());
    for (int x = 0; x < width; ++x, color += 4, ++plain) {
      const Contributor* begin = columns.Begin(x);
      const Contributor* end = columns.End(x);
      switch (begin == end ? RowAlphaCounts::kMixed : counts.Of(spans[x].first, spans[x].second)) {
        case RowAlphaCounts::kClear:  // every sum is 0
          std::memset(color, 0, 4);
          *plain = 0;
          break;
        case RowAlphaCounts::kOpaque:
          FilterOpaque(in, begin, end, columns.WeightSum(x), columnSums[x], color, plain);
          break;
        default:
          FilterMixed(in, begin, end, columnSums[x], color, plain);
      }
    }
  }
  return result;
}

// The same classification down the columns of the intermediate: pixels whose weighted and
// plain alpha are both 0, and pixels whose weighted alpha is 255.
class ColumnAlphaCounts {
 public:
  ColumnAlphaCounts(const Intermediate& rows, size_t width)
      : width_(width), clear_(rows.alphas.size() + width), opaque_(rows.alphas.size() + width) {
    for (size_t i = 0; i < rows.alphas.size(); ++i) {
      uint8_t weighted = rows.colors[4 * i + 3];
      clear_[i + width] = clear_[i] + (weighted == 0 && rows.alphas[i] == 0);
      opaque_[i + width] = opaque_[i] + (weighted == 255);
    }
  }

  // The kind of the pixels of column x in rows first..last.
  RowAlphaCounts::Kind Of(size_t x, int first, int last) const {
    int count = last - first + 1;
    size_t top = size_t(first) * width_ + x, bottom = size_t(last + 1) * width_ + x;
    if (clear_[bottom] - clear_[top] == count) return RowAlphaCounts::kClear;
    if (opaque_[bottom] - opaque_[top] == count) return RowAlphaCounts::kOpaque;
    return RowAlphaCounts::kMixed;
  }

 private:
  size_t width_;
  std::vector<int> clear_, opaque_;
};

// The intermediate rows that contribute to one destination row, with their weights.
struct ContributorRows {
  std::vector<const uint8_t*> colors, alphas;
  std::vector<int> weights;

  void Gather(const Intermediate& rows, const ContributorList& lines, int y, size_t width) {
    colors.clear();
    alphas.clear();
    weights.clear();
    for (const Contributor* c = lines.Begin(y); c != lines.End(y); ++c) {
      colors.push_back(rows.colors.data() + size_t(c->source) * 4 * width);
      alphas.push_back(rows.alphas.data() + size_t(c->source) * width);
      weights.push_back(c->weight);
    }
  }

  // Pixel x from contributors of mixed alpha: colours weighed by the intermediate alpha.
  void FilterMixed(size_t x, const WeightDivider& byWeightSum, uint8_t* out) const {
    int alphaWeights = 0, blue = 0, green = 0, red = 0, alpha = 0;
    for (size_t k = 0; k < weights.size(); ++k) {
      const uint8_t* color = colors[k] + 4 * x;
      int v = AlphaWeight(color[3], weights[k]);
      alphaWeights += v;
      blue += v * color[0];
      green += v * color[1];
      red += v * color[2];
      alpha += weights[k] * alphas[k][x];
    }
    WeightDivider byAlphaWeights(alphaWeights);
    out[0] = byAlphaWeights(blue);
    out[1] = byAlphaWeights(green);
    out[2] = byAlphaWeights(red);
    out[3] = byWeightSum(alpha);
  }

  // Pixel x from opaque contributors, whose alpha weights are the plain weights.
  void FilterOpaque(size_t x, const WeightDivider& byWeightSum, uint8_t* out) const {
    int blue = 0, green = 0, red = 0, alpha = 0;
    for (size_t k = 0; k < weights.size(); ++k) {
      const uint8_t* color = colors[k] + 4 * x;
      blue += weights[k] * color[0];
      green += weights[k] * color[1];
      red += weights[k] * color[2];
      alpha += weights[k] * alphas[k][x];
    }
    out[0] = byWeightSum(blue);
    out[1] = byWeightSum(green);
    out[2] = byWeightSum(red);
    out[3] = byWeightSum(alpha);
  }
};

// The vertical pass into dest (32-bit, of the final size): each destination row gathers the
// intermediate rows of its contributors and keeps every sum of a pixel in registers.
void FilterColumns(const Intermediate& rows, const ContributorList& lines, TBitmap& dest) {
  size_t width = size_t(dest.Width());
  ColumnAlphaCounts counts(rows, width);
  std::vector<std::pair<int, int>> spans = ContributorSpans(lines);
  ContributorRows contributors;
  for (int y = 0; y < dest.Height(); ++y) {
    contributors.Gather(rows, lines, y, width);
    bool none = contributors.weights.empty();
    WeightDivider byWeightSum(lines.WeightSum(y));
    uint8_t* out = dest.ScanLine(y);
    for (size_t x = 0; x < width; ++x, out += 4) {
      switch (none ? RowAlphaCounts::kMixed : counts.Of(x, spans[y].first, spans[y].second)) {
        case RowAlphaCounts::kClear:  // every sum is 0
          std::memset(out, 0, 4);
          break;
        case RowAlphaCounts::kOpaque:
          contributors.FilterOpaque(x, byWeightSum, out);
          break;
        default:
          contributors.FilterMixed(x, byWeightSum, out);
      }
    }
  }
}

bool IsTransparentWhite(const uint8_t* p) {
  return p[0] == 255 && p[1] == 255 && p[2] == 255 && p[3] == 0;
}

bool HasTransparentWhite(const TBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += 4)
      if (IsTransparentWhite(p)) return true;
  }
  return false;
}

// Filtered scaling of a 32-bit source into dest's size (both at least 2 x 2).
void ScaleFiltered(const TBitmap& source, TBitmap& dest, int filter) {
  ContributorList columns(filter, source.Width(), dest.Width());
  ContributorList lines(filter, source.Height(), dest.Height());
  FilterColumns(FilterRows(source, columns), lines, dest);
  // Negative lobes can leave fully transparent white where the source had none; such pixels
  // become transparent black.
  if (HasTransparentWhite(source)) return;
  for (int y = 0; y < dest.Height(); ++y) {
    uint8_t* p = dest.ScanLine(y);
    for (int x = 0; x < dest.Width(); ++x, p += 4)
      if (IsTransparentWhite(p)) std::memset(p, 0, 4);
  }
}

int64_t AlphaSum(const TBitmap& bitmap, int left, int top, int width, int height) {
  int64_t sum = 0;
  for (int y = top; y < top + height; ++y) {
    const uint8_t* p = bitmap.ScanLine(y) + 4 * left;
    for (int x = 0; x < width; ++x, p += 4) sum += p[3];
  }
  return sum;
}

// True when the picture's border is partly transparent, neither fully transparent nor nearly
// opaque: then its edges are scaled against a transparent margin rather than mirrored.
bool NeedsMargin(const TBitmap& source) {
  int width = source.Width(), height = source.Height();
  if (width < 4 || height < 4) return false;
  if (width / height > kMaxSideRatio || height / width > kMaxSideRatio) return false;
  int t = width / kEdgeColumnStep;
  int columns = std::min(t + 1, width);
  int bottomRows = std::min(t + 1, height);
  int topRows = std::min(t, height);
  int64_t columnArea = int64_t(height) * (t + 1), rowArea = int64_t(width) * (t + 1);
  int64_t means[4] = {
      AlphaSum(source, 0, 0, columns, height) / columnArea,
      AlphaSum(source, width - columns, 0, columns, height) / columnArea,
      AlphaSum(source, 0, height - bottomRows, width, bottomRows) / rowArea,
      AlphaSum(source, 0, 0, width, topRows) / rowArea,
  };
  bool anyAbove0 = std::any_of(means, means + 4, [](int64_t m) { return m > 0; });
  bool anyAboveMax = std::any_of(means, means + 4, [](int64_t m) { return m > kMaxEdgeAlpha; });
  return anyAbove0 && !anyAboveMax;
}

// Scales the source placed inside a transparent margin and keeps the part that covers dest.
void ScaleWithMargin(const TBitmap& source, TBitmap& dest, int filter) {
  TBitmap padded(source.Width() + 2 * kMargin, source.Height() + 2 * kMargin, PixelFormat::Bits32);
  Draw(padded, kMargin, kMargin, source);
  int mx = int(std::lround(double(kMargin) * dest.Width() / source.Width()));
  int my = int(std::lround(double(kMargin) * dest.Height() / source.Height()));
  TBitmap scaled(dest.Width() + 2 * mx, dest.Height() + 2 * my, PixelFormat::Bits32);
  ScaleFiltered(padded, scaled, filter);
  size_t rowBytes = size_t(dest.Width()) * 4;
  for (int y = 0; y < dest.Height(); ++y)
    std::memcpy(dest.ScanLine(y), scaled.ScanLine(my + y) + 4 * mx, rowBytes);
}

void Stretch(const TBitmap& source, TBitmap& dest) {
  StretchDraw(dest, {0, 0, dest.Width(), dest.Height()}, source);
}

// Two copies of a one-pixel-wide (or -high) source side by side (or one above the other).
TBitmap Doubled(const TBitmap& source, bool sideBySide) {
  TBitmap doubled(source.Width() * (sideBySide ? 2 : 1), source.Height() * (sideBySide ? 1 : 2),
                  PixelFormat::Bits32);
  Draw(doubled, 0, 0, source);
  Draw(doubled, sideBySide ? 1 : 0, sideBySide ? 0 : 1, source);
  return doubled;
}

void ResampleAlpha32(const TBitmap& source, TBitmap& dest, int filter);

// Widens both pictures to two pixels along the axis where both are one pixel, scales, and
// keeps the first column (or row).
void ScaleDoubled(const TBitmap& source, TBitmap& dest, int filter, bool sideBySide) {
  TBitmap wide(dest.Width() * (sideBySide ? 2 : 1), dest.Height() * (sideBySide ? 1 : 2),
               PixelFormat::Bits32);
  ResampleAlpha32(Doubled(source, sideBySide), wide, filter);
  Draw(dest, 0, 0, wide);
}

// Scales through an intermediate of the given size.
void ScaleInTwoSteps(const TBitmap& source, TBitmap& dest, int filter, int width, int height) {
  TBitmap step(width, height, PixelFormat::Bits32);
  ResampleAlpha32(source, step, filter);
  ResampleAlpha32(step, dest, filter);
}

// dest is 32-bit and not empty, source 32-bit.
void ResampleAlpha32(const TBitmap& source, TBitmap& dest, int filter) {
  int sw = source.Width(), sh = source.Height(), dw = dest.Width(), dh = dest.Height();
  if (sw == dw && sh == dh) {
    dest = source;
  } else if (source.Empty()) {
    dest.Fill(0);
  } else if (sw == 1 && dw == 1) {
    ScaleDoubled(source, dest, filter, true);
  } else if (sh == 1 && dh == 1) {
    ScaleDoubled(source, dest, filter, false);
  } else if (dh == 1 && dw != sw) {
    ScaleInTwoSteps(source, dest, filter, dw, sh);
  } else if (dw == 1 && dh != sh) {
    ScaleInTwoSteps(source, dest, filter, sw, dh);
  } else if (dw == 1 || dh == 1 || !HasKernel(filter) || (sw == 1 && sh == 1)) {
    Stretch(source, dest);
  } else if (dw >= 4 && dh >= 4 && NeedsMargin(source)) {
    ScaleWithMargin(source, dest, filter);
  } else {
    ScaleFiltered(source, dest, filter);
  }
}

}  // namespace

void ResampleAlpha(const TBitmap& source, TBitmap& dest, int filter) {
  if (source.Format() != PixelFormat::Bits32) {
    TBitmap opaque = ConvertFormat(source, PixelFormat::Bits32);
    for (int y = 0; y < opaque.Height(); ++y) {
      uint8_t* p = opaque.ScanLine(y);
      for (int x = 0; x < opaque.Width(); ++x) p[4 * x + 3] = 255;
    }
    return ResampleAlpha(opaque, dest, filter);
  }
  if (&source == &dest) return;  // a picture already has its own size
  bool sameSize = source.Width() == dest.Width() && source.Height() == dest.Height();
  if (!sameSize && !source.Empty() && dest.Empty()) return;
  TBitmap result(dest.Width(), dest.Height(), PixelFormat::Bits32);
  ResampleAlpha32(source, result, filter);
  dest = std::move(result);
}

}  // namespace varnel

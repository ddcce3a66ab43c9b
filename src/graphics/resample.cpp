// Resample: a 24-bit picture filtered horizontally into an intermediate of the destination width
// and the source height, then vertically into the destination.

#include "graphics/resample.h"

#include <vector>

#include "graphics/canvas.h"
#include "graphics/resamplefilters.h"

namespace varnel {

namespace {

constexpr int kChannels = 3;

// Filters every row of the source to the destination width; rows are packed tightly.
std::vector<uint8_t> FilterRows(const TBitmap& source, const ContributorList& columns) {
  int width = columns.DestLength();
  CheckIntermediateSize(width, source.Height());
  std::vector<uint8_t> rows(size_t(width) * kChannels * size_t(source.Height()));
  uint8_t* out = rows.data();
  std::vector<WeightDivider> columnSums;
  for (int x = 0; x < width; ++x) columnSums.emplace_back(columns.WeightSum(x));
  for (int y = 0; y < source.Height(); ++y) {
    const uint8_t* in = source.ScanLine(y);
    for (int x = 0; x < width; ++x, out += kChannels) {
      int blue = 0, green = 0, red = 0;
      for (const Contributor* c = columns.Begin(x); c != columns.End(x); ++c) {
        const uint8_t* p = in + c->source * kChannels;
        blue += c->weight * p[0];
        green += c->weight * p[1];
        red += c->weight * p[2];
      }
      out[0] = columnSums[x](blue);
      out[1] = columnSums[x](green);
      out[2] = columnSums[x](red);
    }
  }
  return rows;
}

// Filters the intermediate rows vertically into dest, a whole row at a time.
void FilterColumns(const std::vector<uint8_t>& rows, const ContributorList& lines, TBitmap& dest) {
  size_t rowLength = size_t(dest.Width()) * kChannels;
  std::vector<int> sums(rowLength);
  for (int y = 0; y < dest.Height(); ++y) {
    std::fill(sums.begin(), sums.end(), 0);
    for (const Contributor* c = lines.Begin(y); c != lines.End(y); ++c) {
      const uint8_t* in = rows.data() + size_t(c->source) * rowLength;
      int weight = c->weight;
      for (size_t k = 0; k < rowLength; ++k) sums[k] += weight * in[k];
    }
    uint8_t* out = dest.ScanLine(y);
    WeightDivider byWeightSum(lines.WeightSum(y));
    for (size_t k = 0; k < rowLength; ++k) out[k] = byWeightSum(sums[k]);
  }
}

}  // namespace

void Resample(const TBitmap& source, TBitmap& dest, int filter) {
  if (source.Empty() || dest.Empty() || source.Format() != PixelFormat::Bits24) return;
  if (&source == &dest) return;  // a picture already has its own size
  TBitmap result(dest.Width(), dest.Height(), PixelFormat::Bits24);
  if (source.Width() == result.Width() && source.Height() == result.Height()) {
    result = source;  // smoothing kernels would blur a picture kept at its size
  } else if (!HasKernel(filter) || (source.Width() == 1 && source.Height() == 1)) {
    StretchDraw(result, {0, 0, result.Width(), result.Height()}, source);
  } else {
    ContributorList columns(filter, source.Width(), result.Width());
    ContributorList lines(filter, source.Height(), result.Height());
    FilterColumns(FilterRows(source, columns), lines, result);
  }
  dest = std::move(result);
}

}  // namespace varnel

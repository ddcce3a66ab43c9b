#pragma once
// The resampling filters by index, as the image-size dialog lists them, with their kernels and
// the per-axis contributor lists that every resampling pass is built from.

#include <cstdint>
#include <vector>

namespace varnel {

enum TResampleFilter : int {
  rfNone = 0,  // no filtering: plain pixel stretching
  rfTriangle = 1,
  rfHermite = 2,
  rfBell = 3,
  rfBSpline = 4,
  rfLanczos3 = 5,
  rfMitchell = 6,
  rfNearest = 7,
  rfLinear = 8,
  rfAuto = 9,  // offered by the image-size dialog, which resolves it; no kernel
};

// The filter the views scale images with.
constexpr int kDisplayFilter = rfMitchell;
constexpr int kFilterCount = 10;

// "None", "Triangle", ..., "Auto"; an empty text for an index outside 0..9.
const char* ResampleFilterName(int filter);
// True for the filters that have a kernel (1 to 8).
bool HasKernel(int filter);
// The kernel of a filter at x, and the distance beyond which it is 0 (0 without a kernel).
double KernelValue(int filter, double x);
double KernelSupport(int filter);

// One source pixel that contributes to a destination pixel, with its integer weight.
struct Contributor {
  int source;
  int weight;
};

// For every destination index along one axis, the source indices that contribute to it and
// their weights (the kernel scaled by 256, and by the scale factor when reducing); zero weights
// are left out. Indices beyond the ends are mirrored back and clamped into the source.
class ContributorList {
 public:
  ContributorList(int filter, int sourceLength, int destLength);

  int DestLength() const { return int(starts_.size()) - 1; }
  const Contributor* Begin(int dest) const { return items_.data() + starts_[dest]; }
  const Contributor* End(int dest) const { return items_.data() + starts_[dest + 1]; }
  int WeightSum(int dest) const { return sums_[dest]; }

 private:
  std::vector<Contributor> items_;
  std::vector<int> starts_;
  std::vector<int> sums_;
};

// Raises EInvalidGraphic when the intermediate picture of a resampling (the destination width by
// the source height, at most 4 bytes a pixel) would hold more than a bitmap may.
void CheckIntermediateSize(int width, int height);

// A weighted sum divided by its weight sum, or shifted down by 8 bits when that sum is 0, and
// clamped to a byte.
inline uint8_t WeightedByte(int weightedSum, int weightSum) {
  int value = weightSum != 0 ? weightedSum / weightSum : weightedSum >> 8;
  return uint8_t(value < 0 ? 0 : value > 255 ? 255 : value);
}

// WeightedByte for many sums over one weight sum: the division goes through the reciprocal,
// corrected to the exact truncated quotient, so that one floating division serves every channel
// of a pixel (or every pixel of a row). Negative weight sums take the integer division.
class WeightDivider {
 public:
  explicit WeightDivider(int weightSum)
      : sum_(weightSum), inverse_(weightSum > 0 ? 1.0 / weightSum : 0) {}

  uint8_t operator()(int weightedSum) const {
    if (sum_ <= 0) return WeightedByte(weightedSum, sum_);
    if (weightedSum <= 0) return 0;
    int quotient = int(weightedSum * inverse_);
    int remainder = weightedSum - quotient * sum_;
    if (remainder < 0)
      --quotient;
    else if (remainder >= sum_)
      ++quotient;
    return uint8_t(quotient > 255 ? 255 : quotient);
  }

 private:
  int sum_;
  double inverse_;
};

}  // namespace varnel

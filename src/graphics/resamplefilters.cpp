#include "graphics/resamplefilters.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/errors.h"
#include "graphics/bitmap.h"

namespace varnel {

namespace {

constexpr const char* kFilterNames[kFilterCount] = {"None",    "Triangle", "Hermite",  "Bell",
                                                    "BSpline", "Lanczos3", "Mitchell", "Nearest",
                                                    "Linear",  "Auto"};

constexpr double kSupports[kFilterCount] = {0, 1.0, 1.0, 1.5, 2.0, 3.0, 2.0, 1.0, 1.0, 0};

double Sinc(double t) {
  if (t == 0) return 1;
  double pt = std::numbers::pi * t;
  return std::sin(pt) / pt;
}

double Mitchell(double a) {
  if (a < 1) return (7 * a * a * a - 12 * a * a + 16.0 / 3) / 6;
  if (a < 2) return (-7.0 / 3 * a * a * a + 12 * a * a - 20 * a + 32.0 / 3) / 6;
  return 0;
}

double BSpline(double a) {
  if (a < 1) return a * a * a / 2 - a * a + 2.0 / 3;
  if (a < 2) return (2 - a) * (2 - a) * (2 - a) / 6;
  return 0;
}

double Bell(double a) {
  if (a < 0.5) return 0.75 - a * a;
  if (a < 1.5) return 0.5 * (a - 1.5) * (a - 1.5);
  return 0;
}

// Mirrors an index that falls outside 0..length-1 back into the source, then clamps it.
int MirroredIndex(int64_t j, int length) {
  if (j < 0) j = -j;
  if (j >= length) j = 2 * int64_t(length) - j - 1;
  return int(std::clamp<int64_t>(j, 0, length - 1));
}

// Per axis: dest/src when either length is 1, else (dest - 1)/(src - 1).
double ScaleFactor(int sourceLength, int destLength) {
  if (sourceLength == 1 || destLength == 1) return double(destLength) / sourceLength;
  return double(destLength - 1) / (sourceLength - 1);
}

}  // namespace

const char* ResampleFilterName(int filter) {
  return filter >= 0 && filter < kFilterCount ? kFilterNames[filter] : "";
}

bool HasKernel(int filter) {
  return filter >= rfTriangle && filter <= rfLinear;
}

double KernelSupport(int filter) {
  return HasKernel(filter) ? kSupports[filter] : 0;
}

double KernelValue(int filter, double x) {
  double a = std::abs(x);
  switch (filter) {
    case rfTriangle:
    case rfLinear:
      return a < 1 ? 1 - a : 0;
    case rfHermite:
      return a < 1 ? (2 * a - 3) * a * a + 1 : 0;
    case rfBell:
      return Bell(a);
    case rfBSpline:
      return BSpline(a);
    case rfLanczos3:
      return a < 3 ? Sinc(a) * Sinc(a / 3) : 0;
    case rfMitchell:
      return Mitchell(a);
    case rfNearest:
      return x > -0.5 && x <= 0.5 ? 1 : 0;
    default:
      return 0;
  }
}

void CheckIntermediateSize(int width, int height) {
  if (int64_t(width) * height * 4 > kMaxBitmapBytes)
    throw EInvalidGraphic("Bitmap image is not valid");
}

ContributorList::ContributorList(int filter, int sourceLength, int destLength) {
  double scale = ScaleFactor(sourceLength, destLength);
  double support = KernelSupport(filter);
  bool reducing = scale < 1;
  double width = reducing ? support / scale : support;
  starts_.reserve(size_t(destLength) + 1);
  sums_.reserve(size_t(destLength));
  starts_.push_back(0);
  for (int i = 0; i < destLength; ++i) {
    double centre = i / scale;
    int64_t first = int64_t(std::floor(centre - width));
    int64_t last = int64_t(std::ceil(centre + width));
    int sum = 0;
    for (int64_t j = first; j <= last; ++j) {
      double distance = centre - double(j);
      double weight = reducing ? KernelValue(filter, distance * scale) * 256 * scale
                               : KernelValue(filter, distance) * 256;
      int rounded = int(std::lround(weight));
      if (rounded == 0) continue;
      items_.push_back({MirroredIndex(j, sourceLength), rounded});
      sum += rounded;
    }
    starts_.push_back(int(items_.size()));
    sums_.push_back(sum);
  }
}

}  // namespace varnel

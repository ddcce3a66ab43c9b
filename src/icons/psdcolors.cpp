#include "icons/psdcolors.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "base/byteorder.h"

namespace varnel {

namespace {

uint8_t Clamp(int64_t value) {
  return uint8_t(std::clamp<int64_t>(value, 0, 255));
}

uint8_t ClampRounded(double value) {
  return Clamp(std::llround(value));
}

// 255 - ink - black + ink * black / 255, the product rounded.
uint8_t InkToChannel(int ink, int black) {
  return Clamp(255 - ink - black + (ink * black + 127) / 255);
}

uint8_t InkToChannel16(int64_t ink, int64_t black) {
  return Clamp(255 - ((ink + black - ink * black / 65535) >> 8));
}

// CIE L*a*b* to XYZ relative to the white of the colour (components of the white at 1).
void LabToRelativeXyz(double lightness, double a, double b, double xyz[3]) {
  constexpr double kEpsilon = 216.0 / 24389, kKappa = 24389.0 / 27;
  double fy = (lightness + 16) / 116;
  double f[3] = {fy + a / 500, fy, fy - b / 200};
  for (int i = 0; i < 3; ++i) {
    double cube = f[i] * f[i] * f[i];
    xyz[i] = cube > kEpsilon ? cube : (116 * f[i] - 16) / kKappa;
  }
  if (lightness <= kKappa * kEpsilon) xyz[1] = lightness / kKappa;
}

uint8_t SrgbEncoded(double linear) {
  linear = std::clamp(linear, 0.0, 1.0);
  double encoded = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
  return ClampRounded(encoded * 255);
}

}  // namespace

uint16_t PsdSample(const uint8_t* sample, int sampleBytes) {
  if (sampleBytes == 1) return uint16_t(sample[0] * 257);
  if (sampleBytes == 2) return ReadU16BE(sample);
  float value = std::bit_cast<float>(ReadU32BE(sample));
  if (!(value > 0)) return 0;  // also NaN
  return uint16_t(std::lround(std::min(value, 1.0f) * 65535.0));
}

RGBQuad CmykPixel(uint8_t c, uint8_t m, uint8_t y, uint8_t k) {
  int black = 255 - k;
  return {InkToChannel(255 - y, black), InkToChannel(255 - m, black), InkToChannel(255 - c, black),
          255};
}

RGBQuad CmykPixel16(uint16_t c, uint16_t m, uint16_t y, uint16_t k) {
  int64_t black = 65535 - k;
  return {InkToChannel16(65535 - y, black), InkToChannel16(65535 - m, black),
          InkToChannel16(65535 - c, black), 255};
}

RGBQuad LabPixel16(uint16_t l, uint16_t a, uint16_t b) {
  // The D50 white the colour is stored with, and XYZ (D50) to linear sRGB through the Bradford
  // adaptation to D65, as one matrix.
  constexpr double kWhite[3] = {0.96422, 1.0, 0.82521};
  constexpr double kToSrgb[3][3] = {{3.1338561, -1.6168667, -0.4906146},
                                    {-0.9787684, 1.9161415, 0.0334540},
                                    {0.0719453, -0.2289914, 1.4052427}};
  double xyz[3];
  LabToRelativeXyz(l * 100.0 / 65535, a / 257.0 - 128, b / 257.0 - 128, xyz);
  for (int i = 0; i < 3; ++i) xyz[i] *= kWhite[i];
  uint8_t rgb[3];
  for (int i = 0; i < 3; ++i)
    rgb[i] = SrgbEncoded(kToSrgb[i][0] * xyz[0] + kToSrgb[i][1] * xyz[1] + kToSrgb[i][2] * xyz[2]);
  return {rgb[2], rgb[1], rgb[0], 255};
}

}  // namespace varnel

#include "icons/psdcolors.h"

#include <algorithm>
#include <cmath>

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

}  // namespace

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

RGBQuad LabPixel(uint8_t l, uint8_t a, uint8_t b) {
  double lightness = l / 2.55;
  double da = int(a) - 128, db = int(b) - 128;
  double x, y, z;
  if (lightness < 7.9996) {
    y = lightness / 903.3;
    x = y + da / 3893.5;
    z = y - db / 1557.4;
  } else {
    double fy = (lightness + 16) / 116;
    x = std::pow(fy + da / 500, 3);
    y = fy * fy * fy;
    z = std::pow(fy - db / 200, 3);
  }
  return {ClampRounded((0.099 * x - 0.198 * y + 1.099 * z) * 255),
          ClampRounded((-0.952 * x + 1.893 * y + 0.059 * z) * 255),
          ClampRounded((2.998 * x - 1.458 * y - 0.541 * z) * 255), 255};
}

}  // namespace varnel

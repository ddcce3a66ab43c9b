#include "icons/packbits.h"

#include <algorithm>
#include <cstring>

namespace varnel {

size_t UnpackBits(std::span<const uint8_t> packed, std::span<uint8_t> out) {
  size_t in = 0, written = 0;
  while (in < packed.size()) {
    int control = int8_t(packed[in++]);
    if (control == -128) continue;
    if (control >= 0) {
      size_t count = std::min({size_t(control) + 1, packed.size() - in, out.size() - written});
      std::memcpy(out.data() + written, packed.data() + in, count);
      written += count;
      in += size_t(control) + 1;
    } else if (in < packed.size()) {
      size_t count = std::min(size_t(1 - control), out.size() - written);
      std::memset(out.data() + written, packed[in++], count);
      written += count;
    }
  }
  return written;
}

}  // namespace varnel

// seeds: ani
// Animated cursors read chunk by chunk, and their step queries.

#include <cstddef>
#include <cstdint>

#include "base/errors.h"
#include "icons/animatedcursor.h"

using namespace varnel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TAnimatedCursor cursor;
  try {
    cursor.LoadFromBytes(std::span<const uint8_t>(data, size));
  } catch (const Exception&) {
    return 0;
  }
  for (int step = 0; step < cursor.StepCount(); ++step)
    if (const TSubIcon* image = cursor.StepImage(step)) image->ImageWidth();
  return 0;
}

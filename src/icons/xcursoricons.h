#pragma once
// X cursor files as cursors of the collection: each frame of the animation (a still cursor has
// one) becomes a cursor holding that frame's image of every nominal size, with its hot spot.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "icons/advancedicon.h"
#include "icons/xcursorfile.h"

namespace varnel {

struct XCursorFrame {
  std::unique_ptr<TAdvancedCursor> cursor;
  uint32_t delay = 0;  // milliseconds, of the frame's largest image
};

// The frames in order: frame k holds the k-th image of each nominal size (sizes with fewer
// frames give none to the later ones), the sizes in file order.
std::vector<XCursorFrame> XCursorFrames(const std::vector<XCursorImage>& images);

}  // namespace varnel

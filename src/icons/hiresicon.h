#pragma once
// THiResIcon: an icon graphic bound to an image's handle that reports the image's real pixel
// size instead of the system icon size.

#include <memory>

#include "graphics/canvas.h"
#include "icons/subicon.h"

namespace varnel {

// The size an icon graphic reports before it holds a handle.
constexpr int kSystemIconSize = 32;

class THiResIcon {
 public:
  THiResIcon() = default;
  explicit THiResIcon(std::shared_ptr<const TIconHandle> handle) { SetHandle(std::move(handle)); }

  const TIconHandle* Handle() const { return handle_.get(); }
  void SetHandle(std::shared_ptr<const TIconHandle> handle);

  // The size of the handle's colour bitmap (of its mask when it has no colour bitmap).
  int Width() const;
  int Height() const;

  // Draws the icon with its top-left corner at the rectangle's, at Width x Height.
  void Draw(TBitmap& canvas, const TRect& rect) const;

 private:
  void UpdateSize() const;

  std::shared_ptr<const TIconHandle> handle_;
  mutable int width_ = kSystemIconSize;
  mutable int height_ = kSystemIconSize;
  mutable bool changed_ = false;
};

}  // namespace varnel

#include "icons/hiresicon.h"

#include "icons/icondrawing.h"

namespace varnel {

void THiResIcon::SetHandle(std::shared_ptr<const TIconHandle> handle) {
  handle_ = std::move(handle);
  changed_ = true;
}

void THiResIcon::UpdateSize() const {
  if (!changed_) return;
  changed_ = false;
  if (!handle_) return;
  const TBitmap& bitmap = handle_->color.Empty() ? handle_->mask : handle_->color;
  width_ = bitmap.Width();
  height_ = bitmap.Height();
}

int THiResIcon::Width() const {
  UpdateSize();
  return width_;
}

int THiResIcon::Height() const {
  UpdateSize();
  return height_;
}

void THiResIcon::Draw(TBitmap& canvas, const TRect& rect) const {
  if (handle_) DrawIconHandle(canvas, rect.left, rect.top, *handle_);
}

std::unique_ptr<THiResIcon> TSubIcon::CreateIcon() const {
  const TIconHandle* handle = Handle();
  if (!handle) return nullptr;
  return std::make_unique<THiResIcon>(std::make_shared<const TIconHandle>(*handle));
}

}  // namespace varnel

#pragma once
// TSubIconList: the ordered, owning list of the images of one icon or cursor.

#include <cstdint>
#include <memory>
#include <vector>

#include "base/stream.h"
#include "graphics/bitmap.h"
#include "icons/subicon.h"

namespace varnel {

class TAdvancedIcon;

class TSubIconList {
 public:
  static constexpr int kMaxCount = 65535;

  // The image at index, or null outside 0..Count-1.
  TSubIcon* Items(int index) const;
  TSubIcon* operator[](int index) const { return Items(index); }
  int Count() const { return int(items_.size()); }
  int Capacity() const { return capacity_; }

  // Appends; returns the new count. Raises when the list is full.
  int Add(std::unique_ptr<TSubIcon> image);
  // Inserts before index, or appends when index >= Count.
  void Insert(int index, std::unique_ptr<TSubIcon> image);
  // Removes and frees / removes and returns; an index out of range does nothing.
  void Delete(int index);
  std::unique_ptr<TSubIcon> Extract(int index);
  void Move(int curIndex, int newIndex);
  // Moves image index of another icon / all its images to the end of this list.
  void TakeFrom(TAdvancedIcon& icon, int index);
  void TakeAll(TAdvancedIcon& icon);
  void Clear();
  void SetCapacity(int capacity);
  // Orders by bits per pixel, then by width, both descending.
  void Sort();

  // Builds one image from a colour bitmap and an optional 1-bit mask (white = transparent) and
  // appends it. Without a mask, a 32-bit bitmap's alpha decides (transparent where alpha is not
  // above maskFill), others get a mask of bytes equal to maskFill (0 opaque, 255 transparent).
  void AddFromBitmap(const TBitmap& color, const TBitmap* mask, uint8_t maskFill);
  // Builds one image from a DIB (info or core header, colour table, bits) of colorSize bytes
  // at the colour stream's position and mask bits read from maskStream (or maskFill bytes).
  void AddFromBitmapStreams(Stream& colorStream, Stream* maskStream, uint8_t maskFill,
                            int64_t colorSize);

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<std::unique_ptr<TSubIcon>> items_;
  int capacity_ = 0;
};

}  // namespace varnel

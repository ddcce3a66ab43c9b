#pragma once
// Icon and cursor image resources: RT_ICON ("3") holds the image bytes as an ICO file stores
// them (a DIB or a PNG file); RT_CURSOR ("1") puts the hotspot (x, y as u16) in front.

#include "icons/advancedicon.h"
#include "resources/resourcegraphics.h"

namespace varnel {

// What a group entry records about an image.
struct IconImageFacts {
  int width = 0;
  int height = 0;
  int planes = 0;
  int bitCount = 0;
  int colorCount = 0;  // 0 for 256 colours and more
  uint16_t compression = 0;
};

class TIconCursorResourceDetails : public TGraphicsResourceDetails {
 public:
  using TGraphicsResourceDetails::TGraphicsResourceDetails;

  // A 32 x 32, 4-bit image with the system palette, black and fully transparent.
  void InitNew() override;
  // Removes the image from the first group that lists it.
  void BeforeDelete() override;
  int GetHeight() const override { return Facts().height; }
  // Raises EInvalidGraphic "Pixel Format Not Valid for Icons or Cursors" for other depths.
  PixelFormat GetPixelFormat() const override;
  int GetWidth() const override { return Facts().width; }
  // Replaces the icon's images by this one (with its hotspot for a cursor).
  void GetImage(TAdvancedIcon& icon) const;
  // Replaces the resource bytes by the image's (and its hotspot for a cursor).
  void SetImage(const TSubIcon& image);

  virtual bool HasHotSpot() const { return false; }
  // The image bytes after any hotspot.
  std::span<const uint8_t> ImageBytes() const;
  // Size and depth from the DIB header, or from the PNG header of a compressed image.
  IconImageFacts Facts() const;
  // The type text of the groups that list images of this type ("14" for "3").
  std::string GroupType() const;
};

class TIconResourceDetails : public TIconCursorResourceDetails {
 public:
  using TIconCursorResourceDetails::TIconCursorResourceDetails;
  static std::string GetBaseType() { return "3"; }
};

class TCursorResourceDetails : public TIconCursorResourceDetails {
 public:
  using TIconCursorResourceDetails::TIconCursorResourceDetails;
  static std::string GetBaseType() { return "1"; }
  bool HasHotSpot() const override { return true; }
};

}  // namespace varnel

#pragma once
// The base of records that hold pictures (bitmaps, icon and cursor images), and the registration
// of the standard record classes.

#include <array>

#include "graphics/bitmap.h"
#include "resources/resourcedetails.h"

namespace varnel {

class TGraphicsResourceDetails : public TResourceDetails {
 public:
  using TResourceDetails::TResourceDetails;

  virtual int GetHeight() const = 0;
  virtual PixelFormat GetPixelFormat() const = 0;
  virtual int GetWidth() const = 0;
};

// The standard classes in their registration order: bitmap, DIB, icon group, cursor group, icon,
// cursor. The registry starts out holding them.
std::vector<const ResourceDetailsClass*> StandardResourceDetailsClasses();
void RegisterGraphicsResourceDetails();
// Undoes RegisterGraphicsResourceDetails, in reverse order.
void UnregisterGraphicsResourceDetails();

// The 16-colour system palette as RGBQUAD entries (blue, green, red, 0).
const std::array<uint8_t, 64>& SystemPalette16();

}  // namespace varnel

#pragma once
// Bitmap resources: RT_BITMAP (a DIB without file header) and "DIB" (a whole BMP file).

#include "resources/resourcegraphics.h"

namespace varnel {

class TBitmapResourceDetails : public TGraphicsResourceDetails {
 public:
  using TGraphicsResourceDetails::TGraphicsResourceDetails;
  static std::string GetBaseType() { return "2"; }

  // A 32 x 32, 4-bit bitmap with the system palette and zeroed bits.
  void InitNew() override;
  int GetHeight() const override;
  PixelFormat GetPixelFormat() const override;
  int GetWidth() const override;
  // The picture the resource holds (raises EInvalidGraphic for damaged data).
  virtual TBitmap GetImage() const;
  // Replaces the resource bytes by the picture's.
  virtual void SetImage(const TBitmap& picture);

 protected:
  // Where the BITMAPINFOHEADER starts in Data.
  virtual size_t HeaderOffset() const { return 0; }
  std::vector<uint8_t> DefaultDib() const;
};

class TDIBResourceDetails : public TBitmapResourceDetails {
 public:
  using TBitmapResourceDetails::TBitmapResourceDetails;
  static std::string GetBaseType() { return "DIB"; }
  // Bytes that look like a BMP file: "BM", reserved words 0, a 40-, 108- or 124-byte header.
  static bool SupportsData(std::span<const uint8_t> data);

  void InitNew() override;
  TBitmap GetImage() const override;
  void SetImage(const TBitmap& picture) override;

 protected:
  size_t HeaderOffset() const override { return 14; }
};

}  // namespace varnel

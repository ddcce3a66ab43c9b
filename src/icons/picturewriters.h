#pragma once
// Single icon images and bitmaps written as pictures of other formats. Every file is written
// whole or not at all.

#include <cstdint>
#include <string>

#include "graphics/bitmap.h"
#include "icons/advancedicon.h"

namespace varnel {

// The quality a failed JPEG save is retried with.
constexpr int kJpegRetryQuality = 70;

// JPEG of the given quality; when that fails, once more at kJpegRetryQuality, whose failure
// reaches the caller.
void SaveBitmapAsJpeg(const TBitmap& bitmap, int quality, const std::string& fileName);
// PNG (32-bit bitmaps keep their alpha).
void SaveBitmapAsPng(const TBitmap& bitmap, const std::string& fileName);

// One image as a bitmap whose transparent pixels show backColor. With clNone, a backColor that
// is a colour of the image's palette, or no transparent pixel, that is the image composed on
// backColor; otherwise an indexed image keeps its format and palette, backColor takes a
// palette entry no pixel uses, and every transparent pixel that entry.
TBitmap ImageToBitmapOnColor(const TSubIcon& image, TColor backColor);

// The image ExportXpm and ExportXbm write: index, or for a negative index the one
// BestImageIndex(255, 255, 0) chooses; null when the icon has no such image.
const TSubIcon* ExportedImage(const TAdvancedIcon& icon, int index);
// The variable name of an exported XPM or XBM: the file name without folder and extension.
std::string ExportVariableName(const std::string& fileName);

// The image as XPM (mask where alpha is below alphaThreshold) / as XBM with a hotspot (x in the
// low 16 bits, y in the high 16; a negative x writes none). Until the XPM and XBM writers are
// part of the program, both raise Exception saying that the writer is missing.
void ExportXpm(const TAdvancedIcon& icon, int index, int alphaThreshold,
               const std::string& fileName);
void ExportXbm(const TAdvancedIcon& icon, int index, uint32_t hotSpot, const std::string& fileName);

}  // namespace varnel

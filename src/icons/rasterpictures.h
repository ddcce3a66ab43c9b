#pragma once
// The raster picture formats read by their own classes: the registration of XPM, XBM and
// Photoshop with the picture-format registry (other formats of their own classes register
// themselves from their files), the readers chosen by extension that add icon images, and the
// XPM and XBM writers of single images.

#include <cstdint>
#include <string>

#include "icons/subicon.h"
#include "icons/subiconlist.h"

namespace varnel {

// Registers "xpm" (X Pixmap), "xbm" (X Bitmap), "psd" and "pdd" (Photoshop Image). Called once
// at start-up.
void RegisterRasterPictureFormats();

// Whether a file's extension is one the readers below take: a format registered as read by its
// own class ("xpm", "xbm", and the picture formats for files whose content did not tell their
// kind).
bool IsRasterPictureFile(const std::string& fileName);

// Adds the picture of a file of those formats (a Photoshop file's composite; no mask), of an XPM
// file (with its mask), or the image of an XBM file (its mask and hot spot). width and height
// receive the picture's size; a picture larger than 256 in either direction is not added unless
// allowLarge (an XBM always is). Returns false for a file of another extension.
bool LoadRasterPictureFile(TSubIconList& images, const std::string& fileName, bool allowLarge,
                           int& height, int& width);
// The same at width x height through AddBitmapSized (an XBM as it is).
bool LoadRasterPictureFileResampled(TSubIconList& images, const std::string& fileName, int width,
                                    int filter, int alphaThreshold, bool keepProportions,
                                    int height);

// Writes one image as an XPM file named after the file (pixels whose alpha is below
// alphaThreshold transparent).
void WriteXpmFile(const TSubIcon& image, int alphaThreshold, const std::string& fileName);
// Writes one image as an XBM file (and mask companion) named after the file; hotSpot holds x in
// its low 16 bits and y in its high 16 bits, a negative x writes no hot spot.
void WriteXbmFile(const TSubIcon& image, int32_t hotSpot, const std::string& fileName);

}  // namespace varnel

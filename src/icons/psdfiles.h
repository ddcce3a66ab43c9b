#pragma once
// Photoshop files as icon images: the composite picture and the layers.

#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "icons/psdimage.h"
#include "icons/subiconlist.h"

namespace varnel {

// The pictures a document gives, in order: with one layer that layer (the composite when the
// layer gives no picture); with several the composite, then every layer that gives a picture;
// without layers the composite.
std::vector<TBitmap> PsdPictures(const TPSDImage& document);

// Reads the file and adds its pictures (without mask bitmaps: 32-bit pictures are masked by
// their alpha). width and height receive the document's size; nothing is added when it is
// larger than 256 in either direction unless allowLarge.
void LoadPsdFile(TSubIconList& images, const std::string& fileName, bool allowLarge, int& height,
                 int& width);
// The same at width x height: a plain stretch, proportions kept when asked.
void LoadPsdFileSized(TSubIconList& images, const std::string& fileName, int width,
                      bool keepProportions, int height);
// The same through AddBitmapSized with a resampling filter.
void LoadPsdFileResampled(TSubIconList& images, const std::string& fileName, int width, int filter,
                          int alphaThreshold, bool keepProportions, int height);

}  // namespace varnel

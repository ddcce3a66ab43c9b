#pragma once
// Picture files of any kind read as icon images, the reader chosen by the file's extension.

#include <string>

#include "icons/advancedicon.h"

namespace varnel {

// Pictures wider or taller than this are added by the plain reader only when large ones are
// allowed; their size is reported so that the caller can offer a resize.
constexpr int kDirectImportLimit = 256;

// The size a picture file is to be brought to, and how.
struct ImageSizeRequest {
  int width = 0;
  int height = 0;
  int filter = 0;  // resampling filter index; 0 is a plain stretch
  int alphaThreshold = 80;
  bool keepProportions = true;
};

// Appends the images of a picture file at its own size. width and height receive the
// picture's size where the reader knows one. Raster pictures larger than kDirectImportLimit
// add nothing unless allowLarge; vector drawings and data-URI files have no limit. A picture
// the reader cannot load raises its error; an unknown extension raises EInvalidGraphic.
void LoadImageFile(TAdvancedIcon& icon, const std::string& fileName, bool allowLarge, int& height,
                   int& width);

// The same picture brought to width x height: raster pictures are stretched, always keeping
// their proportions, into the centred rectangle of the target, the rest transparent.
void LoadImageFileSized(TAdvancedIcon& icon, const std::string& fileName, int width,
                        bool keepProportions, int height);

// The same with a resampling filter (filter 0 is LoadImageFileSized); pixels whose alpha ends
// below the threshold become transparent.
void LoadImageFileResampled(TAdvancedIcon& icon, const std::string& fileName,
                            const ImageSizeRequest& request);

// True when LoadImageFile has a reader for the file's extension: one of its own (vector
// drawings, data URIs) or one of the picture-format registry.
bool HasImageReader(const std::string& fileName);

// Registers every picture the registry path reads beyond bitmaps: PNG, JPEG, the raster formats
// of their own classes (XPM, XBM, Photoshop; the others register themselves) and icon projects.
void RegisterPictureReaders();

}  // namespace varnel

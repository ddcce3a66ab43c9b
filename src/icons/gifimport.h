#pragma once
// GIF pictures as icon images: the first frame as one image, or one image per composed frame.

#include <optional>
#include <span>
#include <string>

#include "graphics/gifcodec.h"
#include "icons/advancedicon.h"
#include "icons/pngpicture.h"

namespace varnel {

// The largest side a picture may have to be added without being asked for.
constexpr int kMaxDirectPictureSide = 256;

// The GIF's first frame as a picture: its mask from drawings on black and on white, its colour
// the frame's 8-bit indices with the palette cleaned (unused entries black, black and white
// entered when missing) and masked pixels black. Nothing for a GIF without frames or colours.
std::optional<TColorAndMask> GifFirstFramePicture(const GifPicture& gif);
// Adds that picture as one image.
void AddImageFromGif(TAdvancedIcon& icon, const GifPicture& gif);

// Reads a GIF file, reports its size, and adds its first frame unless it is larger than
// kMaxDirectPictureSide on a side and allowLarge is false. Damaged files raise EInvalidGraphic.
void LoadGifFile(TAdvancedIcon& icon, const std::string& fileName, bool allowLarge, int& height,
                 int& width);

// The first frame brought to width x height (a GIF of that size is added as by AddImageFromGif):
// stretched, into the centred rectangle of its proportions when keepProportions, onto black and
// white, the mask taken from the two, the colours indexed exactly when at most 256 (black and
// white first), else quantised to 254 followed by black and white.
void LoadGifFileSized(TAdvancedIcon& icon, const std::string& fileName, int width,
                      bool keepProportions, int height);
// With filter 0 as LoadGifFileSized; else the frame with its transparency is resampled with the
// filter, pixels with alpha below alphaThreshold masked, and the colours indexed as above.
void LoadGifFileResampled(TAdvancedIcon& icon, const std::string& fileName, int width, int filter,
                          int alphaThreshold, bool keepProportions, int height);

// Adds one image per composed frame, in frame order: an 8-bit image when the frame has at most
// 256 colours (black first), else a 24-bit one; masked pixels are black.
void AddGifFrames(TAdvancedIcon& icon, const GifPicture& gif);
void LoadGifFrames(const std::string& fileName, TAdvancedIcon& icon);

// The images a GIF gives on import: one per frame when it is animated, else its first frame.
void AddGifImages(TAdvancedIcon& icon, std::span<const uint8_t> bytes);

}  // namespace varnel

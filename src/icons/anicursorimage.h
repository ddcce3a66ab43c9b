#pragma once
// TAniCursorImage: an animated cursor offered as an animated GIF of its steps.

#include <span>
#include <vector>

#include "base/stream.h"
#include "graphics/gifcodec.h"
#include "icons/animatedcursor.h"

namespace varnel {

// The colour steps are composed on: the system's button face.
constexpr TColor kButtonFaceColor = 0xF0F0F0;

class TAniCursorImage {
 public:
  // Reads an animated cursor and builds the GIF: one frame per step whose frame has an image,
  // composed on BackgroundColor, looping for ever, each with the step's delay (rate x 100 / 60
  // hundredths, rounded) and disposal 2; the first carries "Title: " and "Artist: " comments.
  void LoadFromBytes(std::span<const uint8_t> bytes);
  void LoadFromStream(Stream& stream);
  void SaveToStream(Stream& stream) const;

  const GifPicture& Gif() const { return gif_; }
  int StepCount() const { return stepCount_; }
  // Bits per pixel of the first frame's first image; 0 without steps.
  int BitsPerPixel() const { return bitsPerPixel_; }
  TColor BackgroundColor = kButtonFaceColor;

  // A rate in jiffies as a GIF delay in hundredths of a second.
  static int DelayOfRate(int32_t jiffies);

 private:
  void AddStep(const TAnimatedCursor& cursor, int step);

  GifPicture gif_;
  int stepCount_ = 0;
  int bitsPerPixel_ = 0;
};

// Registers "ani" ("Animated cursor") with the picture-format registry. The registry holds one
// picture per file, so a view that reads an animated cursor through it shows the GIF's first
// frame; the animated form is TAniCursorImage itself.
void RegisterAniCursorFormat();

}  // namespace varnel

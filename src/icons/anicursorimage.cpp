#include "icons/anicursorimage.h"

#include <algorithm>
#include <cstring>

#include "base/errors.h"
#include "graphics/pictureformats.h"
#include "icons/gifexport.h"
#include "icons/gifframes.h"

namespace varnel {

namespace {

// The most bytes an animated cursor stream may give.
constexpr size_t kMaxStreamBytes = size_t(TAnimatedCursor::kMaxRiffSize) + 8;

std::vector<std::string> CommentsOf(const TAnimatedCursor& cursor) {
  std::vector<std::string> comments;
  if (!cursor.Title.empty()) comments.push_back("Title: " + cursor.Title);
  if (!cursor.Artist.empty()) comments.push_back("Artist: " + cursor.Artist);
  return comments;
}

}  // namespace

int TAniCursorImage::DelayOfRate(int32_t jiffies) {
  return jiffies <= 0 ? 0 : int((int64_t(jiffies) * 100 + 30) / 60);
}

void TAniCursorImage::AddStep(const TAnimatedCursor& cursor, int step) {
  const TSubIcon* image = cursor.StepImage(step);
  if (!image) return;
  TBitmap composed;
  image->GetBitmaps(&composed, nullptr, BackgroundColor, nullptr);
  TBitmap indexed = IndexedForGif(composed, 256);
  GifFrame frame = std::move(GifOfIndexedBitmap(indexed).frames.front());
  frame.colorMap = indexed.Palette();
  int32_t rate = size_t(step) < cursor.Rates.size() ? cursor.Rates[size_t(step)] : 0;
  frame.control = GifGraphicControl{DelayOfRate(rate), GifDisposal::RestoreBackground, -1};
  if (gif_.frames.empty()) frame.comments = CommentsOf(cursor);
  gif_.width = std::max(gif_.width, frame.width);
  gif_.height = std::max(gif_.height, frame.height);
  gif_.frames.push_back(std::move(frame));
}

void TAniCursorImage::LoadFromBytes(std::span<const uint8_t> bytes) {
  TAnimatedCursor cursor;
  cursor.LoadFromBytes(bytes);
  gif_ = GifPicture();
  gif_.loopCount = 0;
  stepCount_ = cursor.StepCount();
  const TSubIcon* first = cursor.FrameImage(0);
  bitsPerPixel_ = stepCount_ && first ? first->BitsPerPixel() : 0;
  for (int step = 0; step < stepCount_; ++step) AddStep(cursor, step);
}

void TAniCursorImage::LoadFromStream(Stream& stream) {
  int64_t left = stream.Size() - stream.Position();
  LoadFromBytes(stream.ReadBytes(size_t(std::clamp<int64_t>(left, 0, kMaxStreamBytes))));
}

void TAniCursorImage::SaveToStream(Stream& stream) const {
  stream.WriteBytes(EncodeGif(gif_));
}

void RegisterAniCursorFormat() {
  TPictureFormat format;
  format.description = "Animated cursor";
  format.typeWord = "ANI";
  format.load = [](Stream& stream) {
    TAniCursorImage image;
    image.LoadFromStream(stream);
    std::vector<TFrameItem> frames;
    if (!ComposeGifFrames(image.Gif(), frames, 1) || frames.empty())
      throw EInvalidGraphic("Animated cursor has no frame");
    return frames[0].ToRgba();
  };
  RegisterPictureFormat("ani", std::move(format));
}

}  // namespace varnel

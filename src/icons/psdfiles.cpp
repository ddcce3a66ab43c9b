#include "icons/psdfiles.h"

#include "base/fileio.h"
#include "graphics/canvas.h"
#include "icons/picturesizing.h"

namespace varnel {

namespace {

constexpr int kDirectImportLimit = 256;

TPSDImage ReadDocument(const std::string& fileName) {
  std::vector<uint8_t> bytes = ReadWholeFile(fileName);
  SpanStream stream(bytes);
  TPSDImage document;
  document.LoadFromStream(stream);
  return document;
}

// A layer's picture, or nothing when it has too few channels, an empty rectangle or channels
// that could not be read.
std::optional<TBitmap> LayerPicture(const TPSDImage& document, int index) {
  const TPSDLayer& layer = document.Layers[size_t(index)];
  if (layer.IsEmpty() || !layer.HasAllChannelData()) return std::nullopt;
  TBitmap bitmap;
  document.GetLayerBitmap(index, bitmap);
  if (bitmap.Empty()) return std::nullopt;
  return bitmap;
}

}  // namespace

std::vector<TBitmap> PsdPictures(const TPSDImage& document) {
  const TBitmap& composite = document;
  int count = int(document.Layers.size());
  if (count == 1) return {LayerPicture(document, 0).value_or(composite)};
  std::vector<TBitmap> pictures = {composite};
  for (int i = 0; i < count; ++i)
    if (auto layer = LayerPicture(document, i)) pictures.push_back(std::move(*layer));
  return pictures;
}

void LoadPsdFile(TSubIconList& images, const std::string& fileName, bool allowLarge, int& height,
                 int& width) {
  TPSDImage document = ReadDocument(fileName);
  width = document.Width();
  height = document.Height();
  if (!allowLarge && (width > kDirectImportLimit || height > kDirectImportLimit)) return;
  for (const TBitmap& picture : PsdPictures(document)) images.AddFromBitmap(picture, nullptr, 0);
}

// Each picture stretched onto a white width x height bitmap (into the centred rectangle of its
// proportions when they are kept).
void LoadPsdFileSized(TSubIconList& images, const std::string& fileName, int width,
                      bool keepProportions, int height) {
  for (const TBitmap& picture : PsdPictures(ReadDocument(fileName))) {
    TBitmap canvas(width, height, PixelFormat::Bits24);
    canvas.Fill(clWhite);
    StretchDraw(canvas,
                TargetRectangle(picture.Width(), picture.Height(), keepProportions, width, height),
                picture);
    images.AddFromBitmap(canvas, nullptr, 0);
  }
}

void LoadPsdFileResampled(TSubIconList& images, const std::string& fileName, int width, int filter,
                          int alphaThreshold, bool keepProportions, int height) {
  for (const TBitmap& picture : PsdPictures(ReadDocument(fileName)))
    AddBitmapSized(images, picture, nullptr, filter, alphaThreshold, keepProportions, width,
                   height);
}

}  // namespace varnel

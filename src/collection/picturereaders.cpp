#include "collection/picturereaders.h"

#include "base/errors.h"
#include "base/stream.h"
#include "graphics/pngcodec.h"
#include "icons/datauri.h"
#include "icons/pngpicture.h"
#include "icons/vectorfile.h"

namespace varnel {

namespace {

constexpr int kRenderedAlphaThreshold = 80;
constexpr int kDataUriAlphaThreshold = 96;
// The packed image shows the same pixels as the decoded picture, except for palette and grey
// PNGs with transparent entries: the picture keeps the colours under their mask, the packed
// image shows them black.
bool PackedFormSameAsDecoded(std::span<const uint8_t> png) {
  auto format = NaturalPngFormat(png);
  if (!format) return false;
  bool indexed = BitsOfFormat(*format) <= 8;
  return !(indexed && HasTransparencyChunk(png));
}

}  // namespace

TPicture ReadDrawingPicture(const MappedFile& file) {
  CheckDrawingSize(file.Bytes());
  TBitmap color, mask;
  if (RenderVectorFile(file.Path(), color, mask, kRenderedAlphaThreshold))
    return {std::move(color), std::move(mask)};
  return {RenderDrawing(file.Bytes(), DrawingFormatOf(file.Bytes())), std::nullopt};
}

TPicture ReadDataUriPicture(const MappedFile& file) {
  auto png = DecodeDataUriText(file.Bytes());
  if (!png) return {};
  TColorAndMask picture = LoadPngPicture(*png, kDataUriAlphaThreshold);
  return {std::move(picture.color), std::move(picture.mask)};
}

std::unique_ptr<TAdvancedIcon> ReadPngAsPackedImage(const MappedFile& file) {
  // A PNG cut short is left to the decoding reader, which reports it: kept as it is, it would be
  // written into icon files whose readers drop it.
  if (!HasCompletePngChunks(file.Bytes()) || !PackedFormSameAsDecoded(file.Bytes())) return nullptr;
  auto image = std::make_unique<TFileIconImage>();
  try {
    SpanStream stream(file.Bytes());
    image->LoadFromData(stream);
  } catch (const Exception&) {
    return nullptr;
  }
  if (!image->Packed()) return nullptr;
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->Images().Add(std::move(image));
  return icon;
}

}  // namespace varnel

#include "icons/iconproject.h"

#include <algorithm>
#include <cstring>

#include "base/errors.h"
#include "base/fileio.h"
#include "graphics/pictureformats.h"
#include "icons/icondrawing.h"

namespace varnel {

namespace {

constexpr uint32_t kTrailerLength = 4;
constexpr uint16_t kCursorType = 2;

// A count read from the stream, refused when the bytes left could not hold that many records.
uint32_t ReadCount(Stream& stream, uint32_t limit) {
  uint32_t count = stream.ReadU32();
  if (count > limit || count > stream.Remaining()) throw EReadError();
  return count;
}

}  // namespace

void TIconProject::ResetLayerLists() {
  layerLists_.assign(size_t(icon_.Images().Count()), TIconLayersList());
}

void TIconProject::LoadIconStream(Stream& stream, int64_t start) {
  stream.SetPosition(start + 2);
  uint16_t type = stream.ReadU16();
  stream.SetPosition(start);
  if (type == kCursorType)
    icon_.LoadCursorFromStream(stream);
  else
    icon_.LoadFromStreamAbsolute(stream);
  ResetLayerLists();
}

void TIconProject::LoadFromStream(Stream& stream) {
  int64_t start = stream.Position();
  uint8_t magic[4];
  stream.ReadBuffer(magic, 4);
  if (std::memcmp(magic, kIconProjectMagic, 4) != 0) return LoadIconStream(stream, start);
  bool withHotSpots = stream.ReadU8() == 1;
  uint32_t count = ReadCount(stream, TSubIconList::kMaxCount);
  TSubIconList& images = icon_.Images();
  images.Clear();
  for (uint32_t i = 0; i < count; ++i) {
    auto image = std::make_unique<TFileIconImage>();
    image->LoadFromStream(stream);
    if (withHotSpots) image->SetHotSpot(stream.ReadU32());
    images.Add(std::move(image));
  }
  uint32_t lists = ReadCount(stream, TSubIconList::kMaxCount);
  layerLists_.clear();
  for (uint32_t i = 0; i < lists; ++i) layerLists_.emplace_back().LoadFromStream(stream);
  if (withHotSpots) stream.Seek(stream.ReadU32(), SeekOrigin::Current);
}

void TIconProject::SaveToStream(Stream& stream) const {
  bool withHotSpots = icon_.HasHotSpot();
  stream.WriteBuffer(kIconProjectMagic, 4);
  stream.WriteU8(withHotSpots ? 1 : 0);
  stream.WriteU32(uint32_t(icon_.Images().Count()));
  for (const auto& image : icon_.Images()) {
    image->SaveToStream(stream);
    if (withHotSpots) stream.WriteU32(image->HotSpot());
  }
  stream.WriteU32(uint32_t(layerLists_.size()));
  for (const TIconLayersList& list : layerLists_) list.SaveToStream(stream);
  if (!withHotSpots) return;
  stream.WriteU32(kTrailerLength);
  stream.WriteU32(0);
}

void TIconProject::LoadFromFile(const std::string& fileName) {
  std::vector<uint8_t> bytes = ReadWholeFile(fileName);
  SpanStream stream(bytes);
  LoadFromStream(stream);
}

void TIconProject::SaveToFile(const std::string& fileName) const {
  MemoryStream stream;
  SaveToStream(stream);
  WriteFileAtomic(fileName, stream.Bytes());
}

void TIconProject::Assign(const TAdvancedIcon& source) {
  icon_.Assign(source);
  ResetLayerLists();
}

void TIconProject::Assign(const Clipboard& clipboard) {
  icon_.PasteFromClipboard(clipboard);
  ResetLayerLists();
}

void TIconProject::RecomposeImage(int index) {
  TSubIconList& images = icon_.Images();
  TSubIcon& image = *images[index];
  TIconLayersList& list = layerLists_[size_t(index)];
  images.AddFromBitmap(list.Compose(image.ImageWidth(), image.ImageHeight()), nullptr, 0);
  images[images.Count() - 1]->SetHotSpot(image.HotSpot());
  images.Delete(index);
  images.Move(images.Count() - 1, index);
  for (TIconLayer& layer : list.Layers) layer.Modified = false;
}

void TIconProject::AssignTo(TAdvancedIcon& dest) {
  int count = std::min(icon_.Images().Count(), int(layerLists_.size()));
  for (int i = 0; i < count; ++i)
    if (layerLists_[size_t(i)].AnyModified()) RecomposeImage(i);
  dest.Assign(icon_);
}

int TIconProject::Width() const {
  int width = 0, height = 0, bpp = 0;
  icon_.GetMaxDimensions(width, height, bpp);
  return width;
}

int TIconProject::Height() const {
  int width = 0, height = 0, bpp = 0;
  icon_.GetMaxDimensions(width, height, bpp);
  return height;
}

void TIconProject::Draw(TBitmap& canvas, const TRect& rect) const {
  const TSubIcon* image = icon_.GetBestImage(32, 32, 0);
  if (!image || !image->HasData() || rect.Width() <= 0 || rect.Height() <= 0) return;
  TBitmap picture(image->ImageWidth(), image->ImageHeight(), PixelFormat::Bits32);
  DrawMasked(picture, 0, 0, clNone, *image);
  TBitmap stretched(rect.Width(), rect.Height(), PixelFormat::Bits32);
  StretchDraw(stretched, {0, 0, rect.Width(), rect.Height()}, picture);
  DrawBlended(canvas, rect.left, rect.top, stretched);
}

void ImportIconProjectBytes(TAdvancedIcon& icon, std::span<const uint8_t> bytes) {
  TIconProject project;
  SpanStream stream(bytes);
  project.LoadFromStream(stream);
  project.AssignTo(icon);
}

void ImportIconProject(TAdvancedIcon& icon, const std::string& fileName) {
  ImportIconProjectBytes(icon, ReadWholeFile(fileName));
}

void SaveIconAsIconProject(const TAdvancedIcon& icon, const std::string& path) {
  TIconProject project;
  project.Assign(icon);
  project.SaveToFile(path);
}

void RegisterIconProjectFormat() {
  TPictureFormat format;
  format.description = "Icon Project";
  format.typeWord = "ICPR";
  format.load = [](Stream& stream) {
    TIconProject project;
    project.LoadFromStream(stream);
    TBitmap picture(project.Width(), project.Height(), PixelFormat::Bits32);
    project.Draw(picture, {0, 0, picture.Width(), picture.Height()});
    return picture;
  };
  RegisterPictureFormat("icpr", std::move(format));
}

}  // namespace varnel

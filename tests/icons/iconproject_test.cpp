// Icon project files: the stream layout, layers read back field for field, icon streams taken in
// their place, and counts a damaged file cannot back.

#include <gtest/gtest.h>

#include "base/byteorder.h"
#include "base/errors.h"
#include "graphics/pictureformats.h"
#include "icons/iconproject.h"

namespace varnel {
namespace {

using Bytes = std::vector<uint8_t>;

TBitmap Solid(int size, uint8_t red, uint8_t alpha) {
  TBitmap bitmap(size, size, PixelFormat::Bits32);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      bitmap.ScanLine(y)[4 * x + 2] = red;
      bitmap.ScanLine(y)[4 * x + 3] = alpha;
    }
  return bitmap;
}

void AddImages(TAdvancedIcon& icon, std::initializer_list<int> sizes) {
  for (int size : sizes) icon.Images().AddFromBitmap(Solid(size, 200, 255), nullptr, 0);
}

Bytes Saved(const TIconProject& project) {
  MemoryStream stream;
  project.SaveToStream(stream);
  return stream.TakeBytes();
}

size_t RecordSize(const TSubIcon& image) {
  MemoryStream stream;
  image.SaveToStream(stream);
  return stream.Bytes().size();
}

TEST(IconProjectTest, LayoutWithAndWithoutHotSpots) {
  TAdvancedIcon icon;
  AddImages(icon, {16, 32, 48});
  TIconProject project;
  project.Assign(icon);
  Bytes bytes = Saved(project);
  size_t records = 0;
  for (const auto& image : icon.Images()) records += RecordSize(*image);
  ASSERT_EQ(bytes.size(), 4 + 1 + 4 + records + 4 + 3 * 4);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 9), (Bytes{0xB7, 'I', 'C', 'P', 0, 3, 0, 0, 0}));
  EXPECT_EQ(Bytes(bytes.end() - 16, bytes.end()),
            (Bytes{3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

  project.Icon().Images()[0]->SetHotSpot(0x00040004);
  bytes = Saved(project);
  EXPECT_EQ(bytes[4], 1);
  size_t first = RecordSize(*icon.Images()[0]);
  EXPECT_EQ(ReadU32LE(&bytes[9 + first]), 0x00040004u);
  EXPECT_EQ(Bytes(bytes.end() - 8, bytes.end()), (Bytes{4, 0, 0, 0, 0, 0, 0, 0}));

  TIconProject reread;
  SpanStream stream(bytes);
  reread.LoadFromStream(stream);
  EXPECT_EQ(stream.Remaining(), 0);
  ASSERT_EQ(reread.Icon().Images().Count(), 3);
  EXPECT_EQ(reread.Icon().Images()[0]->HotSpot(), 0x00040004u);
  EXPECT_TRUE(reread.Icon().SameIcon(project.Icon()));
  EXPECT_EQ(reread.LayerLists().size(), 3u);
}

TEST(IconProjectTest, LayersRoundTripWithLongNamesAndShadows) {
  TAdvancedIcon icon;
  AddImages(icon, {32});
  TIconProject project;
  project.Assign(icon);
  TIconLayer shadowed;
  shadowed.Picture = Solid(8, 40, 128);
  shadowed.Transparency = 7;
  shadowed.ShadowSize = 3;
  shadowed.ShadowX = -150;
  shadowed.ShadowY = 250;
  shadowed.ShadowSoftness = 9;
  shadowed.OffsetX = -2;
  shadowed.OffsetY = 5;
  shadowed.Name = std::string(300, 'n');
  shadowed.LayerTag = -77;
  shadowed.Hidden = 1;
  TIconLayer plain;
  plain.Name = "background";
  project.LayerLists()[0].Layers = {shadowed, plain};
  Bytes bytes = Saved(project);
  const Bytes lengthBytes = {252, 44, 1, 'n'};
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), lengthBytes.begin(), lengthBytes.end()),
            bytes.end());
  TIconProject reread;
  SpanStream stream(bytes);
  reread.LoadFromStream(stream);
  EXPECT_EQ(reread.LayerLists(), project.LayerLists());
}

TEST(IconProjectTest, IconAndCursorStreamsAreTakenAsProjects) {
  TAdvancedIcon icon;
  AddImages(icon, {16, 32});
  for (bool cursor : {false, true}) {
    MemoryStream stream;
    cursor ? icon.SaveCursorToStream(stream) : icon.SaveToStream(stream);
    stream.SetPosition(0);
    TIconProject project;
    project.LoadFromStream(stream);
    EXPECT_EQ(project.Icon().Images().Count(), 2) << cursor;
    EXPECT_EQ(project.LayerLists().size(), 2u);
    EXPECT_TRUE(project.LayerLists()[1].Layers.empty());
  }
}

TEST(IconProjectTest, DamagedStreamsFailBeforeAllocating) {
  TAdvancedIcon icon;
  AddImages(icon, {16});
  TIconProject project;
  project.Assign(icon);
  project.LayerLists()[0].Layers.emplace_back().Picture = Solid(4, 1, 255);
  Bytes good = Saved(project);
  // The layer record: marker, 32, width, height; its width is the u32 after the marker and depth.
  size_t layer = good.size() - (2 + 8 + 64 + 2 + 8 + 1 + 4 + 1);
  ASSERT_EQ(good[layer], 0);
  ASSERT_EQ(ReadU32LE(&good[layer + 2]), 4u);
  auto load = [](const Bytes& bytes) {
    TIconProject reread;
    SpanStream stream(bytes);
    reread.LoadFromStream(stream);
    return reread.LayerLists().size();
  };
  Bytes wide = good;
  WriteU32LE(&wide[layer + 2], 60000);
  WriteU32LE(&wide[layer + 6], 60000);
  EXPECT_THROW(load(wide), EReadError);
  Bytes manyLayers = good;
  WriteU32LE(&manyLayers[layer - 4], 0x7FFFFFFF);
  EXPECT_THROW(load(manyLayers), EReadError);
  Bytes truncated(good.begin(), good.end() - 3);
  EXPECT_THROW(load(truncated), EReadError);
  // A record with another marker ends after it: the reading goes on from there.
  Bytes marked(good.begin(), good.begin() + std::ptrdiff_t(layer));
  marked.push_back(9);
  EXPECT_EQ(load(marked), 1u);
}

TEST(IconProjectTest, ModifiedLayersAreComposedIntoTheImage) {
  TAdvancedIcon icon;
  AddImages(icon, {8});
  TIconProject project;
  project.Assign(icon);
  TIconLayer top, hidden, bottom;
  top.Picture = Solid(2, 50, 255);
  top.OffsetX = 3;
  top.OffsetY = 1;
  top.Modified = true;
  hidden.Picture = Solid(8, 90, 255);
  hidden.Hidden = 1;
  bottom.Picture = Solid(8, 10, 255);
  project.LayerLists()[0].Layers = {top, hidden, bottom};
  TAdvancedIcon flattened;
  project.AssignTo(flattened);
  TBitmap pixels;
  flattened.Images()[0]->AssignTo(pixels);
  EXPECT_EQ(GetRValue(pixels.GetPixel(3, 1)), 50);
  EXPECT_EQ(GetRValue(pixels.GetPixel(4, 2)), 50);
  EXPECT_EQ(GetRValue(pixels.GetPixel(5, 1)), 10);
  EXPECT_EQ(GetRValue(pixels.GetPixel(0, 7)), 10);
  EXPECT_FALSE(project.LayerLists()[0].AnyModified());
}

TEST(IconProjectTest, AsAPictureOfTheRegistryItIsDrawnAtItsLargestSize) {
  RegisterIconProjectFormat();
  const TPictureFormat* format = FindPictureFormat("ICPR");
  ASSERT_NE(format, nullptr);
  EXPECT_EQ(format->description, "Icon Project");
  TIconProject project;
  EXPECT_FALSE(project.Empty());
  TAdvancedIcon icon;
  AddImages(icon, {16, 48});
  project.Assign(icon);
  EXPECT_TRUE(project.Empty());  // the classes' query answers true for a project with layer lists
  MemoryStream stream(Saved(project));
  TBitmap picture = format->load(stream);
  EXPECT_EQ(picture.Width(), 48);
  EXPECT_EQ(picture.Height(), 48);
  EXPECT_EQ(GetRValue(picture.GetPixel(24, 24)), 200);  // the opaque image drawn
}

}  // namespace
}  // namespace varnel

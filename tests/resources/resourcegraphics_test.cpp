#include <gtest/gtest.h>

#include "base/byteorder.h"
#include "icons/dibheader.h"
#include "resources/bitmapresource.h"
#include "resources/iconcursorgroupresource.h"
#include "resources/iconcursorresource.h"
#include "resources/resourcelist.h"

namespace varnel {
namespace {

std::vector<uint8_t> BmpFile() {
  std::vector<uint8_t> file(14 + 40 + 4, 0);
  WriteU16LE(&file[0], 0x4D42);
  WriteU32LE(&file[14], 40);
  return file;
}

TEST(ResourceRecordClasses, RecordsGetTheClassOfTheirTypeOrContent) {
  std::vector<uint8_t> bytes = {1, 2, 3};
  auto make = [](const std::string& type, std::span<const uint8_t> data) {
    return CreateResourceDetails(nullptr, 0, "1", type, data);
  };
  EXPECT_NE(dynamic_cast<TBitmapResourceDetails*>(make("2", bytes).get()), nullptr);
  EXPECT_EQ(dynamic_cast<TDIBResourceDetails*>(make("2", bytes).get()), nullptr);
  EXPECT_NE(dynamic_cast<TIconResourceDetails*>(make("3", bytes).get()), nullptr);
  EXPECT_NE(dynamic_cast<TCursorResourceDetails*>(make("1", bytes).get()), nullptr);
  EXPECT_NE(dynamic_cast<TIconGroupResourceDetails*>(make("14", bytes).get()), nullptr);
  EXPECT_NE(dynamic_cast<TCursorGroupResourceDetails*>(make("12", bytes).get()), nullptr);

  std::vector<uint8_t> bmp = BmpFile();
  auto rcdata = make("10", bmp);
  EXPECT_NE(dynamic_cast<TDIBResourceDetails*>(rcdata.get()), nullptr);
  EXPECT_EQ(rcdata->ResourceType(), "10");
  auto other = make("10", bytes);
  EXPECT_EQ(typeid(*other), typeid(TResourceDetails));
  EXPECT_EQ(typeid(*make("PNG", bytes)), typeid(TResourceDetails));
  EXPECT_NE(dynamic_cast<TDIBResourceDetails*>(make("PICTURE", bmp).get()), nullptr);
  bmp[14] = 12;  // a core header is not claimed
  EXPECT_EQ(typeid(*make("PICTURE", bmp)), typeid(TResourceDetails));
}

TEST(ResourceRecordClasses, RegistrationOrderAndUnregistering) {
  std::vector<const ResourceDetailsClass*> standard = StandardResourceDetailsClasses();
  ASSERT_EQ(standard.size(), 6u);
  EXPECT_EQ(standard[0]->baseType(), "2");
  EXPECT_EQ(standard[1]->baseType(), "DIB");
  EXPECT_EQ(standard[2]->baseType(), "14");
  EXPECT_EQ(standard[5]->baseType(), "1");
  EXPECT_EQ(RegisteredResourceDetails(), standard);

  UnregisterGraphicsResourceDetails();
  std::vector<uint8_t> bytes = {1};
  EXPECT_EQ(typeid(*CreateResourceDetails(nullptr, 0, "1", "3", bytes)), typeid(TResourceDetails));
  RegisterGraphicsResourceDetails();
  EXPECT_EQ(RegisteredResourceDetails(), standard);
}

// ---- new records ----

TEST(NewIconResources, GroupCreatesItsDefaultImage) {
  TResourceList list;
  auto* group = CreateNewResource<TIconGroupResourceDetails>(list, 1033, "MAIN");
  ASSERT_NE(group, nullptr);
  ASSERT_EQ(list.ResourceCount(), 2);
  auto* image = dynamic_cast<TIconResourceDetails*>(list.ResourceDetails(1));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->ResourceName(), "1");
  EXPECT_EQ(image->ResourceLanguage(), 1033u);
  EXPECT_EQ(image->Bytes().size(), 744u);
  TBitmapInfoHeader header = TBitmapInfoHeader::Decode(image->Bytes().data());
  EXPECT_EQ(header.biWidth, 32);
  EXPECT_EQ(header.biHeight, 64);
  EXPECT_EQ(header.biBitCount, 4);
  EXPECT_EQ(header.biClrUsed, 16u);
  EXPECT_EQ(image->Bytes().back(), 0xFF) << "mask fully transparent";
  EXPECT_EQ(image->GetPixelFormat(), PixelFormat::Bits4);

  std::vector<uint8_t> expected = {0, 0, 1, 0, 1,    0, 32, 32, 16, 0,
                                   1, 0, 4, 0, 0xE8, 2, 0,  0,  1,  0};
  EXPECT_EQ(std::vector<uint8_t>(group->Bytes().begin(), group->Bytes().end()), expected);
  EXPECT_EQ(group->ImageResource(0), image);

  TAdvancedIcon icon;
  ASSERT_TRUE(icon.LoadFromResourceModule(list, "MAIN"));
  ASSERT_EQ(icon.Images().Count(), 1);
  EXPECT_EQ(icon.Images()[0]->ImageWidth(), 32);
  EXPECT_EQ(icon.Images()[0]->BitsPerPixel(), 4);
}

TEST(NewIconResources, CursorGroupAndBitmaps) {
  TResourceList list;
  CreateNewResource<TCursorResourceDetails>(list, 0, "1");
  auto* group = CreateNewResource<TCursorGroupResourceDetails>(list, 0, "ARROW");
  ASSERT_EQ(list.ResourceCount(), 3);
  auto* image = dynamic_cast<TCursorResourceDetails*>(list.ResourceDetails(2));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->ResourceName(), "2");
  EXPECT_EQ(image->Bytes().size(), 748u);
  EXPECT_EQ(ReadU32LE(image->Bytes().data()), 0x00010001u) << "hotspot (1, 1)";
  EXPECT_EQ(image->GetWidth(), 32);
  EXPECT_EQ(image->GetHeight(), 32);
  EXPECT_EQ(ReadU16LE(&group->Bytes()[2]), 2u);
  EXPECT_EQ(ReadU16LE(&group->Bytes()[6]), 32u);  // cursor entries: u16 width
  EXPECT_EQ(ReadU16LE(&group->Bytes()[8]), 32u);

  TAdvancedIcon cursor;
  image->GetImage(cursor);
  ASSERT_EQ(cursor.Images().Count(), 1);
  EXPECT_EQ(cursor.Images()[0]->HotSpot(), 0x00010001u);

  auto bitmap = CreateFreeResource<TBitmapResourceDetails>(0, "B");
  EXPECT_EQ(bitmap->GetWidth(), 32);
  EXPECT_EQ(bitmap->GetPixelFormat(), PixelFormat::Bits4);
  EXPECT_EQ(bitmap->GetImage().Width(), 32);
  auto dib = CreateFreeResource<TDIBResourceDetails>(0, "D");
  EXPECT_TRUE(TDIBResourceDetails::SupportsData(dib->Bytes()));
  EXPECT_EQ(dib->GetHeight(), 32);
  EXPECT_EQ(dib->GetImage().Height(), 32);
}

TEST(NewIconResources, PixelFormatsAndGroupEntriesOfUnusualImages) {
  auto image = CreateFreeResource<TIconResourceDetails>(0, "1");
  std::vector<uint8_t>& bytes = image->Data().Bytes();
  WriteU16LE(&bytes[14], 16);
  WriteU32LE(&bytes[16], 3);
  EXPECT_EQ(image->GetPixelFormat(), PixelFormat::Bits16);
  WriteU32LE(&bytes[16], 1);
  EXPECT_THROW(image->GetPixelFormat(), EInvalidGraphic);
  WriteU16LE(&bytes[14], 2);
  EXPECT_THROW(image->GetPixelFormat(), EInvalidGraphic);

  // A PNG image of 256 pixels: its group entry takes the size from the PNG header.
  TResourceList list;
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13,
                              'I',  'H', 'D', 'R', 0,    0,    1,    0,    0, 0, 1, 0};
  list.AddResource(CreateResourceDetails(&list, 0, "7", "3", png));
  auto* group = CreateNewResource<TIconGroupResourceDetails>(list, 0, "G");
  auto* pngImage = dynamic_cast<TIconCursorResourceDetails*>(list.ResourceDetails(0));
  group->AddImage(*pngImage);
  ASSERT_EQ(group->ImageCount(), 2);
  const uint8_t* entry = &group->Bytes()[6 + 14];
  EXPECT_EQ(entry[0], 0);  // 256
  EXPECT_EQ(entry[1], 0);
  EXPECT_EQ(ReadU16LE(entry + 6), 32u);
  EXPECT_EQ(ReadU32LE(entry + 8), png.size());
  EXPECT_EQ(ReadU16LE(entry + 12), 7u);
  EXPECT_EQ(group->ImageResource(1), pngImage);
}

// ---- deleting keeps groups and images consistent ----

// A list holding icon images 1..count (of 744 bytes each) and a group "G" listing them.
TIconGroupResourceDetails* GroupWithImages(TResourceList& list, int count) {
  auto* group = CreateNewResource<TIconGroupResourceDetails>(list, 0, "G");
  for (int i = 1; i < count; ++i) {
    auto* image = CreateNewResource<TIconResourceDetails>(list, 0, list.GetUniqueResourceName("3"));
    group->AddImage(*image);
  }
  return group;
}

TEST(DeletingIconResources, GroupTakesItsImages) {
  TResourceList list;
  GroupWithImages(list, 3);
  list.AddResource(
      std::make_unique<TResourceDetails>(&list, 0, "X", "5", std::span<const uint8_t>()));
  ASSERT_EQ(list.ResourceCount(), 5);
  list.DeleteResource(0);
  ASSERT_EQ(list.ResourceCount(), 1);
  EXPECT_EQ(list.ResourceDetails(0)->ResourceType(), "5");
}

TEST(DeletingIconResources, GroupAfterItsImagesAndWithAMissingImage) {
  TResourceList list;
  auto* group = GroupWithImages(list, 2);
  ASSERT_EQ(list.MoveResource(0, 2), 1);  // images first, the group last
  auto* stranger = CreateNewResource<TIconResourceDetails>(list, 0, "50");
  group->AddImage(*stranger);
  list.DeleteResource(list.IndexOfResource(stranger));
  EXPECT_EQ(group->ImageCount(), 2);
  group->AddImage(*CreateFreeResource<TIconResourceDetails>(0, "99"));  // never in the list
  list.DeleteResource(list.IndexOfResource(group));
  EXPECT_EQ(list.ResourceCount(), 0);
}

TEST(DeletingIconResources, ImagesLeaveTheirGroup) {
  TResourceList list;
  auto* group = GroupWithImages(list, 2);
  list.DeleteResource(1);
  ASSERT_EQ(list.ResourceCount(), 2);
  EXPECT_EQ(group->ImageCount(), 1);
  EXPECT_EQ(ReadU16LE(&group->Bytes()[6 + 12]), 2u);
  EXPECT_EQ(group->Bytes().size(), 20u);
  list.DeleteResource(list.IndexOfResource(group->ImageResource(0)));
  EXPECT_EQ(list.ResourceCount(), 0) << "a group that loses its last image goes too";
}

}  // namespace
}  // namespace varnel

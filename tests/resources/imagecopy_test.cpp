// Copies of icons (Assign, and the clipboard's icon-list stream) keep every image byte for byte:
// entry, data, hotspot and packed flag; a PNG image stays PNG.

#include <gtest/gtest.h>

#include <filesystem>

#include "base/byteorder.h"
#include "base/fileio.h"
#include "icons/advancedicon.h"
#include "resources/iconlistholder.h"
#include "support/corpus.h"

namespace varnel {
namespace {

constexpr const char* kPngIcon = "ico/pillow.ico";  // a 256-pixel PNG image and four DIBs

// The image as the collection file stores it: the record of its entry and its bytes.
std::unique_ptr<TSubIcon> ImageFromRecord(const TIconDirEntry& entry,
                                          std::span<const uint8_t> data) {
  MemoryStream record;
  record.WriteU8(12);
  entry.Write(record);
  record.WriteBytes(data);
  record.SetPosition(0);
  auto image = std::make_unique<TSubIcon>();
  image->LoadFromStream(record);
  return image;
}

// The icon as the collection holds it after opening pillow.ico (DIB images; the 256-pixel one
// held as a packed DIB, as editing a PNG image leaves it: opening keeps the PNG bytes) and after
// reading it from a collection file (the PNG bytes kept), with a hotspot on one image.
std::unique_ptr<TAdvancedIcon> MixedIcon(const std::vector<uint8_t>& ico) {
  auto icon = std::make_unique<TAdvancedIcon>();
  EXPECT_TRUE(icon->LoadFromBytes(ico));
  for (const auto& image : icon->Images())
    if (image->IsPng()) {
      image->UnpackPng(*image);
      image->SetPacked(true);
    }
  for (int i = 0; i < ReadU16LE(&ico[4]); ++i) {
    const uint8_t* entry = &ico[6 + 16 * i];
    std::span<const uint8_t> data(&ico[ReadU32LE(entry + 12)], ReadU32LE(entry + 8));
    icon->Images().Add(ImageFromRecord(TIconDirEntry::Decode(entry), data));
  }
  icon->Images()[1]->SetHotSpot(5 + (7 << 16));
  return icon;
}

std::vector<uint8_t> SavedIco(const TAdvancedIcon& icon) {
  MemoryStream stream;
  icon.SaveToStream(stream);
  return stream.TakeBytes();
}

void ExpectSameImages(const TAdvancedIcon& copy, const TAdvancedIcon& original) {
  ASSERT_EQ(copy.Images().Count(), original.Images().Count());
  for (int i = 0; i < original.Images().Count(); ++i) {
    const TSubIcon& a = *copy.Images()[i];
    const TSubIcon& b = *original.Images()[i];
    EXPECT_TRUE(a.SameData(b)) << i;
    EXPECT_EQ(a.HotSpot(), b.HotSpot()) << i;
    EXPECT_EQ(a.Packed(), b.Packed()) << i;
    EXPECT_EQ(a.IsPng(), b.IsPng()) << i;
  }
  EXPECT_EQ(SavedIco(copy), SavedIco(original));
}

class ImageCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(test::CorpusPath(kPngIcon)))
      GTEST_SKIP() << "needs the sample corpus (" << kPngIcon << ")";
    ico_ = test::ReadCorpusFile(kPngIcon);
    original_ = MixedIcon(ico_);
    int pngImages = 0;
    for (const auto& image : original_->Images()) pngImages += image->IsPng();
    ASSERT_EQ(pngImages, 1) << "the 256-pixel image read from a record stays PNG";
  }
  std::vector<uint8_t> ico_;
  std::unique_ptr<TAdvancedIcon> original_;
};

TEST_F(ImageCopy, AssignKeepsEveryByte) {
  TAdvancedIcon copy;
  copy.Assign(*original_);
  ExpectSameImages(copy, *original_);
  TAdvancedIcon copyOfCopy;
  copyOfCopy.Assign(copy);
  ExpectSameImages(copyOfCopy, *original_);

  // The PNG image alone saves as the file stored it: no bigger than the original file.
  TAdvancedIcon pngOnly;
  for (const auto& image : copy.Images())
    if (image->IsPng()) {
      auto single = std::make_unique<TSubIcon>();
      single->LoadCopy(*image);
      pngOnly.Images().Add(std::move(single));
    }
  EXPECT_LT(SavedIco(pngOnly).size(), ico_.size());
}

TEST_F(ImageCopy, ClipboardIconListStreamKeepsEveryByte) {
  TIconListHolder holder;
  auto copy = std::make_unique<TAdvancedIcon>();
  copy->Assign(*original_);
  holder.IconList().AddIcon("pillow", std::move(copy));
  MemoryStream stream;
  holder.WriteProperties(stream);
  stream.SetPosition(0);
  TIconListHolder pasted;
  pasted.ReadProperties(stream);
  ASSERT_EQ(pasted.IconList().Count(), 1);
  EXPECT_EQ(pasted.IconList().Names(0), "pillow");
  ExpectSameImages(*pasted.IconList().Icons(0), *original_);
}

}  // namespace
}  // namespace varnel

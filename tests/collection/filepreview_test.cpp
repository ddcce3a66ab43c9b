// The preview panel's contents by file kind, the picture area's fitting and the "Preview"
// window's arrangement of an icon's images; the properties of an icon.

#include <gtest/gtest.h>

#include <filesystem>

#include "base/fileio.h"
#include "collection/fileimport.h"
#include "collection/filepreview.h"
#include "collection/iconproperties.h"
#include "graphics/pngcodec.h"
#include "icons/bitmapfix32.h"
#include "icons/imagefileloader.h"
#include "support/corpus.h"
#include "support/testcollection.h"

namespace varnel {
namespace {

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

TFilePreview Preview(const std::string& relative) {
  return BuildFilePreview(test::CorpusPath(relative), {});
}

TEST(FilePreview, LabelsOfIconsCursorsAndPictures) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/gtk.ico", "ico/python.ico", "cur/deerstalker.cur",
                             "bmp/sample.bmp", "png/basn6a08.png");
  TFilePreview single = Preview("ico/gtk.ico");
  EXPECT_EQ(single.kind, TPreviewKind::Picture);
  EXPECT_EQ(single.label, "ICO 32x32x16");
  EXPECT_EQ(single.picture.Width(), 32);
  ASSERT_TRUE(single.icon);

  EXPECT_EQ(Preview("ico/python.ico").label, "ICO, formats: 3");
  EXPECT_TRUE(Preview("cur/deerstalker.cur").label.starts_with("CUR 32x32"));
  TFilePreview bitmap = Preview("bmp/sample.bmp");
  EXPECT_EQ(bitmap.label, "BMP 23x42x24bit");
  EXPECT_EQ(bitmap.picture.Height(), 42);
  EXPECT_EQ(Preview("png/basn6a08.png").label, "PNG 32x32");
}

// Every picture kind the import reads shows its picture under its type word, whether its kind
// is told by its content (PSD, PCX, ANI) or by the format its extension is registered for.
TEST(FilePreview, PicturesOfEveryImportedKindShowWithTheirTypeWords) {
  VARNEL_SKIP_WITHOUT_CORPUS("psd/rgba.psd", "pcx/rgb.pcx", "ani/test.ani", "xpm/sample.xpm",
                             "xbm/hopper.xbm", "wbmp/qt-logo-small.wbmp");
  const char* files[] = {"psd/rgba.psd",   "pcx/rgb.pcx",    "ani/test.ani",
                         "xpm/sample.xpm", "xbm/hopper.xbm", "wbmp/qt-logo-small.wbmp"};
  RegisterBitmapFix32();
  RegisterPictureReaders();
  const char* words[] = {"PSD ", "PCX ", "ANI ", "XPM ", "XBM ", "WBMP "};
  for (size_t i = 0; i < std::size(files); ++i) {
    TFilePreview preview = Preview(files[i]);
    EXPECT_EQ(preview.kind, TPreviewKind::Picture) << files[i];
    EXPECT_TRUE(preview.label.starts_with(words[i])) << files[i] << ": " << preview.label;
    EXPECT_GT(preview.picture.Width(), 0) << files[i];
  }
  EXPECT_TRUE(Preview("xpm/sample.xpm").label.ends_with("x24bit"));
  EXPECT_TRUE(Preview("ani/test.ani").animated);
}

TEST(FilePreview, ModulesAndCollectionsFillTheGrid) {
  test::TempDir dir;
  test::TestCollection collection;
  for (int i = 0; i < 3; ++i)
    collection.lib.AppendItem("i" + std::to_string(i), test::IconOfSizes({16}));
  collection.lib.WriteCollectionFile(dir.File("three.icc"));
  TFilePreview grid = BuildFilePreview(dir.File("three.icc"), {});
  EXPECT_EQ(grid.kind, TPreviewKind::Grid);
  EXPECT_EQ(grid.label, "Icons: 3");
  ASSERT_EQ(grid.grid->Count(), 3);
  ASSERT_TRUE(grid.grid->Icon(0));
  EXPECT_EQ(PreviewCellPicture(*grid.grid->Icon(0), clWhite).Width(), 16);
  grid.grid->Release(0);  // read again on demand
  EXPECT_TRUE(grid.grid->Icon(0));

  std::string stub = "/usr/share/nsis/Stubs/zlib-x86-ansi";
  if (FileExists(stub)) {
    TFilePreview module = BuildFilePreview(stub, {});
    EXPECT_EQ(module.kind, TPreviewKind::Grid);
    EXPECT_TRUE(module.label.starts_with("Icons: "));
    // Read icons stay; the names of their groups find them.
    ASSERT_GT(module.grid->Count(), 0);
    module.grid->Release(0);
    EXPECT_TRUE(module.grid->Icon(0));
    EXPECT_EQ(module.grid->IndexOfName("no such name"), -1);
  }
}

TEST(FilePreview, FilesThatCannotBeShownLeaveTheLabelPicture) {
  test::TempDir dir;
  WriteFileAtomic(dir.File("tiny.ico"), std::vector<uint8_t>{0, 0, 1, 0});
  WriteFileAtomic(dir.File("junk.ico"), std::vector<uint8_t>(64, 0xAB));
  for (const std::string& path : {dir.File("tiny.ico"), dir.File("junk.ico"), dir.File("none")}) {
    TFilePreview preview = BuildFilePreview(path, {});
    EXPECT_EQ(preview.kind, TPreviewKind::None) << path;
    EXPECT_EQ(preview.label, "Picture") << path;
    EXPECT_TRUE(preview.picture.Empty());
  }
}

TEST(FilePreview, PicturesShrinkToTheAreaAndIconImagesLineUp) {
  TBitmap large(400, 100, PixelFormat::Bits24);
  TBitmap fitted = FitPreviewPicture(large, 204, 204, false);
  EXPECT_EQ(fitted.Width(), 200);
  EXPECT_EQ(fitted.Height(), 50);
  EXPECT_EQ(FitPreviewPicture(TBitmap(20, 10, PixelFormat::Bits4), 204, 204, false).BitsPerPixel(),
            24);

  auto icon = test::IconOfSizes({16, 32, 48});
  TBitmap strip = IconImagesStrip(*icon, clWhite);
  EXPECT_EQ(strip.Width(), 16 + 32 + 48 + 2 * 2);
  EXPECT_EQ(strip.Height(), 48);
  EXPECT_EQ(strip.GetPixel(0, 0), clWhite);  // the 16-pixel image is centred vertically
  EXPECT_NE(strip.GetPixel(0, 20), clWhite);

  TAdvancedIcon wide;
  TBitmap bar(100, 10, PixelFormat::Bits24);
  wide.Images().AddFromBitmap(bar, nullptr, 0);
  wide.Images().AddFromBitmap(TBitmap(10, 10, PixelFormat::Bits24), nullptr, 0);
  TBitmap stacked = IconImagesStrip(wide, clWhite);
  EXPECT_EQ(stacked.Width(), 100);
  EXPECT_EQ(stacked.Height(), 22);
}

TEST(IconProperties, FieldsOfAnIconWhoseSourceWasDeleted) {
  auto icon = test::IconOfSizes({16, 32, 48});
  TIconProperties gone = TIconProperties::Of(*icon, "disk", "/nowhere/gone.dll", -1);
  EXPECT_EQ(gone.format, "3 images");
  EXPECT_EQ(gone.sourceFileSize, "Not found");
  EXPECT_EQ(gone.totalIcons, "");
  EXPECT_EQ(gone.iconIndex, "");
  EXPECT_EQ(gone.imageDescriptions.size(), 3u);
  EXPECT_EQ(ImageChooserLabel(0, 3), "Image 1 of 3");
  EXPECT_EQ(ImageChooserLabel(-1, 0), "No image");

  test::TempDir dir;
  icon->SaveToFile(dir.File("disk.ico"));
  TIconProperties here = TIconProperties::Of(*icon, "disk", dir.File("disk.ico"), 0);
  std::string bytes = std::to_string(FileSizeOf(dir.File("disk.ico"))) + " bytes";
  EXPECT_EQ(here.fileSize, bytes);
  EXPECT_EQ(here.sourceFileSize, bytes);
  EXPECT_EQ(here.totalIcons, "1");
  EXPECT_EQ(here.iconIndex, "0");
}

TEST(AddImageSize, AllAfterAsSourceTakesEachPictureSizeUpTo3000) {
  test::TestCollection collection;
  test::TempDir dir;
  WriteFileAtomic(dir.File("square.png"), EncodePng(TBitmap(300, 300, PixelFormat::Bits24)));
  WriteFileAtomic(dir.File("long.png"), EncodePng(TBitmap(4000, 10, PixelFormat::Bits24)));
  TNewImageSizeAnswer answer{300, 300, 9, false, true, true};
  collection.ui.imageSizeAnswers.push_back(answer);
  TAdvancedIcon icon;
  ImportSession session;
  AddImagesFromFile(collection.lib, session, icon, dir.File("square.png"), 0);
  AddImagesFromFile(collection.lib, session, icon, dir.File("long.png"), 0);
  EXPECT_EQ(collection.ui.imageSizeRequests.size(), 1u);
  ASSERT_EQ(icon.Images().Count(), 2);
  EXPECT_EQ(icon.Images()[1]->ImageWidth(), 3000);
}

}  // namespace
}  // namespace varnel

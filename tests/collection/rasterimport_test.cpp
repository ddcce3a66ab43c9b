#include <gtest/gtest.h>

#include "base/fileio.h"
#include "collection/fileimport.h"
#include "support/corpus.h"
#include "support/testcollection.h"

namespace varnel {
namespace {

class RasterImportTest : public ::testing::Test {
 protected:
  test::TestCollection collection;
  TfmLib& lib = collection.lib;
  FakeUserInterface& ui = collection.ui;

  std::vector<std::string> ImageShapes(int item) const {
    std::vector<std::string> shapes;
    for (const auto& image : lib.Items().Icons(item)->Images())
      shapes.push_back(std::to_string(image->ImageWidth()) + "x" +
                       std::to_string(image->ImageHeight()) + "x" +
                       std::to_string(image->BitsPerPixel()));
    return shapes;
  }
};

TEST_F(RasterImportTest, ImportedPicturesAreNamedAfterTheirFiles) {
  VARNEL_SKIP_WITHOUT_CORPUS("psd/hopper.psd", "pcx/indexed8.pcx", "xpm/color_name.xpm",
                             "xbm/valid.1.xbm", "wbmp/qt-logo-small.wbmp");
  std::vector<std::string> errors;
  for (const char* file : {"psd/hopper.psd", "pcx/indexed8.pcx", "xpm/color_name.xpm",
                           "xbm/valid.1.xbm", "wbmp/qt-logo-small.wbmp"})
    ImportFile(lib, test::CorpusPath(file), &errors);
  EXPECT_TRUE(errors.empty()) << errors[0];
  ASSERT_EQ(lib.Count(), 5);
  EXPECT_EQ(lib.Items().Names(0), "hopper");
  // Two layers: the composite first, then each layer (the second one with transparency).
  EXPECT_EQ(ImageShapes(0), (std::vector<std::string>{"128x128x24", "128x128x24", "128x128x32"}));
  EXPECT_EQ(ImageShapes(1), std::vector<std::string>{"32x32x32"});
  EXPECT_EQ(lib.Items().Names(2), "color_name");
  EXPECT_EQ(ImageShapes(3), std::vector<std::string>{"20x20x1"});
  EXPECT_EQ(lib.Items().Icons(3)->Images()[0]->HotSpot(), 10u | (10u << 16));
  EXPECT_EQ(ImageShapes(4), std::vector<std::string>{"123x103x1"});
  EXPECT_TRUE(ui.imageSizeRequests.empty());
}

TEST_F(RasterImportTest, LargePicturesAskForTheirSize) {
  VARNEL_SKIP_WITHOUT_CORPUS("psd/indexed.psd");
  test::TempDir dir;
  std::vector<uint8_t> wide = {0, 0, 129, 172, 10};  // 300 x 10, read by its extension
  wide.resize(wide.size() + 38 * 10, 0xF0);
  WriteFileAtomic(dir.File("wide.wbmp"), wide);
  TNewImageSizeAnswer size;
  size.width = size.height = 48;
  ui.imageSizeAnswers.push_back(size);
  ui.imageSizeAnswers.push_back(size);
  ImportFile(lib, test::CorpusPath("psd/indexed.psd"), nullptr);
  ImportFile(lib, dir.File("wide.wbmp"), nullptr);
  ASSERT_EQ(ui.imageSizeRequests.size(), 2u);
  EXPECT_EQ(ui.imageSizeRequests[0].width, 300);
  EXPECT_EQ(ui.imageSizeRequests[1].width, 300);
  ASSERT_EQ(lib.Count(), 2);
  EXPECT_EQ(lib.Items().Icons(0)->Images()[0]->ImageWidth(), 48);
  EXPECT_EQ(lib.Items().Icons(1)->Images()[0]->ImageHeight(), 48);
}

TEST_F(RasterImportTest, SearchesPassPicturesByAndHostileFilesFailCleanly) {
  VARNEL_SKIP_WITHOUT_CORPUS("pcx/rgb.pcx", "psd/hopper.psd", "xpm/issue-95.xpm");
  LoadFile(lib, test::CorpusPath("pcx/rgb.pcx"));
  LoadFile(lib, test::CorpusPath("psd/hopper.psd"));
  EXPECT_EQ(lib.Count(), 0);
  std::vector<std::string> errors;
  ImportFile(lib, test::CorpusPath("xpm/issue-95.xpm"), &errors);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Invalid XPM image data, err. 2, file: ", 0), 0u) << errors[0];
  EXPECT_EQ(lib.Count(), 0);
}

}  // namespace
}  // namespace varnel

// Sheets of icons: their arithmetic, file names, backups and where images land in the cells.

#include <gtest/gtest.h>

#include "graphics/gifcodec.h"

#include <filesystem>

#include "base/errors.h"
#include "base/fileio.h"
#include "collection/sheetexport.h"
#include "collection/sheetlayout.h"
#include "collection/singleimageexport.h"
#include "graphics/bmpcodec.h"
#include "graphics/pngcodec.h"
#include "support/corpus.h"
#include "support/testcollection.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

class SheetTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::vector<std::unique_ptr<TAdvancedIcon>> icons;
  TSheetJob job;

  void Icons(int count, int size = 16) {
    for (int i = 0; i < count; ++i) {
      icons.push_back(test::IconOfSizes({size}));
      job.icons.push_back(icons.back().get());
    }
  }
  TSheetResult Write(const std::string& name, const std::string& extension = "png") {
    job.fileName = dir.File(name);
    job.extension = extension;
    return WriteSheets(job);
  }
  TBitmap Read(const std::string& name) { return DecodePng(ReadWholeFile(dir.File(name))); }
  // The box of pixels that differ from the sheet's corner pixel: left, top, right, bottom.
  static TCellRect DrawnBox(const TBitmap& sheet) {
    TCellRect box{sheet.Width(), sheet.Height(), 0, 0};
    for (int y = 0; y < sheet.Height(); ++y)
      for (int x = 0; x < sheet.Width(); ++x)
        if (sheet.GetPixel(x, y) != sheet.GetPixel(0, 0) ||
            (sheet.Format() == PixelFormat::Bits32 && sheet.ScanLine(y)[x * 4 + 3] != 0))
          box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                 std::max(box.bottom, y + 1)};
    return box;
  }
};

TEST(SheetLayout, ArithmeticOfColumnsRowsAndCells) {
  TExportSingleSettings s;
  s.CC = 20;
  s.CR = 2;
  TSheetLayout many = TSheetLayout::Of(s, 45);
  EXPECT_EQ(many.columns, 20);
  EXPECT_EQ(many.rowsNeeded, 3);
  EXPECT_EQ(many.rows, 2);
  EXPECT_EQ(many.perSheet, 40);
  EXPECT_TRUE(many.MultipleSheets());
  EXPECT_EQ(many.width, 640);
  EXPECT_EQ(many.height, 64);

  s = {};
  s.ML = 3, s.MT = 4, s.MR = 5, s.MB = 6, s.GH = 2, s.GV = 7, s.CW = 10, s.CH = 20;
  TSheetLayout few = TSheetLayout::Of(s, 5);
  EXPECT_EQ(few.columns, 5);
  EXPECT_EQ(few.rows, 1);
  EXPECT_FALSE(few.MultipleSheets());
  EXPECT_EQ(few.width, 3 + 5 + 4 * 2 + 5 * 10);
  EXPECT_EQ(few.height, 4 + 6 + 20);
  EXPECT_EQ(few.Cell(2), (TCellRect{3 + 2 * 12, 4, 3 + 2 * 12 + 10, 24}));
}

TEST(SheetLayout, ImagesAreCentredOrScaledWithTheirProportions) {
  TCellRect cell{10, 20, 42, 52};
  EXPECT_EQ(PlaceInCell(cell, 16, 16, false), (TCellRect{18, 28, 34, 44}));
  EXPECT_EQ(PlaceInCell(cell, 16, 16, true), cell);
  EXPECT_EQ(PlaceInCell(cell, 48, 24, false), (TCellRect{10, 28, 42, 44}));
  EXPECT_EQ(PlaceInCell(cell, 24, 48, false), (TCellRect{18, 20, 34, 52}));
  EXPECT_EQ(PlaceInCell({0, 0, 32, 16}, 64, 64, false), (TCellRect{8, 0, 24, 16}));
}

TEST_F(SheetTest, FortyFiveIconsInTwentyByTwoMakeTwoNumberedSheets) {
  Icons(45);
  job.settings.CC = 20;
  job.settings.CR = 2;
  TSheetResult result = Write("name.png");
  EXPECT_EQ(result.sheets, 2);
  EXPECT_EQ(result.lastFile, dir.File("name02.png"));
  EXPECT_EQ(SheetClosingMessage(result), "2 images saved. Last image: " + dir.File("name02.png"));
  EXPECT_FALSE(fs::exists(dir.File("name.png")));
  TBitmap first = Read("name01.png"), second = Read("name02.png");
  EXPECT_EQ(first.Width(), 640);
  EXPECT_EQ(first.Height(), 64);
  EXPECT_EQ(second.Width(), 640);
  // 40 items fill the first sheet; 5 items the first row of the second.
  EXPECT_EQ(DrawnBox(first), (TCellRect{8, 8, 632, 56}));
  EXPECT_EQ(DrawnBox(second), (TCellRect{8, 8, 4 * 32 + 24, 24}));
}

TEST_F(SheetTest, FiveIconsMakeOneSheetWithoutNumberAndBackupTheOldFile) {
  Icons(5);
  WriteFileAtomic(dir.File("five.bmp"), std::vector<uint8_t>{1, 2, 3});
  TSheetResult result = Write("five.bmp", "bmp");
  EXPECT_EQ(result.sheets, 1);
  EXPECT_EQ(SheetClosingMessage(result), "");
  TBitmap sheet = LoadBmp(ReadWholeFile(dir.File("five.bmp")));
  EXPECT_EQ(sheet.Width(), 160);
  EXPECT_EQ(sheet.Height(), 32);
  EXPECT_EQ(sheet.BitsPerPixel(), 24);
  EXPECT_EQ(sheet.GetPixel(0, 0), clWhite);
  EXPECT_EQ(ReadWholeFile(dir.File("five.bak")), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(SheetTest, SmallImagesAreCentredAndStretchFillsTheCell) {
  Icons(1, 16);
  job.itemBpp = 32;
  Write("small.png");
  TBitmap centred = Read("small.png");
  EXPECT_EQ(centred.Format(), PixelFormat::Bits32);
  EXPECT_EQ(centred.ScanLine(0)[3], 0);  // a 32-bit sheet starts transparent
  EXPECT_EQ(DrawnBox(centred), (TCellRect{8, 8, 24, 24}));
  job.settings.StretchToFit = true;
  Write("stretched.png");
  EXPECT_EQ(DrawnBox(Read("stretched.png")), (TCellRect{0, 0, 32, 32}));
}

TEST_F(SheetTest, ItemColourFormatsGiveTheSheetDepthAndGifSheetsAreIndexed) {
  Icons(2);
  job.itemBpp = 4;
  Write("four.bmp", "bmp");
  EXPECT_EQ(LoadBmp(ReadWholeFile(dir.File("four.bmp"))).BitsPerPixel(), 4);
  Write("indexed.gif", "gif");
  EXPECT_EQ(DecodeGif(ReadWholeFile(dir.File("indexed.gif"))).width,
            LoadBmp(ReadWholeFile(dir.File("four.bmp"))).Width());
}

TEST_F(SheetTest, LargeImagesAreDrawnThroughTheirMaskOnSheetsWithoutAlpha) {
  // 256 x 256: the left half opaque red, the right half masked with white colour bits, which
  // the mask drawing turns into the inverse of the background.
  TBitmap colour(256, 256, PixelFormat::Bits24);
  TBitmap mask(256, 256, PixelFormat::Bits1);
  mask.Fill(clBlack);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      colour.SetPixel(x, y, x < 128 ? RGB(255, 0, 0) : clWhite);
      if (x >= 128) mask.SetPixel(x, y, clWhite);
    }
  auto large = std::make_unique<TAdvancedIcon>();
  large->Images().AddFromBitmap(colour, &mask, 0);
  job.icons.push_back(large.get());
  job.settings.CW = job.settings.CH = 64;
  job.settings.bkColor = clWhite;
  Write("large.png");
  TBitmap sheet = Read("large.png");
  ASSERT_EQ(sheet.Width(), 64);
  EXPECT_EQ(sheet.GetPixel(10, 30), RGB(255, 0, 0));
  EXPECT_EQ(sheet.GetPixel(50, 30), clBlack);  // white XOR white
  // On a 32-bit sheet the same image keeps its transparency instead.
  job.itemBpp = 32;
  Write("large32.png");
  EXPECT_EQ(Read("large32.png").ScanLine(30)[50 * 4 + 3], 0);
}

TEST(SingleImageExport, PresetsAndTheDialogsBeforeTheSheets) {
  TExportSingleSettings stored;
  stored.CW = 20;
  EXPECT_EQ(ExportSinglePresets(stored, 16, 8).settings.CW, 16);
  EXPECT_EQ(ExportSinglePresets(stored, 16, 8).itemBpp, 24);
  EXPECT_EQ(ExportSinglePresets(stored, -1, 4).settings.CW, 20);  // custom sizes keep it
  EXPECT_EQ(ExportSinglePresets(stored, -1, 4).itemBpp, 4);

  test::TestCollection collection;
  test::TempDir dir;
  for (int i = 0; i < 45; ++i) collection.lib.AppendItem("i", test::IconOfSizes({16}));
  collection.lib.SetSelected(3, true);
  int asked = 0;
  auto ask = [&](const TExportSingleChoice& initial) -> std::optional<TExportSingleChoice> {
    ++asked;
    TExportSingleChoice choice = initial;
    choice.settings.CR = 2;
    return choice;
  };
  // The save dialog cancelled once brings the settings back; then the PNG filter (4).
  collection.ui.fileAnswers = {std::nullopt, TFileDialogAnswer{{dir.File("one.x")}, 4}};
  EXPECT_TRUE(ExportSingleImage(collection.lib, stored, 32, 32, ask));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(stored.CR, 2);
  EXPECT_EQ(stored.Dir, dir.Path() + "/");
  EXPECT_EQ(DecodePng(ReadWholeFile(dir.File("one.png"))).Width(), 32);  // the selected icon
  EXPECT_TRUE(collection.ui.messages.empty());

  collection.lib.SetSelected(3, false);
  collection.ui.fileAnswers = {TFileDialogAnswer{{dir.File("all")}, 4}};
  EXPECT_TRUE(ExportSingleImage(collection.lib, stored, 32, 32, ask));
  ASSERT_EQ(collection.ui.messages.size(), 1u);
  EXPECT_EQ(collection.ui.messages[0].text, "2 images saved. Last image: " + dir.File("all02.png"));
  EXPECT_FALSE(ExportSingleImage(collection.lib, stored, 32, 32,
                                 [](const TExportSingleChoice&) { return std::nullopt; }));
}

}  // namespace
}  // namespace varnel

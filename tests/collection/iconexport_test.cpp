// Exporting icons to a folder and saving one icon under the icon save dialog's name, driven
// through the scripted user interface.

#include <gtest/gtest.h>

#include "graphics/gifcodec.h"

#include <filesystem>

#include "base/errors.h"
#include "base/fileio.h"
#include "collection/exportnames.h"
#include "collection/iconfolderexport.h"
#include "collection/iconsavefile.h"
#include "collection/saveformats.h"
#include "graphics/bmpcodec.h"
#include "graphics/jpegcodec.h"
#include "graphics/pngcodec.h"
#include "support/corpus.h"
#include "support/testcollection.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;
using test::IconOfSizes;

class IconExportTest : public ::testing::Test {
 protected:
  test::TestCollection collection;
  FakeUserInterface& ui = collection.ui;
  TfmLib& lib = collection.lib;
  test::TempDir dir;

  void Add(const std::string& name, std::initializer_list<int> sizes = {16}) {
    lib.AppendItem(name, IconOfSizes(sizes));
  }
  void ExportAll() {
    ui.folderAnswers.push_back(dir.Path());
    lib.ExportIconsToFolder(true);
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  int ImagesIn(const std::string& name) {
    TAdvancedIcon icon;
    icon.LoadFromFile(dir.File(name));
    return icon.Images().Count();
  }
};

TEST(ExportNames, ReservedNamesTrailingNumbersAndExtensions) {
  for (const char* name : {"Con", "AUX", "prn", "nul", "com1", "LPT9"})
    EXPECT_TRUE(IsReservedDeviceName(name)) << name;
  for (const char* name : {"com0", "com10", "lpt", "cons", "", "con.ico"})
    EXPECT_FALSE(IsReservedDeviceName(name)) << name;
  EXPECT_EQ(ExportFileName("Con", "ico"), "Con_.ico");
  EXPECT_EQ(ExportFileName("folder.ico", "ico"), "folder.ico");
  EXPECT_EQ(ExportFileName("lpt3.png", "png"), "lpt3_.png");
  EXPECT_EQ(ExportFileName("a/b", "ico"), "a_b.ico");
  EXPECT_EQ(IncrementName("icon09"), "icon10");
  EXPECT_EQ(IncrementName("99"), "100");
  EXPECT_EQ(IncrementName(""), "1");
}

TEST(ExportNames, UniqueNamesSkipTakenAndReservedNames) {
  test::TempDir dir;
  WriteFileAtomic(dir.File("a1.ico"), std::vector<uint8_t>{1});
  EXPECT_EQ(UniqueFileName(dir.File("a.ico")), dir.File("a2.ico"));
  // com9 -> com10 is free; lpt1 to lpt9 are reserved and passed over.
  EXPECT_EQ(UniqueFileName(dir.File("com9.ico")), dir.File("com10.ico"));
  EXPECT_EQ(UniqueFileName(dir.File("lpt")), dir.File("lpt10"));
}

TEST_F(IconExportTest, NamesFollowTheItemsAndEmptyIconsAreLeftOut) {
  Add("Con");
  Add("folder.ico", {16, 32});
  lib.AppendItem("empty", std::make_unique<TAdvancedIcon>());
  // A cursor keeps its hot spot in a cursor file.
  Add("pointer", {32});
  lib.Items().Icons(3)->Images()[0]->SetHotSpot(5 | 7 << 16);
  ExportAll();
  EXPECT_EQ(Files(), (std::vector<std::string>{"Con_.ico", "folder.ico", "pointer.cur"}));
  EXPECT_EQ(ImagesIn("folder.ico"), 2);
  TAdvancedIcon cursor;
  ASSERT_TRUE(cursor.LoadFromFile(dir.File("pointer.cur")));
  EXPECT_EQ(cursor.Images()[0]->HotSpot(), 5u | 7u << 16);
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages.back().text, "3 files written to " + dir.Path());
  EXPECT_TRUE(ui.overwriteRequests.empty());
  EXPECT_FALSE(lib.Busy());
  EXPECT_FALSE(ui.busy);
}

TEST_F(IconExportTest, RenameAutoAtTheFirstClashHoldsForTheRest) {
  for (int i = 0; i < 3; ++i) Add("a", {16 * (i + 1)});
  ui.overwriteAnswers.push_back(TOverwriteAnswer::RenameAuto);
  ExportAll();
  EXPECT_EQ(Files(), (std::vector<std::string>{"a.ico", "a1.ico", "a2.ico"}));
  ASSERT_EQ(ui.overwriteRequests.size(), 1u);
  EXPECT_EQ(ui.overwriteRequests[0].existingFile, dir.File("a.ico"));
  EXPECT_EQ(ui.overwriteRequests[0].sourceName, "a.ico");
  TAdvancedIcon third;
  third.LoadFromFile(dir.File("a2.ico"));
  EXPECT_EQ(third.Images()[0]->ImageWidth(), 48);
}

TEST_F(IconExportTest, SkipAllOverwriteAllAndCancel) {
  Add("a", {16});
  Add("b", {16});
  Add("c", {16});
  ExportAll();
  lib.Items().Icons(0)->Assign(*IconOfSizes({16, 32}));
  lib.Items().Icons(2)->Assign(*IconOfSizes({16, 32}));

  ui.overwriteAnswers = {TOverwriteAnswer::SkipAll};
  ExportAll();
  EXPECT_EQ(ui.overwriteRequests.size(), 1u);
  EXPECT_EQ(ImagesIn("a.ico") + ImagesIn("c.ico"), 2);

  ui.overwriteAnswers = {TOverwriteAnswer::Skip, TOverwriteAnswer::OverwriteAll};
  ExportAll();
  EXPECT_EQ(ui.overwriteRequests.size(), 3u);
  EXPECT_EQ(ImagesIn("a.ico"), 1);
  EXPECT_EQ(ImagesIn("c.ico"), 2);

  // Cancel at b: a was written before and stays, c is not touched.
  fs::remove(dir.File("a.ico"));
  fs::remove(dir.File("c.ico"));
  ui.overwriteAnswers = {TOverwriteAnswer::Cancel};
  ExportAll();
  EXPECT_EQ(Files(), (std::vector<std::string>{"a.ico", "b.ico"}));
  EXPECT_EQ(ImagesIn("a.ico"), 2);
  EXPECT_FALSE(lib.Busy());
}

TEST_F(IconExportTest, SelectionStopButtonAndAFileInPlaceOfTheFolder) {
  Add("a");
  Add("b");
  Add("c");
  lib.SetSelected(1, true);
  ui.folderAnswers.push_back(dir.Path() + "/");
  lib.ExportIconsToFolder(false);
  EXPECT_EQ(Files(), (std::vector<std::string>{"b.ico"}));

  ui.onProcessMessages = [&] { lib.RequestStop(); };
  ExportAll();
  EXPECT_EQ(Files(), (std::vector<std::string>{"a.ico", "b.ico"}));
  EXPECT_EQ(ui.messages.back().text, "Export stopped: 1 file written to " + dir.Path());

  ui.folderAnswers.push_back(dir.File("a.ico"));
  try {
    lib.ExportIconsToFolder(true);
    ADD_FAILURE() << "a file was taken as the folder";
  } catch (const Exception& error) {
    EXPECT_EQ(std::string(error.what()),
              "Can`t create directory, because this file found: " + dir.File("a.ico"));
  }
  EXPECT_FALSE(lib.Busy());
  lib.ExportIconsToFolder(true);  // cancelled folder dialog: nothing happens
}

TEST(IconSaveDialog, FilterExtensionsAndNameCompletion) {
  std::string filter = SaveFormatFilter();
  EXPECT_TRUE(
      filter.starts_with("Icon (*.ico)|*.ico|Windows Bitmap (*.bmp)|*.bmp|JPEG Image "
                         "(*.jpg)|*.jpg|Cursor (*.cur)|*.cur|GIF Image (*.gif)|*.gif|"));
  EXPECT_EQ(FilterExtension(filter, 1), "ico");
  EXPECT_EQ(FilterExtension(filter, 6), "png");
  EXPECT_EQ(FilterExtension(filter, 99), "");
  EXPECT_EQ(CompleteFileName("x.bmp", "png"), "x.bmp.png");
  EXPECT_EQ(CompleteFileName("x.PNG", "png"), "x.PNG");
  EXPECT_EQ(CompleteFileName("x.", "ico"), "x.ico");
  TIconSaveDialog dialog{"/icons/last", 1};
  EXPECT_EQ(ProposedIconName(dialog, "Disk"), "/icons/Disk");
  EXPECT_EQ(ProposedFrameName(dialog, "Disk", 0), "/icons/Disk0");
}

class IconSaveTest : public IconExportTest {
 protected:
  TSettings settings;
  TIconSaveDialog dialog;
  std::unique_ptr<TAdvancedIcon> icon = IconOfSizes({16, 32});

  // Answers the save dialog with a name and the filter of an extension.
  void Answer(const std::string& name, const std::string& extension) {
    int index = 1;
    while (FilterExtension(SaveFormatFilter(), index) != extension) ++index;
    ui.fileAnswers.push_back(TFileDialogAnswer{{dir.File(name)}, index});
  }
  bool Save(const TAdvancedIcon* whole, const TSubIcon* image) {
    return SaveIconWithDialog(ui, settings, dialog, "Save Icon as", "", whole, image);
  }
};

TEST_F(IconSaveTest, TypedExtensionOfAnotherFilterIsKeptAndTheWrittenNameIsAsked) {
  WriteFileAtomic(dir.File("x.bmp"), std::vector<uint8_t>{1});
  Answer("x.bmp", "png");
  EXPECT_TRUE(Save(icon.get(), icon->Images()[1]));
  EXPECT_TRUE(ui.messages.empty());  // x.bmp exists, but x.bmp.png is what is written
  EXPECT_EQ(DecodePng(ReadWholeFile(dir.File("x.bmp.png"))).Width(), 32);
  EXPECT_EQ(dialog.fileName, dir.File("x.bmp"));

  // "No" shows the dialog again; cancelling it writes nothing.
  Answer("x.bmp", "png");
  ui.messageAnswers.push_back(TModalResult::mrNo);
  EXPECT_FALSE(Save(icon.get(), nullptr));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "File " + dir.File("x.bmp.png") + " already exists. Overwrite?");
  EXPECT_EQ(ui.messages[0].caption, "Save file");
  EXPECT_EQ(ui.fileRequests.size(), 3u);
}

TEST_F(IconSaveTest, EveryAvailableFormatWritesWhatItsReadersTake) {
  for (const char* extension : {"ico", "bmp", "jpg", "png"}) Answer("all", extension);
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(Save(icon.get(), nullptr));
  EXPECT_EQ(ImagesIn("all.ico"), 2);
  EXPECT_EQ(LoadBmp(ReadWholeFile(dir.File("all.bmp"))).Width(), 16);
  TBitmap jpeg = DecodeJpeg(ReadWholeFile(dir.File("all.jpg")));
  EXPECT_EQ(jpeg.Width(), 16);
  EXPECT_NEAR(GetRValue(jpeg.GetPixel(8, 8)), 16, 4);  // the image's colour survives
  EXPECT_EQ(DecodePng(ReadWholeFile(dir.File("all.png"))).Width(), 16);

  for (const char* extension : {"gif", "xpm", "icpr", "icns"}) Answer("more", extension);
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(Save(icon.get(), nullptr));
  EXPECT_EQ(DecodeGif(ReadWholeFile(dir.File("more.gif"))).width, 16);
  EXPECT_NE(test::FileText(dir.File("more.xpm")).find("more_xpm"), std::string::npos);
  EXPECT_EQ(test::FileText(dir.File("more.icpr")).substr(1, 3), "ICP");
  EXPECT_EQ(test::FileText(dir.File("more.icns")).substr(0, 4), "icns");
}

TEST_F(IconSaveTest, StoredPngIsWrittenAsItIsOnlyWhenItDecodes) {
  std::vector<uint8_t> png = EncodePng(TBitmap(32, 32, PixelFormat::Bits32));
  png[32] ^= 0xFF;  // the header chunk's checksum: the image loads, libpng refuses the data
  auto image = std::make_unique<TSubIcon>();
  SpanStream stream(png);
  image->LoadFromData(stream);
  ASSERT_TRUE(image->IsPng());
  TAdvancedIcon damaged;
  damaged.Images().Add(std::move(image));
  Answer("damaged", "png");
  ASSERT_TRUE(Save(&damaged, nullptr));
  EXPECT_EQ(DecodePng(ReadWholeFile(dir.File("damaged.png"))).Width(), 32);
}

TEST_F(IconSaveTest, CursorsTakeTheHotSpotAndCancelWritesNothing) {
  icon->Images()[0]->SetHotSpot(3);
  Answer("c", "cur");
  ui.hotSpotAnswers.push_back(7 * 65536 + 5);
  ASSERT_TRUE(Save(icon.get(), nullptr));
  TAdvancedIcon cursor;
  cursor.LoadFromFile(dir.File("c.cur"));
  ASSERT_EQ(cursor.Images().Count(), 2);
  for (const auto& image : cursor.Images()) EXPECT_EQ(image->HotSpot(), 7u * 65536 + 5);

  Answer("d", "cur");
  EXPECT_FALSE(Save(icon.get(), nullptr));
  EXPECT_FALSE(fs::exists(dir.File("d.cur")));
  EXPECT_EQ(dialog.fileName, "");
}

TEST_F(IconSaveTest, PicturesWithoutTransparencyUseTheBackgroundOfTheImageDepth) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/hopper_mask.ico");
  TAdvancedIcon mono;
  mono.LoadFromFile(test::CorpusPath("ico/hopper_mask.ico"));
  ASSERT_EQ(mono.Images()[0]->BitsPerPixel(), 1);
  settings.Back1bpp = RGB(0, 0, 255);
  Answer("mono", "bmp");
  ASSERT_TRUE(Save(nullptr, mono.Images()[0]));
  TBitmap saved = LoadBmp(ReadWholeFile(dir.File("mono.bmp")));
  TBitmap colour, mask;
  mono.Images()[0]->GetBitmaps(nullptr, &colour, clNone, &mask);
  int transparent = 0;  // masked pixels with black colour (white ones invert the background)
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (mask.GetPixel(x, y) != clBlack && colour.GetPixel(x, y) == clBlack) {
        ++transparent;
        EXPECT_EQ(saved.GetPixel(x, y), RGB(0, 0, 255)) << x << "," << y;
      }
  EXPECT_GT(transparent, 0);
}

TEST_F(IconSaveTest, EightBitBitmapsStayIndexedWithTheBackgroundInASpareEntry) {
  // Left half red, right half transparent; the palette has spare entries.
  TBitmap colour(8, 8, PixelFormat::Bits8);
  std::vector<RGBQuad> palette(256);
  palette[1] = RGBQuad::FromColor(RGB(255, 0, 0));
  colour.SetPalette(palette);
  TBitmap mask(8, 8, PixelFormat::Bits1);
  mask.Fill(clBlack);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      colour.SetIndex(x, y, 1);
      if (x >= 4) mask.SetPixel(x, y, clWhite);
    }
  TAdvancedIcon indexed;
  indexed.Images().AddFromBitmap(colour, &mask, 0);
  ASSERT_EQ(indexed.Images()[0]->BitsPerPixel(), 8);
  settings.Back8bpp = RGB(0, 128, 64);
  Answer("indexed", "bmp");
  ASSERT_TRUE(Save(nullptr, indexed.Images()[0]));
  TBitmap saved = LoadBmp(ReadWholeFile(dir.File("indexed.bmp")));
  EXPECT_EQ(saved.BitsPerPixel(), 8);
  EXPECT_EQ(saved.GetPixel(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(saved.GetPixel(6, 6), RGB(0, 128, 64));
}

}  // namespace
}  // namespace varnel

// The collection's editing, saving and loading operations, driven without a window.

#include "collection/fmlib.h"

#include <gtest/gtest.h>

#include "appcore/reopenfileholder.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "collection/fileimport.h"
#include "collection/searchmodescope.h"
#include "graphics/pngcodec.h"
#include "icons/maskbits.h"
#include "platform/fakeuserinterface.h"
#include "support/corpus.h"
#include "support/testcollection.h"

namespace varnel {
namespace {

using test::IconOfSizes;

class CollectionTest : public ::testing::Test {
 protected:
  test::TestCollection collection;
  FakeUserInterface& ui = collection.ui;
  TSettings& settings = collection.settings;
  TPlainGridView& grid = collection.grid;
  TfmLib& lib = collection.lib;
  test::TempDir dir;

  void Add(const std::string& name, std::initializer_list<int> sizes = {16}) {
    lib.AppendItem(name, IconOfSizes(sizes));
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int i = 0; i < lib.Count(); ++i) names.push_back(lib.Items().Names(i));
    return names;
  }
  void Select(std::initializer_list<int> indexes) {
    for (int i = 0; i < lib.Count(); ++i) lib.SetSelected(i, false);
    for (int i : indexes) lib.SetSelected(i, true);
  }
};

TEST_F(CollectionTest, CollectionFileKeepsItemsImagesAndSources) {
  Add("first", {16, 32});
  Add("", {48});
  lib.RecordSources("/icons/a.ico", 0);
  Add("third");
  std::string file = dir.File("c.icc");
  lib.WriteCollectionFile(file);

  lib.ReadCollectionFile(file);
  EXPECT_EQ(Names(), (std::vector<std::string>{"first", "Icon 2", "third"}));
  EXPECT_EQ(lib.Items().Icons(0)->Images().Count(), 2);
  EXPECT_EQ(lib.SourceOf(1), "/icons/a.ico");
  EXPECT_EQ(lib.Items().Source(1).position, 1);
  EXPECT_EQ(lib.SourceOf(2), "");
  EXPECT_FALSE(lib.GetModified());
  EXPECT_TRUE(lib.Items().Icons(0)->SameIcon(*IconOfSizes({16, 32})));
}

TEST_F(CollectionTest, DamagedCollectionFilesFailWithTheirReason) {
  Add("one");
  Add("two");
  std::string file = dir.File("c.icc");
  lib.WriteCollectionFile(file);
  std::vector<uint8_t> bytes = ReadWholeFile(file);
  WriteFileAtomic(dir.File("cut.icc"), std::span(bytes).first(bytes.size() - 30));
  bytes[0] = 'X';
  WriteFileAtomic(dir.File("bad.icc"), bytes);
  EXPECT_THROW(lib.ReadCollectionFile(dir.File("bad.icc")), Exception);
  try {
    lib.ReadCollectionFile(dir.File("bad.icc"));
  } catch (const Exception& error) {
    EXPECT_EQ(std::string(error.what()), "Unknown file format: " + dir.File("bad.icc"));
  }
  EXPECT_THROW(lib.ReadCollectionFile(dir.File("cut.icc")), EReadError);
  EXPECT_EQ(Names(), (std::vector<std::string>{"one"}));
  EXPECT_FALSE(lib.Busy());
}

TEST_F(CollectionTest, MergeShiftsTheSourcesOfTheMergedItems) {
  Add("x");
  lib.RecordSources("/one.ico", 0);
  std::string file = dir.File("m.icc");
  lib.WriteCollectionFile(file);
  lib.Document.Clear();
  Add("y");
  lib.RecordSources("/zero.ico", 0);
  Add("no source");
  lib.MergeCollectionFile(file);
  ASSERT_EQ(lib.Count(), 3);
  EXPECT_EQ(lib.SourceOf(2), "/one.ico");
  EXPECT_EQ(lib.SourceOf(1), "");
  EXPECT_TRUE(lib.GetModified());
}

TEST_F(CollectionTest, CorrectNamesMakesNamesUniqueIgnoringCase) {
  Add("a");
  Add("A");
  Add("a");
  Add(std::string(300, 'n'));
  Add("   ");
  lib.CorrectNames(false);
  std::vector<std::string> names = Names();
  EXPECT_EQ(names[0], "a");
  EXPECT_EQ(names[1], "A2");
  EXPECT_EQ(names[2], "a1");
  EXPECT_EQ(names[3].size(), 255u);
  EXPECT_EQ(names[4], "0");
  EXPECT_TRUE(lib.GetModified());
}

TEST_F(CollectionTest, CorrectNamesIgnoresCaseBeyondAscii) {
  Add("\xC3\x84rger");
  Add("\xC3\xA4rger");
  lib.CorrectNames(false);
  EXPECT_EQ(Names(), (std::vector<std::string>{"\xC3\x84rger", "\xC3\xA4rger1"}));
}

TEST_F(CollectionTest, InteractiveCorrectionAsksOnceAndNoStops) {
  Add("b");
  Add("B");
  ui.messageAnswers.push_back(TModalResult::mrNo);
  lib.CorrectNames(true);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "Names must be different for items 1 and 2. Rename all automatically?");
  EXPECT_EQ(Names(), (std::vector<std::string>{"b", "B"}));
}

TEST(IncrementNameTest, CarriesThroughNines) {
  EXPECT_EQ(IncrementName(""), "1");
  EXPECT_EQ(IncrementName("abc"), "abc1");
  EXPECT_EQ(IncrementName("a9"), "a10");
  EXPECT_EQ(IncrementName("a19"), "a20");
  EXPECT_EQ(IncrementName("99"), "100");
  EXPECT_EQ(IncrementName("x8"), "x9");
}

TEST_F(CollectionTest, SplitAndCombineKeepOrderAndSources) {
  Add("x", {16, 32, 48});
  lib.RecordSources("/x.ico", 0);
  Add("y");
  Select({0});
  lib.SplitIcons();
  EXPECT_EQ(Names(), (std::vector<std::string>{"x1", "x2", "x3", "y"}));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(lib.Items().Icons(i)->Images().Count(), 1);
    EXPECT_EQ(lib.SourceOf(i), "/x.ico");
  }
  EXPECT_EQ(lib.Items().Icons(2)->Images()[0]->ImageWidth(), 48);

  Select({1});
  lib.CombineIcons();
  EXPECT_EQ(lib.Count(), 4);
  Select({0, 2, 3});
  lib.CombineIcons();
  EXPECT_EQ(Names(), (std::vector<std::string>{"x1", "x2"}));
  EXPECT_EQ(lib.Items().Icons(0)->Images().Count(), 3);
  EXPECT_EQ(lib.Items().Icons(0)->Images()[1]->ImageWidth(), 48);
  EXPECT_EQ(lib.Items().Source(0).position, -1);
}

TEST_F(CollectionTest, PasteAppendsAtTheEndOrInsertsAfterTheCursor) {
  Add("a");
  Add("b");
  Add("c");
  Select({0});
  grid.SetCurrent(0);
  lib.CopySelection();
  EXPECT_TRUE(lib.CanPaste());
  grid.SetCurrent(2);
  lib.PasteFromClipboard();
  EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "c", "a"}));
  grid.SetCurrent(0);
  lib.PasteFromClipboard();
  EXPECT_EQ(Names(), (std::vector<std::string>{"a", "a", "b", "c", "a"}));
  EXPECT_TRUE(lib.IsSelected(1));
  EXPECT_FALSE(lib.IsSelected(0));
  EXPECT_TRUE(lib.Items().Icons(1)->SameIcon(*lib.Items().Icons(0)));
}

TEST_F(CollectionTest, SortByNumberInNameAndBySource) {
  for (const char* name : {"10", "9", "x", "1.5", "1,2"}) Add(name);
  lib.SortIcons(TSortMode::NameAsNumber);
  // A comma is a decimal separator like the point, whatever the process locale.
  EXPECT_EQ(Names(), (std::vector<std::string>{"1,2", "1.5", "9", "10", "x"}));

  lib.Document.Clear();
  Add("s1");
  Add("s0");
  lib.RecordSources("/b.ico", 0);  // positions 0, 1
  lib.Items().SetSource(0, {lib.Items().Source(0).index, 1});
  lib.Items().SetSource(1, {lib.Items().Source(1).index, 0});
  Add("none");
  lib.SortIcons(TSortMode::Source);
  EXPECT_EQ(Names(), (std::vector<std::string>{"none", "s0", "s1"}));
  EXPECT_EQ(lib.SourceOf(1), "/b.ico");
  EXPECT_EQ(lib.Items().Source(1).position, 0);
  EXPECT_EQ(lib.Items().Source(0).index, -1);  // the item without a source keeps none

  lib.SortIcons(TSortMode::Backward);
  EXPECT_EQ(Names(), (std::vector<std::string>{"s1", "s0", "none"}));
}

TEST_F(CollectionTest, FindNextWrapsAndReportsTheEnd) {
  Add("apple");
  Add("pear");
  grid.SetCurrent(1);
  lib.FindNext({"APP", TFindMode::Name});
  EXPECT_EQ(grid.Current(), 0);
  EXPECT_TRUE(ui.messages.empty());
  lib.FindNext({"app", TFindMode::Name});
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Search is finished");
  lib.FindNext({"plum", TFindMode::Name});
  EXPECT_EQ(ui.messages.back().text, "Not found");
  lib.FindNext({"ear", TFindMode::Name, false, true});
  EXPECT_EQ(ui.messages.back().text, "Not found");
}

TEST_F(CollectionTest, StatusTellsSelectionAndAmount) {
  lib.UpdateStatus();
  EXPECT_EQ(ui.statusTexts[1], "No icons");
  Add("a", {16, 32});
  Add("b");
  Select({1});
  grid.SetCurrent(1);
  lib.UpdateStatus();
  EXPECT_EQ(ui.statusTexts[1], "16x16x16M");
  EXPECT_EQ(ui.statusTexts[2], "2 of 2");
  Select({0});
  grid.SetCurrent(0);
  lib.UpdateStatus();
  EXPECT_EQ(ui.statusTexts[1], "2 formats");
  Select({0, 1});
  lib.UpdateStatus();
  EXPECT_EQ(ui.statusTexts[1], "Selected 2");
  EXPECT_EQ(ui.statusTexts[2], "Amount 2");
}

TEST_F(CollectionTest, BusyCollectionRefusesEditing) {
  Add("a");
  lib.BeginBusy();
  EXPECT_THROW(lib.DuplicateIcon(), Exception);
  lib.EndBusy();
  Select({0});
  grid.SetCurrent(0);
  lib.DuplicateIcon();
  EXPECT_EQ(Names(), (std::vector<std::string>{"a", "a"}));
  EXPECT_TRUE(lib.IsSelected(1));
}

TEST_F(CollectionTest, EraseAsksThenDeletesTheSelection) {
  Add("a");
  Add("b");
  Add("c");
  Select({0, 2});
  lib.EraseSelection();  // the confirmation answered Cancel
  EXPECT_EQ(lib.Count(), 3);
  ui.confirmAnswers.push_back({true, false});
  lib.EraseSelection();
  EXPECT_EQ(Names(), (std::vector<std::string>{"b"}));
  EXPECT_TRUE(lib.IsSelected(0));
}

TEST_F(CollectionTest, SavesDispatchByExtension) {
  Add("a");
  Add("b.x");
  std::string zip = dir.File("out.zip");
  lib.SaveByExtension(zip, false);
  std::vector<uint8_t> bytes = ReadWholeFile(zip);
  std::string text(bytes.begin(), bytes.end());
  EXPECT_NE(text.find("a.ico"), std::string::npos);
  EXPECT_NE(text.find("b.ico"), std::string::npos);
  EXPECT_EQ(lib.FileName, zip);
  EXPECT_FALSE(lib.GetModified());

  settings.ICLExportLimit = 1;
  lib.SetModified(true);
  EXPECT_THROW(lib.SaveByExtension(dir.File("out.icl"), false), Exception);
  EXPECT_EQ(lib.FileName, zip);
  EXPECT_TRUE(lib.GetModified());
}

TEST_F(CollectionTest, SaveWithoutNameAsksAndAddsTheFilterExtension) {
  Add("a");
  ui.fileAnswers.push_back(TFileDialogAnswer{{dir.File("new.")}, 1});
  EXPECT_TRUE(lib.Save());
  EXPECT_EQ(lib.FileName, dir.File("new.icc"));
  EXPECT_GT(FileSizeOf(dir.File("new.icc")), 0);
  lib.FileName.clear();
  EXPECT_FALSE(lib.Save());  // cancelled
}

TEST_F(CollectionTest, OpenReadsIconFilesAndRefusesFilesWithoutIcons) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico");
  lib.OpenFile(test::CorpusPath("ico/python.ico"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"python"}));
  EXPECT_EQ(lib.SourceOf(0), test::CorpusPath("ico/python.ico"));
  EXPECT_EQ(lib.FileName, test::CorpusPath("ico/python.ico"));
  EXPECT_FALSE(lib.GetModified());
  EXPECT_EQ(lib.Caption(), "python.ico");
  std::string text = dir.File("notes.txt");
  WriteFileAtomic(text, std::vector<uint8_t>(100, 'z'));
  EXPECT_THROW(lib.OpenFile(text), Exception);
  EXPECT_EQ(lib.Count(), 0);
}

TEST_F(CollectionTest, ClearThenLoadRecordsTheNewSource) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico", "cur/sample.cur");
  lib.OpenFile(test::CorpusPath("ico/python.ico"));
  lib.ClearCollection();  // confirmation cancelled
  EXPECT_EQ(lib.Count(), 1);
  settings.ConfirmDIFL = false;
  lib.ClearCollection();
  EXPECT_EQ(lib.Count(), 0);
  EXPECT_TRUE(lib.FileName.empty());
  LoadFile(lib, test::CorpusPath("cur/sample.cur"));
  EXPECT_EQ(lib.SourceOf(0), test::CorpusPath("cur/sample.cur"));
}

}  // namespace
}  // namespace varnel

namespace varnel {
namespace {

TEST_F(CollectionTest, PicturesBecomeOneImageIcons) {
  VARNEL_SKIP_WITHOUT_CORPUS("jpeg/pil_sample_cmyk.jpg");
  for (const char* file : {"jpeg/sample.jpg", "bmp/rgba32.bmp", "png/basn3p08.png"})
    LoadFile(lib, test::CorpusPath(file));
  ASSERT_EQ(lib.Count(), 3);
  EXPECT_EQ(lib.Items().Names(0), "sample");
  const TSubIcon& jpeg = *lib.Items().Icons(0)->Images()[0];
  EXPECT_EQ(jpeg.BitsPerPixel(), 32);
  EXPECT_EQ(jpeg.ImageWidth(), 23);
  EXPECT_EQ(lib.Items().Icons(2)->Images()[0]->BitsPerPixel(), 8);
  // CMYK pictures are not taken.
  LoadFile(lib, test::CorpusPath("jpeg/pil_sample_cmyk.jpg"));
  EXPECT_EQ(lib.Count(), 3);
}

}  // namespace
}  // namespace varnel

namespace varnel {
namespace {

TEST_F(CollectionTest, LargePicturesAskForTheirSizeAndSmallOnesDoNot) {
  VARNEL_SKIP_WITHOUT_CORPUS("png/basn6a08.png");
  TBitmap big(300, 150, PixelFormat::Bits24);
  big.Fill(RGB(200, 0, 0));
  WriteFileAtomic(dir.File("big.png"), EncodePng(big));
  TNewImageSizeAnswer size;
  size.width = size.height = 32;
  ui.imageSizeAnswers.push_back(size);
  ImportFile(lib, dir.File("big.png"), nullptr);
  ASSERT_EQ(lib.Count(), 1);
  const TSubIcon& image = *lib.Items().Icons(0)->Images()[0];
  EXPECT_EQ(image.ImageWidth(), 32);
  TBitmap color, mask;
  image.GetBitmaps(nullptr, &color, clNone, &mask);
  // Kept in proportion: a 32 x 16 band in the middle, transparent above and below.
  EXPECT_TRUE(MaskBitSet(mask, 16, 2));
  EXPECT_FALSE(MaskBitSet(mask, 16, 16));
  ASSERT_EQ(ui.imageSizeRequests.size(), 1u);
  EXPECT_EQ(ui.imageSizeRequests[0].width, 300);

  // Cancelling stops the import; small pictures are taken as they are.
  ImportFile(lib, dir.File("big.png"), nullptr);
  EXPECT_TRUE(lib.StopRequested());
  EXPECT_EQ(lib.Count(), 1);
  // The next busy operation takes the stop back.
  lib.BeginBusy();
  lib.EndBusy();
  ImportFile(lib, test::CorpusPath("png/basn6a08.png"), nullptr);
  EXPECT_EQ(lib.Count(), 2);
  EXPECT_EQ(ui.imageSizeRequests.size(), 2u);
}

}  // namespace
}  // namespace varnel

namespace varnel {
namespace {

TEST_F(CollectionTest, ReplacingAModifiedCollectionNeedsItSaved) {
  Add("a");
  lib.SetModified(true);
  ui.messageAnswers.push_back(TModalResult::mrYes);  // save, then the save dialog is cancelled
  EXPECT_FALSE(lib.QuerySaveChanges());
  ui.messageAnswers.push_back(TModalResult::mrYes);
  ui.fileAnswers.push_back(TFileDialogAnswer{{dir.File("kept.icc")}, 1});
  EXPECT_TRUE(lib.QuerySaveChanges());
  EXPECT_GT(FileSizeOf(dir.File("kept.icc")), 0);
  lib.SetModified(true);
  ui.messageAnswers.push_back(TModalResult::mrNo);
  EXPECT_TRUE(lib.QuerySaveChanges());
  ui.messageAnswers.push_back(TModalResult::mrCancel);
  EXPECT_FALSE(lib.QuerySaveChanges());
}

}  // namespace
}  // namespace varnel

namespace varnel {
namespace {

TEST_F(CollectionTest, SaveAsPresetsAnExtensionTheCollectionCanBeSavedAs) {
  Add("a");
  for (auto [opened, preset] : {std::pair<std::string, std::string>{"/x/app.exe", "/x/app.icc"},
                                {"/x/lib.dll", "/x/lib.dll"},
                                {"/x/one.ico", "/x/one.icc"}}) {
    lib.FileName = opened;
    ui.fileAnswers.push_back(std::nullopt);  // cancelled
    lib.SaveAs();
    EXPECT_EQ(ui.fileRequests.back().fileName, preset);
    EXPECT_EQ(lib.FileName, opened);
  }
}

TEST_F(CollectionTest, SaveOfAnExistingModuleTakesTheUpdatePath) {
  Add("a");
  std::string module = dir.File("app.exe");
  WriteFileAtomic(module, std::vector<uint8_t>(64, 'M'));
  lib.FileName = module;
  lib.SetModified(true);
  ui.confirmAnswers.push_back({true, false});
  EXPECT_FALSE(lib.Save());
  EXPECT_EQ(ui.confirmations.size(), 1u);
  EXPECT_NE(ui.messages.back().text.find("Can not update source file"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(module).size(), 64u);
  EXPECT_TRUE(lib.GetModified());

  lib.FileName = dir.File("new.dll");  // no such file yet: a 32-bit library is written
  EXPECT_TRUE(lib.Save());
  std::vector<uint8_t> written = ReadWholeFile(dir.File("new.dll"));
  ASSERT_GT(written.size(), 64u);
  EXPECT_EQ(written[0], 'M');
  EXPECT_EQ(written[1], 'Z');
}

TEST_F(CollectionTest, SearchesRefuseArchivesOverTheSizeLimit) {
  std::vector<uint8_t> zip(20 << 20, 0);
  zip[0] = 'P', zip[1] = 'K', zip[2] = 3, zip[3] = 4;
  WriteFileAtomic(dir.File("big.zip"), zip);
  std::vector<std::string> errors;
  {
    SearchModeScope searching(lib);
    LoadFile(lib, dir.File("big.zip"), "", 0, false, false, &errors);
    EXPECT_EQ(errors, std::vector<std::string>{"Archive too large: " + dir.File("big.zip")});
  }
  EXPECT_FALSE(lib.InSearchMode());
  errors.clear();
  LoadFile(lib, dir.File("big.zip"), "", 0, false, false, &errors);
  EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace varnel

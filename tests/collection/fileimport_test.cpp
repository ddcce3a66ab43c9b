// Reading a file apart from appending it: the reading step gives the same on any thread and
// keeps its failure for the appending step, which handles it as the loaders always have.

#include "collection/fileimport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "base/errors.h"
#include "base/fileio.h"
#include "collection/duplicatefinder.h"
#include "collection/fmlib.h"
#include "support/corpus.h"
#include "support/testcollection.h"

namespace varnel {
namespace {

constexpr FileReadOptions kExcluding{LoadStyle::ExcludingDuplicates};
constexpr FileReadOptions kPlain{LoadStyle::Plain};

// The icons of a read as text: names, hashes and image bytes; the failure's message.
std::string ContentsText(const FileContents& contents) {
  std::string text = FileKindName(contents.kind);
  for (const FoundIcon& found : contents.icons) {
    MemoryStream images;
    for (const auto& image : found.icon->Images()) image->SaveToStream(images);
    text += "|" + found.name + "#" + std::to_string(found.keys.hash ? found.keys.hash->search : 0) +
            ":" + std::string(images.Bytes().begin(), images.Bytes().end());
  }
  if (contents.error) {
    try {
      std::rethrow_exception(contents.error);
    } catch (const std::exception& error) {
      text += "|failed: " + std::string(error.what());
    }
  }
  return text;
}

TEST(FileReadTest, ReadsOnManyThreadsGiveWhatOneThreadGives) {
  std::vector<std::string> files = test::CorpusFiles(
      "", {".ico", ".cur", ".ani", ".bmp", ".png", ".jpg", ".gif", ".psd", ".icns", ".zip"});
  VARNEL_SKIP_WITHOUT_FILES(files, "sample files");
  for (const char* stub : {"/usr/share/nsis/Stubs/zlib-x86-unicode",
                           "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/notepad.exe"})
    if (std::filesystem::exists(stub)) files.push_back(stub);
  std::vector<std::string> expected;
  for (const std::string& file : files)
    expected.push_back(ContentsText(ReadFileContents(file, kExcluding)));

  constexpr int kThreads = 4;
  std::vector<std::vector<std::string>> found(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      // Each thread starts elsewhere in the list, so that different readers overlap.
      for (size_t k = 0; k < files.size(); ++k) {
        size_t i = (k + size_t(t) * files.size() / kThreads) % files.size();
        found[size_t(t)].resize(files.size());
        found[size_t(t)][i] = ContentsText(ReadFileContents(files[i], kExcluding));
      }
    });
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t)
    for (size_t i = 0; i < files.size(); ++i)
      EXPECT_EQ(found[size_t(t)][i], expected[i]) << files[i] << " on thread " << t;
}

TEST(FileReadTest, TheStyleDecidesCollectionsCursorsAndHashes) {
  VARNEL_SKIP_WITHOUT_CORPUS("ani/rgbrgb.ani", "ico/python.ico");
  FileContents plain = ReadFileContents(test::CorpusPath("ani/rgbrgb.ani"), kPlain);
  FileContents excluding = ReadFileContents(test::CorpusPath("ani/rgbrgb.ani"), kExcluding);
  EXPECT_FALSE(plain.error || excluding.error);
  // Every frame an icon of its own, or all frames in one icon.
  EXPECT_GT(plain.icons.size(), 1u);
  ASSERT_EQ(excluding.icons.size(), 1u);
  EXPECT_FALSE(plain.icons[0].keys.hash);
  EXPECT_TRUE(excluding.icons[0].keys.hash);

  test::TestCollection source;
  source.lib.AppendItem("one", test::IconOfSizes({16}));
  test::TempDir dir;
  source.lib.WriteCollectionFile(dir.File("one.icc"));
  EXPECT_FALSE(ReadFileContents(dir.File("one.icc"), kPlain).collection);
  FileContents collection = ReadFileContents(dir.File("one.icc"), kExcluding);
  ASSERT_TRUE(collection.collection);
  EXPECT_EQ(collection.collection->Count(), 1);
  EXPECT_EQ(collection.kind, TFileKind::fkCollection);
}

class FileAppendTest : public ::testing::Test {
 protected:
  test::TestCollection collection;
  TfmLib& lib = collection.lib;
  test::TempDir dir;
  TDuplicateIndex duplicates;
  std::vector<std::string> errors;

  // A collection file of three items from two sources; cut short when asked.
  std::string WriteThreeItems(bool cut) {
    test::TestCollection source;
    for (int size : {16, 24, 32}) {
      source.lib.AppendItem(std::to_string(size), test::IconOfSizes({size}));
      bool last = size == 32;
      source.lib.RecordSources(last ? "/second.ico" : "/first.ico", last ? 2 : 0);
    }
    std::string path = dir.File(cut ? "cut.icc" : "three.icc");
    source.lib.WriteCollectionFile(path);
    if (cut) {
      std::vector<uint8_t> bytes = ReadWholeFile(path);
      WriteFileAtomic(path, std::span(bytes).first(bytes.size() - 120));
    }
    return path;
  }
};

TEST_F(FileAppendTest, ACollectionFileMergesWithItsSourcesAndWithoutDuplicates) {
  lib.AppendItem("present", test::IconOfSizes({24}));
  lib.RecordSources("/present.ico", 0);
  duplicates.Build(lib.Items());
  FileContents contents = ReadFileContents(WriteThreeItems(false), kExcluding);
  AppendFileContents(lib, contents, "ignored", false, &errors, &duplicates);
  EXPECT_TRUE(errors.empty());
  ASSERT_EQ(lib.Count(), 3);
  EXPECT_EQ(lib.Items().Names(1), "16");
  EXPECT_EQ(lib.Items().Names(2), "32");
  EXPECT_EQ(lib.SourceOf(1), "/first.ico");
  EXPECT_EQ(lib.SourceOf(2), "/second.ico");
  EXPECT_EQ(lib.Items().Source(2).position, 0);
  EXPECT_TRUE(lib.GetModified());
}

TEST_F(FileAppendTest, ACutCollectionFileGivesTheItemsBeforeTheCutAndItsError) {
  std::string path = WriteThreeItems(true);
  FileContents contents = ReadFileContents(path, kExcluding);
  ASSERT_TRUE(contents.error);
  EXPECT_EQ(contents.collection->Count(), 2);
  duplicates.Build(lib.Items());
  AppendFileContents(lib, contents, path, false, &errors, &duplicates);
  EXPECT_EQ(lib.Count(), 2);
  EXPECT_EQ(errors, std::vector<std::string>{"Stream read error: " + path});
  EXPECT_TRUE(lib.GetModified());

  // Without an error list the read error is raised, after the items came in.
  test::TestCollection other;
  FileContents again = ReadFileContents(path, kExcluding);
  TDuplicateIndex none;
  EXPECT_THROW(AppendFileContents(other.lib, again, path, false, nullptr, &none), EReadError);
  EXPECT_EQ(other.lib.Count(), 2);
}

TEST_F(FileAppendTest, PlainLoadsNumberPositionsAndSilenceOrCollectErrors) {
  VARNEL_SKIP_WITHOUT_CORPUS("ani/rgbrgb.ani");
  std::string path = test::CorpusPath("ani/rgbrgb.ani");
  FileContents frames = ReadFileContents(path, kPlain);
  size_t count = frames.icons.size();
  AppendFileContents(lib, frames, "shown.ani", false, &errors);
  ASSERT_EQ(size_t(lib.Count()), count);
  EXPECT_EQ(lib.SourceOf(int(count) - 1), "shown.ani");
  EXPECT_EQ(lib.Items().Source(int(count) - 1).position, int(count) - 1);

  FileContents failed;
  failed.error = std::make_exception_ptr(Exception("broken"));
  AppendFileContents(lib, failed, "x", true, &errors);
  EXPECT_TRUE(errors.empty());
  AppendFileContents(lib, failed, "x", false, &errors);
  EXPECT_EQ(errors, std::vector<std::string>{"broken"});
  EXPECT_THROW(AppendFileContents(lib, failed, "x", false, nullptr), Exception);
  EXPECT_EQ(size_t(lib.Count()), count);
}

}  // namespace
}  // namespace varnel

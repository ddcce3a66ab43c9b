// Searches whose files are read by worker threads give the very collection a search reading one
// file after another gives: same items in the same order, names, sources, positions and bytes,
// with and without duplicate exclusion; Stop and Skip end or pass over files without losing
// what was appended.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "base/fileio.h"
#include "collection/fmlib.h"
#include "collection/searchmodescope.h"
#include "search/foldersearch.h"
#include "support/corpus.h"
#include "support/testcollection.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

constexpr int kTreeFiles = 2000;
// Larger samples, and those holding large PNG images, would only make the test slower.
constexpr uintmax_t kLargestSample = 16 << 10;
bool QuickToRead(const std::string& sample) {
  return fs::file_size(sample) <= kLargestSample && !sample.ends_with("/rgbrgb.ani");
}
// Archives larger than this many MiB are refused with an error.
constexpr int kArchiveLimit = 1;

// Real modules of Debian packages, when installed.
std::vector<std::string> InstalledModules() {
  std::vector<std::string> modules;
  for (const char* path :
       {"/usr/share/nsis/Stubs/lzma-x86-unicode", "/usr/share/nsis/Stubs/zlib-amd64-unicode",
        "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/wmi.dll"})
    if (fs::exists(path)) modules.push_back(path);
  return modules;
}

// A tree of kTreeFiles files in nested folders, some hidden: many copies of each sample icon,
// cursor and picture, modules, collection files (one cut short), damaged icons, files that are
// no icons and files on the skip list. Names mix letter case so that the sort order matters.
class SearchTree {
 public:
  SearchTree() {
    for (const char* folder : {"ico", "cur", "ani", "png", "bmp", "jpeg"})
      for (const std::string& file :
           test::CorpusFiles(folder, {".ico", ".cur", ".ani", ".png", ".bmp", ".jpg"}))
        if (QuickToRead(file) || file.ends_with("/CVE-2022-48622.ani")) samples_.push_back(file);
    for (const std::string& module : InstalledModules()) samples_.push_back(module);
    MakeFolders();
    KeepSamplesInTheTree();
    WriteCollections();
    for (int i = FileCount(); i < kTreeFiles; ++i) WriteFile(i);
  }

  const std::string& Root() const { return dir_.Path(); }
  int FileCount() const {
    int count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(Root()))
      count += entry.is_regular_file();
    return count;
  }
  std::string Folder(size_t i) const { return folders_[i % folders_.size()]; }

 private:
  void MakeFolders() {
    for (const char* relative : {"", "Alpha", "alpha2/deep/deeper", ".hidden", "beta/.secret",
                                 "beta/Gamma", "beta/gamma/delta", "zeta/eta/theta/iota"}) {
      fs::create_directories(dir_.Path() + "/" + relative);
      folders_.push_back(dir_.Path() + "/" + relative + (*relative ? "/" : ""));
    }
  }

  // One copy of each sample in a folder the searches do not enter (hidden below the first
  // level); the files of the tree are links to them, which are quicker made than copies.
  void KeepSamplesInTheTree() {
    std::string pool = Folder(4) + "samples/";
    fs::create_directories(pool);
    for (size_t i = 0; i < samples_.size(); ++i) {
      std::string copy = pool + std::to_string(i) + fs::path(samples_[i]).extension().string();
      fs::copy_file(samples_[i], copy);
      samples_[i] = copy;
    }
  }

  // A collection file saved from a few icons, a copy cut inside its items, and one that is no
  // collection at all.
  void WriteCollections() {
    test::TestCollection source;
    for (int size : {16, 24, 32}) {
      source.lib.AppendItem("made" + std::to_string(size), test::IconOfSizes({size, 48}));
      source.lib.RecordSources("/elsewhere/made.ico", source.lib.Count() - 1);
    }
    std::string whole = Folder(1) + "Made.icc";
    source.lib.WriteCollectionFile(whole);
    std::vector<uint8_t> bytes = ReadWholeFile(whole);
    WriteFileAtomic(Folder(5) + "cut.icc", std::span(bytes).first(bytes.size() - 200));
    WriteFileAtomic(Folder(6) + "Made again.icc", bytes);
    WriteFileAtomic(Folder(2) + "fake.icc", std::vector<uint8_t>(64, 'I'));
    std::vector<uint8_t> icon = ReadWholeFile(test::CorpusPath("ico/python.ico"));
    WriteFileAtomic(Folder(3) + "cut.ico", std::span(icon).first(900));
    WriteFileAtomic(Folder(7) + "empty.ico", {});
    for (size_t i = 0; i < folders_.size(); i += 2) WriteLargeArchive(Folder(i) + "big.zip");
  }

  // A file that starts as a ZIP archive does and is too large to be searched (without taking
  // the room on disk).
  static void WriteLargeArchive(const std::string& path) {
    WriteText(path, "PK\x03\x04");
    fs::resize_file(path, uintmax_t(kArchiveLimit + 1) << 20);
  }

  void WriteFile(int i) {
    std::string folder = Folder(size_t(i) * 7 / 3);
    std::string stem = (i % 3 ? "file" : "File") + std::to_string(i);
    switch (i % 10) {
      case 0:
        WriteText(folder + stem + ".txt", "a text file on the skip list");
        return;
      case 1:
        WriteText(folder + stem + ".bin", "no icon here " + std::to_string(i));
        return;
      default:
        break;
    }
    const std::string& sample = samples_[size_t(i) % samples_.size()];
    std::string extension = fs::path(sample).extension().string();
    fs::create_hard_link(sample, folder + stem + (extension.empty() ? ".exe" : extension));
  }

  static void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }

  test::TempDir dir_;
  std::vector<std::string> samples_;
  std::vector<std::string> folders_;
};

// One item as text: name, source file, position in it and the bytes of every image as read.
std::string ItemText(const TfmLib& lib, int index) {
  std::string text = lib.Items().Names(index) + "|" + lib.SourceOf(index) + "|" +
                     std::to_string(lib.Items().Source(index).position);
  for (const auto& image : lib.Items().Icons(index)->Images())
    text += "|" + std::to_string(image->HotSpot()) + ":" +
            std::string(image->Data().begin(), image->Data().end());
  return text;
}

// What a search leaves: the items, the table of sources, the errors shown, the images dropped
// as damaged.
struct SearchResult {
  std::vector<std::string> items;
  std::vector<std::string> sources;
  std::vector<std::vector<std::string>> errors;
  int droppedImages = 0;
  bool modified = false;
};

class ParallelSearchTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (test::CorpusPresent()) tree_ = std::make_unique<SearchTree>();
  }
  static void TearDownTestSuite() { tree_.reset(); }
  void SetUp() override { VARNEL_SKIP_WITHOUT_CORPUS_DIR(); }

  // A fresh collection searching the tree with the given jobs.
  struct Search {
    test::TestCollection collection;
    TfmLib& lib = collection.lib;
    SearchModeScope searching{lib};
    Search(int jobs, bool excludeDuplicates) {
      collection.settings.SearchJobs = jobs;
      collection.settings.ExcludeDups = excludeDuplicates;
      collection.settings.MaxArchiveSize = kArchiveLimit;
    }
    SearchResult Result() {
      SearchResult result;
      for (int i = 0; i < lib.Count(); ++i) result.items.push_back(ItemText(lib, i));
      result.sources = lib.Document.Sources;
      result.errors = collection.ui.errorLists;
      result.droppedImages = lib.Document.TakeDroppedImageCount();
      result.modified = lib.GetModified();
      return result;
    }
  };

  static SearchResult TreeSearch(int jobs, bool excludeDuplicates) {
    Search search(jobs, excludeDuplicates);
    SearchFolderTree(search.lib, tree_->Root(), "*.*", false);
    EXPECT_FALSE(search.lib.Busy());
    return search.Result();
  }

  static void ExpectSame(const SearchResult& parallel, const SearchResult& sequential) {
    ASSERT_EQ(parallel.items.size(), sequential.items.size());
    for (size_t i = 0; i < parallel.items.size(); ++i)
      ASSERT_EQ(parallel.items[i], sequential.items[i]) << "item " << i;
    EXPECT_EQ(parallel.sources, sequential.sources);
    EXPECT_EQ(parallel.errors, sequential.errors);
    EXPECT_EQ(parallel.droppedImages, sequential.droppedImages);
    EXPECT_EQ(parallel.modified, sequential.modified);
  }

  static std::unique_ptr<SearchTree> tree_;
};

std::unique_ptr<SearchTree> ParallelSearchTest::tree_;

TEST_F(ParallelSearchTest, FourJobsFindWhatOneJobFindsWithDuplicatesExcluded) {
  SearchResult sequential = TreeSearch(1, true);
  // Duplicates really were dropped, the collection files merged, the damaged files reported.
  EXPECT_EQ(tree_->FileCount(), kTreeFiles);
  EXPECT_GT(sequential.items.size(), 20u);
  EXPECT_LT(sequential.items.size(), 200u);
  ASSERT_EQ(sequential.errors.size(), 1u);
  EXPECT_EQ(sequential.errors[0].size(), 4u);  // the large archives and the cut collection
  ExpectSame(TreeSearch(4, true), sequential);
}

TEST_F(ParallelSearchTest, FourJobsFindWhatOneJobFindsWithDuplicatesKept) {
  SearchResult sequential = TreeSearch(1, false);
  EXPECT_GT(sequential.items.size(), size_t(kTreeFiles) / 2);
  ExpectSame(TreeSearch(4, false), sequential);
  // One folder alone collects the errors it meets.
  for (bool exclude : {false, true}) {
    Search one(1, exclude), four(4, exclude);
    SearchFolder(one.lib, tree_->Folder(2), "*.*");
    SearchFolder(four.lib, tree_->Folder(2), "*.*");
    SearchResult expected = one.Result();
    EXPECT_FALSE(expected.errors.empty());
    ExpectSame(four.Result(), expected);
  }
}

TEST_F(ParallelSearchTest, StopEndsTheSearchKeepingWhatWasAppended) {
  // The request is seen at the next file, which still comes in before the search ends; with
  // workers no file after it does, whatever they had read ahead.
  auto stoppedSearch = [](int jobs) {
    Search search(jobs, false);
    auto& ui = search.collection.ui;
    ui.onProcessMessages = [&] {
      if (search.lib.Count() >= 300) ui.ProgressFlags().stopRequested = true;
    };
    SearchFolderTree(search.lib, tree_->Root(), "*.*", false);
    EXPECT_TRUE(search.lib.StopRequested());
    EXPECT_FALSE(search.lib.Busy());
    return search.Result();
  };
  SearchResult sequential = stoppedSearch(1);
  SearchResult parallel = stoppedSearch(4);
  ASSERT_GE(parallel.items.size(), 300u);
  ASSERT_LE(parallel.items.size(), sequential.items.size());
  ASSERT_LT(sequential.items.size(), size_t(kTreeFiles) / 2);
  for (size_t i = 0; i < parallel.items.size(); ++i)
    ASSERT_EQ(parallel.items[i], sequential.items[i]) << "item " << i;
}

TEST_F(ParallelSearchTest, SkipPassesOverTheFileShownAndKeepsTheOthers) {
  test::TempDir dir;
  for (const char* name : {"a.ico", "b.ico", "c.cur"})
    fs::copy_file(test::CorpusPath(name[0] == 'c'   ? "cur/sample.cur"
                                   : name[0] == 'a' ? "ico/python.ico"
                                                    : "ico/gtk.ico"),
                  dir.File(name));
  for (int jobs : {1, 4}) {
    Search search(jobs, true);
    auto& ui = search.collection.ui;
    bool skipped = false;
    ui.onProcessMessages = [&] {
      if (ui.progressFields[TProgressField::File] == "b.ico" && !skipped)
        ui.ProgressFlags().skipRequested = skipped = true;
    };
    SearchFolder(search.lib, dir.Path(), "*.*");
    ASSERT_EQ(search.lib.Count(), 2) << jobs << " jobs";
    EXPECT_EQ(search.lib.Items().Names(0), "a");
    EXPECT_EQ(search.lib.Items().Names(1), "c");
    EXPECT_FALSE(ui.ProgressFlags().skipRequested);
  }
}

}  // namespace
}  // namespace varnel

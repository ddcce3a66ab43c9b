// The order of a search's steps, and where its stop checks fall.

#include "search/searchwalk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "search/folderscan.h"
#include "search/searchsink.h"
#include "support/corpus.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

// Writes each step as a line relative to root; stops when told.
class RecordingSink : public SearchSink {
 public:
  explicit RecordingSink(std::string root) : root_(std::move(root)) {}
  std::vector<std::string> steps;
  // The stop check answers true from this check on (counting from 1); 0 never.
  int stopAtCheck = 0;
  // File answers false at this file (counting from 1); 0 never.
  int endAtFile = 0;

  void Building(const std::string& what) override { steps.push_back("building " + Relative(what)); }
  void Folder(const std::string& folder) override { steps.push_back("folder " + Relative(folder)); }
  bool File(const std::string& path, bool skipped) override {
    steps.push_back((skipped ? "skipped " : "file ") + Relative(path));
    return ++files_ != endAtFile;
  }
  bool Stopped() override {
    steps.push_back("check");
    return ++checks_ >= stopAtCheck && stopAtCheck > 0;
  }

 private:
  std::string Relative(const std::string& path) const { return path.substr(root_.size()); }
  std::string root_;
  int checks_ = 0;
  int files_ = 0;
};

class SearchWalkTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  RecordingSink sink{dir.Path()};

  void Touch(const std::string& relative) {
    fs::create_directories(fs::path(dir.Path() + "/" + relative).parent_path());
    std::ofstream(dir.Path() + "/" + relative) << "x";
  }
};

TEST_F(SearchWalkTest, TreeStepsComeFolderByFolderWithFilesSortedIgnoringCase) {
  Touch("b.ico");
  Touch("A.ico");
  Touch("notes.txt");
  Touch("other.png");
  Touch("sub/c.ico");
  SearchWalk(sink, "*.ico;*.txt").Tree(dir.Path());
  EXPECT_EQ(sink.steps, (std::vector<std::string>{"building /", "check", "folder /", "file /A.ico",
                                                  "file /b.ico", "skipped /notes.txt", "check",
                                                  "building /sub/", "check", "folder /sub/",
                                                  "file /sub/c.ico", "check"}));
}

TEST_F(SearchWalkTest, TheFirstStopEndsTheWalkAndSoDoesARefusedFile) {
  Touch("a.ico");
  Touch("b.ico");
  Touch("one/c.ico");
  Touch("two/d.ico");
  sink.stopAtCheck = 2;
  SearchWalk(sink, "*.ico").Tree(dir.Path());
  EXPECT_EQ(sink.steps.back(), "check");
  EXPECT_EQ(std::count(sink.steps.begin(), sink.steps.end(), "check"), 2);
  EXPECT_EQ(std::count(sink.steps.begin(), sink.steps.end(), "folder /"), 1);

  RecordingSink refusing(dir.Path());
  refusing.endAtFile = 1;
  SearchWalk(refusing, "*.ico").Tree(dir.Path());
  EXPECT_EQ(refusing.steps,
            (std::vector<std::string>{"building /", "check", "folder /", "file /a.ico"}));
}

TEST_F(SearchWalkTest, DisksVisitEachFolderOnceAndAStopEndsEveryDisk) {
  Touch("a.ico");
  Touch("deep/b.ico");
  std::string root = dir.Path() + "/";
  SearchWalk(sink, "*.ico").Disks({root, root});
  EXPECT_EQ(std::count(sink.steps.begin(), sink.steps.end(), "folder /"), 1);
  EXPECT_EQ(std::count(sink.steps.begin(), sink.steps.end(), "folder /deep/"), 1);

  RecordingSink stopping(dir.Path());
  stopping.stopAtCheck = 1;
  SearchWalk(stopping, "*.ico").Disks({root, root});
  EXPECT_EQ(stopping.steps, (std::vector<std::string>{"building /", "check"}));
}

TEST_F(SearchWalkTest, FoldersComeAsTheTreeListsThemAndAFalseVisitEndsTheWalk) {
  for (const char* file : {"a/x/1.ico", "a/y/2.ico", "b/z/deep/3.ico", ".hidden/4.ico"})
    Touch(file);
  std::vector<std::string> streamed;
  EXPECT_TRUE(ForEachFolderInTree(dir.Path(), [&](const std::string& folder) {
    streamed.push_back(folder);
    return true;
  }));
  EXPECT_EQ(streamed, BuildFolderTree(dir.Path(), nullptr));
  EXPECT_EQ(streamed.size(), 7u);

  std::vector<std::string> firstTwo;
  EXPECT_FALSE(ForEachFolderInTree(dir.Path(), [&](const std::string& folder) {
    firstTwo.push_back(folder);
    return firstTwo.size() < 2;
  }));
  EXPECT_EQ(firstTwo, std::vector<std::string>(streamed.begin(), streamed.begin() + 2));
}

}  // namespace
}  // namespace varnel

// Loading a file goes to the file system once: one mapping serves detection, the size checks
// and the reader.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "base/filedescriptor.h"
#include "base/fileio.h"
#include "collection/fileimport.h"
#include "collection/filekind.h"
#include "collection/kindreaders.h"
#include "resources/iconlibrary.h"
#include "support/corpus.h"
#include "support/testcollection.h"

namespace varnel {
namespace {

class FileLoad : public ::testing::Test {
 protected:
  // Loads the file and gives how often the file system was asked for a file meanwhile.
  uint64_t OpensToLoad(const std::string& path) {
    uint64_t before = FileOpenCount();
    LoadFile(collection.lib, path);
    return FileOpenCount() - before;
  }

  test::TestCollection collection;
  test::TempDir dir;
};

TEST_F(FileLoad, ModulesIconFilesAndPicturesAreOpenedOnce) {
  TIconLibrary library;
  library.Icons.AddIcon("one", test::IconOfSizes({16, 32}));
  library.Icons.AddIcon("two", test::IconOfSizes({48}));
  library.SaveAs32Bit(dir.File("lib.icl"));
  test::IconOfSizes({24})->SaveToFile(dir.File("one.ico"));

  EXPECT_EQ(OpensToLoad(dir.File("lib.icl")), 1u);
  EXPECT_EQ(collection.lib.Count(), 2);
  EXPECT_EQ(OpensToLoad(dir.File("one.ico")), 1u);
  EXPECT_EQ(collection.lib.Count(), 3);
  EXPECT_EQ(collection.lib.Items().Icons(2)->Images()[0]->ImageWidth(), 24);
  if (test::CorpusPresent()) {
    EXPECT_EQ(OpensToLoad(test::CorpusPath("png/basn6a08.png")), 1u);
    EXPECT_EQ(collection.lib.Count(), 4);
  }
}

TEST_F(FileLoad, UnreadableFilesGiveNothingAndRaiseNothing) {
  EXPECT_NO_THROW(LoadFile(collection.lib, dir.File("missing.dll")));
  EXPECT_NO_THROW(LoadFile(collection.lib, dir.Path()));
  EXPECT_EQ(collection.lib.Count(), 0);
}

TEST(FileKindOfPaths, NamedPipesWithoutWriterAreNotWaitedFor) {
  test::TempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
  EXPECT_EQ(DetectFileKind(dir.File("pipe")).kind, TFileKind::fkEmpty);
}

TEST(KindReaders, PathFormsReadLikeTheMappedForms) {
  test::TempDir dir;
  test::IconOfSizes({16, 32})->SaveToFile(dir.File("two.ico"));
  const FileFormat& reader = FormatOf(TFileKind::fkIcon);
  EXPECT_EQ(ReadIconOf(reader, dir.File("two.ico"))->Images().Count(), 2);
  EXPECT_THROW(ReadIconOf(reader, dir.File("none.ico")), EFileError);
  VARNEL_SKIP_WITHOUT_CORPUS("png/basn6a08.png");
  TPicture picture =
      ReadPictureOf(FormatOf(TFileKind::fkPng), test::CorpusPath("png/basn6a08.png"));
  EXPECT_EQ(picture.color.Width(), 32);
  EXPECT_TRUE(picture.mask.has_value());
}

}  // namespace
}  // namespace varnel

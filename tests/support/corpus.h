#pragma once
// Access to the shared sample files for tests.

#include <cstdint>
#include <string>
#include <vector>

namespace varnel::test {

// Folder of the shared sample corpus (VARNEL_CORPUS, else ../shared/corpus of the source tree).
std::string CorpusDir();
// Whether the corpus folder exists.
bool CorpusPresent();
// Full path of a corpus file, e.g. CorpusPath("ico/python.ico").
std::string CorpusPath(const std::string& relative);
// Bytes of a corpus file; fails the current test when missing.
std::vector<uint8_t> ReadCorpusFile(const std::string& relative);
// The first of the corpus files (relative names) that is missing; empty when all are there.
std::string MissingCorpusFile(const std::vector<std::string>& relatives);
// Every file below a corpus folder whose name ends in one of the extensions (lower case).
std::vector<std::string> CorpusFiles(const std::string& folder,
                                     const std::vector<std::string>& extensions);

// The whole content of a file as text (empty when it cannot be read), and a file written from
// text.
std::string FileText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);

// A temporary folder removed when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace varnel::test

// Skips the current test, naming the missing file, unless every named corpus file is there.
#define VARNEL_SKIP_WITHOUT_CORPUS(...)                                               \
  if (std::string missingCorpusFile = varnel::test::MissingCorpusFile({__VA_ARGS__}); \
      !missingCorpusFile.empty())                                                     \
  GTEST_SKIP() << "sample corpus file missing: " << missingCorpusFile

// Skips the current test unless the corpus folder gives at least one of the files.
#define VARNEL_SKIP_WITHOUT_FILES(files, what) \
  if ((files).empty()) GTEST_SKIP() << "no " << (what) << " to read"

// Skips the current test unless the sample corpus folder is there.
#define VARNEL_SKIP_WITHOUT_CORPUS_DIR() \
  if (!varnel::test::CorpusPresent())    \
  GTEST_SKIP() << "sample corpus missing: " << varnel::test::CorpusDir()

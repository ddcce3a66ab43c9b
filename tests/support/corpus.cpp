#include "support/corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/fileio.h"

namespace varnel::test {

namespace fs = std::filesystem;

std::string CorpusDir() {
  if (const char* dir = std::getenv("VARNEL_CORPUS")) return dir;
  return "../shared/corpus";
}

bool CorpusPresent() {
  std::error_code error;
  return std::filesystem::is_directory(CorpusDir(), error);
}

std::string CorpusPath(const std::string& relative) {
  return CorpusDir() + "/" + relative;
}

std::vector<uint8_t> ReadCorpusFile(const std::string& relative) {
  try {
    return ReadWholeFile(CorpusPath(relative));
  } catch (const std::exception& error) {
    ADD_FAILURE() << error.what();
    return {};
  }
}

std::string MissingCorpusFile(const std::vector<std::string>& relatives) {
  for (const std::string& relative : relatives)
    if (!fs::is_regular_file(CorpusPath(relative))) return CorpusPath(relative);
  return "";
}

std::vector<std::string> CorpusFiles(const std::string& folder,
                                     const std::vector<std::string>& extensions) {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(CorpusPath(folder), error)) {
    if (!entry.is_regular_file()) continue;
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
    if (std::find(extensions.begin(), extensions.end(), ext) != extensions.end())
      files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string FileText(const std::string& path) {
  try {
    std::vector<uint8_t> bytes = ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
  } catch (const std::exception&) {
    return {};
  }
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "varnel-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code error;
  fs::remove_all(path_, error);
}

}  // namespace varnel::test

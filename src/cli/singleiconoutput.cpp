#include "cli/singleiconoutput.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "icons/icnswriter.h"
#include "icons/iconproject.h"

namespace varnel::cli {

namespace {

struct SingleIconWriter {
  const char* extension;
  void (*write)(const TAdvancedIcon& icon, const std::string& path);
};

const std::array kWriters = {
    SingleIconWriter{
        ".ico", [](const TAdvancedIcon& icon, const std::string& path) { icon.SaveToFile(path); }},
    SingleIconWriter{".cur", [](const TAdvancedIcon& icon,
                                const std::string& path) { icon.SaveCursorToFile(path); }},
    SingleIconWriter{".icns", SaveIconAsIcns},
    SingleIconWriter{".icpr", SaveIconAsIconProject},
};

const SingleIconWriter* WriterFor(const std::string& output) {
  std::string ext = std::filesystem::path(output).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  for (const SingleIconWriter& writer : kWriters)
    if (ext == writer.extension) return &writer;
  return nullptr;
}

}  // namespace

bool IsSingleIconOutput(const std::string& output) {
  return WriterFor(output) != nullptr;
}

void SaveFirstIcon(const TfmLib& lib, const std::string& output) {
  WriterFor(output)->write(*lib.Items().Icons(0), output);
}

}  // namespace varnel::cli

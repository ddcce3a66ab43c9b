#include "cli/singleiconoutput.h"

#include <algorithm>
#include <filesystem>

#include "icons/icnswriter.h"
#include "icons/iconproject.h"

namespace varnel::cli {

namespace {

std::string LowerExtension(const std::string& name) {
  std::string ext = std::filesystem::path(name).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return ext;
}

}  // namespace

bool IsSingleIconOutput(const std::string& output) {
  std::string ext = LowerExtension(output);
  return ext == ".icns" || ext == ".icpr";
}

void SaveFirstIcon(const TfmLib& lib, const std::string& output) {
  const TAdvancedIcon& icon = *lib.Items().Icons(0);
  if (LowerExtension(output) == ".icns")
    SaveIconAsIcns(icon, output);
  else
    SaveIconAsIconProject(icon, output);
}

}  // namespace varnel::cli

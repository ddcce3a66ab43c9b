#include "cli/collectionoutput.h"

#include <vector>

#include "cli/command.h"
#include "collection/exportnames.h"
#include "collection/saveformats.h"

namespace varnel::cli {

namespace {

// The collection's own save filter: collection, library, 16-bit library, ZIP of icon files.
constexpr const char* kCollectionExtensions[] = {"icc", "icl", "dll", "zip"};
// The renamings a note shows; more are counted.
constexpr size_t kNamesShown = 3;

std::vector<std::string> OutputExtensions(bool withSingleIcons) {
  std::vector<std::string> extensions(std::begin(kCollectionExtensions),
                                      std::end(kCollectionExtensions));
  if (withSingleIcons)
    for (const TSaveFormat& format : SaveFormats())
      if (format.wholeIcon) extensions.push_back(format.extension);
  return extensions;
}

bool IsLibraryOutput(const std::string& output) {
  std::string ext = LowerExtension(output);
  return ext != "icc" && ext != "zip" && !ext.empty();
}

std::vector<std::string> NamesOf(const TIconList& items) {
  std::vector<std::string> names;
  for (int i = 0; i < items.Count(); ++i) names.push_back(items.Names(i));
  return names;
}

}  // namespace

std::string OutputExtensionsText(bool withSingleIcons) {
  std::vector<std::string> extensions = OutputExtensions(withSingleIcons);
  std::string text;
  for (size_t i = 0; i < extensions.size(); ++i)
    text += (i == 0 ? "." : i + 1 == extensions.size() ? " or ." : ", .") + extensions[i];
  return text;
}

bool IsCollectionOutput(const std::string& output) {
  std::string ext = LowerExtension(output);
  for (const char* known : kCollectionExtensions)
    if (ext == known) return true;
  return false;
}

void CorrectLibraryNames(TfmLib& lib, const std::string& output) {
  std::vector<std::string> before = NamesOf(lib.Items());
  lib.CorrectNames(false);
  std::string shown;
  size_t renamed = 0;
  for (size_t i = 0; i < before.size(); ++i) {
    const std::string& now = lib.Items().Names(int(i));
    if (now == before[i]) continue;
    if (++renamed <= kNamesShown)
      shown += (renamed > 1 ? ", \"" : "\"") + before[i] + "\" as \"" + now + "\"";
  }
  if (renamed == 0) return;
  if (renamed > kNamesShown) shown += ", ...";
  PrintError(output + ": a library needs unique icon names; " +
             CountText(int64_t(renamed), "icon") + " renamed as \"Correct Names\" does (" + shown +
             ")");
}

void SaveCollectionOutput(TfmLib& lib, const std::string& output, bool sixteenBit) {
  if (IsLibraryOutput(output)) CorrectLibraryNames(lib, output);
  lib.SaveByExtension(output, sixteenBit);
}

}  // namespace varnel::cli

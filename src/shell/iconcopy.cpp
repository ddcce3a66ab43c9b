// Copying the icon an icon location names into an icon file of its own.

#include <filesystem>
#include <fstream>
#include <memory>

#include "base/errors.h"
#include "icons/advancedicon.h"
#include "resources/iconlibrary.h"
#include "shell/foldericon.h"

namespace varnel {

namespace {

const char* const kInvalidIconMessage = "Invalid icon. Can not save";

// An icon file starts with a reserved word 0 and the type 1.
bool IsIconFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  char header[4] = {};
  if (!in.read(header, sizeof header)) return false;
  return header[0] == 0 && header[1] == 0 && header[2] == 1 && header[3] == 0;
}

void CopyWholeFile(const std::string& source, const std::string& target) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::exists(target, error) && fs::equivalent(source, target, error)) return;
  fs::copy_file(source, target, fs::copy_options::overwrite_existing, error);
  if (error) throw EFileError("Cannot create file \"" + target + "\". " + error.message());
}

}  // namespace

void CopyIconToFile(const IconLocation& source, const std::string& target) {
  if (IsIconFile(source.file)) return CopyWholeFile(source.file, target);
  TIconLibrary library;
  try {
    library.LoadFromFile(source.file);
  } catch (const Exception&) {
    throw Exception(kInvalidIconMessage);
  }
  const int position = library.PositionOfLocationIndex(source.index);
  const TAdvancedIcon* icon = position < 0 ? nullptr : library.Icon(position);
  if (!icon || icon->Images().Count() == 0) throw Exception(kInvalidIconMessage);
  icon->SaveToFile(target);
}

}  // namespace varnel

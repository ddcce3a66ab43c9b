#include "resources/moduleupdate.h"

#include <unistd.h>

#include "base/errors.h"
#include "base/filedescriptor.h"

#include "resources/iconpatch.h"
#include "resources/modulecensus.h"
#include "resources/modulerebuild.h"
#include "resources/modulesignature.h"

namespace varnel {

namespace {

// The file system's refusal of the module (missing, read-only, its folder read-only), as the
// system words it; empty when the module can be rewritten.
std::string WriteRefusal(const std::string& fileName) {
  if (::access(fileName.c_str(), W_OK) == 0) return "";
  return "Cannot write file \"" + fileName + "\". " + ErrnoText();
}

}  // namespace

std::string IconUpdateResult::Notice() const {
  return written && signatureRemoved ? kSignatureRemovedNotice : "";
}

IconUpdateResult UpdateModuleIcons(const std::string& fileName, const TIconLibrary& library) {
  if (std::string refusal = WriteRefusal(fileName); !refusal.empty()) return {refusal};
  bool portable = false;
  if (!IsModuleFile(fileName, portable)) return {"Not icon library file"};
  try {
    IconUpdateResult result = PatchIconsInPlace(fileName, library);
    if (!result.message.empty() && portable)
      result = RebuildModuleIcons(fileName, fileName, library);
    return result;
  } catch (const EFileError& error) {
    // Reading or writing the file failed (a full disk, a folder that takes no new file): the
    // message names the file and the system's reason.
    return {error.what()};
  } catch (const std::exception&) {
    return {"Exe-protector is possible used by file creator"};
  }
}

void UpdateIconsInFile(const std::string& fileName, const TIconLibrary& library,
                       std::string& message) {
  message = UpdateModuleIcons(fileName, library).message;
}

}  // namespace varnel

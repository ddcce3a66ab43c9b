#include "resources/moduleupdate.h"

#include "resources/iconpatch.h"
#include "resources/modulecensus.h"
#include "resources/modulerebuild.h"
#include "resources/modulesignature.h"

namespace varnel {

std::string IconUpdateResult::Notice() const {
  return written && signatureRemoved ? kSignatureRemovedNotice : "";
}

IconUpdateResult UpdateModuleIcons(const std::string& fileName, const TIconLibrary& library) {
  bool portable = false;
  if (!IsModuleFile(fileName, portable)) return {"Not icon library file"};
  try {
    IconUpdateResult result = PatchIconsInPlace(fileName, library);
    if (!result.message.empty() && portable)
      result = RebuildModuleIcons(fileName, fileName, library);
    return result;
  } catch (const std::exception&) {
    return {"Exe-protector is possible used by file creator"};
  }
}

void UpdateIconsInFile(const std::string& fileName, const TIconLibrary& library,
                       std::string& message) {
  message = UpdateModuleIcons(fileName, library).message;
}

}  // namespace varnel

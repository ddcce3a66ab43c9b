#pragma once
// Saving a collection back into the module it was opened from: the edited images are written
// over their old bytes when none changed its size, and a PE module's resources are rebuilt
// when one did.

#include <string>

#include "resources/iconlibrary.h"
#include "resources/iconupdateresult.h"

namespace varnel {

// Writes library's images into fileName, a module the library was loaded from. Never raises:
// a file the file system will not let be written (missing, read-only, a full disk) gives
// "Cannot write file "NAME". " and the system's reason; a file that is no NE or PE module gives
// "Not icon library file"; any other error of reading, decoding or writing a message saying that
// the file resists being rewritten. The file is then left as it was.
IconUpdateResult UpdateModuleIcons(const std::string& fileName, const TIconLibrary& library);

// The same, giving only the message (empty when the file was written or nothing needed writing).
void UpdateIconsInFile(const std::string& fileName, const TIconLibrary& library,
                       std::string& message);

}  // namespace varnel

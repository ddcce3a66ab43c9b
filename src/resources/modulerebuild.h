#pragma once
// Writing edited images into a PE module by rebuilding its resource section, so that images may
// change their size.

#include <string>

#include "resources/iconlibrary.h"
#include "resources/iconupdateresult.h"

namespace varnel {

// The module sourceName with its icon groups renamed after library's icons and their images
// replaced by library's, written to destName. The images are renumbered 1, 2, 3, ... over all
// groups in module order. Refuses, writing nothing, when a group lists no image (or one that is
// missing), when the group count differs from the icon count or a group's image count from its
// icon's. The overlay is kept; a certificate table is removed. Raises the errors of decoding
// and writing the module.
IconUpdateResult RebuildModuleIcons(const std::string& sourceName, const std::string& destName,
                                    const TIconLibrary& library);

}  // namespace varnel

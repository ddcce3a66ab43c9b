#pragma once
// The collection window's exports to the Linux desktop and the web: the selected icons (all when
// none is selected) as an icon theme or an X cursor theme, the current icon as a favicon set.

#include "collection/collectiontarget.h"

namespace varnel {

enum class ThemeExport { IconTheme, CursorTheme, FaviconSet };

// Asks for the folder (and for themes the name), writes, and tells what was written or why
// nothing was.
void ExportTheme(CollectionTarget& target, ThemeExport kind);

}  // namespace varnel

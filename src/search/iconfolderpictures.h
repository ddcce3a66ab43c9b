#pragma once
// Where searches with the default file types also take pictures: on Linux icons live as PNG,
// SVG, SVGZ and XPM files in icon themes and pixmap folders, which the default mask (icon
// files, modules and libraries) names none of. A search with that mask takes these pictures
// when they lie below a folder named "icons", ".icons" or "pixmaps" (/usr/share/icons,
// ~/.local/share/icons, ~/.icons, /usr/share/pixmaps); anywhere else, and with any other mask,
// the mask alone decides. The same searches take every file of a "cursors" folder inside such a
// folder (the cursors of an X cursor theme have no extension), links to other cursors aside.

#include <string>

namespace varnel {

// The rule as the Find dialog, "scan --help" and README state it.
inline constexpr const char* kIconFolderPicturesNote =
    "With the default file types, PNG, SVG, SVGZ and XPM pictures are also found in icon and "
    "pixmap folders (folders named icons, .icons or pixmaps), and the X cursors of their cursors "
    "folders.";

// The patterns of the pictures taken in icon and pixmap folders.
inline constexpr const char* kIconFolderPictureMask = "*.png;*.svg;*.svgz;*.xpm";

// Whether a search with this mask takes the pictures of icon folders: the mask is the default
// one (letter case and spaces around it aside).
bool TakesIconFolderPictures(const std::string& mask);

// Whether a folder lies in an icon theme or pixmap folder: one of its components is "icons",
// ".icons" or "pixmaps".
bool IsIconFolder(const std::string& folder);

// Whether a folder holds a cursor theme's cursors: it is named "cursors" and lies in an icon
// folder.
bool IsCursorThemeFolder(const std::string& folder);

}  // namespace varnel

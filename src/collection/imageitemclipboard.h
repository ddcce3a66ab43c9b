#pragma once
// One image of an icon put on the clipboard as the collection copies its items: a one-item icon
// list in the collection's own format, and the picture of the image on a background colour for
// programs that only take pictures.

#include <string>

#include "graphics/color.h"

namespace varnel {

class Clipboard;
class TSubIcon;

// Replaces the clipboard's contents: an icon list with one icon named name that holds a copy of
// image, and the image composed onto background.
void CopyImageAsCollectionItem(const TSubIcon& image, const std::string& name, TColor background,
                               Clipboard& clipboard);

}  // namespace varnel

// The row of WAP bitmaps: their content has no mark, so they are known by their extension only
// and read through the picture format registered for it.

#include "collection/kindreaders.h"
#include "icons/wbmpimage.h"

namespace varnel {

const FileFormat& WbmpFormat() {
  static const FileFormat kRow{.kindName = "",
                               .description = "WAP bitmap",
                               .typeWord = "WBMP",
                               .importPatterns = "*.wbmp",
                               .pictureByExtension = WbmpPictureFormat};
  return kRow;
}

}  // namespace varnel

#pragma once
// The readers of the picture kinds that have no icon form of their own: vector drawings,
// data-URI text files, and PNG pictures kept as their own bytes.

#include <memory>

#include "base/mappedfile.h"
#include "collection/kindreaders.h"
#include "icons/advancedicon.h"

namespace varnel {

// A drawing at its own size: the external renderer's picture with its mask (alpha below 80),
// else the built-in renderer's 32-bit picture. A drawing whose own size is beyond the limit, or
// that neither renderer draws, raises EInvalidGraphic.
TPicture ReadDrawingPicture(const MappedFile& file);

// The PNG of a data-URI text file (mask where alpha is below 96). Text without a PNG data URI
// gives an empty picture.
TPicture ReadDataUriPicture(const MappedFile& file);

// A PNG picture as one icon image holding the file's own bytes (a packed image), so that it
// costs what the file costs until its pixels are needed. Null for a PNG the icon images cannot
// hold as they are; the caller then decodes it.
std::unique_ptr<TAdvancedIcon> ReadPngAsPackedImage(const MappedFile& file);

}  // namespace varnel

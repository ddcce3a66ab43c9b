#pragma once
// The icon a thumbnail is drawn from, read from a file's mapping for the kinds file managers
// show most, with no more work than that icon takes: an icon or cursor file's directory and
// image headers, an animated cursor's (or another RIFF file's) first frame, an icon family's
// element table (its PNG elements are decoded only when drawn), a PE module's first icon group.

#include <memory>

#include "base/mappedfile.h"
#include "collection/filekind.h"
#include "icons/advancedicon.h"

namespace varnel {

// The depth a thumbnail asks its icon's best image for.
inline constexpr int kThumbnailDepth = 32;

// The first icon the whole import of the file would give, with the same images in the same
// order, for a thumbnail of size x size; null when the kind is none of those above (or a module
// gives no icon group), for the whole import to read. An icon without images means the file
// gives none. An icon family whose image for the size is a PNG element that does not decode is
// also left to the whole import, which reports the damage.
std::unique_ptr<TAdvancedIcon> ThumbnailIcon(const SharedFile& file, TFileKind kind, int size);

}  // namespace varnel

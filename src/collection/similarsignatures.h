#pragma once
// The signatures of many icons at once: each distinct signature image is decoded once (a
// collection gathered from many files holds many exact copies), on all cores.

#include <optional>
#include <vector>

#include "collection/iconsignature.h"
#include "collection/similarindex.h"

namespace varnel {

// The signature of each icon, by position (nothing for an icon that has none); threads 0 is one
// per core. Nothing when progress stopped the work.
std::optional<std::vector<std::optional<IconSignature>>> MakeIconSignatures(
    const std::vector<const TAdvancedIcon*>& icons, const SimilarProgress& progress = nullptr,
    int threads = 0);

}  // namespace varnel

#include "collection/similarsignatures.h"

#include "collection/parallelrun.h"

#include <string_view>
#include <unordered_map>

namespace varnel {

namespace {

std::string_view DataBytes(const TSubIcon& image) {
  return {reinterpret_cast<const char*>(image.Data().data()), image.Data().size()};
}

// The distinct signature images of the icons, and for each icon the one it uses (-1: none).
struct DistinctImages {
  std::vector<const TSubIcon*> images;
  std::vector<int> imageOf;
};

DistinctImages FindDistinctImages(const std::vector<const TAdvancedIcon*>& icons) {
  DistinctImages distinct;
  distinct.imageOf.assign(icons.size(), -1);
  std::unordered_map<std::string_view, int> byData;
  for (size_t icon = 0; icon < icons.size(); ++icon) {
    const TSubIcon* image = SignatureImage(*icons[icon]);
    if (!image) continue;
    auto [it, added] = byData.try_emplace(DataBytes(*image), int(distinct.images.size()));
    if (added) distinct.images.push_back(image);
    distinct.imageOf[icon] = it->second;
  }
  return distinct;
}

}  // namespace

std::optional<std::vector<std::optional<IconSignature>>> MakeIconSignatures(
    const std::vector<const TAdvancedIcon*>& icons, const SimilarProgress& progress, int threads) {
  DistinctImages distinct = FindDistinctImages(icons);
  std::vector<std::optional<IconSignature>> byImage(distinct.images.size());
  int total = int(byImage.size());
  bool finished = RunParallel(
      total, threads,
      [&](int image) {
        byImage[size_t(image)] = MakeImageSignature(*distinct.images[size_t(image)]);
      },
      progress
          ? [&](int done) { return progress(int(int64_t(done) * int64_t(icons.size()) / total)); }
          : std::function<bool(int)>());
  if (!finished) return std::nullopt;
  std::vector<std::optional<IconSignature>> signatures(icons.size());
  for (size_t icon = 0; icon < icons.size(); ++icon)
    if (distinct.imageOf[icon] >= 0) signatures[icon] = byImage[size_t(distinct.imageOf[icon])];
  return signatures;
}

}  // namespace varnel

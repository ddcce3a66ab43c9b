#pragma once
// The bulk nearest-neighbour search over icon signatures. Icons with equal signatures (exact
// copies, mostly) share one entry, so that each distinct picture is compared once with every
// other; the comparisons of a whole collection run on all cores.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "collection/iconsignature.h"

namespace varnel {

struct SimilarNeighbour {
  int index;
  int distance;
  bool operator==(const SimilarNeighbour&) const = default;
};

// Called now and then with the icons answered so far; returning false stops the work.
using SimilarProgress = std::function<bool(int done)>;

class SimilarIndex {
 public:
  // One signature per icon, by position; an icon without one is nobody's neighbour.
  explicit SimilarIndex(std::vector<std::optional<IconSignature>> signatures);

  int Count() const { return int(pictureOf_.size()); }
  bool HasSignature(int icon) const { return pictureOf_[size_t(icon)] >= 0; }
  const IconSignature& Signature(int icon) const;
  // The distance of two icons' signatures; -1 when either has none.
  int Distance(int a, int b) const;

  // The k icons nearest to icon, nearest first, equal distances by position; none for an icon
  // without signature.
  std::vector<SimilarNeighbour> Nearest(int icon, int k) const;
  // The same for every icon, on threads (0: one per core); nothing when stopped.
  std::optional<std::vector<std::vector<SimilarNeighbour>>> AllNearest(
      int k, const SimilarProgress& progress = nullptr, int threads = 0) const;

  // The distinct pictures: icons whose signatures are equal share one.
  int PictureCount() const { return int(pictures_.size()); }
  int PictureOf(int icon) const { return pictureOf_[size_t(icon)]; }
  const std::vector<int>& IconsOfPicture(int picture) const {
    return iconsOfPicture_[size_t(picture)];
  }
  const IconSignature& PictureSignature(int picture) const { return pictures_[size_t(picture)]; }
  int PictureDistance(int a, int b) const;
  // The k other pictures nearest to picture (the index names a picture).
  std::vector<SimilarNeighbour> NearestPictures(int picture, int k) const;
  // The same for every picture, on threads; nothing when stopped (progress counts pictures).
  std::optional<std::vector<std::vector<SimilarNeighbour>>> AllNearestPictures(
      int k, const SimilarProgress& progress = nullptr, int threads = 0) const;

 private:
  std::vector<SimilarNeighbour> IconsOf(int icon, const std::vector<SimilarNeighbour>& pictures,
                                        int k) const;

  std::vector<IconSignature> pictures_;
  std::vector<std::vector<int>> iconsOfPicture_;
  std::vector<int> pictureOf_;  // -1 for an icon without signature
};

}  // namespace varnel

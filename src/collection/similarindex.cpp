#include "collection/similarindex.h"

#include <algorithm>
#include <climits>
#include <string_view>
#include <unordered_map>

#include "collection/parallelrun.h"

namespace varnel {

namespace {

bool Nearer(const SimilarNeighbour& a, const SimilarNeighbour& b) {
  return a.distance != b.distance ? a.distance < b.distance : a.index < b.index;
}

std::string_view FeatureBytes(const IconSignature& signature) {
  return {reinterpret_cast<const char*>(signature.features.data()), signature.features.size()};
}

// Keeps the k nearest of the candidates offered to it, in order.
class NearestList {
 public:
  explicit NearestList(int k) : k_(size_t(k)) { list_.reserve(k_ + 1); }
  int Bound() const { return list_.size() < k_ ? INT32_MAX : list_.back().distance; }
  void Offer(SimilarNeighbour candidate) {
    if (k_ == 0 || candidate.distance > Bound()) return;
    auto at = std::upper_bound(list_.begin(), list_.end(), candidate, Nearer);
    list_.insert(at, candidate);
    if (list_.size() > k_) list_.pop_back();
  }
  std::vector<SimilarNeighbour> Take() { return std::move(list_); }

 private:
  size_t k_;
  std::vector<SimilarNeighbour> list_;
};

}  // namespace

SimilarIndex::SimilarIndex(std::vector<std::optional<IconSignature>> signatures) {
  std::unordered_map<std::string_view, int> byFeatures;
  pictures_.reserve(signatures.size());
  pictureOf_.assign(signatures.size(), -1);
  for (size_t icon = 0; icon < signatures.size(); ++icon) {
    if (!signatures[icon]) continue;
    auto [it, added] =
        byFeatures.try_emplace(FeatureBytes(*signatures[icon]), int(pictures_.size()));
    if (added) {
      pictures_.push_back(*signatures[icon]);
      iconsOfPicture_.emplace_back();
    }
    pictureOf_[icon] = it->second;
    iconsOfPicture_[size_t(it->second)].push_back(int(icon));
  }
}

const IconSignature& SimilarIndex::Signature(int icon) const {
  return pictures_[size_t(pictureOf_[size_t(icon)])];
}

int SimilarIndex::Distance(int a, int b) const {
  if (!HasSignature(a) || !HasSignature(b)) return -1;
  return SignatureDistance(Signature(a), Signature(b));
}

std::vector<SimilarNeighbour> SimilarIndex::NearestPictures(int picture, int k) const {
  NearestList nearest(k);
  const IconSignature& query = pictures_[size_t(picture)];
  for (int other = 0; other < int(pictures_.size()); ++other) {
    if (other == picture) continue;
    int bound = nearest.Bound();
    int distance = SignatureDistanceWithin(query, pictures_[size_t(other)], bound);
    if (distance <= bound) nearest.Offer({other, distance});
  }
  return nearest.Take();
}

// The copies of the icon's own picture come first (distance 0), then the icons of the nearest
// pictures; every picture has an icon, so k pictures always give k icons when there are so many.
std::vector<SimilarNeighbour> SimilarIndex::IconsOf(int icon,
                                                    const std::vector<SimilarNeighbour>& pictures,
                                                    int k) const {
  std::vector<SimilarNeighbour> result;
  for (int copy : iconsOfPicture_[size_t(pictureOf_[size_t(icon)])])
    if (copy != icon && int(result.size()) < k) result.push_back({copy, 0});
  for (const SimilarNeighbour& picture : pictures)
    for (int other : iconsOfPicture_[size_t(picture.index)])
      if (int(result.size()) < k) result.push_back({other, picture.distance});
  return result;
}

std::vector<SimilarNeighbour> SimilarIndex::Nearest(int icon, int k) const {
  if (k <= 0 || !HasSignature(icon)) return {};
  return IconsOf(icon, NearestPictures(pictureOf_[size_t(icon)], k), k);
}

int SimilarIndex::PictureDistance(int a, int b) const {
  return SignatureDistance(pictures_[size_t(a)], pictures_[size_t(b)]);
}

std::optional<std::vector<std::vector<SimilarNeighbour>>> SimilarIndex::AllNearestPictures(
    int k, const SimilarProgress& progress, int threads) const {
  std::vector<std::vector<SimilarNeighbour>> byPicture(pictures_.size());
  bool finished = RunParallel(
      PictureCount(), threads,
      [&](int picture) { byPicture[size_t(picture)] = NearestPictures(picture, std::max(k, 0)); },
      progress);
  if (!finished) return std::nullopt;
  return byPicture;
}

std::optional<std::vector<std::vector<SimilarNeighbour>>> SimilarIndex::AllNearest(
    int k, const SimilarProgress& progress, int threads) const {
  int total = std::max(PictureCount(), 1);
  auto byPicture = AllNearestPictures(
      k,
      progress ? [&](int done) { return progress(int(int64_t(done) * Count() / total)); }
               : SimilarProgress(),
      threads);
  if (!byPicture) return std::nullopt;
  std::vector<std::vector<SimilarNeighbour>> result(pictureOf_.size());
  for (int icon = 0; icon < Count(); ++icon)
    if (HasSignature(icon))
      result[size_t(icon)] = IconsOf(icon, (*byPicture)[size_t(PictureOf(icon))], k);
  return result;
}

}  // namespace varnel

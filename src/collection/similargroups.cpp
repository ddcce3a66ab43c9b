#include "collection/similargroups.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <tuple>

namespace varnel {

namespace {

struct Candidate {
  int distance;
  int a;
  int b;
  auto operator<=>(const Candidate&) const = default;
};

std::vector<Candidate> CandidatePairs(
    const std::vector<std::vector<SimilarNeighbour>>& nearestPictures, int threshold) {
  std::vector<Candidate> pairs;
  for (int picture = 0; picture < int(nearestPictures.size()); ++picture)
    for (const SimilarNeighbour& other : nearestPictures[size_t(picture)])
      if (other.distance <= threshold)
        pairs.push_back(
            {other.distance, std::min(picture, other.index), std::max(picture, other.index)});
  std::sort(pairs.begin(), pairs.end());
  pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
  return pairs;
}

bool SameShape(const IconSignature& a, const IconSignature& b) {
  return a.width == b.width && a.height == b.height && a.bits == b.bits;
}

// Clusters of pictures joined by complete linkage.
class PictureClusters {
 public:
  PictureClusters(const SimilarIndex& index, int threshold)
      : index_(index),
        threshold_(threshold),
        clusterOf_(size_t(index.PictureCount())),
        members_(size_t(index.PictureCount())) {
    std::iota(clusterOf_.begin(), clusterOf_.end(), 0);
    for (int picture = 0; picture < index.PictureCount(); ++picture)
      members_[size_t(picture)] = {picture};
  }

  void Join(int a, int b) {
    int first = clusterOf_[size_t(a)], second = clusterOf_[size_t(b)];
    if (first == second || !Compatible(first, second)) return;
    if (members_[size_t(first)].size() < members_[size_t(second)].size()) std::swap(first, second);
    for (int picture : members_[size_t(second)]) {
      clusterOf_[size_t(picture)] = first;
      members_[size_t(first)].push_back(picture);
    }
    members_[size_t(second)].clear();
  }

  const std::vector<std::vector<int>>& Members() const { return members_; }

 private:
  bool Compatible(int first, int second) const {
    for (int a : members_[size_t(first)])
      for (int b : members_[size_t(second)]) {
        if (index_.PictureDistance(a, b) > threshold_) return false;
        if (SameShape(index_.PictureSignature(a), index_.PictureSignature(b))) return false;
      }
    return true;
  }

  const SimilarIndex& index_;
  int threshold_;
  std::vector<int> clusterOf_;
  std::vector<std::vector<int>> members_;
};

}  // namespace

std::vector<std::vector<int>> FindSimilarGroups(
    const SimilarIndex& index, const std::vector<std::vector<SimilarNeighbour>>& nearestPictures,
    int threshold) {
  PictureClusters clusters(index, threshold);
  for (const Candidate& pair : CandidatePairs(nearestPictures, threshold))
    clusters.Join(pair.a, pair.b);
  std::vector<std::vector<int>> groups;
  for (const std::vector<int>& pictures : clusters.Members()) {
    std::vector<int> icons;
    for (int picture : pictures)
      for (int icon : index.IconsOfPicture(picture)) icons.push_back(icon);
    if (icons.size() < 2) continue;
    std::sort(icons.begin(), icons.end());
    groups.push_back(std::move(icons));
  }
  std::sort(groups.begin(), groups.end());
  return groups;
}

}  // namespace varnel

#include "collection/similarmerge.h"

#include <set>
#include <tuple>

namespace varnel {

std::unique_ptr<TAdvancedIcon> MergeIconImages(const std::vector<const TAdvancedIcon*>& icons) {
  auto merged = std::make_unique<TAdvancedIcon>();
  std::set<std::tuple<int, int, int>> shapes;
  for (const TAdvancedIcon* icon : icons)
    for (const auto& image : icon->Images()) {
      if (!image->HasData()) continue;
      if (!shapes.emplace(image->ImageWidth(), image->ImageHeight(), image->BitsPerPixel()).second)
        continue;
      auto copy = std::make_unique<TSubIcon>();
      copy->LoadCopy(*image);
      merged->Images().Add(std::move(copy));
    }
  merged->Images().Sort();
  return merged;
}

int MergeSimilarGroups(TCollection& collection, const std::vector<std::vector<int>>& groups) {
  std::vector<int> removed;
  for (const std::vector<int>& group : groups) {
    if (group.size() < 2) continue;
    std::vector<const TAdvancedIcon*> icons;
    for (int position : group) icons.push_back(collection.Items().Icons(position));
    auto merged = MergeIconImages(icons);
    collection.Items().Icons(group.front())->Images().Clear();
    collection.Items().Icons(group.front())->Images().TakeAll(*merged);
    removed.insert(removed.end(), group.begin() + 1, group.end());
  }
  collection.DeleteMany(removed);
  return int(removed.size());
}

}  // namespace varnel

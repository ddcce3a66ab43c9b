#include "resources/resourcerecords.h"

#include <algorithm>

namespace varnel {

namespace {

void CheckIndex(int index, int limit) {
  if (index < 0 || index >= limit)
    throw Exception("List index out of bounds (" + std::to_string(index) + ")");
}

bool ResourceBefore(const std::unique_ptr<TResourceDetails>& a,
                    const std::unique_ptr<TResourceDetails>& b) {
  int byType = CompareResourceNames(a->ResourceType(), b->ResourceType());
  if (byType != 0) return byType < 0;
  return CompareResourceNames(a->ResourceName(), b->ResourceName()) < 0;
}

}  // namespace

TResourceDetails* ResourceRecordList::At(int index) const {
  CheckIndex(index, Count());
  return records_[size_t(index)].get();
}

int ResourceRecordList::Add(std::unique_ptr<TResourceDetails> details) {
  details->SetParent(&owner_);
  records_.push_back(std::move(details));
  return Count() - 1;
}

void ResourceRecordList::Insert(int index, std::unique_ptr<TResourceDetails> details) {
  CheckIndex(index, Count() + 1);
  details->SetParent(&owner_);
  records_.insert(records_.begin() + index, std::move(details));
}

int ResourceRecordList::IndexOf(const TResourceDetails* details) const {
  for (size_t i = 0; i < records_.size(); ++i)
    if (records_[i].get() == details) return int(i);
  return -1;
}

void ResourceRecordList::Move(int currentIndex, int newIndex) {
  CheckIndex(currentIndex, Count());
  CheckIndex(newIndex, Count());
  std::unique_ptr<TResourceDetails> moving = std::move(records_[size_t(currentIndex)]);
  records_.erase(records_.begin() + currentIndex);
  records_.insert(records_.begin() + newIndex, std::move(moving));
}

void ResourceRecordList::Remove(const TResourceDetails* details) {
  int index = IndexOf(details);
  if (index >= 0) records_.erase(records_.begin() + index);
}

void ResourceRecordList::Sort() {
  std::stable_sort(records_.begin(), records_.end(), ResourceBefore);
}

}  // namespace varnel

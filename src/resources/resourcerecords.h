#pragma once
// The owning, ordered record list that list-keeping containers delegate to.

#include <memory>
#include <vector>

#include "resources/resourcedetails.h"

namespace varnel {

class ResourceRecordList {
 public:
  explicit ResourceRecordList(TResourceModule& owner) : owner_(owner) {}

  int Count() const { return int(records_.size()); }
  // The record at index; raises Exception for an index outside the list.
  TResourceDetails* At(int index) const;
  int Add(std::unique_ptr<TResourceDetails> details);
  void Insert(int index, std::unique_ptr<TResourceDetails> details);
  int IndexOf(const TResourceDetails* details) const;
  void Move(int currentIndex, int newIndex);
  // Removes and frees the record (it may have moved while it was being prepared for deletion).
  void Remove(const TResourceDetails* details);
  void Clear() { records_.clear(); }
  // Orders by type, then name, numbers before texts.
  void Sort();

 private:
  TResourceModule& owner_;
  std::vector<std::unique_ptr<TResourceDetails>> records_;
};

}  // namespace varnel

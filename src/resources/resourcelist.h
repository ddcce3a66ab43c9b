#pragma once
// A resource container that is nothing but its ordered, owning list of records.

#include "resources/resourcedetails.h"
#include "resources/resourcerecords.h"

namespace varnel {

class TResourceList : public TResourceModule {
 public:
  int ResourceCount() const override { return records_.Count(); }
  TResourceDetails* ResourceDetails(int index) const override { return records_.At(index); }
  void DeleteResource(int index) override;
  void InsertResource(int index, std::unique_ptr<TResourceDetails> details) override {
    records_.Insert(index, std::move(details));
  }
  int AddResource(std::unique_ptr<TResourceDetails> details) override {
    return records_.Add(std::move(details));
  }
  int IndexOfResource(const TResourceDetails* details) const override {
    return records_.IndexOf(details);
  }
  int MoveResource(int currentIndex, int newIndex) override {
    records_.Move(currentIndex, newIndex);
    return 1;
  }
  void SortResources() override { records_.Sort(); }

 protected:
  void ClearResources() { records_.Clear(); }

 private:
  ResourceRecordList records_{*this};
};

}  // namespace varnel

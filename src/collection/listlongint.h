#pragma once
// TListLongint: a growable array of signed 32-bit integers.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace varnel {

class TListLongint {
 public:
  int Count() const { return int(items_.size()); }
  void Add(int32_t value) { items_.push_back(value); }
  // Inserts before index; an index at or past the end appends.
  void Insert(int index, int32_t value);
  // Raise "List index out of bounds (%d)" for an index outside 0..Count-1.
  void Delete(int index);
  int32_t Get(int index) const;
  void Put(int index, int32_t value);
  // New entries are 0.
  void SetCount(int count);
  void Clear() { items_.clear(); }
  void AddAll(const TListLongint& other);
  // The value at index, or fallback when index lies outside the list.
  int32_t GetOr(int index, int32_t fallback) const {
    return index >= 0 && index < Count() ? items_[size_t(index)] : fallback;
  }

 private:
  void CheckIndex(int index) const;
  std::vector<int32_t> items_;
};

}  // namespace varnel

#include "collection/listlongint.h"

#include <string>

#include "base/errors.h"

namespace varnel {

void TListLongint::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw Exception("List index out of bounds (" + std::to_string(index) + ")");
}

void TListLongint::Insert(int index, int32_t value) {
  if (index < 0) index = 0;
  if (index >= Count())
    items_.push_back(value);
  else
    items_.insert(items_.begin() + index, value);
}

void TListLongint::Delete(int index) {
  CheckIndex(index);
  items_.erase(items_.begin() + index);
}

int32_t TListLongint::Get(int index) const {
  CheckIndex(index);
  return items_[size_t(index)];
}

void TListLongint::Put(int index, int32_t value) {
  CheckIndex(index);
  items_[size_t(index)] = value;
}

void TListLongint::SetCount(int count) {
  items_.resize(size_t(count < 0 ? 0 : count), 0);
}

void TListLongint::AddAll(const TListLongint& other) {
  items_.insert(items_.end(), other.items_.begin(), other.items_.end());
}

}  // namespace varnel

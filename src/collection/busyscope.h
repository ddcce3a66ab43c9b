#pragma once
// A busy state of the collection window as a scope: entering it begins the state, leaving it
// ends the state, whatever the work inside throws.

#include "collection/collectiontarget.h"

namespace varnel {

class TBusyScope {
 public:
  TBusyScope(CollectionTarget& target, TBusyKind kind) : target_(target), kind_(kind) {
    target_.EnterBusy(kind_);
  }
  ~TBusyScope() { target_.LeaveBusy(kind_); }
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

 private:
  CollectionTarget& target_;
  TBusyKind kind_;
};

}  // namespace varnel

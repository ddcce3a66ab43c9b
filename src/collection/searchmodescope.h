#pragma once
// The search mode of the collection window as a scope: on while the scope lives, back to what it
// was when the scope is left, whatever the search inside throws.

#include "collection/collectiontarget.h"

namespace varnel {

class TSearchModeScope {
 public:
  explicit TSearchModeScope(TCollectionTarget& target)
      : target_(target), before_(target.InSearchMode()) {
    target_.SetSearchMode(true);
  }
  ~TSearchModeScope() { target_.SetSearchMode(before_); }
  TSearchModeScope(const TSearchModeScope&) = delete;
  TSearchModeScope& operator=(const TSearchModeScope&) = delete;

 private:
  TCollectionTarget& target_;
  bool before_;
};

}  // namespace varnel

#pragma once
// The search mode of the collection window as a scope: on while the scope lives, back to what it
// was when the scope is left, whatever the search inside throws.

#include "collection/collectiontarget.h"

namespace varnel {

class SearchModeScope {
 public:
  explicit SearchModeScope(CollectionTarget& target)
      : target_(target), before_(target.InSearchMode()) {
    target_.SetSearchMode(true);
  }
  ~SearchModeScope() { target_.SetSearchMode(before_); }
  SearchModeScope(const SearchModeScope&) = delete;
  SearchModeScope& operator=(const SearchModeScope&) = delete;

 private:
  CollectionTarget& target_;
  bool before_;
};

}  // namespace varnel

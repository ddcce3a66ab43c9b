#pragma once
// A busy state of the collection window as a scope: entering it begins the state, leaving it
// ends the state, whatever the work inside throws.

#include "collection/fmlib.h"

namespace varnel {

enum class TBusyKind {
  Plain,          // BeginBusy / EndBusy
  Quiet,          // BeginQuietBusy / EndQuietBusy: the grid is not laid out meanwhile
  LongOperation,  // BeginLongOperation / EndLongOperation: with the progress window
};

class TBusyScope {
 public:
  TBusyScope(TfmLib& lib, TBusyKind kind);
  ~TBusyScope();
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

 private:
  TfmLib& lib_;
  TBusyKind kind_;
};

}  // namespace varnel

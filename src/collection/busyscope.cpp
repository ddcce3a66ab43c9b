#include "collection/busyscope.h"

namespace varnel {

TBusyScope::TBusyScope(TfmLib& lib, TBusyKind kind) : lib_(lib), kind_(kind) {
  switch (kind_) {
    case TBusyKind::Plain:
      lib_.BeginBusy();
      break;
    case TBusyKind::Quiet:
      lib_.BeginQuietBusy();
      break;
    case TBusyKind::LongOperation:
      lib_.BeginLongOperation();
      break;
  }
}

TBusyScope::~TBusyScope() {
  // Ending the state must not throw out of a scope that may be left by an exception.
  try {
    switch (kind_) {
      case TBusyKind::Plain:
        lib_.EndBusy();
        break;
      case TBusyKind::Quiet:
        lib_.EndQuietBusy();
        break;
      case TBusyKind::LongOperation:
        lib_.EndLongOperation();
        break;
    }
  } catch (...) {
    lib_.ResetBusy();
  }
}

}  // namespace varnel

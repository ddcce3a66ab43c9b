#include "collection/busyscope.h"

#include <utility>

namespace varnel {

namespace {

using Step = void (TfmLib::*)();

// The begin and end operations of each kind of busy state.
std::pair<Step, Step> StepsOf(TBusyKind kind) {
  switch (kind) {
    case TBusyKind::Quiet:
      return {&TfmLib::BeginQuietBusy, &TfmLib::EndQuietBusy};
    case TBusyKind::LongOperation:
      return {&TfmLib::BeginLongOperation, &TfmLib::EndLongOperation};
    case TBusyKind::Plain:
      break;
  }
  return {&TfmLib::BeginBusy, &TfmLib::EndBusy};
}

}  // namespace

TBusyScope::TBusyScope(TfmLib& lib, TBusyKind kind) : lib_(lib), kind_(kind) {
  (lib_.*StepsOf(kind_).first)();
}

TBusyScope::~TBusyScope() {
  // Ending the state must not throw out of a scope that may be left by an exception.
  try {
    (lib_.*StepsOf(kind_).second)();
  } catch (...) {
    lib_.ResetBusy();
  }
}

}  // namespace varnel

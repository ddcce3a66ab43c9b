#pragma once
// The waiting cursor as a scope: shown while the scope lasts, whatever the work inside throws.

#include "platform/userinterface.h"

namespace varnel {

class WaitCursorScope {
 public:
  explicit WaitCursorScope(UserInterface& ui) : ui_(ui) { ui_.SetWaitCursor(true); }
  ~WaitCursorScope() { ui_.SetWaitCursor(false); }
  WaitCursorScope(const WaitCursorScope&) = delete;
  WaitCursorScope& operator=(const WaitCursorScope&) = delete;

 private:
  UserInterface& ui_;
};

}  // namespace varnel

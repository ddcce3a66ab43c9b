#pragma once
// The error raised when an icon library cannot be read or written.

#include "base/errors.h"

namespace varnel {

class EICLReadError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace varnel

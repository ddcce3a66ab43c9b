#pragma once
// Exceptions carry the program's fixed English message texts.

#include <stdexcept>
#include <string>

namespace varnel {

class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A stream could not deliver or take the bytes asked for.
class EStreamError : public Exception {
 public:
  using Exception::Exception;
};

class EReadError : public EStreamError {
 public:
  EReadError() : EStreamError("Stream read error") {}
  using EStreamError::EStreamError;
};

class EWriteError : public EStreamError {
 public:
  EWriteError() : EStreamError("Stream write error") {}
  using EStreamError::EStreamError;
};

// A file could not be opened, created or replaced.
class EFileError : public Exception {
 public:
  using Exception::Exception;
};

// A picture's bytes do not form a valid image of its format.
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace varnel

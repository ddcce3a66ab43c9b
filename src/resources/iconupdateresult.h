#pragma once
// What writing a collection's images back into a module came to.

#include <string>

namespace varnel {

struct IconUpdateResult {
  // Why nothing was written, for the caller to show; empty when the file was written or
  // nothing needed writing.
  std::string message;
  bool written = false;
  // The file carried a signature, which the rewrite removed.
  bool signatureRemoved = false;

  // What the user should be told about a file that was written (empty when nothing).
  std::string Notice() const;
};

}  // namespace varnel

#pragma once
// Icon location texts as the shell stores them: a file name, optionally followed by "," and an
// index. A negative index names the icon resource whose numeric name is its absolute value.

#include <string>
#include <string_view>

namespace varnel {

struct IconLocation {
  std::string file;
  int index = 0;

  bool operator==(const IconLocation&) const = default;
};

// Splits "file,index": from the end, the first "," met before any "." splits off the index
// (trimmed; -1 when it is no number, 0 when there is none); quotes around the file are removed.
IconLocation SplitIconLocation(std::string_view text);

// "file,index".
std::string IconLocationText(const IconLocation& location);

}  // namespace varnel

#pragma once
// A container of resources that icons and cursors can be assembled from.

#include <cstdint>
#include <string>

#include "base/stream.h"

namespace varnel {

class IconResourceSource {
 public:
  virtual ~IconResourceSource() = default;
  // The data of the resource of the given type and name, or null when there is none.
  // Types and numeric names are decimal text ("3" for icon images, "14" for icon groups).
  // The stream stays owned by the container; readers rewind it before use.
  virtual Stream* FindResourceStream(const std::string& type, const std::string& name) = 0;
  // As FindResourceStream, preferring the resource in the given language; a container without
  // languages answers as FindResourceStream does.
  virtual Stream* FindResourceStreamInLanguage(const std::string& type, const std::string& name,
                                               uint32_t language) {
    return FindResourceStream(type, name);
  }
};

}  // namespace varnel

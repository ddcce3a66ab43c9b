#pragma once
// A component that owns one icon list, so that icons travel through component streams (the
// clipboard's copy and paste of collection items) as its "ICONS" property.

#include "base/stream.h"
#include "resources/iconlist.h"

namespace varnel {

class TIconListHolder {
 public:
  TIconList& IconList() { return iconList_; }
  const TIconList& IconList() const { return iconList_; }

  // The property's values; an empty list writes nothing.
  void WriteProperties(Stream& stream) const;
  // Replaces the list by the one the stream holds; an empty stream leaves it empty.
  void ReadProperties(Stream& stream);

 private:
  TIconList iconList_;
};

}  // namespace varnel

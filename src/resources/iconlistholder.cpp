#include "resources/iconlistholder.h"

#include "icons/filer.h"

namespace varnel {

void TIconListHolder::WriteProperties(Stream& stream) const {
  if (iconList_.Count() == 0) return;
  TFilerWriter writer(stream);
  iconList_.WriteIconList(writer);
}

void TIconListHolder::ReadProperties(Stream& stream) {
  iconList_.Clear();
  if (stream.Remaining() <= 0) return;
  TFilerReader reader(stream);
  iconList_.ReadIconList(reader);
}

}  // namespace varnel

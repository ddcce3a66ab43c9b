// The "ICONS" property of TIconList in component streams.

#include "icons/filer.h"
#include "resources/iconlist.h"

namespace varnel {

void TIconList::WriteIconList(TFilerWriter& writer) const {
  writer.WriteInteger(0);
  writer.WriteInteger(1);
  writer.WriteInteger(Count());
  for (const Item& item : items_) {
    writer.WriteString(item.name);
    item.icon->WriteData(writer);
  }
  writer.WriteInteger(0);
}

void TIconList::ReadIconList(TFilerReader& reader) {
  reader.ReadInteger();
  reader.ReadInteger();
  int count = reader.ReadInteger();
  Clear();
  // Every item takes bytes of the stream, so a false count ends with a read error.
  for (int i = 0; i < count; ++i) {
    auto icon = std::make_unique<TAdvancedIcon>();
    std::string name = reader.ReadString();
    icon->ReadData(reader);
    AddIcon(std::move(name), std::move(icon));
  }
  reader.ReadInteger();
}

}  // namespace varnel

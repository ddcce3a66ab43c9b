// TfmLib: finding and deleting copies of equal icons.

#include <cstdio>

#include "collection/busyscope.h"
#include "collection/duplicategroups.h"
#include "collection/fmlib.h"

namespace varnel {

int TfmLib::DeleteDuplicates() {
  CheckNotBusy();
  std::vector<int> duplicates;
  {
    TBusyScope busy(*this, TBusyKind::Quiet);
    std::vector<const TAdvancedIcon*> icons;
    icons.reserve(size_t(Count()));
    for (int i = 0; i < Count(); ++i) icons.push_back(Items().Icons(i));
    duplicates = FindDuplicatesGrouped(icons, [&](int remaining, bool hashing) {
      UI().SetStatusText(1, (hashing ? "Preparing " : "Comparing ") + std::to_string(remaining));
      UI().ProcessMessages();
      return !StopRequested();
    });
    Document.DeleteMany(duplicates);
  }
  if (Count()) SelectOnly(0);
  char text[96];
  std::snprintf(text, sizeof text, "%d duplicate items found and deleted", int(duplicates.size()));
  UI().ShowMessage(MakeMessage(TMessageKind::Information, text));
  if (!duplicates.empty()) SetModified(true);
  return int(duplicates.size());
}

}  // namespace varnel

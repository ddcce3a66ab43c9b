// TfmLib: finding and deleting copies of equal icons.

#include <cstdio>

#include "base/errors.h"
#include "collection/busyscope.h"
#include "collection/duplicatefinder.h"
#include "collection/fmlib.h"
#include "collection/iconhash.h"

namespace varnel {

namespace {

// The compare hash of an icon; one that cannot be rendered gets 0 and equals nothing.
uint32_t CompareHashOrZero(const TAdvancedIcon& icon) {
  try {
    return CompareHash(icon);
  } catch (const Exception&) {
    return 0;
  }
}

}  // namespace

int TfmLib::DeleteDuplicates() {
  CheckNotBusy();
  std::vector<int> duplicates;
  {
    TBusyScope busy(*this, TBusyKind::Quiet);
    std::vector<uint32_t> hashes(static_cast<size_t>(Count()));
    bool hashed = true;
    for (int i = Count() - 1; i >= 0; --i) {
      if (i % 10 == 0) {
        UI().SetStatusText(1, "Preparing " + std::to_string(i));
        UI().ProcessMessages();
        if (StopRequested()) {
          hashed = false;
          break;
        }
      }
      hashes[size_t(i)] = CompareHashOrZero(*Items().Icons(i));
    }
    if (hashed) {
      std::vector<const TAdvancedIcon*> icons;
      for (int i = 0; i < Count(); ++i) icons.push_back(Items().Icons(i));
      duplicates = FindDuplicatePositions(icons, hashes, [&](int position) {
        UI().SetStatusText(1, "Comparing " + std::to_string(position));
        UI().ProcessMessages();
        return !StopRequested();
      });
    }
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

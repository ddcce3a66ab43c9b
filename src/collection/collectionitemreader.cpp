#include "collection/collectionitemreader.h"

#include <algorithm>
#include <exception>

#include "collection/collectionrecords.h"

namespace varnel {

namespace {

// The smallest item record: an empty name (1), the image count (4), source and position (8).
constexpr int64_t kSmallestItem = 13;

}  // namespace

TCollectionItemReader::TCollectionItemReader(const std::string& path) : stream_(path) {
  uint32_t written = ReadCollectionHeader(stream_, path);
  firstItem_ = nextPosition_ = stream_.Position();
  int64_t room = std::max<int64_t>(0, stream_.Size() - firstItem_) / kSmallestItem;
  count_ = int(std::min<int64_t>(written, room));
}

std::unique_ptr<TAdvancedIcon> TCollectionItemReader::Icon(int index) {
  if (index < 0 || index >= count_) return nullptr;
  if (index <= lastRead_) {
    lastRead_ = -1;
    nextPosition_ = firstItem_;
  }
  try {
    stream_.SetPosition(nextPosition_);
    int dropped = 0;
    for (;;) {
      TIconList::Item item = ReadCollectionItem(stream_, uint32_t(lastRead_ + 1), dropped);
      ++lastRead_;
      ++recordsRead_;
      nextPosition_ = stream_.Position();
      if (lastRead_ == index) return std::move(item.icon);
    }
  } catch (const std::exception&) {
    // A damaged record: the next request starts again from the first item.
    lastRead_ = -1;
    nextPosition_ = firstItem_;
    return nullptr;
  }
}

}  // namespace varnel

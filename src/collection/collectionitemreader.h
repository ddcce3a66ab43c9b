#pragma once
// Reads the items of a collection file one at a time, on demand: the preview grid asks for the
// icon of the cell it draws, and reading goes on from the item after the last one read, or
// starts again from the first item when an earlier one is wanted. Only the header is read when
// the reader is made.

#include <cstdint>
#include <memory>
#include <string>

#include "base/filereadstream.h"
#include "icons/advancedicon.h"

namespace varnel {

class TCollectionItemReader {
 public:
  // Reads the header; raises for a file that cannot be opened or is not a collection file.
  explicit TCollectionItemReader(const std::string& path);

  // The item count of the header, limited to what the file's size can hold.
  int Count() const { return count_; }
  // The icon of item index, read on from the last item read when index comes after it, else
  // from the first item; null for an index out of range or an item that cannot be read.
  std::unique_ptr<TAdvancedIcon> Icon(int index);

  // The number of the last item read (-1 before any) and the file position after it.
  int LastRead() const { return lastRead_; }
  int64_t NextPosition() const { return nextPosition_; }
  // How many item records have been read so far, skipped ones included.
  int64_t RecordsRead() const { return recordsRead_; }

 private:
  FileReadStream stream_;
  int count_ = 0;
  int64_t firstItem_ = 0;
  int64_t nextPosition_ = 0;
  int lastRead_ = -1;
  int64_t recordsRead_ = 0;
};

}  // namespace varnel

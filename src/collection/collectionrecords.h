#pragma once
// The records of a collection file (".icc") that readers other than TCollection share: the
// header with its item count, and one item.

#include <cstdint>
#include <string>

#include "base/mappedfile.h"
#include "base/stream.h"
#include "resources/iconlist.h"

namespace varnel {

// Checks the header ("ICC0", version 1, "ICON"); returns the item count as written. Raises
// "Unknown file format: <name>" for any other header.
uint32_t ReadCollectionHeader(Stream& stream, const std::string& name);

// The item record at the stream's position (position counts from 0 and names an unnamed item).
// Damaged images are dropped and counted; a record cut short raises the read error. With
// mapped, the file the stream reads (the same bytes at the same offsets), the images' data are
// views of it: only the records' headers and the first bytes of each image are read.
TIconList::Item ReadCollectionItem(Stream& stream, uint32_t position, int& dropped,
                                   const SharedFile& mapped = nullptr);

}  // namespace varnel

#pragma once
// The records of a collection file (".icc") that readers other than TCollection share: the
// header with its item count, and one item.

#include <cstdint>
#include <string>

#include "base/stream.h"
#include "resources/iconlist.h"

namespace varnel {

// Checks the header ("ICC0", version 1, "ICON"); returns the item count as written. Raises
// "Unknown file format: <name>" for any other header.
uint32_t ReadCollectionHeader(Stream& stream, const std::string& name);

// The item record at the stream's position (position counts from 0 and names an unnamed item).
// Damaged images are dropped and counted; a record cut short raises the read error.
TIconList::Item ReadCollectionItem(Stream& stream, uint32_t position, int& dropped);

}  // namespace varnel

#include "base/byteblock.h"

#include <algorithm>

namespace varnel {

ByteBlock::ByteBlock(std::span<const uint8_t> bytes, std::shared_ptr<const void> keeper) {
  if (keeper) {
    view_ = bytes;
    keeper_ = std::move(keeper);
  } else {
    owned_.assign(bytes.begin(), bytes.end());
  }
}

std::shared_ptr<const void> ByteBlock::KeptByCaller(std::span<const uint8_t> bytes) {
  // An aliasing pointer without a control block: not null, owning nothing.
  static const uint8_t anchor = 0;
  return std::shared_ptr<const void>(std::shared_ptr<const void>(),
                                     bytes.data() ? bytes.data() : &anchor);
}

ByteBlock ByteBlock::Slice(uint64_t offset, uint64_t length) const {
  std::span<const uint8_t> bytes = Span();
  uint64_t start = std::min<uint64_t>(offset, bytes.size());
  uint64_t count = std::min<uint64_t>(length, bytes.size() - start);
  return ByteBlock(bytes.subspan(size_t(start), size_t(count)), keeper_);
}

std::vector<uint8_t> ByteBlock::TakeVector() {
  std::vector<uint8_t> bytes =
      keeper_ ? std::vector<uint8_t>(view_.begin(), view_.end()) : std::move(owned_);
  clear();
  return bytes;
}

bool operator==(const ByteBlock& a, const ByteBlock& b) {
  return std::ranges::equal(a.Span(), b.Span());
}

}  // namespace varnel

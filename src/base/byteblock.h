#pragma once
// A block of bytes that is either owned or a view into a buffer that a keeper keeps alive (a
// mapped file, a shared buffer), so that parts of a large file can be handed on without copies.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace varnel {

class ByteBlock {
 public:
  using value_type = uint8_t;
  using const_iterator = const uint8_t*;
  using iterator = const_iterator;

  ByteBlock() = default;
  // Owns the bytes.
  ByteBlock(std::vector<uint8_t> bytes) : owned_(std::move(bytes)) {}
  // Owns a copy of the bytes.
  ByteBlock(std::span<const uint8_t> bytes) : owned_(bytes.begin(), bytes.end()) {}
  // A view of bytes that keeper keeps alive; without a keeper the bytes are copied.
  ByteBlock(std::span<const uint8_t> bytes, std::shared_ptr<const void> keeper);

  // A keeper for bytes the caller keeps alive longer than every block made from them: the
  // blocks view the bytes without owning anything.
  static std::shared_ptr<const void> KeptByCaller(std::span<const uint8_t> bytes);

  std::span<const uint8_t> Span() const {
    return keeper_ ? view_ : std::span<const uint8_t>(owned_);
  }
  operator std::span<const uint8_t>() const { return Span(); }
  const uint8_t* data() const { return Span().data(); }
  size_t size() const { return Span().size(); }
  bool empty() const { return size() == 0; }
  const uint8_t* begin() const { return data(); }
  const uint8_t* end() const { return data() + size(); }
  uint8_t operator[](size_t index) const { return Span()[index]; }

  // What keeps a view's bytes alive; null for owned bytes.
  const std::shared_ptr<const void>& Keeper() const { return keeper_; }
  // length bytes from offset (both clamped to the block): a view sharing the keeper, or a copy
  // of owned bytes.
  ByteBlock Slice(uint64_t offset, uint64_t length) const;
  // The bytes as a vector of their own: owned bytes are handed over, viewed ones copied. The
  // block is empty afterwards.
  std::vector<uint8_t> TakeVector();
  // A copy of the bytes as a vector of their own.
  std::vector<uint8_t> ToVector() const { return {begin(), end()}; }
  uint8_t back() const { return Span().back(); }
  void clear() { *this = ByteBlock(); }

  friend bool operator==(const ByteBlock& a, const ByteBlock& b);

 private:
  std::vector<uint8_t> owned_;
  std::span<const uint8_t> view_;
  std::shared_ptr<const void> keeper_;
};

}  // namespace varnel

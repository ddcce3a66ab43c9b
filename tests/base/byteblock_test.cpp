#include "base/byteblock.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

std::shared_ptr<const std::vector<uint8_t>> Shared(std::vector<uint8_t> bytes) {
  return std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
}

TEST(ByteBlockTest, ViewsNeedAKeeperElseTheyCopy) {
  auto source = Shared({1, 2, 3, 4, 5});
  ByteBlock view(*source, source);
  EXPECT_EQ(view.data(), source->data());
  EXPECT_EQ(view.Keeper(), source);
  ByteBlock copy(std::span<const uint8_t>(*source), nullptr);
  EXPECT_NE(copy.data(), source->data());
  EXPECT_EQ(copy, view);
  EXPECT_EQ(copy.Keeper(), nullptr);
}

TEST(ByteBlockTest, SlicesOfViewsShareTheBytesAndSlicesOfOwnedBytesCopy) {
  auto source = Shared({1, 2, 3, 4, 5});
  ByteBlock view(*source, source);
  ByteBlock middle = view.Slice(1, 3);
  EXPECT_EQ(middle.data(), source->data() + 1);
  EXPECT_EQ(middle, ByteBlock(std::vector<uint8_t>{2, 3, 4}));
  EXPECT_EQ(view.Slice(4, 100).size(), 1u) << "length clamped";
  EXPECT_TRUE(view.Slice(9, 2).empty()) << "offset clamped";

  ByteBlock owned(std::vector<uint8_t>{1, 2, 3});
  ByteBlock part = owned.Slice(1, 1);
  EXPECT_NE(part.data(), owned.data() + 1);
  EXPECT_EQ(part[0], 2);
}

TEST(ByteBlockTest, TakeVectorHandsOverOwnedBytesAndCopiesViews) {
  std::vector<uint8_t> bytes{7, 8, 9};
  const uint8_t* storage = bytes.data();
  ByteBlock owned(std::move(bytes));
  std::vector<uint8_t> taken = owned.TakeVector();
  EXPECT_EQ(taken.data(), storage);
  EXPECT_TRUE(owned.empty());

  auto source = Shared({7, 8, 9});
  ByteBlock view(*source, source);
  std::vector<uint8_t> copied = view.TakeVector();
  EXPECT_NE(copied.data(), source->data());
  EXPECT_EQ(copied, *source);
  EXPECT_TRUE(view.empty());
  EXPECT_EQ(view.Keeper(), nullptr) << "the block lets go of the source";
}

TEST(ByteBlockTest, BytesKeptByTheCallerAreViewedWithoutOwnership) {
  std::vector<uint8_t> bytes{1, 2};
  std::shared_ptr<const void> keeper = ByteBlock::KeptByCaller(bytes);
  ASSERT_TRUE(keeper);
  EXPECT_EQ(keeper.use_count(), 0);
  ByteBlock view(bytes, keeper);
  EXPECT_EQ(view.data(), bytes.data());
  EXPECT_TRUE(ByteBlock::KeptByCaller({})) << "even for no bytes";
}

}  // namespace
}  // namespace varnel

// The orders of TIconList::SortIcons. Every order but the reversal keeps items with equal keys
// in their current order.

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "platform/textfunctions.h"
#include "resources/iconlist.h"

namespace varnel {

namespace {

// The sort key of kind 3: the name reduced to signs, digits and decimal separators, and its
// value when the reduced text is a decimal number.
struct NumberInName {
  std::string reduced;
  std::optional<double> value;
};

NumberInName ReduceToNumber(const std::string& name) {
  NumberInName key;
  for (char c : name) {
    if (c == ',' || c == '.')
      key.reduced += '.';
    else if (c == '+' || c == '-' || (c >= '0' && c <= '9'))
      key.reduced += c;
  }
  // Parsed without regard to the process locale; one leading "+" is allowed.
  std::string_view text = key.reduced;
  if (text.starts_with('+') && text.size() > 1 && text[1] != '+' && text[1] != '-')
    text.remove_prefix(1);
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (!text.empty() && error == std::errc() && end == text.data() + text.size()) key.value = value;
  return key;
}

// Numbers by value before texts; texts ignoring letter case.
int CompareNumbersInNames(const NumberInName& a, const NumberInName& b) {
  if (a.value && b.value) return *a.value < *b.value ? -1 : *a.value > *b.value ? 1 : 0;
  if (a.value) return -1;
  if (b.value) return 1;
  return LowerCase(a.reduced).compare(LowerCase(b.reduced));
}

// The largest value over the images and how many images have it.
struct LargestAndCount {
  int largest = 0;
  int count = 0;
  auto operator<=>(const LargestAndCount&) const = default;
};

template <class Measure>
LargestAndCount LargestOf(const TAdvancedIcon& icon, Measure measure) {
  LargestAndCount key;
  for (const auto& image : icon.Images()) {
    int value = measure(*image);
    if (key.count == 0 || value > key.largest)
      key = {value, 1};
    else if (value == key.largest)
      ++key.count;
  }
  return key;
}

LargestAndCount SizeKey(const TAdvancedIcon& icon) {
  return LargestOf(icon,
                   [](const TSubIcon& image) { return image.ImageWidth() + image.ImageHeight(); });
}

LargestAndCount DepthKey(const TAdvancedIcon& icon) {
  return LargestOf(icon, [](const TSubIcon& image) { return int(image.Entry().wBitCount); });
}

}  // namespace

void TIconList::SortIcons(int kind) {
  // Puts the items in the order a stable sort of their positions by `less` gives.
  auto reorder = [this](auto less) {
    std::vector<size_t> order(items_.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), less);
    std::vector<Item> sorted;
    for (size_t index : order) sorted.push_back(std::move(items_[index]));
    items_ = std::move(sorted);
  };
  auto keysOf = [this](auto key) {
    std::vector<decltype(key(items_.front()))> keys;
    for (const Item& item : items_) keys.push_back(key(item));
    return keys;
  };
  auto byKey = [&](auto key) {
    auto keys = keysOf(key);
    reorder([&](size_t a, size_t b) { return keys[a] < keys[b]; });
  };
  if (items_.size() < 2) return;
  switch (IconSortKind(kind)) {
    case IconSortKind::Reverse:
      std::reverse(items_.begin(), items_.end());
      break;
    case IconSortKind::ByName:
      byKey([](const Item& item) { return LowerCase(item.name); });
      break;
    case IconSortKind::ByNumberInName: {
      auto keys = keysOf([](const Item& item) { return ReduceToNumber(item.name); });
      reorder([&](size_t a, size_t b) { return CompareNumbersInNames(keys[a], keys[b]) < 0; });
      break;
    }
    case IconSortKind::ByImageCount:
      byKey([](const Item& item) { return item.icon->Images().Count(); });
      break;
    case IconSortKind::BySize:
      byKey([](const Item& item) { return SizeKey(*item.icon); });
      break;
    case IconSortKind::ByColorDepth:
      byKey([](const Item& item) { return DepthKey(*item.icon); });
      break;
  }
}

}  // namespace varnel

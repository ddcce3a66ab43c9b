// The orders of TIconList::SortIcons, one implementation for collections and libraries. Every
// order but the reversal keeps items with equal keys in their current order.

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "platform/casefold.h"
#include "resources/iconlist.h"

namespace varnel {

namespace {

using Item = TIconList::Item;

// The sort key by number in the name: the name reduced to signs, digits and decimal
// separators, and its value when the reduced text is a decimal number.
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
  // Parsed without regard to the process locale, so "1,5" and "1.5" are numbers everywhere;
  // one leading "+" is allowed.
  std::string_view text = key.reduced;
  if (text.starts_with('+') && text.size() > 1 && text[1] != '+' && text[1] != '-')
    text.remove_prefix(1);
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (!text.empty() && error == std::errc() && end == text.data() + text.size()) key.value = value;
  return key;
}

// Numbers by value before texts; texts ignoring letter case.
bool NumberInNameLess(const NumberInName& a, const NumberInName& b) {
  if (a.value && b.value) return *a.value < *b.value;
  if (a.value || b.value) return bool(a.value);
  return CompareTextFolded(a.reduced, b.reduced) < 0;
}

// The largest value over the images and how many images have it.
struct LargestAndCount {
  int64_t largest = 0;
  int count = 0;
  auto operator<=>(const LargestAndCount&) const = default;
};

template <class Measure>
LargestAndCount LargestOf(const TAdvancedIcon& icon, Measure measure) {
  LargestAndCount key;
  for (const auto& image : icon.Images()) {
    int64_t value = measure(*image);
    if (key.count == 0 || value > key.largest)
      key = {value, 1};
    else if (value == key.largest)
      ++key.count;
  }
  return key;
}

LargestAndCount SizeKey(const Item& item) {
  return LargestOf(*item.icon, [](const TSubIcon& image) {
    return int64_t(image.ImageWidth()) + image.ImageHeight();
  });
}

LargestAndCount DepthKey(const Item& item) {
  return LargestOf(*item.icon, [](const TSubIcon& image) { return image.BitsPerPixel(); });
}

}  // namespace

void TIconList::SortIcons(TSortMode mode, const SourceKey& sourceKey) {
  if (items_.size() < 2) return;
  if (mode == TSortMode::Backward) {
    std::reverse(items_.begin(), items_.end());
    return;
  }
  if (mode == TSortMode::Source && !sourceKey) return;
  // Keys are taken once per item, then the positions sorted stably by them.
  std::vector<int> order(items_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
  auto sortBy = [&](auto key, auto less) {
    std::vector<decltype(key(items_.front()))> keys;
    keys.reserve(items_.size());
    for (const Item& item : items_) keys.push_back(key(item));
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return less(keys[size_t(a)], keys[size_t(b)]); });
  };
  auto folded = [](const std::string& a, const std::string& b) {
    return CompareTextFolded(a, b) < 0;
  };
  auto plain = [](const auto& a, const auto& b) { return a < b; };
  switch (mode) {
    case TSortMode::Name:
      sortBy([](const Item& item) { return item.name; }, folded);
      break;
    case TSortMode::NameAsNumber:
      sortBy([](const Item& item) { return ReduceToNumber(item.name); }, NumberInNameLess);
      break;
    case TSortMode::ImageCount:
      sortBy([](const Item& item) { return item.icon->Images().Count(); }, plain);
      break;
    case TSortMode::ImageSize:
      sortBy(SizeKey, plain);
      break;
    case TSortMode::ColorDepth:
      sortBy(DepthKey, plain);
      break;
    case TSortMode::Source:
      sortBy(sourceKey, folded);
      break;
    case TSortMode::Backward:
      break;
  }
  Reorder(order);
}

void TIconList::SortIcons(int kind) {
  if (kind >= int(TSortMode::Backward) && kind <= int(TSortMode::ColorDepth))
    SortIcons(TSortMode(kind));
}

}  // namespace varnel

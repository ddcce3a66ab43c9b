// TfmLib: sorting the collection with its source lists kept parallel.

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "collection/fmlib.h"
#include "platform/textfunctions.h"

namespace varnel {

namespace {

int CompareIgnoringCase(const std::string& a, const std::string& b) {
  return std::strcoll(LowerCase(a).c_str(), LowerCase(b).c_str());
}

// The digits, signs and separators of a name; "." and "," become the decimal point.
std::string NumberPart(const std::string& name) {
  std::string kept;
  for (char c : name) {
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-')
      kept += c;
    else if (c == '.' || c == ',')
      kept += '.';
  }
  return kept;
}

std::optional<double> AsNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size()) return std::nullopt;
  return value;
}

// The largest value of an image property and how many images reach it.
template <class Measure>
std::pair<int64_t, int> LargestAndCount(const TAdvancedIcon& icon, Measure measure) {
  int64_t largest = 0;
  int count = 0;
  for (const auto& image : icon.Images()) {
    int64_t value = measure(*image);
    if (value > largest)
      largest = value, count = 1;
    else if (value == largest)
      ++count;
  }
  return {largest, count};
}

std::string SourceKey(const std::string& source, int32_t position, bool hasPosition) {
  if (source.empty() || !hasPosition) return source;
  char hex[16];
  std::snprintf(hex, sizeof hex, "%05X", uint32_t(position));
  return source + hex;
}

}  // namespace

void TfmLib::ReorderItems(const std::vector<int>& order) {
  int count = Count();
  std::vector<int32_t> sources(static_cast<size_t>(count)), positions(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    sources[size_t(i)] = SourceIndex.GetOr(i, -1);
    positions[size_t(i)] = SourcePosition.GetOr(i, -1);
  }
  // Take the items out from the end (cheap for the list), then put them back in the new order.
  std::vector<TIconList> taken(static_cast<size_t>(count));
  for (int i = count - 1; i >= 0; --i) Items().MoveIconTo(i, taken[size_t(i)]);
  for (int old : order) taken[size_t(old)].MoveIconTo(0, Items());
  // The source lists keep their length; each entry follows its item.
  int sourceCount = SourceIndex.Count(), positionCount = SourcePosition.Count();
  for (int i = 0; i < count; ++i) {
    int old = order[size_t(i)];
    if (i < sourceCount) SourceIndex.Put(i, sources[size_t(old)]);
    if (i < positionCount) SourcePosition.Put(i, positions[size_t(old)]);
  }
}

void TfmLib::SortIcons(TSortMode mode) {
  CheckNotBusy();
  if (Count() < 2) return;
  UI().SetWaitCursor(true);
  std::vector<int> order(static_cast<size_t>(Count()));
  for (int i = 0; i < Count(); ++i) order[size_t(i)] = i;
  auto icon = [&](int i) -> const TAdvancedIcon& { return *Items().Icons(i); };
  auto sortBy = [&](auto less) { std::stable_sort(order.begin(), order.end(), less); };
  switch (mode) {
    case TSortMode::Backward:
      std::reverse(order.begin(), order.end());
      break;
    case TSortMode::Name:
      sortBy([&](int a, int b) {
        return CompareIgnoringCase(Items().Names(a), Items().Names(b)) < 0;
      });
      break;
    case TSortMode::NameAsNumber:
      sortBy([&](int a, int b) {
        std::string ta = NumberPart(Items().Names(a)), tb = NumberPart(Items().Names(b));
        auto na = AsNumber(ta), nb = AsNumber(tb);
        if (na && nb) return *na < *nb;
        if (na || nb) return bool(na);
        return CompareIgnoringCase(ta, tb) < 0;
      });
      break;
    case TSortMode::ImageCount:
      sortBy([&](int a, int b) { return icon(a).Images().Count() < icon(b).Images().Count(); });
      break;
    case TSortMode::ImageSize:
      sortBy([&](int a, int b) {
        auto size = [](const TSubIcon& s) { return int64_t(s.ImageWidth()) + s.ImageHeight(); };
        return LargestAndCount(icon(a), size) < LargestAndCount(icon(b), size);
      });
      break;
    case TSortMode::ColorDepth:
      sortBy([&](int a, int b) {
        auto depth = [](const TSubIcon& s) { return s.BitsPerPixel(); };
        return LargestAndCount(icon(a), depth) < LargestAndCount(icon(b), depth);
      });
      break;
    case TSortMode::Source: {
      std::vector<std::string> keys;
      for (int i = 0; i < Count(); ++i)
        keys.push_back(
            SourceKey(SourceOf(i), SourcePosition.GetOr(i, -1), i < SourcePosition.Count()));
      sortBy(
          [&](int a, int b) { return CompareIgnoringCase(keys[size_t(a)], keys[size_t(b)]) < 0; });
      break;
    }
  }
  ReorderItems(order);
  UI().SetWaitCursor(false);
  SetModified(true);
  grid_.Repaint();
}

}  // namespace varnel

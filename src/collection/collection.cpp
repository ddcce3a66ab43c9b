// TCollection: items, their sources and their order.

#include "collection/collection.h"

#include <cstdio>

#include "platform/textfunctions.h"

namespace varnel {

namespace {

// The source text followed by the position in hexadecimal, so that the items of one source
// sort by their position in it.
std::string SourceSortKey(const std::string& source, int32_t position) {
  if (source.empty()) return source;
  char hex[16];
  std::snprintf(hex, sizeof hex, "%05X", uint32_t(position));
  return source + hex;
}

}  // namespace

void TCollection::Clear() {
  Items().Clear();
  Sources.clear();
  sourceIndex_ = {};
  mappedFiles_.clear();
}

void TCollection::Insert(int index, std::string name, std::unique_ptr<TAdvancedIcon> icon,
                         TItemSource source) {
  Items().InsertItem(index, {std::move(name), std::move(icon), source});
}

void TCollection::Append(std::string name, std::unique_ptr<TAdvancedIcon> icon) {
  Items().AddIcon(std::move(name), std::move(icon));
}

void TCollection::Delete(int index) {
  Items().Delete(index);
}

void TCollection::DeleteMany(const std::vector<int>& positions) {
  Items().DeleteMany(positions);
}

void TCollection::Reorder(const std::vector<int>& order) {
  Items().Reorder(order);
}

void TCollection::Sort(TSortMode mode) {
  Items().SortIcons(mode, [this](const TIconList::Item& item) {
    const TItemSource& source = item.source;
    bool known = source.index >= 0 && size_t(source.index) < Sources.size();
    return known ? SourceSortKey(Sources[size_t(source.index)], source.position) : std::string();
  });
}

std::string TCollection::SourceOf(int index) const {
  if (index < 0 || index >= Count()) return {};
  int32_t source = Items().Source(index).index;
  return source >= 0 && size_t(source) < Sources.size() ? Sources[size_t(source)] : std::string();
}

int TCollection::SourceIndexOf(const std::string& path) {
  std::optional<int> known = IndexedSource(path);
  if (known && !SameText(Sources[size_t(*known)], path)) {
    // The table was replaced behind the index: indexed anew.
    sourceIndex_ = {};
    known = IndexedSource(path);
  }
  if (known) return *known;
  Sources.push_back(path);
  return int(Sources.size() - 1);
}

std::optional<int> TCollection::IndexedSource(const std::string& path) {
  SourceIndex& index = sourceIndex_;
  if (index.indexed > Sources.size()) index = {};
  // Only the first of entries that differ in case alone is found, as a scan finds it.
  for (; index.indexed < Sources.size(); ++index.indexed)
    index.positions.try_emplace(LowerCase(Sources[index.indexed]), int(index.indexed));
  auto it = index.positions.find(LowerCase(path));
  if (it == index.positions.end()) return std::nullopt;
  return it->second;
}

void TCollection::RecordSources(const std::string& path, int first) {
  int source = -1;
  for (int i = std::max(first, 0); i < Count(); ++i) {
    if (Items().Source(i).index >= 0) continue;
    if (source < 0) source = SourceIndexOf(path);
    Items().SetSource(i, {source, i - first});
  }
}

void TCollection::RecordSource(int index, const std::string& path, int position) {
  Items().SetSource(index, {SourceIndexOf(path), position});
}

void TCollection::ClearSources() {
  Sources.clear();
  sourceIndex_ = {};
  for (int i = 0; i < Count(); ++i) Items().SetSource(i, {});
}

int TCollection::TakeDroppedImageCount() {
  int count = droppedImages_;
  droppedImages_ = 0;
  return count;
}

}  // namespace varnel

#include "collection/duplicategroups.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <string_view>
#include <thread>
#include <unordered_map>

#include "base/errors.h"
#include "collection/hashmix.h"
#include "collection/iconhash.h"

namespace varnel {

namespace {

uint64_t SizesKey(const TAdvancedIcon& icon) {
  uint64_t key = 0;
  for (const auto& image : icon.Images()) key = MixHash(key, image->DataSize());
  return key;
}

// Runs work(index) for every index below count on `threads` threads; the calling thread takes
// its share and calls report every few items, which may stop the others by returning false.
// Returns false when stopped.
bool RunOnAllCores(int count, int threads, const std::function<void(int)>& work,
                   const std::function<bool(int remaining)>& report) {
  std::atomic<int> next{0};
  std::atomic<bool> stop{false};
  auto worker = [&] {
    for (int i; !stop && (i = next.fetch_add(1)) < count;) work(i);
  };
  std::vector<std::thread> others;
  for (int t = 1; t < threads && t < count; ++t) others.emplace_back(worker);
  for (int i, done = 0; !stop && (i = next.fetch_add(1)) < count; ++done) {
    work(i);
    if (done % 10 == 0 && report && !report(std::max(0, count - next.load()))) stop = true;
  }
  for (std::thread& thread : others) thread.join();
  return !stop;
}

uint32_t CompareHashOrZero(const TAdvancedIcon& icon) {
  try {
    return CompareHash(icon);
  } catch (const Exception&) {
    return 0;
  }
}

bool SameIconsOrFalse(const TAdvancedIcon& a, const TAdvancedIcon& b) {
  try {
    return a.SameIcon(b);
  } catch (const Exception&) {
    return false;
  }
}

// The positions, in order, of the icons of one shape.
using Group = std::vector<int>;

std::vector<Group> ShapeGroups(const std::vector<const TAdvancedIcon*>& icons) {
  std::unordered_map<uint64_t, size_t> groupOf;
  std::vector<Group> groups;
  for (int i = 0; i < int(icons.size()); ++i) {
    auto [it, added] = groupOf.try_emplace(IconShapeKey(*icons[size_t(i)]), groups.size());
    if (added) groups.emplace_back();
    groups[it->second].push_back(i);
  }
  std::erase_if(groups, [](const Group& group) { return group.size() < 2; });
  return groups;
}

// Splits off the byte copies of earlier members (they go to copies) and keeps in the group the
// first of each set of identical icons. Only members with a bytes key can be copies.
void SplitByteCopies(Group& group, const std::vector<const TAdvancedIcon*>& icons,
                     const std::vector<std::optional<uint64_t>>& bytesKeys,
                     std::vector<int>& copies) {
  std::unordered_multimap<uint64_t, int> firsts;
  Group kept;
  for (int position : group) {
    if (!bytesKeys[size_t(position)]) {
      kept.push_back(position);
      continue;
    }
    uint64_t key = *bytesKeys[size_t(position)];
    auto [first, last] = firsts.equal_range(key);
    bool copy = std::any_of(first, last, [&](const auto& entry) {
      return SameIconBytes(*icons[size_t(position)], *icons[size_t(entry.second)]);
    });
    if (copy) {
      copies.push_back(position);
    } else {
      firsts.emplace(key, position);
      kept.push_back(position);
    }
  }
  group = std::move(kept);
}

// The members of groups whose sizes repeat, which alone can have byte copies.
std::vector<int> MembersWithRepeatedSizes(const std::vector<Group>& groups,
                                          const std::vector<const TAdvancedIcon*>& icons) {
  std::vector<int> members;
  for (const Group& group : groups) {
    std::unordered_map<uint64_t, int> seen;
    for (int position : group) ++seen[SizesKey(*icons[size_t(position)])];
    for (int position : group)
      if (seen[SizesKey(*icons[size_t(position)])] > 1) members.push_back(position);
  }
  return members;
}

// Every member is compared with the earlier members of its group; a byte copy of a member
// compares as that member does, so the copies need not be tried. Stops, keeping what it found,
// when progress says so.
void CompareInGroups(const std::vector<Group>& groups,
                     const std::vector<const TAdvancedIcon*>& icons,
                     const std::vector<uint32_t>& hashes, const DuplicateScanProgress& progress,
                     std::vector<int>& duplicates) {
  int remaining = 0;
  for (const Group& group : groups) remaining += int(group.size()) - 1;
  for (const Group& group : groups) {
    for (size_t a = 1; a < group.size(); ++a) {
      if (--remaining % 10 == 0 && progress && !progress(remaining, false)) return;
      const TAdvancedIcon& icon = *icons[size_t(group[a])];
      for (size_t i = 0; i < a; ++i) {
        if (hashes[size_t(group[i])] != hashes[size_t(group[a])]) continue;
        if (!SameIconsOrFalse(icon, *icons[size_t(group[i])])) continue;
        duplicates.push_back(group[a]);
        break;
      }
    }
  }
}

}  // namespace

uint64_t IconBytesKey(const TAdvancedIcon& icon) {
  uint64_t key = 0;
  for (const auto& image : icon.Images()) {
    key = MixHash(key, BytesHash(image->Data()));
    key = MixHash(key, image->Entry().wBitCount);
  }
  return key;
}

uint64_t IconShapeKey(const TAdvancedIcon& icon) {
  uint64_t key = MixHash(0xCBF29CE484222325ull, uint64_t(icon.Images().Count()));
  for (const auto& image : icon.Images()) {
    key = MixHash(key, image->HasData());
    key = MixHash(key, uint64_t(uint32_t(image->ImageWidth())));
    key = MixHash(key, uint64_t(uint32_t(image->ImageHeight())));
    key = MixHash(key, image->Entry().bColorCount);
  }
  return key;
}

bool SameIconBytes(const TAdvancedIcon& a, const TAdvancedIcon& b) {
  if (a.Images().Count() != b.Images().Count()) return false;
  for (int i = 0; i < a.Images().Count(); ++i) {
    const TSubIcon &one = *a.Images()[i], &two = *b.Images()[i];
    if (one.Entry().wBitCount != two.Entry().wBitCount ||
        one.Entry().bColorCount != two.Entry().bColorCount || !(one.Data() == two.Data()))
      return false;
  }
  return true;
}

std::vector<int> FindDuplicatesGrouped(const std::vector<const TAdvancedIcon*>& icons,
                                       const DuplicateScanProgress& progress, int threads) {
  if (threads <= 0) threads = int(std::max(1u, std::thread::hardware_concurrency()));
  std::vector<Group> groups = ShapeGroups(icons);
  std::vector<int> duplicates;

  std::vector<int> hashedBytes = MembersWithRepeatedSizes(groups, icons);
  std::vector<std::optional<uint64_t>> bytesKeys(icons.size());
  RunOnAllCores(
      int(hashedBytes.size()), threads,
      [&](int k) {
        int position = hashedBytes[size_t(k)];
        bytesKeys[size_t(position)] = IconBytesKey(*icons[size_t(position)]);
      },
      nullptr);
  for (Group& group : groups) SplitByteCopies(group, icons, bytesKeys, duplicates);
  std::erase_if(groups, [](const Group& group) { return group.size() < 2; });

  // What is left is drawn and hashed.
  std::vector<int> drawn;
  for (const Group& group : groups) drawn.insert(drawn.end(), group.begin(), group.end());
  std::vector<uint32_t> hashes(icons.size());
  bool hashed = RunOnAllCores(
      int(drawn.size()), threads,
      [&](int k) {
        int position = drawn[size_t(k)];
        hashes[size_t(position)] = CompareHashOrZero(*icons[size_t(position)]);
      },
      [&](int remaining) { return !progress || progress(remaining, true); });
  if (!hashed) return {};

  CompareInGroups(groups, icons, hashes, progress, duplicates);
  std::sort(duplicates.rbegin(), duplicates.rend());
  return duplicates;
}

}  // namespace varnel

// The collection at scale: writing and reading a collection file of 10,000 icons, sorting it in
// each mode, the compare work of duplicate removal over 20,000 made-up icons, and duplicate
// removal over 10,000 and 100,000 real icons.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "appcore/reopenfileholder.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "collection/duplicatefinder.h"
#include "collection/duplicategroups.h"
#include "collection/fileimport.h"
#include "collection/fmlib.h"
#include "collection/iconhash.h"
#include "platform/fakeuserinterface.h"

using namespace varnel;

namespace {

struct Collection {
  FakeUserInterface ui;
  TChildHost host{ui, "Varnel"};
  TSettings settings;
  MemoryClipboard clipboard;
  TPlainGridView grid;
  TfmLib lib{host, settings, clipboard, grid};

  // count icons of 16 and 32 pixels, every `repeat`-th one a copy of an earlier one.
  explicit Collection(int count, int distinct) {
    for (int i = 0; i < count; ++i) {
      auto icon = std::make_unique<TAdvancedIcon>();
      int seed = i % distinct;
      for (int size : {16, 32}) {
        TBitmap bitmap(size, size, PixelFormat::Bits32);
        for (int y = 0; y < size; ++y)
          for (int x = 0; x < size; ++x) {
            uint8_t* p = bitmap.ScanLine(y) + 4 * x;
            p[0] = uint8_t(seed), p[1] = uint8_t(seed >> 8), p[2] = uint8_t(x * y), p[3] = 255;
          }
        icon->Images().AddFromBitmap(bitmap, nullptr, 0);
      }
      lib.AppendItem("icon " + std::to_string((i * 7919) % count), std::move(icon));
    }
    lib.RecordSources("/bench/source.icl", 0);
  }
};

std::string TempFile() {
  return "/tmp/varnel-bench-collection.icc";
}

void BM_WriteCollection(benchmark::State& state) {
  Collection collection(10000, 10000);
  for (auto _ : state) collection.lib.WriteCollectionFile(TempFile());
  state.SetItemsProcessed(int64_t(state.iterations()) * 10000);
}
BENCHMARK(BM_WriteCollection)->Unit(benchmark::kMillisecond);

void BM_ReadCollection(benchmark::State& state) {
  Collection collection(10000, 10000);
  collection.lib.WriteCollectionFile(TempFile());
  for (auto _ : state) collection.lib.ReadCollectionFile(TempFile());
  state.SetItemsProcessed(int64_t(state.iterations()) * 10000);
}
BENCHMARK(BM_ReadCollection)->Unit(benchmark::kMillisecond);

void BM_Sort(benchmark::State& state) {
  Collection collection(10000, 10000);
  TSortMode mode = TSortMode(state.range(0));
  for (auto _ : state) {
    collection.lib.SortIcons(mode);
    collection.lib.SortIcons(TSortMode::Backward);
  }
}
BENCHMARK(BM_Sort)->DenseRange(1, 7)->Unit(benchmark::kMillisecond);

// The compare pass of duplicate removal over 20,000 icons of which half are copies.
void BM_DuplicateComparePass(benchmark::State& state) {
  Collection collection(20000, 10000);
  std::vector<const TAdvancedIcon*> icons;
  std::vector<uint32_t> hashes;
  for (int i = 0; i < collection.lib.Count(); ++i) {
    icons.push_back(collection.lib.Items().Icons(i));
    hashes.push_back(CompareHash(*icons.back()));
  }
  for (auto _ : state) {
    std::vector<int> found = FindDuplicatePositions(icons, hashes, nullptr);
    if (found.size() != 10000) state.SkipWithError("wrong duplicate count");
  }
}
BENCHMARK(BM_DuplicateComparePass)->Unit(benchmark::kMillisecond);

// A search excluding duplicates that finds 100,000 icons of which half are copies: each found
// icon is hashed, looked up among the items already added, and appended when new. Argument 1
// looks candidates up in the hash index; argument 0 walks a hash per item as the search did
// before, which grows with the square of the icons found. Hashing is left out of both (it is
// measured once, by BM_SearchHashes), so that the figures are the look-up alone.
void BM_SearchExcludingDuplicates(benchmark::State& state) {
  Collection found(100000, 50000);
  std::vector<DuplicateHash> hashes;
  std::vector<uint64_t> bytes;
  for (int i = 0; i < found.lib.Count(); ++i) {
    hashes.push_back(*TDuplicateIndex::HashOf(*found.lib.Items().Icons(i)));
    bytes.push_back(IconBytesKey(*found.lib.Items().Icons(i)));
  }
  for (auto _ : state) {
    TIconList added;
    std::vector<uint32_t> addedHashes;
    TDuplicateIndex index;
    for (int i = 0; i < found.lib.Count(); ++i) {
      const TAdvancedIcon& icon = *found.lib.Items().Icons(i);
      const DuplicateHash& hash = hashes[size_t(i)];
      bool duplicate = false;
      if (state.range(0)) {
        duplicate = index.Contains(added, icon, hash);
      } else {
        for (size_t k = 0; k < addedHashes.size() && !duplicate; ++k)
          duplicate = addedHashes[k] == hash.search && icon.SameIcon(*added.Icons(int(k)));
      }
      if (duplicate) continue;
      index.Add(hash, bytes[size_t(i)], added.Count());
      addedHashes.push_back(hash.search);
      auto copy = std::make_unique<TAdvancedIcon>();
      copy->Assign(icon);
      added.AddIcon("", std::move(copy));
    }
    if (added.Count() != 50000) state.SkipWithError("wrong count of icons added");
  }
}
BENCHMARK(BM_SearchExcludingDuplicates)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Search hashes of 100,000 two-image icons.
void BM_SearchHashes(benchmark::State& state) {
  Collection found(100000, 50000);
  for (auto _ : state)
    for (int i = 0; i < found.lib.Count(); ++i)
      benchmark::DoNotOptimize(SearchHash(*found.lib.Items().Icons(i)));
}
BENCHMARK(BM_SearchHashes)->Iterations(1)->Unit(benchmark::kMillisecond);

// The hash pass of duplicate removal, per icon.
void BM_CompareHash(benchmark::State& state) {
  Collection collection(100, 100);
  int i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(CompareHash(*collection.lib.Items().Icons(i++ % 100)));
}
BENCHMARK(BM_CompareHash);

// Real icons: the ICO files (found by their first bytes) of the sample corpus and of NSIS, and
// the PNG files of the installed icon themes, each imported as the collection imports it.
class RealIcons {
 public:
  static const RealIcons& Get() {
    static const RealIcons icons;
    return icons;
  }

  int Distinct() const { return collection_.lib.Count(); }
  // count icons: the distinct ones in turn, again and again.
  std::vector<std::unique_ptr<TAdvancedIcon>> Repeated(int count) const {
    std::vector<std::unique_ptr<TAdvancedIcon>> icons;
    for (int i = 0; i < count && Distinct(); ++i) {
      icons.push_back(std::make_unique<TAdvancedIcon>());
      icons.back()->Assign(*collection_.lib.Items().Icons(i % Distinct()));
    }
    return icons;
  }

 private:
  RealIcons() : collection_(0, 1) {  // an empty collection to import into
    ImportMatching(VARNEL_CORPUS, IsIcoFile);
    ImportMatching("/usr/share/nsis", IsIcoFile);
    ImportMatching("/usr/share/icons",
                   [](const std::filesystem::path& path) { return path.extension() == ".png"; });
  }

  static bool IsIcoFile(const std::filesystem::path& path) {
    char head[4] = {};
    std::ifstream(path, std::ios::binary).read(head, 4);
    return head[0] == 0 && head[1] == 0 && head[2] == 1 && head[3] == 0;
  }

  template <typename Predicate>
  void ImportMatching(const std::string& root, Predicate matches) {
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it(root, error), end; !error && it != end;
         it.increment(error)) {
      if (!it->is_regular_file(error) || !matches(it->path())) continue;
      try {
        ImportFile(collection_.lib, it->path().string(), nullptr);
      } catch (const Exception&) {
        // A damaged sample gives no icon.
      }
    }
  }

  Collection collection_;
};

// The hash duplicate removal gives an icon: 0, equal to nothing, when it cannot be drawn.
uint32_t CompareHashOrZero(const TAdvancedIcon& icon) {
  try {
    return CompareHash(icon);
  } catch (const Exception&) {
    return 0;
  }
}

std::vector<const TAdvancedIcon*> Pointers(
    const std::vector<std::unique_ptr<TAdvancedIcon>>& list) {
  std::vector<const TAdvancedIcon*> pointers;
  for (const auto& icon : list) pointers.push_back(icon.get());
  return pointers;
}

// What duplicate removal does to a collection of real icons: hashing each, then comparing the
// icons of equal hashes. Every icon past the distinct ones is a copy.
void BM_RealDuplicatesHashAndCompare(benchmark::State& state) {
  const RealIcons& real = RealIcons::Get();
  int count = int(state.range(0));
  auto list = real.Repeated(count);
  std::vector<const TAdvancedIcon*> icons = Pointers(list);
  for (auto _ : state) {
    std::vector<uint32_t> hashes;
    for (const TAdvancedIcon* icon : icons) hashes.push_back(CompareHashOrZero(*icon));
    std::vector<int> found = FindDuplicatePositions(icons, hashes, nullptr);
    if (int(found.size()) < count - real.Distinct()) state.SkipWithError("copies not all found");
  }
  state.counters["distinct"] = real.Distinct();
  state.SetItemsProcessed(int64_t(state.iterations()) * count);
}
BENCHMARK(BM_RealDuplicatesHashAndCompare)->Arg(10000)->Unit(benchmark::kMillisecond);

// The compare pass alone over real icons, hashed beforehand.
void BM_RealDuplicatesComparePass(benchmark::State& state) {
  const RealIcons& real = RealIcons::Get();
  int count = int(state.range(0));
  auto list = real.Repeated(count);
  std::vector<const TAdvancedIcon*> icons = Pointers(list);
  std::vector<uint32_t> hashes;
  for (const TAdvancedIcon* icon : icons) hashes.push_back(CompareHashOrZero(*icon));
  for (auto _ : state) {
    std::vector<int> found = FindDuplicatePositions(icons, hashes, nullptr);
    if (int(found.size()) < count - real.Distinct()) state.SkipWithError("copies not all found");
  }
  state.counters["distinct"] = real.Distinct();
  state.SetItemsProcessed(int64_t(state.iterations()) * count);
}
BENCHMARK(BM_RealDuplicatesComparePass)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

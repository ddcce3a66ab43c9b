// The similar-icon search at scale: 50,000 theme icons (the pictures of /usr/share/icons, each
// repeated until there are so many) read from a collection file, their signatures taken and
// each one's 4 nearest found; one icon's question once the signatures exist; and the search
// over 50,000 signatures that are all different, its worst case.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "base/errors.h"
#include "collection/collection.h"
#include "collection/similarindex.h"
#include "collection/similarsignatures.h"

using namespace varnel;

namespace {

constexpr int kIcons = 50000;

std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

std::unique_ptr<TAdvancedIcon> PictureIcon(std::vector<uint8_t> bytes) {
  auto icon = std::make_unique<TAdvancedIcon>();
  auto image = std::make_unique<TSubIcon>();
  MemoryStream stream(std::move(bytes));
  image->LoadFromData(stream);
  icon->Images().Add(std::move(image));
  return icon;
}

// The collection file of the theme icons, kIcons items long; empty without themes.
const std::vector<uint8_t>& ThemeCollectionFile() {
  static std::vector<uint8_t> bytes = [] {
    std::vector<std::vector<uint8_t>> pictures;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator("/usr/share/icons", error);
         it != std::filesystem::recursive_directory_iterator(); it.increment(error))
      if (it->is_regular_file() && it->path().extension() == ".png")
        pictures.push_back(FileBytes(it->path()));
    TCollection collection;
    for (int i = 0; !pictures.empty() && i < kIcons; ++i) {
      try {
        collection.Append("icon" + std::to_string(i), PictureIcon(pictures[i % pictures.size()]));
      } catch (const Exception&) {
      }
    }
    MemoryStream stream;
    collection.Write(stream);
    return stream.TakeBytes();
  }();
  return bytes;
}

std::vector<const TAdvancedIcon*> IconsOf(const TCollection& collection) {
  std::vector<const TAdvancedIcon*> icons;
  for (int i = 0; i < collection.Count(); ++i) icons.push_back(collection.Items().Icons(i));
  return icons;
}

void BM_SimilarThemeIcons(benchmark::State& state) {
  const std::vector<uint8_t>& file = ThemeCollectionFile();
  if (file.empty()) return state.SkipWithError("no icon themes in /usr/share/icons");
  for (auto _ : state) {
    TCollection collection;
    MemoryStream stream(file);
    collection.Read(stream, "themes.icc");
    SimilarIndex index(*MakeIconSignatures(IconsOf(collection)));
    benchmark::DoNotOptimize(index.AllNearest(4));
    state.counters["pictures"] = index.PictureCount();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kIcons);
}
BENCHMARK(BM_SimilarThemeIcons)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_SimilarOneIcon(benchmark::State& state) {
  const std::vector<uint8_t>& file = ThemeCollectionFile();
  if (file.empty()) return state.SkipWithError("no icon themes in /usr/share/icons");
  TCollection collection;
  MemoryStream stream(file);
  collection.Read(stream, "themes.icc");
  SimilarIndex index(*MakeIconSignatures(IconsOf(collection)));
  int icon = 0;
  for (auto _ : state) benchmark::DoNotOptimize(index.Nearest(icon++ % kIcons, 5));
}
BENCHMARK(BM_SimilarOneIcon)->Unit(benchmark::kMillisecond);

void BM_SimilarDistinctSignatures(benchmark::State& state) {
  std::mt19937 random(1);
  std::vector<std::optional<IconSignature>> signatures(kIcons);
  for (auto& signature : signatures) {
    signature.emplace();
    for (uint8_t& byte : signature->features) byte = uint8_t(random() % 64 + 96);
  }
  SimilarIndex index(std::move(signatures));
  for (auto _ : state) benchmark::DoNotOptimize(index.AllNearest(4));
  state.SetItemsProcessed(int64_t(state.iterations()) * kIcons);
}
BENCHMARK(BM_SimilarDistinctSignatures)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

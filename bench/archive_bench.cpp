// Walking a package-like ZIP of 50 MB: 5,000 members, of which 200 are PNG icons and the rest
// code, resources and media that hold none. Reports the time of the whole walk and how many bytes
// the walk's temporary folder held at most.

#include <archive.h>
#include <archive_entry.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "collection/archiveextract.h"
#include "collection/archivewalk.h"
#include "collection/fileimport.h"
#include "collection/fmlib.h"
#include "graphics/pngcodec.h"
#include "platform/fakeuserinterface.h"

using namespace varnel;

namespace {

namespace fs = std::filesystem;

constexpr int kMembers = 5000;
constexpr int kIcons = 200;
constexpr size_t kOtherMemberBytes = 50'000'000 / kMembers;

std::vector<uint8_t> IconPng(int seed) {
  TBitmap bitmap(48, 48, PixelFormat::Bits32);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x) {
      uint8_t* p = bitmap.ScanLine(y) + 4 * x;
      p[0] = uint8_t(seed), p[1] = uint8_t(x * 5), p[2] = uint8_t(y * 5), p[3] = 255;
    }
  return EncodePng(bitmap);
}

void AddMember(archive* zip, const std::string& name, const std::vector<uint8_t>& bytes) {
  archive_entry* entry = archive_entry_new();
  archive_entry_set_pathname(entry, name.c_str());
  archive_entry_set_filetype(entry, AE_IFREG);
  archive_entry_set_perm(entry, 0644);
  archive_entry_set_size(entry, int64_t(bytes.size()));
  archive_write_header(zip, entry);
  archive_write_data(zip, bytes.data(), bytes.size());
  archive_entry_free(entry);
}

// The package, written once per run into the system's temporary folder and removed at exit.
const std::string& PackagePath() {
  static const std::string path = [] {
    std::string file = (fs::temp_directory_path() / "varnel-bench-package.apk").string();
    archive* zip = archive_write_new();
    archive_write_set_format_zip(zip);
    archive_write_open_filename(zip, file.c_str());
    std::mt19937 random(7);
    std::vector<uint8_t> other(kOtherMemberBytes);
    int iconEvery = kMembers / kIcons;
    for (int i = 0; i < kMembers; ++i) {
      if (i % iconEvery == 0) {
        AddMember(zip, "res/drawable/icon" + std::to_string(i) + ".png", IconPng(i));
        continue;
      }
      for (uint8_t& byte : other) byte = uint8_t(random());
      const char* kind = i % 3 == 0 ? ".xml" : i % 3 == 1 ? ".dex" : ".bin";
      AddMember(zip, "assets/part" + std::to_string(i) + kind, other);
    }
    archive_write_free(zip);
    std::atexit([] { fs::remove(fs::temp_directory_path() / "varnel-bench-package.apk"); });
    return file;
  }();
  return path;
}

uint64_t BytesBelow(const std::string& folder) {
  uint64_t total = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) total += entry.file_size();
  return total;
}

void BM_WalkPackage(benchmark::State& state) {
  const std::string& package = PackagePath();
  for (auto _ : state) {
    FakeUserInterface ui;
    TChildHost host(ui, "Varnel");
    TSettings settings;
    MemoryClipboard clipboard;
    TPlainGridView grid;
    TfmLib lib(host, settings, clipboard, grid);
    LoadFile(lib, package);
    if (lib.Count() != kIcons) state.SkipWithError("icons missing");
  }
  state.counters["package_MB"] = double(fs::file_size(package)) / 1e6;
}
BENCHMARK(BM_WalkPackage)->Unit(benchmark::kMillisecond);

// The extraction alone, into a folder that is kept until measured: its size is the most the
// walk's folder holds, since the walk removes nothing before it ends.
void BM_ExtractPackageDiskUse(benchmark::State& state) {
  const std::string& package = PackagePath();
  std::string folder = (fs::temp_directory_path() / "varnel-bench-extract").string();
  uint64_t peak = 0;
  for (auto _ : state) {
    fs::remove_all(folder);
    ExtractArchive({package}, TFileKind::fkZip, ArchiveMemberMask("", true), folder,
                   LimitsFor(fs::file_size(package), 12));
    peak = BytesBelow(folder);
  }
  fs::remove_all(folder);
  state.counters["peak_temp_KB"] = double(peak) / 1e3;
}
BENCHMARK(BM_ExtractPackageDiskUse)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// Writing icons back into real modules: programs built here with mingw-w64 (the 64-bit one run
// under wine64 before and after) and Debian's installer stubs and wine libraries, checked with
// pefile and icoutils.

#include <gtest/gtest.h>

#include <filesystem>

#include "base/byteorder.h"
#include "base/fileio.h"
#include "iconfixtures.h"
#include "realmodules.h"
#include "resources/iconpatch.h"
#include "resources/modulerebuild.h"
#include "resources/moduleupdate.h"
#include "support/corpus.h"

namespace varnel {
namespace {

// Prints, for a module: a hash of every section but the resources' (trailing zeros dropped),
// the overlay's hash, the checksum state, and how many of the images in the files after the
// module's name are among its icon and cursor images (a cursor's without its hotspot).
constexpr const char* kPefileReport = R"(import hashlib, sys, pefile
p = pefile.PE(sys.argv[1])
h = lambda b: hashlib.sha1(b).hexdigest()
rsrc = p.OPTIONAL_HEADER.DATA_DIRECTORY[2].VirtualAddress
for s in p.sections:
    if not s.contains_rva(rsrc):
        print('section', s.Name.rstrip(b'\0'), h(s.get_data().rstrip(b'\0')))
print('overlay', h(p.get_overlay() or b''))
print('checksum', 'zero' if p.OPTIONAL_HEADER.CheckSum == 0 else p.verify_checksum())
icons = set()
for t in p.DIRECTORY_ENTRY_RESOURCE.entries:
    if t.id in (1, 3):
        for n in t.directory.entries:
            for l in n.directory.entries:
                data = p.get_data(l.data.struct.OffsetToData, l.data.struct.Size)
                icons.add(h(data[4:] if t.id == 1 else data))
wanted = [h(open(f, 'rb').read()) for f in sys.argv[2:]]
print('images', sum(w in icons for w in wanted), 'of', len(wanted))
)";

bool HavePefile() {
  return test::RunCommand("/usr/bin/python3 -c 'import pefile' 2>&1").empty();
}

// The report lines of the pefile script for a module whose images should be those of library.
std::vector<std::string> PefileReport(const test::TempDir& dir, const std::string& module,
                                      const TIconLibrary& library) {
  std::string script = dir.File("report.py");
  test::WriteText(script, kPefileReport);
  std::string images;
  int n = 0;
  for (int k = 0; k < library.Count(); ++k)
    for (const auto& image : library.Icon(k)->Images()) {
      std::string file = dir.File("image" + std::to_string(n++) + ".bin");
      WriteFileAtomic(file, image->Data());
      images += " '" + file + "'";
    }
  std::string out =
      test::RunCommand("/usr/bin/python3 '" + script + "' '" + module + "'" + images + " 2>&1");
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(out.substr(start, end - start));
  return lines;
}

std::string ImagesLine(const TIconLibrary& library) {
  int count = 0;
  for (int k = 0; k < library.Count(); ++k) count += library.Icon(k)->Images().Count();
  return "images " + std::to_string(count) + " of " + std::to_string(count);
}

// Every line but the last two (checksum and images): the parts an update must keep.
std::vector<std::string> KeptParts(std::vector<std::string> report) {
  if (report.size() >= 2) report.resize(report.size() - 2);
  return report;
}

// Inverts every byte after a DIB image's header; compressed images are left as they are.
void RecolourAll(TIconLibrary& library) {
  for (int k = 0; k < library.Count(); ++k)
    for (const auto& image : library.Icon(k)->Images()) {
      if (image->IsPng()) continue;
      std::vector<uint8_t> data = image->Data().ToVector();
      uint32_t header = ReadU32LE(data.data());
      for (size_t i = header; i < data.size(); ++i) data[i] ^= 0xFF;
      image->SetData(std::move(data));
    }
}

struct Toolchain {
  std::string prefix;  // "x86_64-w64-mingw32-"
  bool runsUnderWine;
};

// A console program with one icon of three images; empty when the toolchain is missing.
std::string BuildProgram(const test::TempDir& dir, const Toolchain& tools) {
  std::string stem = dir.File(tools.prefix + "app");
  test::WriteText(stem + ".c",
                  "#include <stdio.h>\nint main(void) { puts(\"varnel test program\"); return 0; "
                  "}\n");
  test::DibIcon({16, 32, 48}, 4, 0x21)->SaveToFile(stem + ".ico");
  test::WriteText(stem + ".rc", "1 ICON \"" + stem + ".ico\"\n");
  std::string out =
      test::RunCommand(tools.prefix + "windres '" + stem + ".rc' -O coff -o '" + stem +
                       ".o' 2>&1 && " + tools.prefix + "gcc -O2 '" + stem + ".c' '" + stem +
                       ".o' -o '" + stem + ".exe' 2>&1 && echo built");
  return out.ends_with("built\n") ? stem + ".exe" : "";
}

std::string RunUnderWine(const std::string& program) {
  const char* tmp = std::getenv("TMPDIR");
  std::string prefix = std::string(tmp ? tmp : "/tmp") + "/varnel-wine-prefix";
  return test::RunCommand("WINEDEBUG=-all WINEPREFIX='" + prefix +
                          "' timeout 300 /usr/lib/wine/wine64 '" + program + "' 2>/dev/null");
}

// The images wrestool extracts from the module's first icon group, read back here.
std::vector<std::vector<uint8_t>> WrestoolImages(const test::TempDir& dir,
                                                 const std::string& module) {
  std::string ico = dir.File("extracted.ico");
  test::RunCommand("wrestool -x -t14 '" + module + "' > '" + ico + "' 2>/dev/null");
  TAdvancedIcon icon;
  icon.LoadFromFile(ico);
  std::vector<std::vector<uint8_t>> images;
  for (const auto& image : icon.Images()) images.push_back(image->Data().ToVector());
  return images;
}

std::vector<std::vector<uint8_t>> ImagesOf(const TIconLibrary& library, int icon) {
  std::vector<std::vector<uint8_t>> images;
  for (const auto& image : library.Icon(icon)->Images()) images.push_back(image->Data().ToVector());
  return images;
}

TEST(ModuleUpdateRealModules, MingwProgramsTakeRecolouredAndLargerIcons) {
  if (!HavePefile() || !test::HaveWrestool()) GTEST_SKIP() << "needs python3-pefile, icoutils";
  for (const Toolchain& tools :
       {Toolchain{"x86_64-w64-mingw32-", true}, Toolchain{"i686-w64-mingw32-", false}}) {
    test::TempDir dir;
    std::string program = BuildProgram(dir, tools);
    if (program.empty()) GTEST_SKIP() << "needs " << tools.prefix << "gcc";
    bool wine = tools.runsUnderWine && std::filesystem::exists("/usr/lib/wine/wine64");
    std::string printed = wine ? RunUnderWine(program) : "";
    if (wine) {
      ASSERT_EQ(printed, "varnel test program\r\n");
    }
    // A checksum as a signing tool leaves it, which the in-place update must keep valid.
    std::vector<uint8_t> bytes = ReadWholeFile(program);
    size_t checkSum = ReadU32LE(&bytes[60]) + 24 + 64;
    WriteU32LE(&bytes[checkSum], ImageCheckSum(bytes, checkSum));
    WriteFileAtomic(program, bytes);
    TIconLibrary library;
    library.LoadFromFile(program);
    ASSERT_EQ(library.Count(), 1);
    std::vector<std::string> before = PefileReport(dir, program, library);

    RecolourAll(library);
    IconUpdateResult recoloured = UpdateModuleIcons(program, library);
    EXPECT_EQ(recoloured.message, "");
    EXPECT_EQ(ReadWholeFile(program).size(), bytes.size());
    std::vector<std::string> patched = PefileReport(dir, program, library);
    EXPECT_EQ(KeptParts(patched), KeptParts(before));
    EXPECT_EQ(patched.end()[-2], "checksum True");
    EXPECT_EQ(patched.back(), ImagesLine(library));

    library.Icon(0)->Images()[1]->SetData(test::DibImageBytes(64, 8, 0x33));
    IconUpdateResult larger = UpdateModuleIcons(program, library);
    EXPECT_EQ(larger.message, "");
    EXPECT_TRUE(larger.written);
    std::vector<std::string> rebuilt = PefileReport(dir, program, library);
    EXPECT_EQ(KeptParts(rebuilt), KeptParts(before));
    EXPECT_EQ(rebuilt.end()[-2], "checksum True");
    EXPECT_EQ(rebuilt.back(), ImagesLine(library));
    EXPECT_EQ(WrestoolImages(dir, program), ImagesOf(library, 0));
    if (wine) {
      EXPECT_EQ(RunUnderWine(program), printed);
    }
  }
}

// Installer stubs of both widths and compressions, and wine libraries with icons.
std::vector<std::string> ModulesWithIcons(size_t stubLimit, size_t wineLimit) {
  std::vector<std::string> modules = test::NsisStubs();
  if (modules.size() > stubLimit) modules.resize(stubLimit);
  size_t fromWine = 0;
  for (const std::string& dll : test::WineDlls()) {
    if (fromWine == wineLimit) break;
    bool is64 = false;
    if (CountModuleIcons(dll, is64) > 0) modules.push_back(dll), ++fromWine;
  }
  return modules;
}

TEST(ModuleUpdateRealModules, ShippedModulesRebuiltKeepEverythingButTheirImages) {
  if (!HavePefile()) GTEST_SKIP() << "needs python3-pefile";
  std::vector<std::string> modules = ModulesWithIcons(6, 4);
  VARNEL_SKIP_WITHOUT_FILES(modules, "installer stubs or wine modules");
  for (const std::string& original : modules) {
    test::TempDir dir;
    std::string module = dir.File(std::filesystem::path(original).filename().string());
    std::filesystem::copy_file(original, module);
    TIconLibrary library;
    library.LoadFromFile(module);
    if (library.Count() == 0) continue;
    std::vector<std::string> before = PefileReport(dir, module, library);
    RecolourAll(library);
    IconUpdateResult result = RebuildModuleIcons(module, module, library);
    EXPECT_EQ(result.message, "") << original;
    std::vector<std::string> after = PefileReport(dir, module, library);
    EXPECT_EQ(KeptParts(after), KeptParts(before)) << original;
    ASSERT_FALSE(after.empty()) << original;
    EXPECT_EQ(after.end()[-2], "checksum True") << original;
    EXPECT_EQ(after.back(), ImagesLine(library)) << original;
  }
}

}  // namespace
}  // namespace varnel

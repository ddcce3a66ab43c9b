// Real modules of Debian packages: wine64's 64-bit DLLs and nsis's 32- and 64-bit stubs.

#include <gtest/gtest.h>

#include "base/byteorder.h"
#include "base/fileio.h"
#include "realmodules.h"
#include "resources/pefile.h"
#include "support/corpus.h"

namespace varnel {
namespace {

std::vector<std::string> SomeRealModules() {
  std::vector<std::string> modules = test::NsisStubs();
  for (const std::string& dll : test::WineDlls(40)) modules.push_back(dll);
  return modules;
}

TEST(PERealModules, ResourceListsMatchWrestool) {
  std::vector<std::string> modules = SomeRealModules();
  if (modules.empty() || !test::HaveWrestool())
    GTEST_SKIP() << "needs wine64 or nsis, and icoutils";
  int withResources = 0;
  for (const std::string& path : modules) {
    TPEResourceModule module;
    module.DecodeFile(path);
    EXPECT_EQ(test::ModuleTriples(module), test::WrestoolTriples(path)) << path;
    withResources += module.ResourceCount() > 0;
  }
  EXPECT_GT(withResources, 0);
}

TEST(PERealModules, UnchangedRewriteKeepsResourcesAndChecksums) {
  std::vector<std::string> modules = SomeRealModules();
  if (modules.empty()) GTEST_SKIP() << "needs wine64 or nsis";
  test::TempDir dir;
  for (const std::string& path : modules) {
    TPEResourceModule module;
    module.DecodeFile(path);
    if (!module.ResourceSection()) continue;
    std::string copy = dir.File("copy.dll");
    module.SaveToFile(copy);
    TPEResourceModule reread;
    reread.DecodeFile(copy);
    ASSERT_EQ(reread.ResourceCount(), module.ResourceCount()) << path;
    for (int i = 0; i < module.ResourceCount(); ++i) {
      TResourceDetails* before = module.ResourceDetails(i);
      TResourceDetails* after = reread.FindResource(before->ResourceType(), before->ResourceName());
      ASSERT_NE(after, nullptr) << path;
      EXPECT_EQ(test::ModuleTriples(reread)[size_t(i)], test::ModuleTriples(module)[size_t(i)]);
      EXPECT_TRUE(std::ranges::equal(reread.ResourceDetails(i)->Bytes(), before->Bytes())) << path;
    }
    std::vector<uint8_t> bytes = ReadWholeFile(copy);
    size_t checkSumOffset = ReadU32LE(&bytes[60]) + 24 + 64;
    EXPECT_EQ(ReadU32LE(&bytes[checkSumOffset]), ImageCheckSum(bytes, checkSumOffset)) << path;
    EXPECT_EQ(reread.IsPE32Plus(), module.IsPE32Plus());
  }
}

TEST(PERealModules, PE32PlusModulesAreRead) {
  std::vector<std::string> dlls = test::WineDlls(1000);
  if (dlls.empty()) GTEST_SKIP() << "needs wine64";
  int wide = 0;
  for (const std::string& path : dlls) {
    TPEResourceModule module;
    module.LoadFromFile(path);
    wide += module.IsPE32Plus() && module.ResourceCount() > 0;
  }
  EXPECT_GT(wide, 100);
}

}  // namespace
}  // namespace varnel

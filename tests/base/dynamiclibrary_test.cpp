#include "base/dynamiclibrary.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace varnel {
namespace {

struct ZlibFunctions {
  DynamicLibrary library{"libz.so.1", "zlib1g"};
  VARNEL_LIBRARY_FUNCTION(library, zlibVersion);
};

TEST(DynamicLibraryTest, LoadsFunctionsAndNamesThePackageOfWhatIsMissing) {
  ZlibFunctions zlib;
  EXPECT_EQ(std::string(zlib.zlibVersion()).substr(0, 2), "1.");

  try {
    DynamicLibrary missing("libvarnel-absent.so.9", "libvarnel-absent9");
    FAIL() << "a library that is not installed was loaded";
  } catch (const ELibraryMissing& error) {
    EXPECT_NE(std::string(error.what())
                  .find("libvarnel-absent.so.9 cannot be loaded (Debian package "
                        "libvarnel-absent9)"),
              std::string::npos)
        << error.what();
  }
  try {
    zlib.library.Function<void (*)()>("varnel_absent_function");
    FAIL() << "a function the library lacks was found";
  } catch (const ELibraryMissing& error) {
    EXPECT_NE(std::string(error.what()).find("no function varnel_absent_function"),
              std::string::npos);
  }
}

}  // namespace
}  // namespace varnel

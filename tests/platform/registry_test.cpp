#include "platform/registry.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/corpus.h"

namespace varnel {
namespace {

TEST(RegistryTest, ValuesSurviveReopeningTheStore) {
  test::TempDir dir;
  std::string path = dir.File("registry.txt");
  {
    TRegistryStore store(path);
    TRegistry reg(store);
    ASSERT_TRUE(reg.OpenKey("Software\\Tamberly\\CustomIcons\\DefaultIcons", true));
    reg.WriteString("Folder", "C:\\x \"quoted\"\nsecond line");
    reg.WriteExpandString("", "%SystemRoot%\\a.dll,3");
    reg.WriteInteger("Count", -5);
    reg.WriteBinaryData("Data", {0, 1, 255});
  }
  TRegistryStore store(path);
  TRegistry reg(store);
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\tamberly\\customicons\\defaulticons"));
  EXPECT_EQ(reg.ReadString("folder"), "C:\\x \"quoted\"\nsecond line");
  EXPECT_EQ(reg.ReadString(""), "%SystemRoot%\\a.dll,3");
  EXPECT_EQ(reg.GetDataType(""), TRegDataType::rdExpandString);
  EXPECT_EQ(reg.ReadInteger("Count"), -5);
  EXPECT_EQ(reg.ReadBinaryData("Data"), (std::vector<uint8_t>{0, 1, 255}));
  EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"Folder", "", "Count", "Data"}));
  EXPECT_THROW(reg.WriteString("x", "y"), ERegistryError);
}

TEST(RegistryTest, RootsAreSeparateAndKeysListAndDeleteWithTheirSubkeys) {
  test::TempDir dir;
  TRegistryStore store(dir.File("registry.txt"));
  TRegistry reg(store);
  reg.SetRootKey(TRootKey::HKEY_CLASSES_ROOT);
  ASSERT_TRUE(reg.OpenKey("\\.icl", true));
  reg.WriteString("", "IconLibrary");
  reg.CreateKey("\\IconLibrary\\shell\\open");
  reg.CreateKey("\\IconLibrary\\DefaultIcon");
  reg.CloseKey();
  EXPECT_TRUE(reg.KeyExists("\\IconLibrary\\shell"));
  ASSERT_TRUE(reg.OpenKey("\\IconLibrary", false));
  EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"shell", "DefaultIcon"}));
  EXPECT_TRUE(reg.DeleteKey("shell"));
  EXPECT_FALSE(reg.KeyExists("shell\\open"));
  EXPECT_FALSE(reg.DeleteKey("shell"));

  reg.CloseKey();
  EXPECT_FALSE(reg.DeleteKey("\\"));  // the root itself stays
  EXPECT_TRUE(reg.KeyExists("\\IconLibrary"));

  reg.SetRootKey(TRootKey::HKEY_CURRENT_USER);
  EXPECT_FALSE(reg.OpenKey("\\.icl", false));
  EXPECT_FALSE(TRegistry(store).ValueExists(""));
}

TEST(RegistryTest, ReadingMissingOrMistypedValues) {
  test::TempDir dir;
  TRegistryStore store(dir.File("registry.txt"));
  TRegistry reg(store);
  ASSERT_TRUE(reg.OpenKey("Software\\A", true));
  reg.WriteString("Text", "1");
  EXPECT_EQ(reg.ReadString("Missing"), "");
  EXPECT_THROW(reg.ReadInteger("Missing"), ERegistryError);
  EXPECT_THROW(reg.ReadInteger("Text"), ERegistryError);
  EXPECT_TRUE(reg.DeleteValue("TEXT"));
  EXPECT_FALSE(reg.ValueExists("Text"));
}

TEST(RegistryTest, DamagedStoreLinesArePassedOver) {
  test::TempDir dir;
  std::string path = dir.File("registry.txt");
  {
    std::FILE* file = std::fopen(path.c_str(), "w");
    std::fputs(
        "\"Orphan\"=\"no key\"\n[HKEY_CURRENT_USER\\A]\n\"Good\"=dword:0000000a\n"
        "\"Bad\"=dword:xyz\n\"Open=\"unterminated\ngarbage\n\"Hex\"=hex:1,fff\n",
        file);
    std::fclose(file);
  }
  TRegistryStore store(path);
  EXPECT_EQ(store.ValueNames("HKEY_CURRENT_USER\\A"), (std::vector<std::string>{"Good"}));
  EXPECT_EQ(store.FindValue("HKEY_CURRENT_USER\\A", "good")->integer, 10);
}

TEST(RegistryTest, AStoreThatCannotBeWrittenRaisesAndKeepsNothingHalfWritten) {
  test::TempDir dir;
  std::string blocker = dir.File("not a folder");
  std::FILE* file = std::fopen(blocker.c_str(), "w");
  std::fclose(file);
  TRegistryStore store(blocker + "/registry.txt");
  TRegistry reg(store);
  try {
    reg.OpenKey("Software\\A", true);
    FAIL() << "no error raised";
  } catch (const ERegistryError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + blocker + "/registry.txt");
  }
  EXPECT_EQ(std::filesystem::file_size(blocker), 0u);
}

}  // namespace
}  // namespace varnel

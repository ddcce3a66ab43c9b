// Modules and resource files read through a mapping: their pieces and records view the file's
// bytes, keep the mapping alive, and give what reading copies of the bytes gives.

#include <gtest/gtest.h>

#include <functional>

#include "base/fileio.h"
#include "realmodules.h"
#include "resources/containericons.h"
#include "resources/iconcursorgroupresource.h"
#include "resources/pefile.h"
#include "resources/resfile.h"
#include "support/corpus.h"

namespace varnel {
namespace {

bool Inside(std::span<const uint8_t> part, std::span<const uint8_t> whole) {
  return std::less_equal<>()(whole.data(), part.data()) &&
         std::less_equal<>()(part.data() + part.size(), whole.data() + whole.size());
}

const std::vector<uint8_t> kData{'r', 'a', 'w', ' ', 'd', 'a', 't', 'a'};
const std::vector<uint8_t> kOverlay{'T', 'A', 'I', 'L'};

// A resource-only image with an icon group, its image and an RCDATA record, and an overlay.
std::vector<uint8_t> SampleImage() {
  TPEResourceModule module;
  module.InitializeResourceOnlyImage(".rsrc");
  CreateNewResource<TIconGroupResourceDetails>(module, 1033, "MAIN");
  module.AddResource(std::make_unique<TResourceDetails>(&module, 1033, "7", "10", kData));
  module.Overlay = kOverlay;
  MemoryStream image;
  module.SaveToStream(image);
  return image.TakeBytes();
}

class MappedModule : public ::testing::Test {
 protected:
  void SetUp() override { WriteFileAtomic(path_, SampleImage()); }
  test::TempDir dir_;
  std::string path_ = dir_.File("sample.dll");
};

TEST_F(MappedModule, PiecesAndRecordsViewTheMapping) {
  SharedFile file = MappedFile::Open(path_);
  auto owner = std::make_unique<TPEResourceModule>();
  TPEResourceModule& module = *owner;
  module.DecodeFile(file);
  ASSERT_EQ(module.ResourceCount(), 3);
  for (int i = 0; i < module.ResourceCount(); ++i)
    EXPECT_TRUE(Inside(module.ResourceDetails(i)->Bytes(), file->Bytes())) << i;
  EXPECT_TRUE(Inside(module.ResourceSection()->RawData, file->Bytes()));
  EXPECT_TRUE(Inside(module.Overlay, file->Bytes()));
  EXPECT_NE(dynamic_cast<TIconGroupResourceDetails*>(module.FindResource("14", "MAIN")), nullptr)
      << "records viewing their bytes still get their own classes";

  std::weak_ptr<const MappedFile> watch = file;
  file.reset();
  EXPECT_FALSE(watch.expired()) << "the module keeps the mapping";
  EXPECT_TRUE(std::ranges::equal(module.FindResource("10", "7")->Bytes(), kData));
  EXPECT_EQ(module.Overlay, kOverlay);
  owner.reset();
  EXPECT_TRUE(watch.expired());
}

TEST_F(MappedModule, DecodingWithoutAKeeperCopiesWhatItTakes) {
  std::vector<uint8_t> bytes = SampleImage();
  TPEResourceModule module;
  module.Decode(bytes, nullptr);
  TResourceDetails* data = module.FindResource("10", "7");
  ASSERT_NE(data, nullptr);
  EXPECT_FALSE(Inside(data->Bytes(), bytes));
  EXPECT_FALSE(Inside(module.Overlay, bytes));
  std::fill(bytes.begin(), bytes.end(), 0);
  EXPECT_TRUE(std::ranges::equal(data->Bytes(), kData));
  EXPECT_EQ(module.Overlay, kOverlay);
}

TEST_F(MappedModule, ChangingARecordCopiesItsBytesFirst) {
  std::vector<uint8_t> original = ReadWholeFile(path_);
  TPEResourceModule module;
  module.DecodeFile(path_);
  TResourceDetails* data = module.FindResource("10", "7");
  ASSERT_NE(data, nullptr);
  Stream& reader = data->ReadStream();
  EXPECT_EQ(reader.ReadU8(), 'r');
  EXPECT_EQ(data->ReadStream().Position(), 0) << "each reader starts rewound";
  data->Data().SetPosition(0);
  data->Data().WriteU8('R');
  EXPECT_EQ(data->Bytes()[0], 'R');
  EXPECT_EQ(data->ReadStream().ReadU8(), 'R') << "readers see the change";
  EXPECT_EQ(ReadWholeFile(path_), original) << "the file is untouched";
}

TEST_F(MappedModule, SavingOverTheMappedFileKeepsEveryPiece) {
  TPEResourceModule module;
  module.DecodeFile(path_);
  module.AddResource(std::make_unique<TResourceDetails>(&module, 1033, "8", "10", kOverlay));
  module.SaveToFile(path_);
  TPEResourceModule reread;
  reread.DecodeFile(path_);
  ASSERT_EQ(test::ModuleTriples(reread), test::ModuleTriples(module));
  for (int i = 0; i < module.ResourceCount(); ++i)
    EXPECT_TRUE(
        std::ranges::equal(reread.ResourceDetails(i)->Bytes(), module.ResourceDetails(i)->Bytes()));
  EXPECT_EQ(reread.Overlay, kOverlay);
}

TEST(MappedResourceFile, RecordsViewTheFileAndMatchACopy) {
  // A resource file begins with an empty entry, then each record's header and data.
  std::vector<uint8_t> bytes{0, 0, 0, 0, 32, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};
  bytes.resize(32, 0);
  std::vector<uint8_t> header{8, 0, 0, 0, 32, 0, 0, 0, 0xFF, 0xFF, 10, 0, 0xFF, 0xFF, 7, 0};
  header.resize(32, 0);
  header[22] = 0x09;  // language 1033 (0x409)
  header[23] = 0x04;
  bytes.insert(bytes.end(), header.begin(), header.end());
  bytes.insert(bytes.end(), kData.begin(), kData.end());
  test::TempDir dir;
  WriteFileAtomic(dir.File("t.res"), bytes);

  TResModule mapped;
  mapped.LoadFromFile(dir.File("t.res"));
  TResModule copied;
  copied.LoadFromBytes(bytes);
  ASSERT_EQ(test::ModuleTriples(mapped), test::ModuleTriples(copied));
  ASSERT_EQ(test::ModuleTriples(mapped), (std::vector<std::string>{"10/7/1033"}));
  EXPECT_TRUE(std::ranges::equal(mapped.ResourceDetails(0)->Bytes(), kData));
  EXPECT_FALSE(Inside(copied.ResourceDetails(0)->Bytes(), bytes)) << "no keeper: copied";
}

// Group icons as names and image bytes, to compare two readings.
std::vector<std::string> Described(const TIconList& icons) {
  std::vector<std::string> described;
  for (int i = 0; i < icons.Count(); ++i) {
    std::string text = icons.Names(i) + ":";
    for (const auto& image : icons.Icons(i)->Images())
      text += std::to_string(std::hash<std::string_view>()(std::string_view(
                  reinterpret_cast<const char*>(image->Data().data()), image->Data().size()))) +
              ",";
    described.push_back(text);
  }
  return described;
}

TEST(MappedRealModules, IconsMatchThoseReadFromACopy) {
  std::vector<std::string> modules = test::WineDlls(60);
  for (const std::string& stub : test::NsisStubs()) modules.push_back(stub);
  if (modules.empty()) GTEST_SKIP() << "needs wine64 or nsis";
  int withIcons = 0;
  for (const std::string& path : modules) {
    TIconList mapped;
    ReadContainerIcons(path, mapped);
    std::vector<uint8_t> bytes = ReadWholeFile(path);
    TPEResourceModule copy;
    copy.Decode(bytes, nullptr);
    TIconList copied;
    AppendGroupIcons(copy, copied);
    EXPECT_EQ(Described(mapped), Described(copied)) << path;
    withIcons += mapped.Count() > 0;
  }
  EXPECT_GT(withIcons, 0);
}

}  // namespace
}  // namespace varnel

// Icon groups of one name in two languages: each gives the images of its own language.

#include <gtest/gtest.h>

#include "iconfixtures.h"
#include "resources/containericons.h"
#include "resources/pefile.h"
#include "support/corpus.h"

namespace varnel {
namespace {

constexpr uint32_t kGerman = 1031, kEnglish = 1033;

// Group data naming the image ids (the entries' other fields are not read).
std::vector<uint8_t> Group(uint16_t firstId, int count) {
  std::vector<uint8_t> group(6 + 14 * size_t(count), 0);
  WriteU16LE(&group[2], 1);
  WriteU16LE(&group[4], uint16_t(count));
  for (int i = 0; i < count; ++i)
    WriteU16LE(&group[6 + 14 * size_t(i) + 12], uint16_t(firstId + i));
  return group;
}

void Add(TPEResourceModule& module, const std::string& type, const std::string& name,
         uint32_t language, const std::vector<uint8_t>& data) {
  module.AddResource(std::make_unique<TResourceDetails>(&module, language, name, type, data));
}

std::vector<int> Widths(const TAdvancedIcon& icon) {
  std::vector<int> widths;
  for (const auto& image : icon.Images()) widths.push_back(image->ImageWidth());
  return widths;
}

TEST(IconGroupLanguages, EachGroupLoadsTheImagesOfItsLanguage) {
  TPEResourceModule module;
  module.InitializeResourceOnlyImage(".rsrc");
  // German "100": images 1-9 of widths 8, 16, ..., 72; English "100": images 1 and 2 of widths
  // 20 and 28, and image 5, which only German has.
  Add(module, "14", "100", kGerman, Group(1, 9));
  for (int id = 1; id <= 9; ++id)
    Add(module, "3", std::to_string(id), kGerman, test::DibImageBytes(8 * id, 4));
  std::vector<uint8_t> english = Group(1, 2);
  english[4] = 3;
  english.resize(6 + 14 * 3, 0);
  WriteU16LE(&english[6 + 28 + 12], 5);
  Add(module, "14", "100", kEnglish, english);
  Add(module, "3", "1", kEnglish, test::DibImageBytes(20, 4));
  Add(module, "3", "2", kEnglish, test::DibImageBytes(28, 4));
  test::TempDir dir;
  module.SaveToFile(dir.File("two.dll"));

  TIconList icons;
  ReadContainerIcons(dir.File("two.dll"), icons);
  ASSERT_EQ(icons.Count(), 2);
  EXPECT_EQ(icons.Names(0), "100");
  EXPECT_EQ(icons.Names(1), "100");
  EXPECT_EQ(Widths(*icons.Icons(0)), (std::vector<int>{8, 16, 24, 32, 40, 48, 56, 64, 72}));
  EXPECT_EQ(Widths(*icons.Icons(1)), (std::vector<int>{20, 28, 40})) << "5 from any language";
}

}  // namespace
}  // namespace varnel

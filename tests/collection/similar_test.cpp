#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>

#include "collection/similarcommands.h"
#include "collection/similargroups.h"
#include "collection/similarmerge.h"
#include "collection/similarsignatures.h"
#include "graphics/pixelrow.h"
#include "support/testcollection.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> FileBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

std::unique_ptr<TAdvancedIcon> PictureIcon(const fs::path& path) {
  auto icon = std::make_unique<TAdvancedIcon>();
  auto image = std::make_unique<TSubIcon>();
  MemoryStream stream(FileBytes(path));
  image->LoadFromData(stream);
  icon->Images().Add(std::move(image));
  return icon;
}

// Themes ship some pictures under two names with a few pixels changed: those count as one icon.
bool NearlySamePicture(const TAdvancedIcon& a, const TAdvancedIcon& b) {
  TBitmap one, two;
  a.Images()[0]->GetBitmaps(nullptr, &one, clNone, nullptr);
  b.Images()[0]->GetBitmaps(nullptr, &two, clNone, nullptr);
  if (one.Width() != two.Width() || one.Height() != two.Height()) return false;
  std::vector<RGBQuad> rowOne(size_t(one.Width())), rowTwo(size_t(one.Width()));
  int64_t difference = 0;
  for (int y = 0; y < one.Height(); ++y) {
    ReadColorRow(one, y, 0, one.Width(), rowOne.data());
    ReadColorRow(two, y, 0, two.Width(), rowTwo.data());
    for (size_t x = 0; x < rowOne.size(); ++x)
      difference += std::abs(rowOne[x].reserved - rowTwo[x].reserved) +
                    std::abs(rowOne[x].red - rowTwo[x].red) +
                    std::abs(rowOne[x].green - rowTwo[x].green) +
                    std::abs(rowOne[x].blue - rowTwo[x].blue);
  }
  return difference < 2 * int64_t(one.Width()) * one.Height();
}

// The icons of a theme drawn at every one of the sizes, shuffled into one collection under
// random names; truth[i] tells which icon item i is a size of.
struct ThemeCollection {
  TCollection collection;
  std::vector<int> truth;
  int sizes = 0;
};

std::map<std::string, std::map<int, fs::path>> PicturesByName(const fs::path& theme,
                                                              const std::vector<int>& sizes,
                                                              bool symbolic) {
  std::map<std::string, std::map<int, fs::path>> byName;
  for (int size : sizes) {
    fs::path folder = theme / (std::to_string(size) + "x" + std::to_string(size));
    if (!fs::is_directory(folder)) return {};
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      std::string name = entry.path().stem().string();
      if (entry.path().extension() != ".png" || (name.find("symbolic") != name.npos) != symbolic)
        continue;
      byName[entry.path().parent_path().filename().string() + "/" + name][size] = entry.path();
    }
  }
  std::erase_if(byName, [&](const auto& entry) { return entry.second.size() != sizes.size(); });
  return byName;
}

ThemeCollection LoadTheme(const fs::path& theme, const std::vector<int>& sizes, bool symbolic) {
  struct Item {
    std::unique_ptr<TAdvancedIcon> icon;
    int truth;
  };
  std::vector<Item> items;
  // One per distinct icon: its largest picture and that picture's signature, which picks the
  // candidates worth comparing pixel by pixel.
  std::vector<std::pair<const TAdvancedIcon*, IconSignature>> largest;
  for (const auto& [name, pictures] : PicturesByName(theme, sizes, symbolic)) {
    auto biggest = PictureIcon(pictures.rbegin()->second);
    IconSignature signature = MakeIconSignature(*biggest).value_or(IconSignature{});
    int truth = int(largest.size());
    for (int other = 0; other < int(largest.size()); ++other)
      if (SignatureDistance(signature, largest[size_t(other)].second) < 100 &&
          NearlySamePicture(*biggest, *largest[size_t(other)].first))
        truth = other;
    if (truth == int(largest.size())) largest.emplace_back(biggest.get(), signature);
    for (const auto& [size, path] : pictures) items.push_back({PictureIcon(path), truth});
    items.push_back({std::move(biggest), -1});  // kept alive for the comparisons, then dropped
  }
  std::mt19937 random(33);
  std::shuffle(items.begin(), items.end(), random);
  ThemeCollection theme_{{}, {}, int(sizes.size())};
  for (Item& item : items) {
    if (item.truth < 0) continue;
    theme_.collection.Append("icon" + std::to_string(random()), std::move(item.icon));
    theme_.truth.push_back(item.truth);
  }
  return theme_;
}

std::vector<const TAdvancedIcon*> IconsOf(const TCollection& collection) {
  std::vector<const TAdvancedIcon*> icons;
  for (int i = 0; i < collection.Count(); ++i) icons.push_back(collection.Items().Icons(i));
  return icons;
}

struct NearestShare {
  double first = 0;   // icons whose nearest is a size of the same icon
  double others = 0;  // icons whose sizes - 1 nearest are all sizes of the same icon
};

NearestShare MeasureNearest(const ThemeCollection& theme, const SimilarIndex& index) {
  auto nearest = *index.AllNearest(theme.sizes - 1);
  int first = 0, others = 0;
  for (size_t icon = 0; icon < nearest.size(); ++icon) {
    auto same = [&](const SimilarNeighbour& n) {
      return theme.truth[size_t(n.index)] == theme.truth[icon];
    };
    first += !nearest[icon].empty() && same(nearest[icon][0]);
    others += int(nearest[icon].size()) == theme.sizes - 1 &&
              std::all_of(nearest[icon].begin(), nearest[icon].end(), same);
  }
  return {double(first) / double(nearest.size()), double(others) / double(nearest.size())};
}

// Pair precision and recall of the groups against the truth.
std::pair<double, double> MeasureGroups(const ThemeCollection& theme,
                                        const std::vector<std::vector<int>>& groups) {
  std::vector<int> groupOf(theme.truth.size(), -1);
  for (size_t group = 0; group < groups.size(); ++group)
    for (int icon : groups[group]) groupOf[size_t(icon)] = int(group);
  int64_t both = 0, grouped = 0, same = 0;
  for (size_t a = 0; a < theme.truth.size(); ++a)
    for (size_t b = a + 1; b < theme.truth.size(); ++b) {
      bool truth = theme.truth[a] == theme.truth[b];
      bool together = groupOf[a] >= 0 && groupOf[a] == groupOf[b];
      both += truth && together;
      grouped += together;
      same += truth;
    }
  return {double(both) / double(std::max<int64_t>(grouped, 1)),
          double(both) / double(std::max<int64_t>(same, 1))};
}

// Adwaita's symbolic icons are one drawing rendered at 16, 32, 48, 64 and 96 pixels (its 24
// pixel ones are drawn apart); the full-colour icons of Adwaita and GNOME are drawn anew for
// each small size.
TEST(SimilarIconsTest, ThemeIconsFindTheirOtherSizesAndMergeIntoOneIconEach) {
  ThemeCollection symbolic = LoadTheme("/usr/share/icons/Adwaita", {16, 32, 48, 64, 96}, true);
  if (symbolic.collection.Count() < 1000) GTEST_SKIP() << "Adwaita's symbolic icons are missing";
  SimilarIndex index(*MakeIconSignatures(IconsOf(symbolic.collection)));
  NearestShare share = MeasureNearest(symbolic, index);
  EXPECT_GE(share.first, 0.95);
  EXPECT_GE(share.others, 0.95);
  auto groups = FindSimilarGroups(index, *index.AllNearestPictures(kGroupCandidates),
                                  kDefaultSimilarThreshold);
  auto [precision, recall] = MeasureGroups(symbolic, groups);
  EXPECT_GE(precision, 0.9);
  EXPECT_GE(recall, 0.9);

  int before = symbolic.collection.Count();
  std::string firstName = symbolic.collection.Items().Names(groups[0][0]);
  size_t grouped = 0;
  for (const auto& group : groups) grouped += group.size();
  EXPECT_EQ(MergeSimilarGroups(symbolic.collection, groups), int(grouped - groups.size()));
  EXPECT_EQ(symbolic.collection.Count(), before - int(grouped - groups.size()));
  EXPECT_EQ(symbolic.collection.Items().Names(groups[0][0]), firstName);
  // Each group became one icon holding each of its sizes once: nearly all of them the five.
  int complete = 0;
  for (int i = 0; i < symbolic.collection.Count(); ++i) {
    const TSubIconList& images = symbolic.collection.Items().Icons(i)->Images();
    std::set<int> widths;
    for (const auto& image : images) widths.insert(image->ImageWidth());
    EXPECT_EQ(int(widths.size()), images.Count());
    complete += images.Count() == 5;
  }
  EXPECT_GE(complete, int(groups.size()) * 9 / 10);

  ThemeCollection adwaita = LoadTheme("/usr/share/icons/Adwaita", {16, 24, 32, 48, 512}, false);
  if (adwaita.collection.Count() >= 200) {  // Adwaita's versions before 512 pixel pictures lack it
    SimilarIndex drawnAnew(*MakeIconSignatures(IconsOf(adwaita.collection)));
    EXPECT_GE(MeasureNearest(adwaita, drawnAnew).first, 0.7);
  }
  ThemeCollection gnome = LoadTheme("/usr/share/icons/gnome", {16, 24, 32, 48, 256}, false);
  if (gnome.collection.Count() < 1000) GTEST_SKIP() << "gnome-icon-theme is missing";
  SimilarIndex fullColour(*MakeIconSignatures(IconsOf(gnome.collection)));
  EXPECT_GE(MeasureNearest(gnome, fullColour).first, 0.9);
}

// The window's commands: the current icon's other sizes get selected, and the merge asks first,
// changing nothing when refused.
TEST(SimilarIconsTest, CommandsSelectTheOtherSizesAndMergeAfterAsking) {
  const fs::path actions = "/usr/share/icons/Adwaita";
  test::TestCollection window;
  TfmLib& lib = window.lib;
  for (const char* name : {"edit-copy", "go-next", "edit-copy", "go-next", "edit-copy"}) {
    int size = 16 << (lib.Count() / 2);
    fs::path path = actions / (std::to_string(size) + "x" + std::to_string(size)) / "actions" /
                    (std::string(name) + "-symbolic.symbolic.png");
    if (!fs::exists(path)) GTEST_SKIP() << "Adwaita's symbolic icons are missing";
    lib.AppendItem(name, PictureIcon(path));
  }
  lib.SelectOnly(4);
  EXPECT_EQ(FindSimilarIcons(lib), 2);
  for (int i = 0; i < lib.Count(); ++i) EXPECT_EQ(lib.IsSelected(i), i % 2 == 0) << i;

  lib.SelectOnly(0);
  EXPECT_EQ(MergeSimilarSizes(lib), 0);  // the question answered Cancel
  ASSERT_EQ(window.ui.confirmations.size(), 1u);
  EXPECT_EQ(lib.Count(), 5);
  window.ui.confirmAnswers.push_back({true, false});
  EXPECT_EQ(MergeSimilarSizes(lib), 3);
  ASSERT_EQ(lib.Count(), 2);
  EXPECT_EQ(lib.Items().Names(0), "edit-copy");
  EXPECT_EQ(lib.Items().Icons(0)->Images().Count(), 3);
  EXPECT_EQ(lib.Items().Icons(1)->Images().Count(), 2);
}

}  // namespace
}  // namespace varnel

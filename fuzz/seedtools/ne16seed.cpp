// Writes the icon files given as one 16-bit (NE) icon library, a seed for the fuzz targets that
// read NE modules: ne16seed OUT ICON...

#include <cstdio>
#include <filesystem>
#include <memory>

#include "icons/advancedicon.h"
#include "resources/iconlist.h"
#include "resources/ne16bitwriter.h"

int main(int argc, char** argv) {
  using namespace varnel;
  if (argc < 3) {
    std::fprintf(stderr, "usage: ne16seed OUT ICON...\n");
    return 2;
  }
  TIconList icons;
  for (int i = 2; i < argc; ++i) {
    auto icon = std::make_unique<TAdvancedIcon>();
    try {
      icon->LoadFromFile(argv[i]);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "ne16seed: %s: %s\n", argv[i], error.what());
      continue;
    }
    if (icon->Images().Count() == 0) continue;
    icons.AddIcon(std::filesystem::path(argv[i]).stem().string(), std::move(icon));
  }
  if (icons.Count() == 0) {
    std::fprintf(stderr, "ne16seed: no icons read\n");
    return 1;
  }
  try {
    T16BitWriter(icons).Write(argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "ne16seed: %s: %s\n", argv[1], error.what());
    return 1;
  }
  return 0;
}

#include "resources/resourcegraphics.h"

#include "resources/bitmapresource.h"
#include "resources/iconcursorgroupresource.h"
#include "resources/iconcursorresource.h"

namespace varnel {

std::vector<const ResourceDetailsClass*> StandardResourceDetailsClasses() {
  return {
      ResourceClassOf<TBitmapResourceDetails>(),    ResourceClassOf<TDIBResourceDetails>(),
      ResourceClassOf<TIconGroupResourceDetails>(), ResourceClassOf<TCursorGroupResourceDetails>(),
      ResourceClassOf<TIconResourceDetails>(),      ResourceClassOf<TCursorResourceDetails>()};
}

void RegisterGraphicsResourceDetails() {
  for (const ResourceDetailsClass* recordClass : StandardResourceDetailsClasses())
    RegisterResourceDetails(recordClass);
}

void UnregisterGraphicsResourceDetails() {
  std::vector<const ResourceDetailsClass*> classes = StandardResourceDetailsClasses();
  for (auto it = classes.rbegin(); it != classes.rend(); ++it) UnregisterResourceDetails(*it);
}

const std::array<uint8_t, 64>& SystemPalette16() {
  // Black, maroon, green, olive, navy, purple, teal, silver, grey, red, lime, yellow, blue,
  // fuchsia, aqua, white; each as blue, green, red, 0.
  static const std::array<uint8_t, 64> palette = {
      0,   0,   0,   0, 0,   0, 128, 0, 0,   128, 0, 0, 0,   128, 128, 0,
      128, 0,   0,   0, 128, 0, 128, 0, 128, 128, 0, 0, 192, 192, 192, 0,
      128, 128, 128, 0, 0,   0, 255, 0, 0,   255, 0, 0, 0,   255, 255, 0,
      255, 0,   0,   0, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 0};
  return palette;
}

}  // namespace varnel

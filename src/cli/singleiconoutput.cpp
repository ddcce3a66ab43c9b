#include "cli/singleiconoutput.h"

#include "collection/exportnames.h"
#include "collection/iconsavefile.h"
#include "collection/saveformats.h"
#include "icons/advancedicon.h"

namespace varnel::cli {

namespace {

constexpr int kPictureSize = 256;
constexpr int kPictureDepth = 32;

}  // namespace

bool IsSingleIconOutput(const std::string& output) {
  const TSaveFormat* format = FindSaveFormat(LowerExtension(output));
  return format && format->wholeIcon;
}

void SaveFirstIcon(const CliSession& session, const std::string& output) {
  const TAdvancedIcon& icon = *session.lib.Items().Icons(0);
  const TSubIcon* image = icon.GetBestImage(kPictureSize, kPictureSize, kPictureDepth);
  KeepHotSpotUserInterface hotSpots;
  std::string written = output;
  SaveIconFile(hotSpots, session.settings, &icon, image, LowerExtension(output), written);
}

}  // namespace varnel::cli

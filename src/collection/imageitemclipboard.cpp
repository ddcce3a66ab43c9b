#include "collection/imageitemclipboard.h"

#include "base/stream.h"
#include "collection/fmlib.h"
#include "collection/iconpictures.h"
#include "icons/advancedicon.h"
#include "platform/clipboard.h"
#include "resources/iconlistholder.h"

namespace varnel {

void CopyImageAsCollectionItem(const TSubIcon& image, const std::string& name, TColor background,
                               Clipboard& clipboard) {
  auto copy = std::make_unique<TSubIcon>();
  copy->LoadCopy(image);
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->Images().Add(std::move(copy));
  TIconListHolder holder;
  holder.IconList().AddIcon(name, std::move(icon));
  MemoryStream stream;
  holder.WriteProperties(stream);
  clipboard.Clear();
  clipboard.SetFormat(kComponentClipboardFormat, stream.TakeBytes());
  clipboard.SetBitmap(ImageOnBackground(image, background));
}

}  // namespace varnel

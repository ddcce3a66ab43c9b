#include "collection/previewicons.h"

#include <algorithm>

#include "collection/collectionitemreader.h"

namespace varnel {

namespace {

class LoadedIcons : public TPreviewIcons {
 public:
  LoadedIcons(std::vector<std::unique_ptr<TAdvancedIcon>> icons, std::vector<std::string> names)
      : icons_(std::move(icons)), names_(std::move(names)) {}

  int Count() const override { return int(icons_.size()); }
  const TAdvancedIcon* Icon(int index) override {
    return index >= 0 && index < Count() ? icons_[size_t(index)].get() : nullptr;
  }
  // Read icons cannot be read again cheaply: they stay.
  void Release(int) override {}
  int IndexOfName(const std::string& name) const override {
    auto found = std::find(names_.begin(), names_.end(), name);
    return found == names_.end() ? -1 : int(found - names_.begin());
  }

 private:
  std::vector<std::unique_ptr<TAdvancedIcon>> icons_;
  std::vector<std::string> names_;
};

class CollectionIcons : public TPreviewIcons {
 public:
  explicit CollectionIcons(const std::string& path)
      : reader_(path), icons_(size_t(reader_.Count())) {}

  int Count() const override { return reader_.Count(); }
  const TAdvancedIcon* Icon(int index) override {
    if (index < 0 || index >= Count()) return nullptr;
    std::unique_ptr<TAdvancedIcon>& icon = icons_[size_t(index)];
    if (!icon) icon = reader_.Icon(index);
    return icon.get();
  }
  void Release(int index) override {
    if (index >= 0 && index < Count()) icons_[size_t(index)].reset();
  }
  // Collection items have no resource names.
  int IndexOfName(const std::string&) const override { return -1; }

 private:
  TCollectionItemReader reader_;
  std::vector<std::unique_ptr<TAdvancedIcon>> icons_;
};

}  // namespace

std::unique_ptr<TPreviewIcons> LoadedPreviewIcons(std::vector<std::unique_ptr<TAdvancedIcon>> icons,
                                                  std::vector<std::string> names) {
  return std::make_unique<LoadedIcons>(std::move(icons), std::move(names));
}

std::unique_ptr<TPreviewIcons> CollectionPreviewIcons(const std::string& path) {
  return std::make_unique<CollectionIcons>(path);
}

}  // namespace varnel

#pragma once
// The recent-files list: at most ten file names, the most recent first, shown in the File menu
// and kept in the settings section "Shell" under the keys "Reopen1" to "Reopen10".

#include <functional>
#include <string>
#include <vector>

namespace varnel {

class TIniFile;
class TMountTable;

// The File menu items that show recent files, as the list sees them.
class TRecentFilesMenu {
 public:
  virtual ~TRecentFilesMenu() = default;
  virtual int SlotCount() const = 0;
  virtual void SetSlot(int slot, bool visible, const std::string& caption,
                       const std::string& hint) = 0;
  // The separator that ends the recent files; shown whenever slots exist.
  virtual void SetEndMarkerVisible(bool visible) = 0;
  // The menu's pictures are detached while the slots change and reattached afterwards.
  virtual void DetachPictures() = 0;
  virtual void AttachPictures() = 0;
};

class TReopenFileHolder {
 public:
  static constexpr int kMaxFiles = 10;
  static constexpr const char* kSection = "Shell";
  static constexpr const char* kKeyPrefix = "Reopen";

  explicit TReopenFileHolder(TRecentFilesMenu* menu = nullptr) : menu_(menu) {}

  const std::vector<std::string>& Files() const { return files_; }
  void SetMenu(TRecentFilesMenu* menu) { menu_ = menu; }

  // Reads "Reopen1" to "Reopen10": empty values are skipped, so is a file that lies on a fixed
  // local disk and no longer exists (entries on other drives are kept untested), and later
  // duplicates are dropped.
  void LoadList(const TIniFile& ini);
  void LoadList(const TIniFile& ini, const TMountTable& mounts);
  void SaveList(TIniFile& ini) const;

  // An empty name is ignored; a new name goes to the head (the eleventh falls off the end); a
  // name already listed (letter case ignored) changes places with the head entry. The menu is
  // refreshed.
  void AddFile(const std::string& name);
  // The entry a menu slot shows; empty when the slot shows none.
  std::string FileOfMenuItem(int slot) const;
  void RefreshMenu();

  // The file an entry opens: the part before " /Import " when that occurs after the start.
  static std::string PathPart(const std::string& entry);
  // "&1. name.icl", with the file name shortened and "&" doubled.
  static std::string MenuCaption(int index, const std::string& entry);
  static std::string MenuHint(const std::string& entry);

 private:
  std::vector<std::string> files_;
  TRecentFilesMenu* menu_ = nullptr;
};

}  // namespace varnel

#pragma once
// The "Customize Windows Icons" window over the customisation logic: the four icon pages, the
// folder page and the Settings page, with OK, Cancel, Apply and Help. On this desktop the icons
// go into the user icon theme, folders get their icons as the file managers read them.

#include <QDialog>
#include <memory>

#include "app/qtuserinterface.h"
#include "shell/customiconseditor.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QButtonGroup;

namespace varnel {

class FileMetadata;
class FolderIconPage;
class LinuxFolderIcons;
class LinuxShellRefresh;
class SystemIconPlatform;
class TfmColorSelection;

class TfmCIcons : public QDialog {
 public:
  explicit TfmCIcons(QWidget* parent = nullptr);
  ~TfmCIcons() override;

  CustomIconsEditor& Editor() { return *editor_; }
  QTabWidget* Pages() const { return pages_; }
  QPushButton* ApplyButton() const { return apply_; }

 private:
  void BuildIconPages();
  QWidget* BuildIconButtons();
  QWidget* BuildFolderPage();
  QWidget* BuildSettingsPage();
  void FillLists();
  void ShowEntry(int entry);
  QListWidget* ActiveList() const;
  int SelectedEntry() const;
  void PageChanged();
  void Changed();

  void ChangeIcon();
  void DefaultIcon();
  void RestoreAll();
  void ColorizeIcon();
  void SaveIconAs();
  void ShowListMenu(QListWidget* list, const QPoint& at);

  void ShowFolder();
  void ChangeFolderIcon();
  void ShowSettings();
  void EditSettings();

  // Whether the user agrees to the desktop's switch to the custom icon theme that the first
  // written icon makes (true when no icon is pending or the switch was made before).
  bool AgreedToThemeSwitch();
  void ApplyAll();
  void WriteChanges();  // the pending changes, written without a question
  void Accept();

  TQtUserInterface ui_;
  std::unique_ptr<SystemIconPlatform> platform_;
  std::unique_ptr<CustomIconsEditor> editor_;
  std::unique_ptr<FileMetadata> metadata_;
  std::unique_ptr<LinuxFolderIcons> folderSystem_;
  std::unique_ptr<LinuxShellRefresh> folderShell_;
  std::unique_ptr<FolderIconPage> folderPage_;
  TfmColorSelection* colors_ = nullptr;

  QTabWidget* pages_ = nullptr;
  std::vector<QListWidget*> lists_;  // by TIconPage
  QWidget* iconButtons_ = nullptr;
  QPushButton* apply_ = nullptr;
  QLineEdit* folderField_ = nullptr;
  QComboBox* drives_ = nullptr;  // "&Local hard drives": the fixed drives' mount points
  QLabel* folderPreview_ = nullptr;
  QCheckBox* copyIcon_ = nullptr;
  QButtonGroup* sizes_ = nullptr;
  QButtonGroup* depths_ = nullptr;
  QSpinBox* horizontal_ = nullptr;
  QSpinBox* vertical_ = nullptr;
  QCheckBox* overlays_ = nullptr;
  bool showingSettings_ = false;
};

}  // namespace varnel

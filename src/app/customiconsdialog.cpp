#include "app/customiconsdialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>
#include <array>

#include "app/colorselectiondialog.h"
#include "app/errorhandler.h"
#include "app/helpwindow.h"
#include "app/icofiledialog.h"
#include "platform/folders.h"
#include "platform/mounttable.h"
#include "shell/desktopthemeicons.h"
#include "shell/foldericon.h"
#include "shell/linuxfoldericons.h"

namespace varnel {

namespace {

constexpr std::array<TIconPage, 4> kIconPages = {TIconPage::Desktop, TIconPage::StartMenu,
                                                 TIconPage::Drives, TIconPage::Miscellaneous};
constexpr std::array<int, 6> kIconSizes = {16, 24, 32, 48, 64, 72};
constexpr std::array<int, 3> kColorDepths = {4, 16, 24};
constexpr int kListIconSize = 32;
constexpr const char* kSettingsNote =
    "Icon size, colour depth and spacing are chosen by the desktop itself here; they are shown "
    "for reference only.";

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// A label whose mnemonic moves the focus to buddy.
QLabel* BuddyLabel(const char* text, QWidget* buddy) {
  auto* label = new QLabel(QString::fromUtf8(text));
  label->setBuddy(buddy);
  return label;
}

// Every image of the icon a location names, or the theme's own icon.
QIcon IconOfLocation(const std::string& location, const LocationFolders& folders,
                     std::string_view themeName) {
  QIcon shown;
  if (!location.empty()) {
    if (auto icon = LocationDisplayIcon(ReadIconLocation(location, folders), folders)) {
      for (int i = 0; i < icon->Images().Count(); ++i) {
        std::vector<uint8_t> png = icon->Images()[i]->SaveToPng();
        QPixmap picture;
        if (picture.loadFromData(png.data(), uint(png.size()), "PNG")) shown.addPixmap(picture);
      }
    }
  }
  if (shown.isNull() && !themeName.empty()) shown = QIcon::fromTheme(Q(std::string(themeName)));
  return shown;
}

QPushButton* AddButton(QBoxLayout* layout, const char* text, std::function<void()> action) {
  auto* button = new QPushButton(QString::fromUtf8(text));
  QObject::connect(button, &QPushButton::clicked, action);
  layout->addWidget(button);
  return button;
}

}  // namespace

TfmCIcons::TfmCIcons(QWidget* parent) : QDialog(parent), ui_(this) {
  setWindowTitle(QStringLiteral("Customize Windows Icons"));
  platform_ = std::make_unique<DesktopThemeIcons>();
  editor_ = std::make_unique<CustomIconsEditor>(*platform_, ui_);
  metadata_ = MakeGioFileMetadata();
  folderSystem_ = std::make_unique<LinuxFolderIcons>(TMountTable::Current(), *metadata_);
  folderShell_ = std::make_unique<LinuxShellRefresh>();
  folderPage_ = std::make_unique<FolderIconPage>(*folderSystem_, *folderShell_);

  auto* layout = new QVBoxLayout(this);
  pages_ = new QTabWidget;
  layout->addWidget(pages_);
  BuildIconPages();
  pages_->addTab(BuildFolderPage(), QStringLiteral("Folders"));
  pages_->addTab(BuildSettingsPage(), QStringLiteral("Settings"));
  iconButtons_ = BuildIconButtons();
  layout->addWidget(iconButtons_);

  auto* buttons = new QDialogButtonBox;
  buttons->addButton(QDialogButtonBox::Ok);
  buttons->addButton(QDialogButtonBox::Cancel);
  apply_ = buttons->addButton(QStringLiteral("&Apply"), QDialogButtonBox::ApplyRole);
  QPushButton* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { Accept(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(apply_, &QPushButton::clicked, this, [this] { ApplyAll(); });
  auto openHelp = [this] { ShowHelp(this, QString::fromUtf8(kHelpCustomizeSection)); };
  connect(help, &QPushButton::clicked, this, openHelp);
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, openHelp);
  connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this,
          [this] { FillLists(); });
  connect(pages_, &QTabWidget::currentChanged, this, [this] { PageChanged(); });

  FillLists();
  ShowSettings();
  apply_->setEnabled(false);
  PageChanged();
}

TfmCIcons::~TfmCIcons() = default;

void TfmCIcons::BuildIconPages() {
  for (TIconPage page : kIconPages) {
    auto* list = new QListWidget;
    list->setViewMode(QListView::IconMode);
    list->setIconSize(QSize(kListIconSize, kListIconSize));
    list->setResizeMode(QListView::Adjust);
    list->setWordWrap(true);
    list->setGridSize(QSize(96, 72));
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QListWidget::itemActivated, this, [this] { ChangeIcon(); });
    connect(list, &QListWidget::customContextMenuRequested, this,
            [this, list](const QPoint& at) { ShowListMenu(list, at); });
    lists_.push_back(list);
    int tab = pages_->addTab(list, Q(std::string(PageName(page))));
    pages_->setTabVisible(tab, editor_->PageShown(page));
  }
}

QWidget* TfmCIcons::BuildIconButtons() {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  AddButton(layout, "&Change...", [this] { ChangeIcon(); });
  AddButton(layout, "&Default", [this] { DefaultIcon(); });
  AddButton(layout, "&Restore All", [this] { RestoreAll(); });
  AddButton(layout, "Colori&ze...", [this] { ColorizeIcon(); });
  AddButton(layout, "&Save as...", [this] {
    SaveIconAs();
  })->setToolTip(QStringLiteral("Save icon"));
  return row;
}

QWidget* TfmCIcons::BuildFolderPage() {
  auto* page = new QWidget;
  auto* layout = new QGridLayout(page);
  folderField_ = new QLineEdit;
  layout->addWidget(BuddyLabel("&Folder", folderField_), 0, 0);
  layout->addWidget(folderField_, 0, 1);
  connect(folderField_, &QLineEdit::returnPressed, this, [this] { ShowFolder(); });
  // Typing a folder clears the drive choice; choosing a drive puts its root in the field.
  drives_ = new QComboBox;
  drives_->addItem(QString());
  for (const std::string& drive : TMountTable::Current().FixedDrives()) drives_->addItem(Q(drive));
  layout->addWidget(BuddyLabel("&Local hard drives", drives_), 1, 0);
  layout->addWidget(drives_, 1, 1);
  connect(folderField_, &QLineEdit::textEdited, this, [this] { drives_->setCurrentIndex(0); });
  connect(drives_, &QComboBox::activated, this, [this](int index) {
    if (index <= 0) return;
    folderField_->setText(drives_->itemText(index));
    ShowFolder();
  });
  auto* browse = new QPushButton(QStringLiteral("..."));
  browse->setToolTip(QStringLiteral("Open folder"));
  layout->addWidget(browse, 0, 2);
  connect(browse, &QPushButton::clicked, this, [this] {
    QString folder = QFileDialog::getExistingDirectory(this, QString(), folderField_->text());
    if (folder.isEmpty()) return;
    folderField_->setText(folder);
    ShowFolder();
  });
  folderPreview_ = new QLabel;
  folderPreview_->setMinimumSize(48, 48);
  layout->addWidget(folderPreview_, 2, 1);
  auto* buttons = new QHBoxLayout;
  AddButton(buttons, "&Change...", [this] {
    ChangeFolderIcon();
  })->setToolTip(QStringLiteral("Change icon"));
  AddButton(buttons, "&Default", [this] {
    folderPage_->SetDefault();
    Changed();
    folderPreview_->setPixmap(QIcon::fromTheme(QStringLiteral("folder")).pixmap(48));
  })->setToolTip(QStringLiteral("Restore default icon"));
  layout->addLayout(buttons, 3, 1);
  copyIcon_ = new QCheckBox(QStringLiteral("Copy &icon into folder"));
  copyIcon_->setChecked(true);
  connect(copyIcon_, &QCheckBox::toggled, this,
          [this](bool on) { folderPage_->SetCopyIconIntoFolder(on); });
  layout->addWidget(copyIcon_, 4, 1);
  layout->setRowStretch(5, 1);
  return page;
}

QWidget* TfmCIcons::BuildSettingsPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto addGroup = [&](const char* title, QButtonGroup*& group, const auto& values,
                      const std::vector<const char*>& texts) {
    auto* box = new QGroupBox(QString::fromUtf8(title));
    auto* boxLayout = new QHBoxLayout(box);
    group = new QButtonGroup(page);
    for (size_t i = 0; i < texts.size(); ++i) {
      auto* radio = new QRadioButton(QString::fromUtf8(texts[i]));
      group->addButton(radio, values[i]);
      boxLayout->addWidget(radio);
    }
    connect(group, &QButtonGroup::idClicked, this, [this] { EditSettings(); });
    layout->addWidget(box);
  };
  addGroup("Icon size", sizes_, kIconSizes,
           {"&16 x 16", "&24 x 24", "&32 x 32", "&48 x 48", "&64 x 64", "&72 x 72"});
  addGroup("Icon color depth", depths_, kColorDepths,
           {"16 c&olors (4 bits)", "&Hi Color (16 bits)", "&True Color (24 bits)"});
  auto* spacing = new QGroupBox(QStringLiteral("Space between icons"));
  auto* spacingLayout = new QHBoxLayout(spacing);
  for (auto [text, box] :
       {std::pair{"Horizontal", &horizontal_}, std::pair{"Vertical", &vertical_}}) {
    spacingLayout->addWidget(new QLabel(QString::fromUtf8(text)));
    *box = new QSpinBox;
    (*box)->setRange(1, 256);
    spacingLayout->addWidget(*box);
    connect(*box, &QSpinBox::valueChanged, this, [this] { EditSettings(); });
  }
  layout->addWidget(spacing);
  overlays_ = new QCheckBox(QStringLiteral("Display shortcut overlays"));
  connect(overlays_, &QCheckBox::toggled, this, [this] { EditSettings(); });
  layout->addWidget(overlays_);
  // Here the cache is the custom icon theme's icon-theme.cache, which the desktop reads.
  auto* cache = new QGroupBox(QStringLiteral("Icon Theme Cache"));
  auto* cacheLayout = new QHBoxLayout(cache);
  AddButton(cacheLayout, "Rebuild", [this] { editor_->RebuildIconCache(); })
      ->setToolTip(QStringLiteral("Rebuilds the icon cache of the theme the changed icons are in: "
                                  "use if the desktop does not show changed icons"));
  AddButton(cacheLayout, "Repair", [this] { editor_->Repair(); })
      ->setToolTip(QStringLiteral("Removes that icon cache, so that the desktop reads the icon "
                                  "files themselves: use if it shows damaged icons"));
  layout->addWidget(cache);
  if (!editor_->SettingsEditable()) {
    for (QWidget* widget : page->findChildren<QGroupBox*>())
      if (widget != cache) widget->setEnabled(false);
    overlays_->setEnabled(false);
    auto* note = new QLabel(QString::fromUtf8(kSettingsNote));
    note->setWordWrap(true);
    layout->addWidget(note);
  }
  layout->addStretch();
  return page;
}

void TfmCIcons::FillLists() {
  editor_->BuildLists();
  for (size_t page = 0; page < kIconPages.size(); ++page) {
    lists_[page]->clear();
    for (int entry : editor_->PageEntries(kIconPages[page])) {
      const TCustomIconFileInfo& info = editor_->Entries()[size_t(entry)];
      std::string caption = info.caption.empty()
                                ? std::string(SystemIconTable()[size_t(info.row)].linuxName)
                                : info.caption;
      auto* item = new QListWidgetItem(Q(caption));
      item->setData(Qt::UserRole, entry);
      lists_[page]->addItem(item);
      ShowEntry(entry);
    }
    if (lists_[page]->count() > 0) lists_[page]->setCurrentRow(0);
  }
}

void TfmCIcons::ShowEntry(int entry) {
  const TCustomIconFileInfo& info = editor_->Entries()[size_t(entry)];
  const SystemIconRow& row = SystemIconTable()[size_t(info.row)];
  QListWidget* list = lists_[size_t(std::find(kIconPages.begin(), kIconPages.end(), row.page) -
                                    kIconPages.begin())];
  QIcon icon = IconOfLocation(editor_->ShownLocation(entry), platform_->Folders(), row.linuxName);
  // An icon name the theme in use has no icon for would show an empty cell: it says so instead.
  QString missing = icon.isNull() ? QStringLiteral(
                                        "The icon theme in use has no icon \"%1\"; "
                                        "one chosen here is shown wherever it is asked for")
                                        .arg(Q(std::string(row.linuxName)))
                                  : QString();
  if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_MessageBoxQuestion);
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->data(Qt::UserRole).toInt() == entry) {
      list->item(i)->setIcon(icon);
      list->item(i)->setToolTip(missing);
    }
}

QListWidget* TfmCIcons::ActiveList() const {
  int index = pages_->currentIndex();
  return index >= 0 && index < int(lists_.size()) ? lists_[size_t(index)] : nullptr;
}

int TfmCIcons::SelectedEntry() const {
  QListWidget* list = ActiveList();
  if (!list || !list->currentItem()) return -1;
  return list->currentItem()->data(Qt::UserRole).toInt();
}

void TfmCIcons::PageChanged() {
  iconButtons_->setVisible(ActiveList() != nullptr);
}

void TfmCIcons::Changed() {
  apply_->setEnabled(true);
}

void TfmCIcons::ChangeIcon() {
  int entry = SelectedEntry();
  if (entry < 0) return;
  IconLocation start = editor_->SourceLocation(entry);
  TOpenIcoDialog dialog(this);
  if (!start.file.empty()) dialog.selectFile(Q(start.file));
  if (!dialog.ExecuteWithIcon(start.index) || dialog.ChosenFiles().isEmpty()) return;
  editor_->Change(entry, {dialog.ChosenFiles().first().toStdString(), dialog.SelectedIndex()});
  ShowEntry(entry);
  Changed();
}

void TfmCIcons::DefaultIcon() {
  int entry = SelectedEntry();
  if (entry < 0) return;
  editor_->SetDefault(entry);
  ShowEntry(entry);
  Changed();
}

void TfmCIcons::RestoreAll() {
  int index = pages_->currentIndex();
  if (index < 0 || index >= int(kIconPages.size())) return;
  editor_->RestoreAll(kIconPages[size_t(index)]);
  for (int entry : editor_->PageEntries(kIconPages[size_t(index)])) ShowEntry(entry);
  Changed();
}

void TfmCIcons::ColorizeIcon() {
  int entry = SelectedEntry();
  if (entry < 0) return;
  if (!colors_) colors_ = new TfmColorSelection(this);
  colors_->Model().Open(editor_->LastColor(), clNone);
  if (!colors_->Execute()) return;
  if (editor_->Colorize(entry, colors_->Model().Result())) {
    ShowEntry(entry);
    Changed();
  }
}

void TfmCIcons::SaveIconAs() {
  int entry = SelectedEntry();
  if (entry < 0) return;
  QString filter = QStringLiteral("Icons (*.ico);;All files (*)");
  QString chosenFilter;
  QString name =
      QFileDialog::getSaveFileName(this, QStringLiteral("Save Icon as"),
                                   Q(editor_->ProposedSaveName(entry)), filter, &chosenFilter);
  if (name.isEmpty()) return;
  if (chosenFilter.startsWith(QStringLiteral("Icons")) && QFileInfo(name).suffix().isEmpty())
    name += QStringLiteral(".ico");
  editor_->SaveAs(entry, name.toStdString());
}

void TfmCIcons::ShowListMenu(QListWidget* list, const QPoint& at) {
  bool selected = list->currentItem() != nullptr;
  QMenu menu(this);
  menu.addAction(QStringLiteral("Change..."), this, [this] { ChangeIcon(); })->setEnabled(selected);
  menu.addAction(QStringLiteral("Colorize..."), this, [this] { ColorizeIcon(); })
      ->setEnabled(selected);
  menu.addAction(QStringLiteral("Save Icon as..."), this, [this] { SaveIconAs(); })
      ->setEnabled(selected);
  menu.addAction(QStringLiteral("Default"), this, [this] { DefaultIcon(); })->setEnabled(selected);
  menu.exec(list->viewport()->mapToGlobal(at));
}

void TfmCIcons::ShowFolder() {
  FolderIconShown shown = folderPage_->SetFolder(folderField_->text().toStdString());
  if (!shown.refusal.empty()) {
    ui_.ShowMessage(MakeMessage(TMessageKind::Warning, shown.refusal));
    return;
  }
  LocationFolders folders{"", "", nullptr};
  folderPreview_->setPixmap(IconOfLocation(shown.location, folders, "folder").pixmap(48));
}

void TfmCIcons::ChangeFolderIcon() {
  if (folderPage_->Folder().empty()) ShowFolder();
  if (folderPage_->Folder().empty() || !folderPage_->Shown().refusal.empty()) return;
  IconLocation start = SplitIconLocation(folderPage_->PendingLocation());
  TOpenIcoDialog dialog(this);
  if (!start.file.empty()) dialog.selectFile(Q(start.file));
  if (!dialog.ExecuteWithIcon(start.index) || dialog.ChosenFiles().isEmpty()) return;
  IconLocation chosen{dialog.ChosenFiles().first().toStdString(), dialog.SelectedIndex()};
  folderPage_->SetPendingLocation(chosen);
  folderPreview_->setPixmap(
      IconOfLocation(IconLocationText(chosen), {"", "", nullptr}, "folder").pixmap(48));
  Changed();
}

void TfmCIcons::ShowSettings() {
  showingSettings_ = true;
  const TCustomIconState& state = editor_->EditedSettings();
  if (QAbstractButton* size = sizes_->button(state.iconSize)) size->setChecked(true);
  if (QAbstractButton* depth = depths_->button(state.colorDepth)) depth->setChecked(true);
  horizontal_->setValue(state.horizontalSpacing);
  vertical_->setValue(state.verticalSpacing);
  overlays_->setChecked(state.shortcutOverlays);
  showingSettings_ = false;
}

void TfmCIcons::EditSettings() {
  if (showingSettings_) return;
  TCustomIconState state = editor_->EditedSettings();
  if (sizes_->checkedId() > 0) state.iconSize = sizes_->checkedId();
  if (depths_->checkedId() > 0) state.colorDepth = depths_->checkedId();
  state.horizontalSpacing = horizontal_->value();
  state.verticalSpacing = vertical_->value();
  state.shortcutOverlays = overlays_->isChecked();
  editor_->EditSettings(state);
  Changed();
}

bool TfmCIcons::AgreedToThemeSwitch() {
  if (!editor_->Modified() || CustomThemeInPlace()) return true;
  return ui_.ShowMessage(MakeMessage(TMessageKind::Query, CustomThemeSwitchQuestion(), mbYesNo)) ==
         TModalResult::mrYes;
}

void TfmCIcons::ApplyAll() {
  // The first icon written switches the desktop's theme: asked once, before anything is written.
  if (AgreedToThemeSwitch()) WriteChanges();
}

void TfmCIcons::WriteChanges() {
  try {
    editor_->Apply();
    if (folderPage_->Changed())
      for (const std::string& note : folderPage_->Apply())
        ui_.ShowMessage(MakeMessage(TMessageKind::Information, note));
  } catch (const std::exception& error) {
    ui_.ShowMessage(MakeMessage(TMessageKind::Error, error.what()));
  }
  for (const TCustomIconFileInfo& entry : editor_->Entries())
    ShowEntry(int(&entry - editor_->Entries().data()));
  apply_->setEnabled(false);
}

void TfmCIcons::Accept() {
  if (apply_->isEnabled()) {
    // "No" to the theme switch keeps the window open with its changes pending.
    if (!AgreedToThemeSwitch()) return;
    WriteChanges();
  }
  accept();
}

}  // namespace varnel

#include "app/mainwindow.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/commandset.h"
#include "app/errorhandler.h"
#include "app/finddialog.h"
#include "app/imagepanel.h"
#include "app/localgrid.h"
#include "app/recentfilesmenu.h"
#include "app/statuspanel.h"

namespace varnel {
namespace {

// The first size shows a grid of several rows and columns of 48-pixel icons with their names;
// below the minimum the toolbar, the grid's two columns and the status texts no longer fit.
constexpr QSize kInitialSize(960, 640);
constexpr QSize kMinimumSize(480, 360);
// Status panels: minimum widths and shares of the width left over. The hint and progress
// panel takes three quarters of what the first two share.
constexpr int kPanelMinWidths[] = {188, 62, 80, 70};
constexpr int kPanelStretches[] = {3, 1, 0, 0};
// The widest texts the fixed panels show: the cursor's counter of a large collection.
constexpr const char* kPanelWidestTexts[] = {"", "", "00000 of 00000", ""};
constexpr int kPanelTextPadding = 12;
constexpr int kImagePanelWidth = 204;
constexpr int kIdleUpdateMs = 200;

// The initial size, within the screen's free area.
QSize InitialSize() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return kInitialSize;
  return kInitialSize.boundedTo(screen->availableSize()).expandedTo(kMinimumSize);
}

int ScreenDepth() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->depth() : 32;
}

}  // namespace

TfmMain::TfmMain(const std::string& settingsFile, QWidget* parent)
    : QMainWindow(parent),
      ui_(this),
      appSettings_(settingsFile, ScreenDepth()),
      host_(ui_, kProductName, &appSettings_.RecentFiles()) {
  setWindowTitle(kProductName);
  setMinimumSize(kMinimumSize);
  resize(InitialSize());
  setAcceptDrops(true);
  grid_ = new TLocalGrid;
  lib_ = std::make_unique<TfmLib>(host_, appSettings_.Values(), clipboard_, *grid_);
  ui_.SetIniFile(&appSettings_.File());
  ConnectUserInterface();
  CreateActions();
  CreateMenus();
  CreateToolbar();
  CreateStatusBar();
  CreateCentralArea();
  grid_->SetSystemIconSizes(style()->pixelMetric(QStyle::PM_LargeIconSize),
                            style()->pixelMetric(QStyle::PM_SmallIconSize));
  grid_->Attach(lib_.get());
  auto* idle = new QTimer(this);
  connect(idle, &QTimer::timeout, this, &TfmMain::UpdateActions);
  idle->start(kIdleUpdateMs);
}

TfmMain::~TfmMain() {
  appSettings_.RecentFiles().SetMenu(nullptr);
  lib_->OnImagePanelChanged = nullptr;
  grid_->OnChanged = nullptr;
  grid_->OnContextMenu = nullptr;
  grid_->Attach(nullptr);
}

void TfmMain::ConnectUserInterface() {
  ui_.OnStatusText = [this](int panel, const std::string& text) {
    if (panel >= 0 && panel < int(panels_.size()))
      panels_[size_t(panel)]->SetFullText(QString::fromStdString(text));
  };
  ui_.OnMainCaption = [this](const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
  };
  ui_.OnBusy = [this](bool busy) {
    stopSeparator_->setVisible(busy);
    stopAction_->setVisible(busy);
  };
  lib_->OnImagePanelChanged = [this] { UpdateImagePanel(); };
  grid_->OnMoved = [this] { lib_->SetModified(true); };
  grid_->OnChanged = [this] { ScheduleRefresh(); };
}

QAction* TfmMain::Action(const QString& name) const {
  auto found = actions_.find(name);
  return found == actions_.end() ? nullptr : found->second;
}

QAction* TfmMain::AddCommand(const TCommandInfo& command, std::function<void()> handler) {
  auto* action = new QAction(QString::fromUtf8(command.caption), this);
  action->setObjectName(command.name);
  action->setCheckable(command.checkable);
  if (command.key > 0) action->setProperty("menuKey", command.key);
  std::string_view hint = command.hint;
  action->setToolTip(QString::fromUtf8(HintTooltip(hint).data(), HintTooltip(hint).size()));
  action->setStatusTip(QString::fromUtf8(HintStatusText(hint).data(), HintStatusText(hint).size()));
  QList<QKeySequence> keys;
  for (const QString& key : QString::fromUtf8(command.shortcuts).split(';', Qt::SkipEmptyParts))
    keys << QKeySequence(key);
  action->setShortcuts(keys);
  if (handler)
    connect(action, &QAction::triggered, this,
            [this, handler = std::move(handler)] { Run(handler); });
  addAction(action);  // shortcuts work while menus and toolbar are hidden
  actions_[QString::fromUtf8(command.name)] = action;
  return action;
}

void TfmMain::Run(const std::function<void()>& work) {
  try {
    work();
  } catch (const std::exception& error) {
    ShowError(this, &ui_, error.what());
  }
}

// --- Menus and toolbar ---------------------------------------------------------------------

void TfmMain::FillMenu(QWidget* menu, std::initializer_list<const char*> names) {
  // An empty name stands for a separator.
  for (const char* name : names) {
    if (*name) {
      menu->addAction(Action(name));
    } else {
      auto* separator = new QAction(menu);
      separator->setSeparator(true);
      menu->addAction(separator);
    }
  }
}

// A submenu with the key of the menu translation files.
template <typename Parent>
QMenu* AddMenu(Parent* parent, const char* caption, int key) {
  QMenu* menu = parent->addMenu(QString::fromUtf8(caption));
  menu->menuAction()->setProperty("menuKey", key);
  return menu;
}

void TfmMain::CreateMenus() {
  CreateFileMenu();
  QMenu* edit = AddMenu(menuBar(), "&Edit", 120);
  FillMenu(edit, {"aEditCut", "aEditCopy", "aEditPaste", "aEditErase", "", "aEditSelectAll"});
  CreateIconsMenu();
  CreateViewMenu();
  CreateHelpMenu();
  CreateGridMenu();
}

void TfmMain::CreateGridMenu() {
  gridMenu_ = new QMenu(this);
  gridMenu_->setObjectName("pm");
  FillMenu(gridMenu_, {"aEditCut", "aEditCopy", "aEditPaste", "aEditErase", "aLibCreateCopy", "",
                       "aLibRename", "aFileSaveIconAs", ""});
  grid_->OnContextMenu = [this](QPoint at) {
    UpdateActions();
    gridMenu_->popup(at);
  };
}

void TfmMain::CreateFileMenu() {
  QMenu* file = AddMenu(menuBar(), "&File", 100);
  FillMenu(file, {"aFileNewLib", "aFileOpen", "aFileSave", "aFileSaveAs", "aFileSaveIconAs"});
  exportMenu_ = AddMenu(file, "&Export", 114);
  FillMenu(exportMenu_, {"mnExportImage", "mnExportIconBitmaps", "mnExportIconIcons",
                         "mnExportAllIcons", "mnExportSelectedIcons", "mnExportSingleImage",
                         "mnExportIconTheme", "mnExportCursorTheme", "mnExportFavicons"});
  for (const char* name : {"mnExportImage", "mnExportIconBitmaps", "mnExportIconIcons"}) {
    Action(name)->setVisible(false);
    Action(name)->setEnabled(false);
  }
  file->addSeparator();
  recentFiles_ = std::make_unique<TRecentFilesActions>(
      file, [this](int slot) { Run([&] { ReopenRecentFile(slot); }); });
  appSettings_.RecentFiles().SetMenu(recentFiles_.get());
  file->addAction(Action("aFileExit"));
}

void TfmMain::CreateIconsMenu() {
  iconsMenu_ = AddMenu(menuBar(), "&Icons", 140);
  FillMenu(iconsMenu_, {"aLibAddFiles", "aLibAddFolder", "aLibAddSubFolders", "aLibFindInet",
                        "alibDownload", "mnLibAddAssotiated", "", "aLibRename", "aLibCreateCopy",
                        "mnLibSplitIcon", "mnLibCombineIcons", "mnLibCheckNames", "aLibDelDupes",
                        "mnLibFindSimilar", "mnLibMergeSimilar"});
  QMenu* sort = AddMenu(iconsMenu_, "Sor&t Icons", 153);
  sort->setObjectName("mnLibSort");
  FillMenu(sort, {"mnLibSorteName", "mnLibSorteNameAsNumber", "mnLibSortCount", "mnLibSortSize",
                  "mnLibSortBPP", "bySource1", "", "mnLibSortBack"});
  QMenu* locate = iconsMenu_->addMenu(QStringLiteral("Locate Icon"));
  FillMenu(locate, {"mnLibLocatebyName", "mnLibLocatebySourceName"});
  FillMenu(iconsMenu_, {"", "aFileProps"});
}

void TfmMain::CreateViewMenu() {
  QMenu* view = AddMenu(menuBar(), "&View", 240);
  QMenu* icons = AddMenu(view, "&Icons", 243);
  FillMenu(icons, {"aDisplayIcon16", "aDisplayIcon32", "aDisplayIcon48", "aDisplayIconCustom",
                   "aDisplayIconWinSize", "mnViewIconSizeCustomSet", "", "aDisplayIcon1bpp",
                   "aDisplayIcon4BPP", "aDisplayIcon16BPP", "aDisplayIcon32bpp", "",
                   "aDisplayIconCaptions", "aDisplayIconFormats", "aDisplayIconExact",
                   "aDisplayProportionally", "aDisplayEnlarge"});
  QMenu* controls = AddMenu(view, "&Controls", 310);
  FillMenu(controls, {"mnDisplayStandardToolbar", "mnDisplayStatusbar"});
  FillMenu(view, {"", "aDisplayCustWin", "Fileassociations1", "mnOptions"});
  viewPopup_ = new QMenu(this);
  FillMenu(viewPopup_, {"aDisplayIcon16", "aDisplayIcon32", "aDisplayIcon48", "aDisplayIconWinSize",
                        "aDisplayIconCustom", "mnViewIconSizeCustomSet", "", "aDisplayIcon1bpp",
                        "aDisplayIcon4BPP", "aDisplayIcon16BPP", "aDisplayIcon32bpp", "",
                        "aDisplayIconCaptions", "aDisplayIconFormats", "aDisplayIconExact",
                        "aDisplayProportionally", "aDisplayEnlarge", "", "mnDisplayDefaultView"});
}

void TfmMain::CreateHelpMenu() {
  QMenu* help = AddMenu(menuBar(), "&Help", 300);
  FillMenu(help, {"aHelpContents", "", "aHelpHomePage", "mnProgramHomePage", "mnHelpReadyIcons",
                  "mnHelpFeedback", "", "aHelpAbout"});
}

void TfmMain::CreateToolbar() {
  toolbar_ = addToolBar(QStringLiteral("pnBar"));
  toolbar_->setObjectName("pnBar");
  toolbar_->setIconSize(QSize(32, 32));
  toolbar_->setMovable(false);
  toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  for (const char* name : ToolbarCommands()) {
    if (std::string_view(name) == "aLibDelDupes")
      toolbar_->addAction(DuplicatesButtonAction());
    else
      FillMenu(toolbar_, {name});
  }
  auto* viewButton = new QToolButton(this);
  viewButton->setDefaultAction(Action("btLibView"));
  viewButton->setMenu(viewPopup_);
  viewButton->setPopupMode(QToolButton::MenuButtonPopup);
  toolbar_->addWidget(viewButton);
  stopSeparator_ = toolbar_->addSeparator();
  stopButton_ = new QToolButton(this);
  stopButton_->setObjectName("btStop");
  stopButton_->setText(QStringLiteral("Stop"));
  stopButton_->setToolTip(QStringLiteral("Stop"));
  stopButton_->setStatusTip(QStringLiteral("Terminates searches"));
  connect(stopButton_, &QToolButton::clicked, this, [this] { lib_->RequestStop(); });
  stopAction_ = toolbar_->addWidget(stopButton_);
  stopSeparator_->setVisible(false);
  stopAction_->setVisible(false);
}

// The toolbar's "Delete Duplicates" stays enabled while the menu item needs two icons: a twin
// of the command with its own enabled state.
QAction* TfmMain::DuplicatesButtonAction() {
  QAction* command = Action("aLibDelDupes");
  auto* button = new QAction(command->icon(), command->text(), this);
  button->setObjectName("btDelDupes");
  button->setToolTip(command->toolTip());
  button->setStatusTip(command->statusTip());
  connect(button, &QAction::triggered, this, [this] { Run([this] { lib_->DeleteDuplicates(); }); });
  connect(command, &QAction::changed, button,
          [button, command] { button->setIcon(command->icon()); });
  return button;
}

void TfmMain::CreateStatusBar() {
  for (size_t i = 0; i < std::size(kPanelMinWidths); ++i) {
    auto* panel = new TStatusPanel(this);
    int text = panel->fontMetrics().horizontalAdvance(QString::fromLatin1(kPanelWidestTexts[i]));
    panel->setMinimumWidth(std::max(kPanelMinWidths[i], text + kPanelTextPadding));
    panels_.push_back(panel);
  }
  statusBar()->setObjectName("sBar");
  statusBar()->addWidget(panels_[0], kPanelStretches[0]);
  for (size_t i = 1; i < panels_.size(); ++i)
    statusBar()->addPermanentWidget(panels_[i], kPanelStretches[i]);
}

void TfmMain::CreateCentralArea() {
  panel_ = new TImagePanel;
  panel_->setObjectName("lbIcon");
  panel_->OnSaveFrame = [this](const TSubIcon& image) { Run([&] { SaveFrame(image); }); };
  panel_->OnSetHotSpot = [this] { Run([&] { SetHotSpotCommand(); }); };
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName("spv");
  splitter_->setHandleWidth(3);
  splitter_->addWidget(grid_);
  splitter_->addWidget(panel_);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  splitter_->setSizes({width() - kImagePanelWidth, kImagePanelWidth});
  connect(splitter_, &QSplitter::splitterMoved, this,
          [this] { grid_->ScrollToItem(grid_->Current()); });
  setCentralWidget(splitter_);
}

// --- Window placement ----------------------------------------------------------------------

TWindowBounds TfmMain::Bounds() const {
  QRect frame = geometry();
  return {frame.x(), frame.y(), frame.width(), frame.height()};
}

void TfmMain::SetBounds(const TWindowBounds& bounds, bool keepPosition) {
  resize(bounds.width, bounds.height);
  if (keepPosition) move(bounds.left, bounds.top);
}

TScreenSize TfmMain::ScreenSize() const {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {kInitialSize.width(), kInitialSize.height()};
  return {screen->size().width(), screen->size().height()};
}

}  // namespace varnel

#pragma once
// TfmMain: the main window with its menus, toolbar, status bar and image panel, hosting the
// collection window's logic (TfmLib) with the grid. Every command is an action here; most
// forward to the collection or to the grid.

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/commandset.h"
#include "app/qtclipboard.h"
#include "app/qtuserinterface.h"
#include "appcore/applicationsettings.h"
#include "appcore/childhost.h"
#include "appcore/windowplacement.h"
#include "collection/fmlib.h"
#include "collection/iconsavefile.h"

class QSplitter;
class QToolBar;
class QToolButton;

namespace varnel {

class TfmLib;
class TFindDialog;
class TfmExportSingle;
class TImagePanel;
class TLocalGrid;
class TRecentFilesActions;
class TStatusPanel;

class TfmMain : public QMainWindow, public TMainWindowFrame {
  Q_OBJECT

 public:
  // settingsFile: the settings file of the run (normally SettingsFileName()).
  explicit TfmMain(const std::string& settingsFile, QWidget* parent = nullptr);
  ~TfmMain() override;

  // The first activation: settings, picture strips, command line, welcome window. Returns the
  // number of files opened from the command line.
  int Start(const std::vector<std::string>& arguments);

  QAction* Action(const QString& name) const;
  // The enabled and checked states of every command, as evaluated when idle.
  void UpdateActions();
  // Shows the collection and its selection afresh where the window shows them beside the grid:
  // the status panels (left to long operations while they run) and the image panel. Every
  // change the grid reports leads here, once the events of the moment are handled.
  void RefreshViews();
  // Opens entry slot of the recent-files menu after the save question; the entry moves to the
  // head of the list.
  void ReopenRecentFile(int slot);
  // Carries out work and shows any error it raises as the program-wide handler does.
  void Run(const std::function<void()>& work);
  // What each command of the command table does, by name.
  std::vector<CommandHandler> CommandHandlers();

  TfmLib& Lib() { return *lib_; }
  TLocalGrid& Grid() { return *grid_; }
  TImagePanel& ImagePanel() { return *panel_; }
  TQtUserInterface& UI() { return ui_; }
  TApplicationSettings& AppSettings() { return appSettings_; }
  TFindDialog* FindDialog() const { return findDialog_; }
  TStatusPanel* StatusPanel(int index) const { return panels_.at(size_t(index)); }
  QToolBar* Toolbar() const { return toolbar_; }
  QToolButton* StopButton() const { return stopButton_; }
  // The grid's pop-up menu.
  QMenu* GridMenu() const { return gridMenu_; }

  // The welcome window's answer: its choice code and "Show this window next time". Tests
  // replace it; by default the window is shown.
  std::function<std::pair<char, bool>()> AskWelcome;

  // Window placement.
  bool IsMaximized() const override { return isMaximized(); }
  void ShowMaximized() override { showMaximized(); }
  TWindowBounds Bounds() const override;
  void SetBounds(const TWindowBounds& bounds, bool keepPosition) override;
  TScreenSize ScreenSize() const override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Building the window.
  void CreateActions();
  QAction* AddCommand(const TCommandInfo& command, std::function<void()> handler);
  void FillMenu(QWidget* menu, std::initializer_list<const char*> names);
  void CreateMenus();
  void CreateFileMenu();
  void CreateIconsMenu();
  void CreateViewMenu();
  void CreateHelpMenu();
  void CreateToolbar();
  QAction* DuplicatesButtonAction();
  void CreateStatusBar();
  void CreateCentralArea();
  void ConnectUserInterface();
  void LoadPictureStrips();
  void ApplyPicturesToMenus(bool show);

  // Commands.
  void OpenCommand();
  void OpenFileFromCommand(const std::string& name);

  void SaveIconAsCommand();
  void SaveFrame(const TSubIcon& image);
  // Asks the current icon's hot spot with the cursor hot spot dialog and gives it every image.
  void SetHotSpotCommand();
  void PropertiesCommand();
  void ExportSingleImageCommand();
  void SetCustomSizeCommand();
  void OptionsCommand();
  void LocateCommand(TFindMode mode);
  void HelpContentsCommand();
  void AboutCommand();
  void CarryOutWelcomeChoice(char choice);
  void ShowWelcome();
  void WarnAboutColorDepth();
  void TranslateMenus();
  void ShowDropErrors(const std::vector<std::string>& errors);
  void UpdateImagePanel();
  void ScheduleRefresh();
  void CreateGridMenu();
  void UpdateViewChecks();
  bool QueryClose();

  TQtUserInterface ui_;
  TQtClipboard clipboard_;
  TApplicationSettings appSettings_;
  TChildHost host_;
  TLocalGrid* grid_ = nullptr;
  std::unique_ptr<TfmLib> lib_;
  TImagePanel* panel_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  QToolButton* stopButton_ = nullptr;
  QAction* stopSeparator_ = nullptr;
  QAction* stopAction_ = nullptr;
  QMenu* iconsMenu_ = nullptr;
  QMenu* exportMenu_ = nullptr;
  QMenu* viewPopup_ = nullptr;
  QMenu* gridMenu_ = nullptr;
  std::vector<TStatusPanel*> panels_;
  std::map<QString, QAction*> actions_;
  std::unique_ptr<TRecentFilesActions> recentFiles_;
  TFindDialog* findDialog_ = nullptr;
  TfmExportSingle* exportSingle_ = nullptr;
  std::string openFolder_;
  TIconSaveDialog iconSave_;  // the icon save dialog's memory of its last name
  bool started_ = false;
  bool refreshPending_ = false;
};

}  // namespace varnel

// The main window's commands: what each does, when it is enabled or checked, start-up with the
// command line and the welcome window, dropped files and closing.

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <filesystem>

#include "app/cellimage.h"
#include "app/commandline.h"
#include "app/crawlplace.h"
#include "app/customiconsdialog.h"
#include "app/errorhandler.h"
#include "app/exportsingledialog.h"
#include "app/fileassdialog.h"
#include "app/finddialog.h"
#include "app/helpwindow.h"
#include "app/iconpropertiesdialog.h"
#include "app/imagepanel.h"
#include "app/localgrid.h"
#include "app/mainwindow.h"
#include "app/menutranslation.h"
#include "app/numberpairdialog.h"
#include "app/optionsdialog.h"
#include "app/similarcommands.h"
#include "app/welcomewindow.h"
#include "collection/fileimport.h"
#include "collection/iconsavefile.h"
#include "collection/singleimageexport.h"
#include "collection/themeexportcommand.h"
#include "icons/advancedicon.h"
#include "platform/folders.h"
#include "search/associatedicons.h"
#include "search/droppeditems.h"
#include "search/foldersearch.h"
#include "search/internetcommands.h"

namespace varnel {
namespace {

constexpr const char* kOpenFilter =
    "Icon files (*.icc;*.icl;*.ico;*.nil;*.dll;*.exe;*.cpl;*.ocx;*.vbx)|*.icc;*.exe;*.dll;*.cpl;"
    "*.icl;*.nil;*.ocx;*.vbx;*.il;*.ico|Icon libraries (*.icl;*.nil;*.dll;*.exe;*.cpl;*.ocx;*.vbx)|"
    "*.exe;*.dll;*.cpl;*.icl;*.nil;*.ocx;*.vbx;*.il;*.res;*.dcr|Icon collections (*.icc;*.icl)|"
    "*.icc;*.icl|Icons (*.ico)|*.ico|Executables (*.exe)|*.exe|DLL files (*.dll)|*.dll|Zip and Rar "
    "archives (*.zip;*.rar)|*.zip;*.rar|All files (*.*)|*.*";
constexpr size_t kMaxDroppedPathLength = 1024;

}  // namespace

std::vector<CommandHandler> TfmMain::CommandHandlers() {
  TfmLib& lib = *lib_;
  TLocalGrid& grid = *grid_;
  TSettings& settings = appSettings_.Values();
  auto openUrl = [](const char* address) {
    return [address] { QDesktopServices::openUrl(QUrl(address)); };
  };
  std::vector<CommandHandler> handlers = {
      // File.
      {"aFileNewLib", [&] { lib.ClearCollection(); }},
      {"aFileOpen", [this] { OpenCommand(); }},
      {"aFileSave", [&] { lib.Save(); }},
      {"aFileSaveAs", [&] { lib.SaveAs(); }},
      {"aFileSaveIconAs", [this] { SaveIconAsCommand(); }},
      {"mnExportImage", [] {}},
      {"mnExportIconBitmaps", [] {}},
      {"mnExportIconIcons", [] {}},
      {"mnExportAllIcons", [&] { lib.ExportIconsToFolder(true); }},
      {"mnExportSelectedIcons", [&] { lib.ExportIconsToFolder(false); }},
      {"mnExportSingleImage", [this] { ExportSingleImageCommand(); }},
      {"mnExportIconTheme", [&] { ExportTheme(lib, ThemeExport::IconTheme); }},
      {"mnExportCursorTheme", [&] { ExportTheme(lib, ThemeExport::CursorTheme); }},
      {"mnExportFavicons", [&] { ExportTheme(lib, ThemeExport::FaviconSet); }},
      {"aFileExit", [this] { close(); }},
      // Edit.
      {"aEditCut", [&] { lib.Cut(); }},
      {"aEditCopy", [&] { lib.CopySelection(); }},
      {"aEditPaste", [&] { lib.PasteFromClipboard(); }},
      {"aEditErase", [&] { lib.EraseSelection(); }},
      {"aEditSelectAll", [&] { lib.SelectAll(); }},
      {"mnEditTerminate", [&] { lib.RequestStop(); }},
      // Icons.
      {"aLibAddFiles", [&] { ImportFiles(lib); }},
      {"aLibAddFolder", [&] { FindInFolder(lib); }},
      {"aLibAddSubFolders", [&] { FindOnLocalDisks(lib); }},
      {"aLibFindInet", [&] { FindOnInternet(lib, AppCrawlPlace(lib.Settings(), appSettings_)); }},
      {"alibDownload", [&] { ScanInternetLink(lib, AppCrawlPlace(lib.Settings(), appSettings_)); }},
      {"mnLibAddAssotiated", [&] { FindAssociatedIcons(lib); }},
      {"aLibRename", [&] { lib.RenameIcons(); }},
      {"aLibCreateCopy", [&] { lib.DuplicateIcon(); }},
      {"mnLibSplitIcon", [&] { lib.SplitIcons(); }},
      {"mnLibCombineIcons", [&] { lib.CombineIcons(); }},
      {"mnLibCheckNames", [&] { lib.CorrectNames(true); }},
      {"aLibDelDupes", [&] { lib.DeleteDuplicates(); }},
      {"mnLibFindSimilar", [&] { RunFindSimilarIcons(lib, this); }},
      {"mnLibMergeSimilar", [&] { RunMergeSimilarSizes(lib, this); }},
      {"mnLibLocatebyName", [this] { LocateCommand(TFindMode::Name); }},
      {"mnLibLocatebySourceName", [this] { LocateCommand(TFindMode::Source); }},
      {"aFileProps", [this] { PropertiesCommand(); }},
      // View.
      {"aDisplayIconCustom", [&] { grid.SetSizeMode(kSizeModeCustom); }},
      {"aDisplayIconWinSize", [&] { grid.SetSizeMode(kSizeModeSystem); }},
      {"mnViewIconSizeCustomSet", [this] { SetCustomSizeCommand(); }},
      {"aDisplayIconCaptions", [&] { grid.SetShowCaptions(!settings.grCaption); }},
      {"aDisplayIconFormats", [&] { grid.SetShowFormats(!settings.grFormats); }},
      {"aDisplayIconExact", [&] { grid.SetExactFormats(!settings.grExactView); }},
      {"aDisplayProportionally", [&] { grid.SetKeepProportions(!settings.grPropView); }},
      {"aDisplayEnlarge", [&] { grid.SetEnlargeSmall(!settings.grEnlarge); }},
      {"mnDisplayDefaultView", [&] { grid.ResetViewSettings(); }},
      {"mnDisplayStandardToolbar",
       [&] {
         settings.StandardToolBar = !toolbar_->isVisible();
         toolbar_->setVisible(settings.StandardToolBar);
       }},
      {"mnDisplayStatusbar",
       [&] {
         settings.StatusBar = !statusBar()->isVisible();
         statusBar()->setVisible(settings.StatusBar);
       }},
      {"aDisplayCustWin",
       [this] {
         if (lib_->Busy()) lib_->RequestStop();
         hide();
         TfmCIcons dialog;
         dialog.exec();
         show();
       }},
      {"Fileassociations1", [this] { EditFileAssociations(this); }},
      {"mnOptions", [this] { OptionsCommand(); }},
      {"btLibView",
       [this] {
         if (viewPopup_) viewPopup_->popup(QCursor::pos());
       }},
      // Help.
      {"aHelpContents", [this] { HelpContentsCommand(); }},
      {"aHelpHomePage", openUrl("https://tamberly.example/")},
      {"mnProgramHomePage", openUrl("https://tamberly.example/varnel/")},
      {"mnHelpReadyIcons", openUrl("https://tamberly.example/icons/")},
      {"mnHelpFeedback", openUrl("https://tamberly.example/feedback/")},
      {"aHelpAbout", [this] { AboutCommand(); }},
  };
  const std::pair<const char*, TSortMode> sorts[] = {
      {"mnLibSorteName", TSortMode::Name},
      {"mnLibSorteNameAsNumber", TSortMode::NameAsNumber},
      {"mnLibSortCount", TSortMode::ImageCount},
      {"mnLibSortSize", TSortMode::ImageSize},
      {"mnLibSortBPP", TSortMode::ColorDepth},
      {"bySource1", TSortMode::Source},
      {"mnLibSortBack", TSortMode::Backward}};
  for (auto [name, mode] : sorts) handlers.push_back({name, [&lib, mode] { lib.SortIcons(mode); }});
  const std::pair<const char*, int> sizes[] = {
      {"aDisplayIcon16", 16}, {"aDisplayIcon32", 32}, {"aDisplayIcon48", 48}};
  for (auto [name, size] : sizes)
    handlers.push_back({name, [&grid, size] { grid.SetSizeMode(size); }});
  const std::pair<const char*, int> depths[] = {{"aDisplayIcon1bpp", 1},
                                                {"aDisplayIcon4BPP", 4},
                                                {"aDisplayIcon16BPP", 16},
                                                {"aDisplayIcon32bpp", 32}};
  for (auto [name, bpp] : depths)
    handlers.push_back({name, [&grid, bpp] { grid.SetDepthFilter(bpp); }});
  return handlers;
}

void TfmMain::CreateActions() {
  std::vector<CommandHandler> handlers = CommandHandlers();
  for (const TCommandInfo& command : CommandTable()) {
    auto handler = std::find_if(handlers.begin(), handlers.end(), [&](const CommandHandler& h) {
      return std::string_view(h.name) == command.name;
    });
    AddCommand(command, handler == handlers.end() ? std::function<void()>() : handler->run);
  }
  grid_->OnOpenProperties = [this] { Run([this] { PropertiesCommand(); }); };
  // While a collection window exists "Erase" deletes.
  Action("aEditErase")->setText(QStringLiteral("&Delete"));
  Action("aEditErase")->setToolTip(QStringLiteral("Delete"));
  Action("aEditErase")->setStatusTip(QStringLiteral("Deletes the selection"));
}

void TfmMain::UpdateActions() {
  TfmLib& lib = *lib_;
  // While a long operation runs its counters own the status panels.
  if (lib.Visible() && isVisible() && !lib.Busy()) lib.IdleUpdate();
  int count = lib.Count(), selected = grid_->SelectedCount(), current = grid_->Current();
  const TAdvancedIcon* currentIcon =
      current >= 0 && current < count ? lib.Items().Icons(current) : nullptr;
  auto enable = [this](const char* name, bool on) { Action(name)->setEnabled(on); };
  enable("aFileNewLib", count >= 1);
  enable("aFileSave", lib.GetModified() && count >= 1);
  Action("aFileSave")->setText(QStringLiteral("&Save"));
  enable("aFileSaveAs", count >= 1);
  enable("aFileSaveIconAs", currentIcon && currentIcon->Images().Count() >= 1);
  enable("mnExportAllIcons", count >= 1);
  enable("mnExportSelectedIcons", selected >= 1);
  enable("mnExportSingleImage", count >= 1);
  enable("mnExportIconTheme", count >= 1);
  enable("mnExportCursorTheme", count >= 1);
  enable("mnExportFavicons", currentIcon && currentIcon->Images().Count() >= 1);
  // Cut, Copy and Erase need a selection: the grid's count, kept between changes, saves
  // counting the selection of a large collection again for each of them five times a second.
  enable("aEditCut", selected >= 1);
  enable("aEditCopy", selected >= 1);
  enable("aEditPaste", lib.CanPaste());
  enable("aEditErase", selected >= 1);
  enable("aEditSelectAll", lib.CanSelectAll());
  enable("aLibRename", selected >= 1);
  enable("aLibCreateCopy", selected == 1);
  enable("mnLibSplitIcon", currentIcon != nullptr);
  enable("mnLibCombineIcons", selected >= 2);
  enable("mnLibCheckNames", count >= 1);
  enable("aLibDelDupes", count >= 2);  // the toolbar's twin stays enabled
  enable("mnLibFindSimilar", currentIcon != nullptr && count >= 2);
  enable("mnLibMergeSimilar", count >= 2);
  enable("aFileProps", selected >= 1);
  for (QAction* action : iconsMenu_->actions())
    if (action->menu() && action->menu()->objectName() == "mnLibSort")
      action->setEnabled(count >= 2);
  UpdateViewChecks();
}

void TfmMain::UpdateViewChecks() {
  const TSettings& settings = appSettings_.Values();
  auto check = [this](const char* name, bool on) { Action(name)->setChecked(on); };
  int mode = settings.grIconSize, bpp = settings.grIconBPP;
  check("aDisplayIcon16", mode == 16);
  check("aDisplayIcon32", mode == 32);
  check("aDisplayIcon48", mode == 48);
  check("aDisplayIconCustom", mode == kSizeModeCustom);
  check("aDisplayIconWinSize", mode == kSizeModeSystem);
  check("aDisplayIcon1bpp", bpp == 1);
  check("aDisplayIcon4BPP", bpp == 4);
  check("aDisplayIcon16BPP", bpp == 16);
  check("aDisplayIcon32bpp", bpp == 32);
  check("aDisplayIconCaptions", settings.grCaption);
  check("aDisplayIconFormats", settings.grFormats);
  check("aDisplayIconExact", settings.grExactView);
  check("aDisplayProportionally", settings.grPropView);
  check("aDisplayEnlarge", settings.grEnlarge);
  check("mnDisplayStandardToolbar", !toolbar_->isHidden());
  check("mnDisplayStatusbar", !statusBar()->isHidden());
}

// --- Start-up ------------------------------------------------------------------------------

int TfmMain::Start(const std::vector<std::string>& arguments) {
  if (started_) return 0;
  started_ = true;
  Run([this] { appSettings_.LoadSettings(this); });
  LoadPictureStrips();
  TranslateMenus();
  const TSettings& settings = appSettings_.Values();
  toolbar_->setVisible(settings.StandardToolBar);
  statusBar()->setVisible(settings.StatusBar);
  appSettings_.RecentFiles().RefreshMenu();
  lib_->AssignNumberedCaption();
  host_.Activate(lib_.get());
  grid_->Relayout();
  TCommandLineOutcome outcome =
      ProcessCommandLine(arguments, QDir::currentPath().toStdString(),
                         [this](const std::string& name) { lib_->OpenFile(name); });
  if (!outcome.errors.empty()) ui_.ShowErrorList(outcome.errors);
  if (!outcome.initialFolder.empty()) openFolder_ = outcome.initialFolder;
  lib_->ShowChild();
  RefreshViews();
  UpdateActions();
  WarnAboutColorDepth();
  if (settings.Welcome && outcome.opened == 0) ShowWelcome();
  return outcome.opened;
}

void TfmMain::TranslateMenus() {
  TSettings& settings = appSettings_.Values();
  std::string folder = (std::filesystem::path(DataFolder()) / "Language").string();
  settings.MenuLanguage = ApplyMenuTranslation(*menuBar(), folder, settings.MenuLanguage);
}

void TfmMain::WarnAboutColorDepth() {
  TSettings& settings = appSettings_.Values();
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!settings.WarnNotTrueColorMode || !screen || screen->depth() >= 24) return;
  TConfirmAnswer answer = ui_.AskConfirmation(
      {"Your current color resolution is less than 24-bit True Color. True Color mode is "
       "recommended",
       kCaptionInformation, true});
  if (answer.ok) settings.WarnNotTrueColorMode = !answer.doNotPrompt;
}

void TfmMain::ShowWelcome() {
  std::pair<char, bool> answer;
  if (AskWelcome) {
    answer = AskWelcome();
  } else {
    TfmWelcome welcome(this);
    // Centred on the main window, which may not be placed yet when the dialog would centre itself.
    welcome.adjustSize();
    welcome.move(frameGeometry().center() - welcome.rect().center());
    welcome.exec();
    answer = {welcome.Choice(), welcome.ShowNextTime()};
  }
  appSettings_.Values().Welcome = answer.second;
  if (answer.first)
    QTimer::singleShot(0, this, [this, choice = answer.first] { CarryOutWelcomeChoice(choice); });
}

void TfmMain::CarryOutWelcomeChoice(char choice) {
  const char* command = choice == 'O'   ? "aFileOpen"
                        : choice == 'F' ? "aLibAddFolder"
                        : choice == 'C' ? "aLibAddSubFolders"
                        : choice == 'D' ? "aLibFindInet"
                                        : nullptr;
  if (command) Action(command)->trigger();
}

// --- File commands -------------------------------------------------------------------------

void TfmMain::OpenCommand() {
  lib_->CheckNotBusy();
  if (!lib_->QuerySaveChanges()) return;
  TFileDialogRequest request;
  request.title = "Open";
  request.filter = kOpenFilter;
  std::string last = appSettings_.Values().LastOpen;
  if (!openFolder_.empty()) {
    request.initialFolder = openFolder_;
  } else {
    request.fileName = last;  // gone: the dialog starts in its nearest existing folder
  }
  std::optional<TFileDialogAnswer> answer = ui_.ChooseFilesToOpen(request);
  if (!answer || answer->files.empty()) return;
  appSettings_.Values().LastOpen = answer->files[0];
  openFolder_ = std::filesystem::path(answer->files[0]).parent_path().string();
  OpenFileFromCommand(answer->files[0]);
}

void TfmMain::ReopenRecentFile(int slot) {
  TReopenFileHolder& recent = appSettings_.RecentFiles();
  std::string entry = recent.FileOfMenuItem(slot);
  if (entry.empty()) return;
  lib_->CheckNotBusy();
  if (!lib_->QuerySaveChanges()) return;
  OpenFileFromCommand(TReopenFileHolder::PathPart(entry));
  recent.AddFile(entry);
}

void TfmMain::OpenFileFromCommand(const std::string& name) {
  lib_->CheckNotBusy();
  lib_->OpenFile(name);
  host_.RefreshMainCaption();
  UpdateImagePanel();
}

void TfmMain::SaveIconAsCommand() {
  int current = grid_->Current();
  if (current < 0 || current >= lib_->Count()) return;
  const TAdvancedIcon& icon = *lib_->Items().Icons(current);
  if (icon.Images().Count() == 0) return;
  const TSettings& settings = appSettings_.Values();
  const TGridLayout& layout = grid_->GridLayout();
  const TSubIcon* shown = ChooseCellImage(icon, QSize(layout.imageWidth, layout.imageHeight),
                                          settings.grIconBPP, settings.grExactView);
  const std::string& name = lib_->Items().Names(current);
  SaveIconWithDialog(ui_, settings, iconSave_, "Save Icon as", ProposedIconName(iconSave_, name),
                     &icon, shown);
}

void TfmMain::ExportSingleImageCommand() {
  lib_->CheckNotBusy();
  TIniFile& ini = appSettings_.File();
  TExportSingleSettings stored = TExportSingleSettings::Read(ini);
  if (!ExportSingleImage(*lib_, stored, grid_->SizeMode(), appSettings_.Values().grIconBPP,
                         ExportSingleAsker(this, exportSingle_)))
    return;
  stored.Write(ini);
  ini.UpdateFile();
}

void TfmMain::PropertiesCommand() {
  int current = grid_->Current();
  if (current < 0 || current >= lib_->Count()) return;
  std::string name = lib_->Items().Names(current);
  TIconPropsContext context{ui_, appSettings_.Values(), clipboard_, iconSave_};
  if (!ShowIconProperties(context, *lib_->Items().Icons(current), lib_->SourceOf(current),
                          lib_->Items().Source(current).position, name, this) ||
      name == lib_->Items().Names(current))
    return;
  lib_->Items().SetName(current, name);
  lib_->SetModified(true);
  grid_->Repaint();
}

void TfmMain::SaveFrame(const TSubIcon& image) {
  int current = grid_->Current();
  if (current < 0 || current >= lib_->Count()) return;
  const TAdvancedIcon& icon = *lib_->Items().Icons(current);
  int row = 0;
  while (row < icon.Images().Count() && icon.Images()[row] != &image) ++row;
  std::string proposed = ProposedFrameName(iconSave_, lib_->Items().Names(current), row);
  SaveIconWithDialog(ui_, appSettings_.Values(), iconSave_, "Save Frame", proposed, nullptr,
                     &image);
}

void TfmMain::SetHotSpotCommand() {
  lib_->CheckNotBusy();
  int current = grid_->Current();
  if (current < 0 || current >= lib_->Count()) return;
  TAdvancedIcon& icon = *lib_->Items().Icons(current);
  if (icon.Images().Count() == 0) return;
  std::optional<uint32_t> hotSpot = ui_.AskHotSpot(icon.Images()[0]->HotSpot());
  if (!hotSpot || *hotSpot == icon.Images()[0]->HotSpot()) return;
  for (const auto& image : icon.Images()) image->SetHotSpot(*hotSpot);
  lib_->SetModified(true);
  UpdateImagePanel();
}

void TfmMain::SetCustomSizeCommand() {
  const TSettings& settings = appSettings_.Values();
  if (auto size = AskCustomSize(this, settings.grIconSizeW, settings.grIconSizeH))
    grid_->SetCustomSize(size->first, size->second);
}

void TfmMain::LocateCommand(TFindMode mode) {
  lib_->CheckNotBusy();
  if (!findDialog_) {
    findDialog_ = new TFindDialog(this);
    findDialog_->OnFindNext = [this](const TFindOptions& options) {
      Run([&] { lib_->FindNext(options); });
    };
  }
  findDialog_->SetMode(mode);
  findDialog_->show();
  findDialog_->raise();
  findDialog_->activateWindow();
}

void TfmMain::OptionsCommand() {
  TfmConfiguration dialog(this);
  if (!EditOptions(TOptionsPage::Dialogs, appSettings_, dialog, this)) return;
  grid_->Relayout();
  ApplyPicturesToMenus(appSettings_.Values().ShowMMI);
}

void TfmMain::HelpContentsCommand() {
  ShowHelp(this);
}

void TfmMain::AboutCommand() {
  QMessageBox::about(this, QStringLiteral("About ") + kProductName,
                     QStringLiteral("<b>%1</b><br>Version %2 (%3)")
                         .arg(kProductName, QStringLiteral("5.14"), QStringLiteral("2016-Jul-28")));
}

// --- Image panel ---------------------------------------------------------------------------

void TfmMain::UpdateImagePanel() {
  int current = grid_->Current();
  panel_->SetPlaceholderColor(appSettings_.Values().IcoNo);
  panel_->ShowIcon(current >= 0 && current < lib_->Count() ? lib_->Items().Icons(current)
                                                           : nullptr);
}

void TfmMain::ScheduleRefresh() {
  if (refreshPending_) return;
  refreshPending_ = true;
  QTimer::singleShot(0, this, [this] { RefreshViews(); });
}

void TfmMain::RefreshViews() {
  refreshPending_ = false;
  UpdateImagePanel();
  // While a long operation runs the status panels show its progress.
  if (lib_->Busy()) return;
  ui_.SetStatusText(0, grid_->ItemStatusText(grid_->Current()));
  lib_->UpdateStatus();
}

// --- Dropped files -------------------------------------------------------------------------

void TfmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TfmMain::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    std::string path = url.toLocalFile().toStdString();
    if (!path.empty() && path.size() <= kMaxDroppedPathLength) paths.push_back(path);
  }
  if (paths.empty()) return;
  event->acceptProposedAction();
  Run([&] {
    std::vector<std::string> errors;
    ImportDroppedItems(*lib_, paths, errors);
    ShowDropErrors(errors);
  });
}

void TfmMain::ShowDropErrors(const std::vector<std::string>& errors) {
  if (errors.size() == 1)
    ui_.ShowMessage(MakeMessage(TMessageKind::Error, errors.front()));
  else if (errors.size() > 1)
    ui_.ShowErrorList(errors);
}

// --- Closing -------------------------------------------------------------------------------

bool TfmMain::QueryClose() {
  if (lib_->Busy()) lib_->RequestStop();
  // The collection's own question: Cancel, or a save that did not happen, keeps it open.
  if (!lib_->QuerySaveChanges()) return false;
  appSettings_.RecentFiles().AddFile(lib_->FileName);
  return true;
}

void TfmMain::closeEvent(QCloseEvent* event) {
  bool close = false;
  Run([&] { close = QueryClose(); });
  if (!close) {
    event->ignore();
    return;
  }
  Run([this] { appSettings_.SaveSettings(this); });
  event->accept();
}

}  // namespace varnel

#include "app/qtuserinterface.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/askurldialog.h"
#include "app/confirmationdialog.h"
#include "app/errorlistdialog.h"
#include "app/findiconsdialog.h"
#include "app/icofiledialog.h"
#include "app/newimagesizedialog.h"
#include "app/numberpairdialog.h"
#include "app/progresswindow.h"
#include "platform/inifile.h"

namespace varnel {
namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

QMessageBox::Icon BoxIcon(TMessageIcon icon) {
  switch (icon) {
    case TMessageIcon::Warning:
      return QMessageBox::Warning;
    case TMessageIcon::Error:
      return QMessageBox::Critical;
    case TMessageIcon::Information:
      return QMessageBox::Information;
    case TMessageIcon::Question:
      return QMessageBox::Question;
    case TMessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

struct TButtonKind {
  TMessageButton flag;
  QMessageBox::StandardButton button;
  TModalResult result;
};

constexpr TButtonKind kButtons[] = {
    {mbYes, QMessageBox::Yes, TModalResult::mrYes},
    {mbNo, QMessageBox::No, TModalResult::mrNo},
    {mbOK, QMessageBox::Ok, TModalResult::mrOK},
    {mbCancel, QMessageBox::Cancel, TModalResult::mrCancel},
    {mbAbort, QMessageBox::Abort, TModalResult::mrAbort},
    {mbRetry, QMessageBox::Retry, TModalResult::mrRetry},
    {mbIgnore, QMessageBox::Ignore, TModalResult::mrIgnore},
    {mbAll, QMessageBox::YesAll, TModalResult::mrAll},
    {mbNoToAll, QMessageBox::NoToAll, TModalResult::mrNoToAll},
    {mbYesToAll, QMessageBox::YesToAll, TModalResult::mrYesToAll},
};

QString SelectedFilter(const std::string& filter, int index) {
  QStringList filters = QtFileFilters(filter);
  return index >= 1 && index <= filters.size() ? filters[index - 1] : QString();
}

int FilterIndexOf(const std::string& filter, const QString& chosen) {
  return int(QtFileFilters(filter).indexOf(chosen)) + 1;
}

// Whether a Qt name filter ("Description (*.a *.b)") lists the pattern "*.suffix".
bool FilterOffers(const QString& filter, const QString& suffix) {
  return FilterPatterns(filter).contains("*." + suffix, Qt::CaseInsensitive);
}

// The filter a saved file belongs to: a typed extension that another filter of the dialog
// offers wins over the filter chosen (number from 1), so "coll.icl" typed under the collection
// filter is saved as a library.
int FilterOfSavedName(const std::string& filter, const std::string& file, int chosen) {
  QString suffix = QFileInfo(Q(file)).suffix();
  QStringList filters = QtFileFilters(filter);
  if (suffix.isEmpty() ||
      (chosen >= 1 && chosen <= filters.size() && FilterOffers(filters[chosen - 1], suffix)))
    return chosen;
  for (qsizetype i = 0; i < filters.size(); ++i)
    if (FilterOffers(filters[i], suffix)) return int(i) + 1;
  return chosen;
}

QString StartPath(const TFileDialogRequest& request) {
  if (request.fileName.empty()) return Q(request.initialFolder);
  if (request.initialFolder.empty() || request.fileName.find('/') != std::string::npos)
    return Q(request.fileName);
  return Q(request.initialFolder + "/" + request.fileName);
}

// Shows a file dialog with the request's title, filters and start; the chosen files.
std::optional<TFileDialogAnswer> RunFileDialog(TOpenIcoDialog& dialog,
                                               const TFileDialogRequest& request) {
  dialog.setWindowTitle(Q(request.title));
  dialog.setNameFilters(QtFileFilters(request.filter));
  QString selected = SelectedFilter(request.filter, request.filterIndex);
  if (!selected.isEmpty()) dialog.selectNameFilter(selected);
  dialog.StartAt(StartPath(request).toStdString());
  if (!dialog.Execute()) return std::nullopt;
  TFileDialogAnswer answer;
  for (const QString& file : dialog.ChosenFiles()) answer.files.push_back(file.toStdString());
  if (answer.files.empty()) return std::nullopt;
  answer.filterIndex = FilterIndexOf(request.filter, dialog.selectedNameFilter());
  if (dialog.acceptMode() == QFileDialog::AcceptSave)
    answer.filterIndex = FilterOfSavedName(request.filter, answer.files[0], answer.filterIndex);
  return answer;
}

}  // namespace

QStringList QtFileFilters(const std::string& filter) {
  QStringList parts = Q(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    QString name = parts[i];
    // A description that already lists its patterns in brackets keeps them.
    filters << (name.contains('(') ? name.section('(', 0, 0).trimmed() : name) + " (" + patterns +
                   ")";
  }
  return filters;
}

TQtUserInterface::~TQtUserInterface() {
  delete progress_;
}

void TQtUserInterface::SetStatusText(int panel, const std::string& text) {
  if (OnStatusText) OnStatusText(panel, text);
}

void TQtUserInterface::SetMainCaption(const std::string& caption) {
  if (OnMainCaption) OnMainCaption(caption);
}

void TQtUserInterface::SetBusy(bool busy) {
  if (OnBusy) OnBusy(busy);
}

void TQtUserInterface::SetWaitCursor(bool waiting) {
  if (waiting) {
    if (waitDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (waitDepth_ > 0 && --waitDepth_ == 0) {
    QApplication::restoreOverrideCursor();
  }
}

void TQtUserInterface::ResetWaitCursor() {
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  waitDepth_ = 0;
}

void TQtUserInterface::ProcessMessages() {
  if (lastEvents_.isValid() && lastEvents_.elapsed() < kEventsIntervalMs) return;
  QApplication::processEvents();
  lastEvents_.start();
}

TModalResult TQtUserInterface::ShowMessage(const TMessageRequest& request) {
  QMessageBox box(BoxIcon(request.icon), Q(request.caption), Q(request.text), QMessageBox::NoButton,
                  window_);
  for (const TButtonKind& kind : kButtons)
    if (request.buttons & kind.flag) box.addButton(kind.button);
  if (!(request.buttons & ~0u)) box.addButton(QMessageBox::Ok);
  auto clicked = QMessageBox::StandardButton(box.exec());
  for (const TButtonKind& kind : kButtons)
    if (kind.button == clicked) return kind.result;
  return TModalResult::mrCancel;
}

TConfirmAnswer TQtUserInterface::AskConfirmation(const TConfirmRequest& request) {
  TConfirmationDialog dialog(request, window_);
  dialog.exec();
  return dialog.Answer();
}

std::optional<std::string> TQtUserInterface::AskText(const TTextRequest& request) {
  bool ok = false;
  QString text = QInputDialog::getText(window_, Q(request.caption), Q(request.prompt),
                                       QLineEdit::Normal, Q(request.text), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

void TQtUserInterface::ShowErrorList(const std::vector<std::string>& lines) {
  TErrorListDialog dialog(lines, window_);
  dialog.exec();
}

std::optional<TFileDialogAnswer> TQtUserInterface::ChooseFilesToOpen(
    const TFileDialogRequest& request) {
  TOpenIcoDialog dialog(window_);
  dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  return RunFileDialog(dialog, request);
}

std::optional<TFileDialogAnswer> TQtUserInterface::ChooseFileToSave(
    const TFileDialogRequest& request) {
  TSaveIcoDialog dialog(window_);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(Q(request.defaultExtension));
  return RunFileDialog(dialog, request);
}

std::optional<std::string> TQtUserInterface::ChooseFolder(const TFolderRequest& request) {
  QString folder =
      QFileDialog::getExistingDirectory(window_, Q(request.text), Q(request.startFolder));
  if (folder.isEmpty()) return std::nullopt;
  return folder.toStdString();
}

std::optional<TNewImageSizeAnswer> TQtUserInterface::AskNewImageSize(
    const TNewImageSizeRequest& request) {
  // The progress window goes before the question.
  CloseProgress();
  TNewImageResizeSettings settings =
      ini_ ? TNewImageResizeSettings::Read(*ini_) : TNewImageResizeSettings();
  TNewImageSizeDialog dialog(request, settings, window_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  TNewImageSizeAnswer answer = dialog.Answer();
  if (ini_) settings.Write(*ini_);
  return answer;
}

TOverwriteAnswer TQtUserInterface::AskOverwrite(const TOverwriteRequest& request) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Overwrite files"),
                  Q("Existing file: " + request.existingFile + "\nSource: " + request.sourceName),
                  QMessageBox::NoButton, window_);
  struct Choice {
    const char* text;
    TOverwriteAnswer answer;
  };
  const Choice choices[] = {{"&Overwrite", TOverwriteAnswer::Overwrite},
                            {"Overwrite &all", TOverwriteAnswer::OverwriteAll},
                            {"&Skip", TOverwriteAnswer::Skip},
                            {"S&kip all", TOverwriteAnswer::SkipAll},
                            {"&Rename auto", TOverwriteAnswer::RenameAuto},
                            {"&Cancel", TOverwriteAnswer::Cancel}};
  std::vector<std::pair<QAbstractButton*, TOverwriteAnswer>> buttons;
  for (const Choice& choice : choices)
    buttons.emplace_back(box.addButton(choice.text, QMessageBox::AcceptRole), choice.answer);
  box.exec();
  for (auto [button, answer] : buttons)
    if (box.clickedButton() == button) return answer;
  return TOverwriteAnswer::Cancel;
}

std::optional<uint32_t> TQtUserInterface::AskHotSpot(uint32_t hotSpot) {
  TNumberPairDialog dialog({"Set Cursor Hot Spot", "Hot Spot", "&Horizontal (X)", "&Vertical (Y)",
                            0, 255, int(hotSpot & 0xFFFF), int(hotSpot >> 16)},
                           window_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  auto [x, y] = dialog.Values();
  return uint32_t(x) | (uint32_t(y) << 16);
}

std::optional<TFindIconsChoice> TQtUserInterface::AskFindIcons(const TFindIconsRequest& request) {
  TFindIconsDialog dialog(request, *this, window_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

std::optional<TDiskSearchChoice> TQtUserInterface::AskDiskSearch(const TDiskSearchChoice& initial) {
  TDiskSearchDialog dialog(initial, window_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

std::optional<TInternetAddressChoice> TQtUserInterface::AskInternetAddress(
    const TInternetAddressRequest& request) {
  TfmAskUrl dialog(request, *this, window_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

void TQtUserInterface::ShowProgress() {
  if (!progress_) progress_ = new TfmProgress(window_);
  progress_->Reset();
  progress_->ShowCentred();
}

void TQtUserInterface::CloseProgress() {
  if (progress_) progress_->deleteLater();
  progress_ = nullptr;
}

bool TQtUserInterface::ProgressShown() const {
  return progress_ && progress_->isVisible();
}

void TQtUserInterface::SetProgressCaption(const std::string& caption) {
  if (progress_) progress_->setWindowTitle(Q(caption));
}

void TQtUserInterface::SetProgressField(TProgressField field, const std::string& text) {
  if (progress_) progress_->SetField(field, Q(text));
}

void TQtUserInterface::SetProgressLabel(TProgressField field, const std::string& text) {
  if (progress_) progress_->SetLabel(field, Q(text));
}

void TQtUserInterface::SetProgressSkipVisible(bool visible) {
  if (progress_) progress_->SetSkipVisible(visible);
}

TProgressFlags& TQtUserInterface::ProgressFlags() {
  return progress_ ? progress_->Flags() : idleFlags_;
}

}  // namespace varnel

#include "app/icofiledialog.h"

#include <QGridLayout>
#include <filesystem>

#include "app/icodrawgrid.h"
#include "app/icopreviewpanel.h"
#include "app/qtuserinterface.h"
#include "platform/inifile.h"

namespace varnel {

TOpenIcoDialog::TOpenIcoDialog(QWidget* parent, AcceptMode mode) : QFileDialog(parent) {
  setOption(QFileDialog::DontUseNativeDialog, true);
  setOption(QFileDialog::ReadOnly, false);
  setAcceptMode(mode);
  setSizeGripEnabled(true);
  setNameFilters(QtFileFilters(kOpenIcoFilter));
  panel_ = new TIcoPreviewPanel(this);
  if (auto* grid = qobject_cast<QGridLayout*>(layout()))
    grid->addWidget(panel_, 0, grid->columnCount(), grid->rowCount(), 1);
  else
    layout()->addWidget(panel_);
  connect(this, &QFileDialog::currentChanged, panel_, [this](const QString& path) {
    panel_->ShowFile(QFileInfo(path).isFile() ? path : QString());
  });
}

bool TOpenIcoDialog::Execute() {
  // A file preset before the dialog shows is previewed at once.
  QStringList preset = selectedFiles();
  if (preset.size() == 1 && QFileInfo(preset[0]).isFile()) panel_->ShowFile(preset[0]);
  bool confirmed = RunModal() == QDialog::Accepted;
  chosenFiles_ = confirmed ? selectedFiles() : QStringList();
  selectedIndex_ = panel_->GridShown() ? panel_->SelectedIndex() : 0;
  panel_->ShowFile(QString());
  panel_->ClearPickIndex();
  setDirectory(QString());
  return confirmed;
}

bool TOpenIcoDialog::ExecuteWithIcon(int index) {
  panel_->SetPickIndex(index);
  return Execute();
}

void TOpenIcoDialog::LoadStartFile(const TIniFile& ini, const std::string& section,
                                   const std::string& key) {
  StartAt(ini.ReadString(section, key, ""));
}

void TOpenIcoDialog::StartAt(const std::string& name) {
  if (name.empty()) return;
  std::filesystem::path path = name;
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error))
    return selectFile(QString::fromStdString(name));
  std::filesystem::path folder = path;
  while (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
    if (folder == folder.parent_path()) return;
    folder = folder.parent_path();
  }
  // A bare name ("Icon 1") has no folder of its own: the dialog stays where it is. A lone
  // extension (".icc", what an unnamed collection becomes) is no name to propose.
  if (!folder.empty()) setDirectory(QString::fromStdString(folder.string()));
  std::string fileName = path.filename().string();
  if (acceptMode() == AcceptSave && folder != path && !fileName.starts_with('.'))
    selectFile(QString::fromStdString(fileName));
}

void TOpenIcoDialog::SetDefaultDrawing(bool plain) {
  panel_->SetDefaultDrawing(plain);
}

QStringList FilterPatterns(const QString& filter) {
  return filter.section('(', -1).section(')', 0, 0).split(' ', Qt::SkipEmptyParts);
}

QString FilterSuffix(const QString& filter) {
  QStringList patterns = FilterPatterns(filter);
  QString first = patterns.isEmpty() ? QString() : patterns.front();
  QString suffix = first.startsWith("*.") ? first.mid(2) : QString();
  return suffix.contains('*') ? QString() : suffix;
}

void TSaveIcoDialog::accept() {
  setDefaultSuffix(FilterSuffix(selectedNameFilter()));
  TOpenIcoDialog::accept();
}

}  // namespace varnel

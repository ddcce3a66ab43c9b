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
  bool confirmed = exec() == QDialog::Accepted;
  selectedIndex_ = panel_->GridShown() ? panel_->SelectedIndex() : 0;
  panel_->ShowFile(QString());
  setDirectory(QString());
  return confirmed;
}

bool TOpenIcoDialog::ExecuteWithIcon(int index) {
  panel_->SetPickIndex(index);
  return Execute();
}

void TOpenIcoDialog::LoadStartFile(const TIniFile& ini, const std::string& section,
                                   const std::string& key) {
  std::filesystem::path name = ini.ReadString(section, key, "");
  std::error_code error;
  if (!name.empty() && std::filesystem::is_regular_file(name, error)) {
    selectFile(QString::fromStdString(name.string()));
    return;
  }
  while (!name.empty() && name != name.root_path() && !std::filesystem::is_directory(name, error))
    name = name.parent_path();
  if (!name.empty()) setDirectory(QString::fromStdString(name.string()));
}

void TOpenIcoDialog::SetDefaultDrawing(bool plain) {
  panel_->SetDefaultDrawing(plain);
}

}  // namespace varnel

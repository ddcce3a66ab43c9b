#include "app/optionsdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/colorselectiondialog.h"
#include "app/edittypesdialog.h"
#include "app/qtbitmap.h"

namespace varnel {
namespace {

namespace texts = options_texts;

QString Q(const char* text) {
  return QString::fromUtf8(text);
}

void PaintColorButton(QPushButton* button, TColor color) {
  button->setStyleSheet(
      QStringLiteral("background-color: %1;").arg(ToQColor(color & 0xFFFFFF).name()));
}

}  // namespace

TfmConfiguration::TfmConfiguration(QWidget* parent)
    : QDialog(parent),
      pages_(new QTabWidget(this)),
      confirmDelete_(new QCheckBox(Q(texts::kConfirmDIFL), this)),
      confirmUpdate_(new QCheckBox(Q(texts::kConfirmUPF), this)),
      limit_(new QSpinBox(this)),
      back1_(new QPushButton(this)),
      back4_(new QPushButton(this)),
      back8_(new QPushButton(this)),
      mask_(new QLineEdit(this)),
      excludeDuplicates_(new QCheckBox(Q(texts::kExcludeDups), this)),
      archiveSize_(new QLineEdit(this)),
      showImages_(new QCheckBox(Q(texts::kShowMMI), this)),
      saveWindow_(new QCheckBox(Q(texts::kSaveWinSize), this)) {
  setWindowTitle(TConfigurationModel::kCaption);
  pages_->addTab(DialogsPage(), Q(TConfigurationModel::kPageCaptions[0]));
  pages_->addTab(ExportPage(), Q(TConfigurationModel::kPageCaptions[1]));
  pages_->addTab(ImportPage(), Q(TConfigurationModel::kPageCaptions[2]));
  pages_->addTab(TuningPage(), Q(TConfigurationModel::kPageCaptions[3]));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* defaults = buttons->addButton(Q(texts::kDefaultButton), QDialogButtonBox::ResetRole);
  connect(defaults, &QPushButton::clicked, this, [this] {
    if (!model_) return;
    Take(*model_);
    model_->ApplyDefaults();
    Show(*model_);
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addWidget(buttons);
}

QWidget* TfmConfiguration::DialogsPage() {
  auto* page = new QWidget(this);
  auto* group = new QGroupBox(Q(texts::kMessagesGroup), page);
  auto* checks = new QVBoxLayout(group);
  checks->addWidget(confirmDelete_);
  checks->addWidget(confirmUpdate_);
  (new QVBoxLayout(page))->addWidget(group);
  return page;
}

QWidget* TfmConfiguration::ExportPage() {
  auto* page = new QWidget(this);
  limit_->setRange(TConfigurationModel::kLimitMinimum, TConfigurationModel::kLimitMaximum);
  limit_->setSingleStep(TConfigurationModel::kLimitStep);
  auto* group = new QGroupBox(Q(texts::kBackgroundGroup), page);
  auto* colors = new QFormLayout(group);
  colors->addRow(new QLabel(Q(texts::kColorFormats), group));
  colors->addRow(Q(texts::kBack1bpp), back1_);
  colors->addRow(Q(texts::kBack4bpp), back4_);
  colors->addRow(Q(texts::kBack8bpp), back8_);
  connect(back1_, &QPushButton::clicked, this, [this] { PickColor(1); });
  connect(back4_, &QPushButton::clicked, this, [this] { PickColor(4); });
  connect(back8_, &QPushButton::clicked, this, [this] { PickColor(8); });
  auto* layout = new QFormLayout(page);
  layout->addRow(Q(texts::kICLExportLimit), limit_);
  layout->addRow(group);
  return page;
}

QWidget* TfmConfiguration::ImportPage() {
  auto* page = new QWidget(this);
  archiveSize_->setMaxLength(int(TConfigurationModel::kArchiveSizeMaxLength));
  auto* layout = new QFormLayout(page);
  auto* maskLabel = new QLabel(Q(texts::kIconMask), page);
  maskLabel->setBuddy(mask_);
  auto* editTypes = new QToolButton(page);
  editTypes->setText("...");
  editTypes->setToolTip(Q(texts::kEditFileTypesHint));
  connect(editTypes, &QToolButton::clicked, this, [this] {
    std::string mask = mask_->text().toStdString();
    if (EditFileTypes(this, mask, ';', kDefaultIconMask))
      mask_->setText(QString::fromStdString(mask));
  });
  auto* maskRow = new QHBoxLayout;
  maskRow->addWidget(mask_);
  maskRow->addWidget(editTypes);
  layout->addRow(maskLabel);
  layout->addRow(maskRow);
  layout->addRow(excludeDuplicates_);
  layout->addRow(Q(texts::kMaxArchiveSize), archiveSize_);
  return page;
}

QWidget* TfmConfiguration::TuningPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(showImages_);
  layout->addWidget(saveWindow_);
  layout->addStretch();
  return page;
}

void TfmConfiguration::PickColor(int bits) {
  if (!model_) return;
  if (bits == 1) {
    QMenu menu(this);
    QAction* black = menu.addAction(Q(texts::kBlack));
    QAction* white = menu.addAction(Q(texts::kWhite));
    black->setCheckable(true);
    white->setCheckable(true);
    (model_->MonochromeIsBlack() ? black : white)->setChecked(true);
    QAction* chosen = menu.exec(back1_->mapToGlobal(QPoint(0, back1_->height())));
    if (chosen) model_->ChooseMonochrome(chosen == black);
  } else {
    if (!colors_) colors_ = new TfmColorSelection(this);
    if (bits == 4)
      model_->PickBack4bpp(*colors_);
    else
      model_->PickBack8bpp(*colors_);
  }
  ShowColors();
}

void TfmConfiguration::ShowColors() {
  PaintColorButton(back1_, model_->Back1bpp);
  PaintColorButton(back4_, model_->Back4bpp);
  PaintColorButton(back8_, model_->Back8bpp);
}

void TfmConfiguration::Show(const TConfigurationModel& model) {
  confirmDelete_->setChecked(model.ConfirmDIFL);
  confirmUpdate_->setChecked(model.ConfirmUPF);
  limit_->setValue(model.ICLExportLimit);
  mask_->setText(QString::fromStdString(model.IconMask));
  excludeDuplicates_->setChecked(model.ExcludeDups);
  archiveSize_->setText(QString::fromStdString(model.MaxArchiveSizeText));
  showImages_->setChecked(model.ShowMMI);
  saveWindow_->setChecked(model.SaveWinSize);
  if (model_) ShowColors();
}

void TfmConfiguration::Take(TConfigurationModel& model) const {
  model.ConfirmDIFL = confirmDelete_->isChecked();
  model.ConfirmUPF = confirmUpdate_->isChecked();
  model.SetICLExportLimit(limit_->value());
  model.IconMask = mask_->text().toStdString();
  model.ExcludeDups = excludeDuplicates_->isChecked();
  model.SetMaxArchiveSizeText(archiveSize_->text().toStdString());
  model.ShowMMI = showImages_->isChecked();
  model.SaveWinSize = saveWindow_->isChecked();
}

bool TfmConfiguration::Execute(TConfigurationModel& model, TOptionsPage page) {
  model_ = &model;
  Show(model);
  pages_->setCurrentIndex(int(page));
  bool confirmed = exec() == QDialog::Accepted;
  if (confirmed) Take(model);
  model_ = nullptr;
  return confirmed;
}

}  // namespace varnel

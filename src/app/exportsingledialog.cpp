#include "app/exportsingledialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/qtbitmap.h"

namespace varnel {

namespace {

struct FormatButton {
  const char* caption;
  int bpp;
};
constexpr FormatButton kFormatButtons[] = {{"Monochrome", 1},
                                           {"16 colors", 4},
                                           {"256 colors or 24-bit True Color", 24},
                                           {"32-bit True Color", 32}};

}  // namespace

TfmExportSingle::TfmExportSingle(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Export Single Image"));
  auto* numbers = new QHBoxLayout;
  numbers->addWidget(NumberGroup("&Margins", {{"ML", "Left", 0, 100},
                                              {"MT", "Top", 0, 100},
                                              {"MR", "Right", 0, 100},
                                              {"MB", "Bottom", 0, 100}}));
  numbers->addWidget(
      NumberGroup("&Gaps", {{"GH", "Horizontal", 0, 50}, {"GV", "Vertical", 0, 50}}));
  numbers->addWidget(NumberGroup("&Cells", {{"CW", "Width", 1, 256},
                                            {"CH", "Height", 1, 256},
                                            {"CC", "Columns", 1, 300},
                                            {"CR", "Rows", 1, 300}}));
  spins_.at("CR")->setToolTip(QStringLiteral("Allowed amount of rows in one image"));

  auto* colorButton = new QPushButton(QStringLiteral("&Background color"), this);
  swatch_ = new QPushButton(this);
  swatch_->setToolTip(QStringLiteral("Transparent color"));
  swatch_->setFixedWidth(40);
  stretch_ = new QCheckBox(QStringLiteral("&Stretch to fit"), this);
  backup_ = new QCheckBox(QStringLiteral("Create backups"), this);
  backup_->setToolTip(QStringLiteral("Create backups for existing files"));
  auto* colors = new QHBoxLayout;
  colors->addWidget(colorButton);
  colors->addWidget(swatch_);
  colors->addStretch(1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* defaults =
      buttons->addButton(QStringLiteral("Default"), QDialogButtonBox::ResetRole);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(numbers);
  layout->addLayout(colors);
  layout->addWidget(stretch_);
  layout->addWidget(backup_);
  layout->addWidget(FormatButtons());
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(defaults, &QPushButton::clicked, this, [this] { ResetToDefaults(); });
  connect(colorButton, &QPushButton::clicked, this, [this] { ChooseBackground(); });
  connect(swatch_, &QPushButton::clicked, this, [this] { ChooseBackground(); });
  ResetToDefaults();
}

QWidget* TfmExportSingle::NumberGroup(
    const QString& title,
    std::initializer_list<std::tuple<const char*, const char*, int, int>> rows) {
  auto* group = new QGroupBox(title, this);
  auto* form = new QFormLayout(group);
  for (auto [key, caption, low, high] : rows) {
    auto* spin = new QSpinBox(group);
    spin->setRange(low, high);
    spin->setObjectName(key);
    spins_[key] = spin;
    form->addRow(QString::fromUtf8(caption), spin);
  }
  return group;
}

QWidget* TfmExportSingle::FormatButtons() {
  auto* group = new QGroupBox(QStringLiteral("Item color format"), this);
  auto* row = new QVBoxLayout(group);
  formats_ = new QButtonGroup(this);
  for (const FormatButton& format : kFormatButtons) {
    auto* button = new QRadioButton(QString::fromUtf8(format.caption), group);
    formats_->addButton(button, format.bpp);
    row->addWidget(button);
  }
  return group;
}

void TfmExportSingle::SetChoice(const TExportSingleChoice& choice) {
  const TExportSingleSettings& s = choice.settings;
  for (auto [key, value] : {std::pair{"ML", s.ML},
                            {"MT", s.MT},
                            {"MR", s.MR},
                            {"MB", s.MB},
                            {"GH", s.GH},
                            {"GV", s.GV},
                            {"CW", s.CW},
                            {"CH", s.CH},
                            {"CC", s.CC},
                            {"CR", s.CR}})
    spins_.at(key)->setValue(value);
  stretch_->setChecked(s.StretchToFit);
  backup_->setChecked(s.Backup);
  background_ = s.bkColor;
  folder_ = s.Dir;
  int bpp =
      choice.itemBpp == 1 || choice.itemBpp == 4 || choice.itemBpp == 32 ? choice.itemBpp : 24;
  formats_->button(bpp)->setChecked(true);
  PaintSwatch();
}

TExportSingleChoice TfmExportSingle::Choice() const {
  TExportSingleChoice choice;
  TExportSingleSettings& s = choice.settings;
  auto value = [this](const char* key) { return spins_.at(key)->value(); };
  s.ML = value("ML"), s.MT = value("MT"), s.MR = value("MR"), s.MB = value("MB");
  s.GH = value("GH"), s.GV = value("GV");
  s.CW = value("CW"), s.CH = value("CH"), s.CC = value("CC"), s.CR = value("CR");
  s.StretchToFit = stretch_->isChecked();
  s.Backup = backup_->isChecked();
  s.bkColor = background_;
  s.Dir = folder_;
  choice.itemBpp = formats_->checkedId();
  return choice;
}

void TfmExportSingle::ResetToDefaults() {
  TExportSingleChoice defaults;
  defaults.settings.Dir = folder_;
  SetChoice(defaults);
}

void TfmExportSingle::ChooseBackground() {
  QColor color = QColorDialog::getColor(ToQColor(background_), this);
  if (!color.isValid()) return;
  background_ = FromQColor(color);
  PaintSwatch();
}

void TfmExportSingle::PaintSwatch() {
  swatch_->setStyleSheet(QStringLiteral("background-color: %1").arg(ToQColor(background_).name()));
}

TAskExportSingle ExportSingleAsker(QWidget* parent, TfmExportSingle*& dialog) {
  return
      [parent, &dialog](const TExportSingleChoice& initial) -> std::optional<TExportSingleChoice> {
        if (!dialog) dialog = new TfmExportSingle(parent);
        dialog->SetChoice(initial);
        if (dialog->exec() != QDialog::Accepted) return std::nullopt;
        return dialog->Choice();
      };
}

}  // namespace varnel

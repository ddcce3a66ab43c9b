#include "app/iconpropertiesdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/imagepanel.h"
#include "app/qtbitmap.h"
#include "appcore/settings.h"
#include "collection/iconpictures.h"
#include "collection/iconsavefile.h"
#include "collection/imageitemclipboard.h"
#include "icons/advancedicon.h"

namespace varnel {

namespace {

constexpr int kPreviewSize = 130;

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

QLabel* NamedLabel(const std::string& text, const char* objectName, QWidget* parent) {
  auto* label = new QLabel(Q(text), parent);
  label->setObjectName(objectName);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

TfmIconProps::TfmIconProps(const TIconPropsContext& context, const TAdvancedIcon& icon,
                           const TIconProperties& properties, QWidget* parent)
    : QDialog(parent), context_(context), icon_(icon) {
  setWindowTitle(QStringLiteral("Icon Properties"));
  auto* copy = new QPushButton(QStringLiteral("Copy image"), this);
  copy->setToolTip(QStringLiteral("Copy image to the clipboard"));
  auto* save = new QPushButton(QStringLiteral("Save image to file"), this);
  save->setToolTip(QStringLiteral("Save image to file"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->addButton(copy, QDialogButtonBox::ActionRole);
  buttons->addButton(save, QDialogButtonBox::ActionRole);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(IconGroup(properties));
  layout->addWidget(SourceGroup(properties));
  layout->addWidget(ImageGroup(properties));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(copy, &QPushButton::clicked, this, [this] { CopyImage(); });
  connect(save, &QPushButton::clicked, this, [this] { SaveImage(); });
  ChooseImage(icon.Images().Count() ? 0 : -1);
}

QWidget* TfmIconProps::IconGroup(const TIconProperties& p) {
  auto* group = new QGroupBox(QStringLiteral("Icon"), this);
  auto* form = new QFormLayout(group);
  name_ = new QLineEdit(Q(p.name), group);
  form->addRow(QStringLiteral("Name"), name_);
  form->addRow(QStringLiteral("Format"), NamedLabel(p.format, "format", group));
  form->addRow(QStringLiteral("File size"), NamedLabel(p.fileSize, "iconFileSize", group));
  return group;
}

QWidget* TfmIconProps::SourceGroup(const TIconProperties& p) {
  auto* group = new QGroupBox(QStringLiteral("Source file"), this);
  auto* form = new QFormLayout(group);
  auto* source = new QLineEdit(Q(p.sourceName), group);
  source->setReadOnly(true);
  form->addRow(QStringLiteral("Name"), source);
  QLabel* index = NamedLabel(p.iconIndex, "iconIndex", group);
  index->setToolTip(QStringLiteral("Icon index starts from 0"));
  form->addRow(QStringLiteral("Icon index"), index);
  form->addRow(QStringLiteral("Total icons"), NamedLabel(p.totalIcons, "totalIcons", group));
  form->addRow(QStringLiteral("File size"), NamedLabel(p.sourceFileSize, "sourceFileSize", group));
  return group;
}

QWidget* TfmIconProps::ImageGroup(const TIconProperties& p) {
  auto* box = new QWidget(this);
  images_ = new QComboBox(box);
  for (const std::string& description : p.imageDescriptions) images_->addItem(Q(description));
  imageLabel_ = new QLabel(box);
  hotSpot_ = NamedLabel("", "hotSpot", box);
  hotSpot_->setVisible(icon_.HasHotSpot());
  preview_ = new QLabel(box);
  preview_->setFixedSize(kPreviewSize, kPreviewSize);
  preview_->setAlignment(Qt::AlignCenter);
  auto* column = new QVBoxLayout;
  column->addWidget(images_);
  column->addWidget(imageLabel_);
  column->addWidget(hotSpot_);
  column->addStretch(1);
  auto* row = new QHBoxLayout(box);
  row->addLayout(column, 1);
  row->addWidget(preview_);
  connect(images_, &QComboBox::currentIndexChanged, this, [this](int i) { ChooseImage(i); });
  return box;
}

std::string TfmIconProps::Name() const {
  return name_->text().toStdString();
}

QLabel* TfmIconProps::Field(const QString& objectName) const {
  return findChild<QLabel*>(objectName);
}

void TfmIconProps::ChooseImage(int index) {
  int count = icon_.Images().Count();
  if (index >= 0 && index < count && images_->currentIndex() != index)
    images_->setCurrentIndex(index);
  imageLabel_->setText(Q(ImageChooserLabel(index, count)));
  hotSpot_->setText(index >= 0 && index < count ? QStringLiteral("Hot spot: ") +
                                                      HotSpotText(icon_.Images()[index]->HotSpot())
                                                : QString());
  preview_->clear();
  if (index < 0 || index >= count || !icon_.Images()[index]->IsDrawable()) return;
  TColor panel = FromQColor(palette().color(QPalette::Window));
  QImage picture = ToQImage(ImageOnBackground(*icon_.Images()[index], panel), false);
  int room = kPreviewSize - 4;
  preview_->setPixmap(QPixmap::fromImage(
      picture.copy(0, 0, std::min(picture.width(), room), std::min(picture.height(), room))));
}

void TfmIconProps::CopyImage() {
  int index = images_->currentIndex();
  if (index < 0 || index >= icon_.Images().Count()) return;
  const TSubIcon& image = *icon_.Images()[index];
  CopyImageAsCollectionItem(image, name_->text().trimmed().toStdString(),
                            BackgroundForDepth(context_.settings, image.BitsPerPixel()),
                            context_.clipboard);
}

void TfmIconProps::SaveImage() {
  int index = images_->currentIndex();
  if (index < 0 || index >= icon_.Images().Count()) return;
  std::string name = name_->text().trimmed().toStdString();
  SaveIconWithDialog(context_.ui, context_.settings, context_.saveDialog, "Save image",
                     ProposedIconName(context_.saveDialog, name), nullptr, icon_.Images()[index]);
}

bool ShowIconProperties(const TIconPropsContext& context, const TAdvancedIcon& icon,
                        const std::string& sourceFile, int sourceIndex, std::string& name,
                        QWidget* parent) {
  TfmIconProps dialog(context, icon, TIconProperties::Of(icon, name, sourceFile, sourceIndex),
                      parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  name = dialog.Name();
  return true;
}

}  // namespace varnel

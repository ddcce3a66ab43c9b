#include "app/similarcommands.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>
#include <optional>

#include "collection/similarcommands.h"

namespace varnel {

namespace {

// The slider's largest distance: beyond it unrelated icons look alike.
constexpr int kLargestThreshold = 3000;

int& ChosenThreshold() {
  static int threshold = kDefaultSimilarThreshold;
  return threshold;
}

QString ThresholdText(int threshold) {
  return QStringLiteral("Largest distance: %1 (default %2)")
      .arg(threshold)
      .arg(kDefaultSimilarThreshold);
}

std::optional<int> AskThreshold(QWidget* parent, const QString& title) {
  QDialog dialog(parent);
  dialog.setWindowTitle(title);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(QStringLiteral("How close must icons be?"), &dialog));
  auto* slider = new QSlider(Qt::Horizontal, &dialog);
  slider->setRange(0, kLargestThreshold);
  slider->setSingleStep(50);
  slider->setPageStep(250);
  slider->setValue(ChosenThreshold());
  auto* value = new QLabel(ThresholdText(slider->value()), &dialog);
  QObject::connect(slider, &QSlider::valueChanged,
                   [value](int threshold) { value->setText(ThresholdText(threshold)); });
  layout->addWidget(slider);
  layout->addWidget(value);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return ChosenThreshold() = slider->value();
}

}  // namespace

void RunFindSimilarIcons(TfmLib& lib, QWidget* parent) {
  if (auto threshold = AskThreshold(parent, QStringLiteral("Find Similar Icons")))
    FindSimilarIcons(lib, *threshold);
}

void RunMergeSimilarSizes(TfmLib& lib, QWidget* parent) {
  if (auto threshold = AskThreshold(parent, QStringLiteral("Merge Similar Sizes")))
    MergeSimilarSizes(lib, *threshold);
}

}  // namespace varnel

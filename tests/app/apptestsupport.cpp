#include "apptestsupport.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "app/errorlistdialog.h"
#include "app/mainwindow.h"
#include "icons/advancedicon.h"

namespace varnel::test {

std::vector<std::string>& UnansweredModals() {
  static std::vector<std::string> texts;
  return texts;
}

QString ModalText(QWidget* modal) {
  if (auto* box = qobject_cast<QMessageBox*>(modal)) return box->text();
  if (auto* errors = qobject_cast<TErrorListDialog*>(modal)) return errors->Text();
  return modal->windowTitle();
}

namespace {

QTimer*& ModalWatchdog() {
  static QTimer* watchdog = nullptr;
  return watchdog;
}

}  // namespace

ModalWatchdogPause::ModalWatchdogPause() {
  TestApplication();
  ModalWatchdog()->stop();
}

ModalWatchdogPause::~ModalWatchdogPause() {
  ModalWatchdog()->start();
}

QApplication& TestApplication() {
  static QApplication* application = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    auto* created = new QApplication(argc, argv);
    // A modal window no test answers would wait for ever: it is closed, and its text kept.
    auto* watchdog = new QTimer(created);
    QObject::connect(watchdog, &QTimer::timeout, [] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      UnansweredModals().push_back(ModalText(modal).toStdString());
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
    watchdog->start(200);
    ModalWatchdog() = watchdog;
    return created;
  }();
  return *application;
}

std::unique_ptr<TfmMain> StartedMainWindow(const std::string& settingsFile) {
  TestApplication();
  auto window = std::make_unique<TfmMain>(settingsFile);
  window->AskWelcome = [] { return std::pair<char, bool>{0, false}; };
  window->Start({});
  return window;
}

std::pair<bool, QString> CloseAnsweringCancel(QWidget& window) {
  QString question;
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      question = box->text();
      box->button(QMessageBox::Cancel)->click();
    }
  });
  bool closed = window.close();
  return {closed, question};
}

std::unique_ptr<TAdvancedIcon> SolidIcon(int width, int height, int bits, TColor color) {
  TBitmap bitmap(width, height, bits == 32 ? PixelFormat::Bits32 : PixelFormat::Bits24);
  bitmap.Fill(color);
  if (bits == 32)
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) bitmap.ScanLine(y)[x * 4 + 3] = 0xFF;
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->Images().AddFromBitmap(bitmap, nullptr, 0);
  return icon;
}

std::unique_ptr<TAdvancedIcon> CopyIcon(const TAdvancedIcon& icon) {
  auto copy = std::make_unique<TAdvancedIcon>();
  copy->Assign(icon);
  return copy;
}

GridHarness::GridHarness() {
  TestApplication();
  settings.grCaption = false;
  settings.grFormats = false;
  grid = std::make_unique<TLocalGrid>();
  lib = std::make_unique<TfmLib>(host, settings, clipboard, *grid);
  grid->Attach(lib.get());
}

GridHarness::~GridHarness() {
  grid->Attach(nullptr);
  lib.reset();
}

void GridHarness::AddItems(int count) {
  std::unique_ptr<TAdvancedIcon> prototype = SolidIcon(16, 16, 24, RGB(0x20, 0x60, 0xA0));
  int first = lib->Count();
  for (int i = 0; i < count; ++i)
    lib->AppendItem("Icon " + std::to_string(first + i), CopyIcon(*prototype));
  grid->Relayout();
}

void GridHarness::ShowWithColumns(int columns, int height) {
  grid->resize(400, height);
  grid->show();
  grid->Relayout();
  int columnWidth = grid->GridLayout().columnWidth;
  int scrollBar = grid->verticalScrollBar()->sizeHint().width();
  grid->resize(columns * columnWidth + scrollBar + 4 + columnWidth / 2, height);
  grid->Relayout();
  (void)QTest::qWaitForWindowExposed(grid.get());
}

QPoint GridHarness::ImageCentre(int item) const {
  const TGridLayout& layout = grid->GridLayout();
  return grid->CellRect(item).topLeft() +
         QPoint(layout.imageLeft + layout.imageWidth / 2, layout.imageTop + layout.imageHeight / 2);
}

std::vector<int> GridHarness::Selected() const {
  std::vector<int> selected;
  for (int i = 0; i < lib->Count(); ++i)
    if (lib->IsSelected(i)) selected.push_back(i);
  return selected;
}

std::vector<std::string> GridHarness::Names() const {
  std::vector<std::string> names;
  for (int i = 0; i < lib->Count(); ++i) names.push_back(lib->Items().Names(i));
  return names;
}

}  // namespace varnel::test

// The main window's commands driven as a user drives them: every dialog runs its own modal loop
// and is filled in and confirmed through its controls, and the test looks at what reached the
// collection, the settings and the disk afterwards.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <functional>

#include "app/customiconsdialog.h"
#include "app/edittypesdialog.h"
#include "app/exportsingledialog.h"
#include "app/findiconsdialog.h"
#include "app/helpwindow.h"
#include "app/iconpropertiesdialog.h"
#include "app/imagepanel.h"
#include "app/mainwindow.h"
#include "app/optionsdialog.h"
#include "app/statuspanel.h"
#include "apptestsupport.h"
#include "icons/advancedicon.h"
#include "platform/inifile.h"
#include "shell/desktopthemeicons.h"
#include "shell/shelltestsupport.h"
#include "support/corpus.h"

namespace varnel::test {
namespace {

namespace fs = std::filesystem;

using Step = std::function<void(QDialog&)>;

// Answers the modal dialogs of one command in the order they show: each step gets its dialog
// once the dialog runs its own modal loop, so what a step does reaches the program exactly as a
// user's typing and clicking would. A dialog shown after the last step is cancelled and counted
// as unanswered.
class DialogScript : public QObject {
 public:
  explicit DialogScript(std::vector<Step> steps) : steps_(std::move(steps)) {
    QApplication::instance()->installEventFilter(this);
    // A dialog left open after its step (a refused confirmation) would wait for ever. One whose
    // step still runs (a slow Apply under load) is left to it.
    connect(&stuck_, &QTimer::timeout, this, [this] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog && answered_.contains(dialog)) Unanswered(*dialog);
    });
    stuck_.start(3000);
  }
  ~DialogScript() override { QApplication::instance()->removeEventFilter(this); }
  // The titles (message boxes: texts) of the dialogs the script answered.
  const std::vector<std::string>& Shown() const { return shown_; }
  size_t StepsLeft() const { return steps_.size() - next_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (event->type() != QEvent::Show || event->spontaneous() || !dialog ||
        !dialog->testAttribute(Qt::WA_ShowModal))
      return false;
    bool answered = next_ < steps_.size();
    if (answered) shown_.push_back(ModalText(dialog).toStdString());
    Step step = answered ? steps_[next_++] : Unanswered;
    answered_.remove(dialog);  // a dialog shown again gets its new step
    QTimer::singleShot(0, dialog, [this, dialog, step] {
      step(*dialog);
      answered_.insert(dialog);
    });
    return false;
  }

 private:
  static void Unanswered(QDialog& dialog) {
    UnansweredModals().push_back(ModalText(&dialog).toStdString());
    dialog.reject();
  }

  ModalWatchdogPause pause_;  // the script closes what it does not answer
  QTimer stuck_;
  QSet<QDialog*> answered_;  // dialogs whose step has ended
  std::vector<Step> steps_;
  size_t next_ = 0;
  std::vector<std::string> shown_;
};

QFileDialog& AsFileDialog(QDialog& dialog) {
  auto* files = qobject_cast<QFileDialog*>(&dialog);
  if (!files) throw std::runtime_error("not a file dialog: " + ModalText(&dialog).toStdString());
  return *files;
}

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

std::string Canonical(const QString& folder) {
  std::error_code error;
  return fs::weakly_canonical(folder.toStdString(), error).string();
}

// What a file dialog showed when it opened.
struct FileDialogView {
  std::string folder;  // canonical
  QString name;        // the text of the name field
  QString filter;
};

// Types text into the file dialog's name field, after choosing the filter that starts with
// filterPrefix (when given), and presses its Open, Save or Choose button. seen receives what
// the dialog showed before.
Step TypeName(const std::string& text, QString filterPrefix = {}, FileDialogView* seen = nullptr) {
  return [=](QDialog& dialog) {
    QFileDialog& files = AsFileDialog(dialog);
    auto* name = files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    if (seen)
      *seen = {Canonical(files.directory().absolutePath()), name->text(),
               files.selectedNameFilter()};
    if (!filterPrefix.isEmpty())
      for (const QString& filter : files.nameFilters())
        if (filter.startsWith(filterPrefix)) files.selectNameFilter(filter);
    // Typed with the focus in the field, which lets the dialog drop a preselected file.
    QApplication::setActiveWindow(&dialog);
    name->setFocus(Qt::OtherFocusReason);
    EXPECT_TRUE(name->hasFocus());
    name->setText(Q(text));
    auto* box = files.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_NE(box, nullptr);
    for (QAbstractButton* button : box->buttons())
      if (box->buttonRole(button) == QDialogButtonBox::AcceptRole) {
        // A file another filter shows is enabled once the dialog has listed its folder anew.
        QTest::qWaitFor([button] { return button->isEnabled(); }, 2000);
        return button->click();
      }
    FAIL() << "the file dialog has no accept button";
  };
}

Step Cancel() {
  return [](QDialog& dialog) { dialog.reject(); };
}

// Presses the message box's button of the given kind.
Step Answer(QMessageBox::StandardButton kind) {
  return [kind](QDialog& dialog) {
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    ASSERT_NE(box, nullptr) << ModalText(&dialog).toStdString();
    ASSERT_NE(box->button(kind), nullptr);
    box->button(kind)->click();
  };
}

// Clicks the shown push button captioned text. A dialog the button opens is answered by the
// script's next step before the click returns, so the step goes on where the user would.
void Click(QDialog& dialog, const QString& text) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>())
    if (button->text() == text && button->isVisibleTo(&dialog)) return button->click();
  ADD_FAILURE() << "no button " << text.toStdString();
}

void ClickOk(QDialog& dialog) {
  auto* box = dialog.findChild<QDialogButtonBox*>();
  ASSERT_NE(box, nullptr);
  for (QAbstractButton* button : box->buttons())
    if (box->buttonRole(button) == QDialogButtonBox::AcceptRole) return button->click();
  FAIL() << "no OK button";
}

void WriteIcon(const std::string& path, TColor color) {
  SolidIcon(32, 32, 32, color)->SaveToFile(path);
}

QByteArray Contents(const std::string& path) {
  QFile file(Q(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class RealDialogsTest : public testing::Test {
 protected:
  void SetUp() override {
    window = StartedMainWindow(dir.File("config.ini"));
    UnansweredModals().clear();
  }
  void AddIcons(int count) {
    for (int i = 0; i < count; ++i)
      window->Lib().AppendItem("Icon " + std::to_string(i), SolidIcon(32, 32, 32, 0xFF00 + i));
    window->Grid().Relayout();
  }
  // Triggers the command with steps answering its dialogs; the titles of the dialogs shown.
  std::vector<std::string> Run(const char* command, std::vector<Step> steps) {
    size_t count = steps.size();
    DialogScript script(std::move(steps));
    window->UpdateActions();
    QAction* action = window->Action(command);
    EXPECT_TRUE(action->isEnabled()) << command;
    action->trigger();
    EXPECT_EQ(script.StepsLeft(), 0u)
        << command << ": " << count - script.StepsLeft() << " of " << count << " dialogs showed";
    EXPECT_TRUE(UnansweredModals().empty()) << UnansweredModals().front();
    UnansweredModals().clear();
    return script.Shown();
  }
  TSettings& Settings() { return window->AppSettings().Values(); }

  TempDir dir;
  std::unique_ptr<TfmMain> window;
};

// --- File > Open, Add Files -----------------------------------------------------------------

TEST_F(RealDialogsTest, OpenTakesTheChosenFileAndStartsNextTimeInItsFolder) {
  fs::create_directories(dir.File("icons"));
  WriteIcon(dir.File("icons/first.ico"), 0xFF);
  WriteIcon(dir.File("icons/second.ico"), 0xFF00);
  Run("aFileOpen", {TypeName(dir.File("icons/first.ico"))});
  ASSERT_EQ(window->Lib().Count(), 1);
  EXPECT_EQ(window->windowTitle(), "Varnel - first.ico");
  EXPECT_EQ(Settings().LastOpen, dir.File("icons/first.ico"));

  // Only the name typed: it is looked for where the dialog starts, the last file's folder.
  FileDialogView seen;
  Run("aFileOpen", {TypeName("second.ico", {}, &seen)});
  EXPECT_EQ(seen.folder, Canonical(Q(dir.File("icons"))));
  EXPECT_EQ(window->windowTitle(), "Varnel - second.ico");
  EXPECT_EQ(Settings().LastOpen, dir.File("icons/second.ico"));
}

TEST_F(RealDialogsTest, OpenReadsAModuleChosenInTheDialog) {
  const char* stubs = "/usr/share/nsis/Stubs";
  std::string module;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(stubs, error))
    if (entry.path().filename().string().starts_with("zlib-x86")) module = entry.path().string();
  if (module.empty()) GTEST_SKIP() << "nsis is not installed";
  Run("aFileOpen", {TypeName(module)});
  EXPECT_GT(window->Lib().Count(), 0);
  EXPECT_EQ(window->Lib().FileName, module);
}

// A file's first bytes only, as a download cut short leaves it.
std::string WriteHead(const std::string& source, const std::string& target, size_t bytes) {
  QByteArray head = Contents(source).left(qsizetype(bytes));
  QFile file(Q(target));
  if (!file.open(QIODevice::WriteOnly) || file.write(head) != head.size()) return "";
  return target;
}

TEST_F(RealDialogsTest, OpenOfACutOffModuleOrMacIconSaysItIsDamagedAndHowMuchWasRead) {
  std::string module = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll";
  if (!fs::exists(module)) GTEST_SKIP() << "wine's modules are not installed";
  VARNEL_SKIP_WITHOUT_CORPUS("icns/test-legacy.icns");
  std::string head = WriteHead(module, dir.File("head.exe"), 4096);
  auto shown = Run("aFileOpen", {TypeName(head), Answer(QMessageBox::Ok)});
  EXPECT_TRUE(shown.back().starts_with(head + " is damaged: it ends after 4096 of the "))
      << shown.back();
  EXPECT_NE(shown.back().find("; no icons could be read"), std::string::npos);
  EXPECT_EQ(window->Lib().Count(), 0);
  EXPECT_EQ(window->windowTitle().toStdString().find("head.exe"), std::string::npos);

  std::string icns = CorpusPath("icns/test-legacy.icns");
  // Named .ico to be listed by the dialog's first filter: the content makes it a Mac icon.
  std::string cut = WriteHead(icns, dir.File("cut.ico"), size_t(fs::file_size(icns)) * 2 / 3);
  shown = Run("aFileOpen", {TypeName(cut), Answer(QMessageBox::Ok)});
  EXPECT_NE(shown.back().find(" is damaged: it ends after "), std::string::npos) << shown.back();
  EXPECT_NE(shown.back().find(std::to_string(fs::file_size(icns))), std::string::npos);
}

TEST_F(RealDialogsTest, OpenOverChangesAsksFirstAndCancelKeepsTheCollection) {
  WriteIcon(dir.File("other.ico"), 0xFF);
  AddIcons(2);
  window->Lib().SetModified(true);
  Run("aFileOpen", {Answer(QMessageBox::Cancel)});
  EXPECT_EQ(window->Lib().Count(), 2);
  Run("aFileOpen", {Answer(QMessageBox::No), TypeName(dir.File("other.ico"))});
  EXPECT_EQ(window->Lib().Count(), 1);
  EXPECT_EQ(window->Lib().FileName, dir.File("other.ico"));
}

TEST_F(RealDialogsTest, WelcomeChoiceOpensTheFindIconsDialog) {
  TfmMain fresh(dir.File("fresh.ini"));
  bool findShown = false;
  Step welcome = [](QDialog& dialog) {
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) box->setChecked(false);
    Click(dialog, "Find icons in a folder");
  };
  Step find = [&](QDialog& dialog) {
    findShown = dynamic_cast<TFindIconsDialog*>(&dialog) != nullptr;
    dialog.reject();
  };
  DialogScript script({welcome, find});
  fresh.Start({});
  EXPECT_TRUE(QTest::qWaitFor([&] { return script.StepsLeft() == 0; }, 2000));
  EXPECT_TRUE(findShown);
  EXPECT_FALSE(fresh.AppSettings().Values().Welcome);
}

TEST_F(RealDialogsTest, AddFilesTakesEveryFileChosenTogether) {
  WriteIcon(dir.File("a.ico"), 0xFF);
  WriteIcon(dir.File("b.ico"), 0xFF00);
  AddIcons(1);
  Run("aLibAddFiles", {TypeName("\"" + dir.File("a.ico") + "\" \"" + dir.File("b.ico") + "\"")});
  EXPECT_EQ(window->Lib().Count(), 3);
  Run("aLibAddFiles", {Cancel()});
  EXPECT_EQ(window->Lib().Count(), 3);
}

TEST_F(RealDialogsTest, AddFilesStartsAtTheFileLastOpened) {
  fs::create_directories(dir.File("icons"));
  WriteIcon(dir.File("icons/opened.ico"), 0xFF);
  WriteIcon(dir.File("icons/added.ico"), 0xFF00);
  Run("aFileOpen", {TypeName(dir.File("icons/opened.ico"))});
  FileDialogView seen;
  Run("aLibAddFiles", {TypeName("\"added.ico\"", {}, &seen)});
  EXPECT_EQ(seen.folder, Canonical(Q(dir.File("icons"))));
  EXPECT_EQ(window->Lib().Count(), 2);
}

// --- Saving the collection ------------------------------------------------------------------

TEST_F(RealDialogsTest, SaveAsWritesTheCollectionWhereTheDialogSaysInTheChosenFormat) {
  AddIcons(2);
  FileDialogView first;
  Run("aFileSaveAs", {TypeName(dir.File("mine"), {}, &first)});
  EXPECT_EQ(first.name, "");  // a new collection has no name to propose, not even ".icc"
  EXPECT_TRUE(fs::is_regular_file(dir.File("mine.icc")));
  EXPECT_EQ(window->Lib().FileName, dir.File("mine.icc"));

  // The next Save As proposes the collection's own file; the library filter makes an .icl.
  FileDialogView seen;
  Run("aFileSaveAs", {TypeName("lib", "Icon library", &seen)});
  EXPECT_EQ(seen.folder, Canonical(Q(dir.Path())));
  EXPECT_EQ(seen.name, "mine.icc");
  EXPECT_TRUE(fs::is_regular_file(dir.File("lib.icl")));
}

TEST_F(RealDialogsTest, SaveOfANewCollectionAsksOnceAndCancelWritesNothing) {
  AddIcons(1);
  window->Lib().SetModified(true);
  Run("aFileSave", {Cancel()});
  EXPECT_TRUE(window->Lib().GetModified());
  Run("aFileSave", {TypeName(dir.File("new.icc"))});
  EXPECT_TRUE(fs::is_regular_file(dir.File("new.icc")));
  EXPECT_FALSE(window->Lib().GetModified());
}

TEST_F(RealDialogsTest, ATypedExtensionWinsOverTheChosenTypeAndARefusedSaveSaysWhy) {
  AddIcons(2);
  Run("aFileSaveAs", {TypeName(dir.File("coll.icl"), "Icon collection")});
  EXPECT_EQ(Contents(dir.File("coll.icl")).left(2), "MZ");
  EXPECT_FALSE(fs::exists(dir.File("coll.icc")));

  window->Lib().Items().SetName(1, "Icon 0");
  auto shown = Run("aFileSaveAs",
                   {TypeName(dir.File("dup.icl"), "Icon collection"), Answer(QMessageBox::Ok)});
  EXPECT_NE(shown.back().find("Non-unique icon name"), std::string::npos) << shown.back();
  EXPECT_FALSE(fs::exists(dir.File("dup.icl")));

  Run("mnExportSingleImage",
      {[](QDialog& dialog) { ClickOk(dialog); }, TypeName(dir.File("sheet.png"), "Bitmaps")});
  EXPECT_EQ(Contents(dir.File("sheet.png")).mid(1, 3), "PNG");
  EXPECT_FALSE(fs::exists(dir.File("sheet.bmp")));

  window->Lib().SelectOnly(0);
  Run("aFileSaveIconAs", {TypeName(dir.File("one.gif"), "Icon (")});
  EXPECT_EQ(Contents(dir.File("one.gif")).left(3), "GIF");
}

// --- Save Icon As and the properties' Save image ---------------------------------------------

TEST_F(RealDialogsTest, SaveIconAsWritesTheFormatOfTheChosenFilterAndRemembersTheFolder) {
  AddIcons(2);
  window->Lib().SelectOnly(0);
  FileDialogView first;
  Run("aFileSaveIconAs", {TypeName(dir.File("picture"), "PNG", &first)});
  EXPECT_EQ(first.name, "Icon 0");  // the icon's name is proposed from the start
  QImage png(Q(dir.File("picture.png")), "PNG");
  EXPECT_EQ(png.size(), QSize(32, 32));

  FileDialogView seen;
  window->Lib().SelectOnly(1);
  Run("aFileSaveIconAs", {TypeName("bitmap", "Windows Bitmap", &seen)});
  EXPECT_EQ(seen.folder, Canonical(Q(dir.Path())));
  EXPECT_EQ(seen.name, "Icon 1");
  EXPECT_EQ(seen.filter.left(3), "PNG");  // the last filter stays chosen
  QImage bmp(Q(dir.File("bitmap.bmp")), "BMP");
  EXPECT_EQ(bmp.size(), QSize(32, 32));
}

TEST_F(RealDialogsTest, SaveIconAsOverAnExistingFileAsksAndNoShowsTheDialogAgain) {
  AddIcons(1);
  window->Lib().SelectOnly(0);
  WriteIcon(dir.File("taken.ico"), 0xFF);
  QByteArray before = Contents(dir.File("taken.ico"));
  Run("aFileSaveIconAs", {TypeName(dir.File("taken"), "Icon ("), Answer(QMessageBox::No),
                          TypeName(dir.File("free"), "Icon (")});
  EXPECT_EQ(Contents(dir.File("taken.ico")), before);
  EXPECT_TRUE(fs::is_regular_file(dir.File("free.ico")));
}

TEST_F(RealDialogsTest, PropertiesSaveImageWritesTheFileAndOkRenamesTheIcon) {
  AddIcons(1);
  window->Lib().SelectOnly(0);
  FileDialogView seen;
  Step properties = [](QDialog& dialog) {
    ASSERT_NE(qobject_cast<TfmIconProps*>(&dialog), nullptr);
    dialog.findChild<QLineEdit*>()->setText("Renamed");
    Click(dialog, "Save image to file");
    ClickOk(dialog);  // back in the properties, which stayed open
  };
  Step save = TypeName(dir.File("image"), "PNG", &seen);
  Run("aFileProps", {properties, save});
  EXPECT_EQ(seen.name, "Renamed");
  EXPECT_EQ(QImage(Q(dir.File("image.png"))).size(), QSize(32, 32));
  EXPECT_EQ(window->Lib().Items().Names(0), "Renamed");
  EXPECT_TRUE(window->Lib().GetModified());

  Run("aFileProps", {[](QDialog& dialog) {
        dialog.findChild<QLineEdit*>()->setText("Dropped");
        dialog.reject();
      }});
  EXPECT_EQ(window->Lib().Items().Names(0), "Renamed");
}

TEST_F(RealDialogsTest, SaveIconAsCursorTakesTheHotSpotOfItsDialog) {
  AddIcons(1);
  window->Lib().SelectOnly(0);
  Step hotSpot = [](QDialog& dialog) {
    QList<QSpinBox*> fields = dialog.findChildren<QSpinBox*>();
    ASSERT_EQ(fields.size(), 2);
    fields[0]->setValue(5);
    fields[1]->setValue(7);
    ClickOk(dialog);
  };
  Run("aFileSaveIconAs", {TypeName(dir.File("pointer"), "Cursor"), hotSpot});
  QFile cursor(Q(dir.File("pointer.cur")));
  ASSERT_TRUE(cursor.open(QIODevice::ReadOnly));
  QByteArray bytes = cursor.readAll();
  ASSERT_GE(bytes.size(), 14);
  EXPECT_EQ(bytes[2], 2);                    // a cursor file
  EXPECT_EQ(bytes[10] | bytes[11] << 8, 5);  // the first image's hot spot
  EXPECT_EQ(bytes[12] | bytes[13] << 8, 7);
}

TEST_F(RealDialogsTest, TheHotSpotDialogSetsTheCursorsHotSpotThatPanelAndPropertiesShow) {
  AddIcons(1);
  window->Lib().SelectOnly(0);
  {
    DialogScript script({[](QDialog& dialog) {
      QList<QSpinBox*> fields = dialog.findChildren<QSpinBox*>();
      ASSERT_EQ(fields.size(), 2);
      fields[0]->setValue(9);
      fields[1]->setValue(3);
      ClickOk(dialog);
    }});
    ASSERT_TRUE(window->ImagePanel().OnSetHotSpot);
    window->ImagePanel().OnSetHotSpot();
    EXPECT_EQ(script.StepsLeft(), 0u);
  }
  EXPECT_EQ(window->Lib().Items().Icons(0)->Images()[0]->HotSpot(), 9u | 3u << 16);
  EXPECT_TRUE(window->Lib().GetModified());
  ASSERT_GT(window->ImagePanel().count(), 0);
  EXPECT_TRUE(window->ImagePanel().item(0)->text().endsWith("\nhot spot 9, 3"))
      << window->ImagePanel().item(0)->text().toStdString();
  QString shown;
  Run("aFileProps", {[&](QDialog& dialog) {
        shown = static_cast<TfmIconProps&>(dialog).Field("hotSpot")->text();
        dialog.reject();
      }});
  EXPECT_EQ(shown, "Hot spot: 9, 3");
}

// --- Export ---------------------------------------------------------------------------------

TEST_F(RealDialogsTest, ExportSelectedIconsWritesThemIntoTheChosenFolder) {
  AddIcons(3);
  window->Lib().SelectOnly(1);
  fs::create_directories(dir.File("out"));
  auto shown = Run("mnExportSelectedIcons", {TypeName(dir.File("out")), Answer(QMessageBox::Ok)});
  EXPECT_EQ(shown.back(), "1 file written to " + dir.File("out"));
  std::vector<std::string> written;
  for (const auto& entry : fs::directory_iterator(dir.File("out")))
    written.push_back(entry.path().filename().string());
  EXPECT_EQ(written, std::vector<std::string>{"Icon 1.ico"});
  TAdvancedIcon icon;
  EXPECT_TRUE(icon.LoadFromFile(dir.File("out/Icon 1.ico")));
}

TEST_F(RealDialogsTest, ExportAllOverExistingFilesFollowsTheOverwriteAnswer) {
  AddIcons(2);
  fs::create_directories(dir.File("out"));
  Run("mnExportAllIcons", {TypeName(dir.File("out")), Answer(QMessageBox::Ok)});
  WriteIcon(dir.File("out/Icon 0.ico"), 0xFF0000);
  QByteArray kept = Contents(dir.File("out/Icon 0.ico"));
  auto press = [](const char* text) { return [text](QDialog& dialog) { Click(dialog, text); }; };
  // Rename auto writes beside the existing files; Skip all leaves them.
  Run("mnExportAllIcons",
      {TypeName(dir.File("out")), press("&Rename auto"), Answer(QMessageBox::Ok)});
  auto files = [&] {
    return std::distance(fs::directory_iterator(dir.File("out")), fs::directory_iterator());
  };
  EXPECT_EQ(files(), 4);
  EXPECT_EQ(Contents(dir.File("out/Icon 0.ico")), kept);
  Run("mnExportAllIcons", {TypeName(dir.File("out")), press("S&kip all"), Answer(QMessageBox::Ok)});
  EXPECT_EQ(files(), 4);
  EXPECT_EQ(Contents(dir.File("out/Icon 0.ico")), kept);
}

TEST_F(RealDialogsTest, SingleImageExportWritesTheSheetAndKeepsItsFolder) {
  AddIcons(3);
  Step settings = [](QDialog& dialog) {
    auto* export_ = qobject_cast<TfmExportSingle*>(&dialog);
    ASSERT_NE(export_, nullptr);
    export_->Spin("CW")->setValue(20);
    export_->Spin("CH")->setValue(24);
    export_->Spin("ML")->setValue(3);
    ClickOk(dialog);
  };
  // Cancel in the save dialog comes back to the settings, which keep what was typed.
  Step again = [](QDialog& dialog) {
    EXPECT_EQ(static_cast<TfmExportSingle&>(dialog).Spin("CW")->value(), 20);
    ClickOk(dialog);
  };
  Run("mnExportSingleImage", {settings, Cancel(), again, TypeName(dir.File("sheet"), "PNG")});
  QImage sheet(Q(dir.File("sheet.png")));
  EXPECT_EQ(sheet.size(), QSize(3 + 3 * 20, 24));

  FileDialogView seen;
  Run("mnExportSingleImage",
      {[](QDialog& dialog) { ClickOk(dialog); }, TypeName("second", "PNG", &seen)});
  EXPECT_EQ(seen.folder, Canonical(Q(dir.Path())));
  EXPECT_FALSE(QImage(Q(dir.File("second.png"))).isNull());
}

TEST_F(RealDialogsTest, SingleImageExportPaintsTheBackgroundChosenInTheColourDialog) {
  AddIcons(1);
  Step settings = [](QDialog& dialog) {
    static_cast<TfmExportSingle&>(dialog).Spin("ML")->setValue(4);
    Click(dialog, "&Background color");
    for (QRadioButton* format : dialog.findChildren<QRadioButton*>())
      if (format->text().startsWith("256 colors")) format->click();
    ClickOk(dialog);
  };
  Step colour = [](QDialog& dialog) {
    auto* colours = qobject_cast<QColorDialog*>(&dialog);
    ASSERT_NE(colours, nullptr);
    colours->setCurrentColor(QColor(200, 10, 30));
    ClickOk(dialog);
  };
  Run("mnExportSingleImage", {settings, colour, TypeName(dir.File("sheet"), "Bitmaps")});
  QImage sheet(Q(dir.File("sheet.bmp")));
  ASSERT_FALSE(sheet.isNull());
  EXPECT_EQ(sheet.pixelColor(0, 0), QColor(200, 10, 30));
}

// --- Options, Find Icons --------------------------------------------------------------------

TEST_F(RealDialogsTest, OptionsKeepAChangeAfterOkAndDropItAfterCancel) {
  bool confirm = Settings().ConfirmDIFL;
  auto toggle = [&](bool ok) {
    return [&, ok](QDialog& dialog) {
      for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
        if (box->text().startsWith("Confirm &deleting")) box->setChecked(!box->isChecked());
      ok ? ClickOk(dialog) : dialog.reject();
    };
  };
  Run("mnOptions", {toggle(false)});
  EXPECT_EQ(Settings().ConfirmDIFL, confirm);
  Run("mnOptions", {toggle(true)});
  EXPECT_EQ(Settings().ConfirmDIFL, !confirm);
  // OK also writes the settings file.
  EXPECT_EQ(TIniFile(dir.File("config.ini")).ReadBool("Cfg", "ConfirmDIFL", confirm), !confirm);
}

TEST_F(RealDialogsTest, OptionsTakeTheBackgroundChosenInTheColourSelection) {
  auto pick = [](bool ok) {
    return [ok](QDialog& dialog) {
      for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->text() == options_texts::kBack8bpp)
          if (auto* button = qobject_cast<QPushButton*>(label->buddy())) button->click();
      ok ? ClickOk(dialog) : dialog.reject();
    };
  };
  Step blue = [](QDialog& dialog) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    ASSERT_NE(grid, nullptr);
    qobject_cast<QPushButton*>(grid->itemAtPosition(0, 3)->widget())->click();  // blue
  };
  TColor before = Settings().Back8bpp;
  ASSERT_NE(before, clBlue);
  Run("mnOptions", {pick(false), blue});
  EXPECT_EQ(Settings().Back8bpp, before);
  Run("mnOptions", {pick(true), blue});
  EXPECT_EQ(Settings().Back8bpp, clBlue);
}

TEST_F(RealDialogsTest, OptionsTakeAFileTypeAddedInTheTypesEditor) {
  Step options = [](QDialog& dialog) {
    for (QToolButton* button : dialog.findChildren<QToolButton*>())
      if (button->text() == "...") button->click();
    ClickOk(dialog);
  };
  Step types = [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>()->setText("*.xyz");
    Click(dialog, "&Add");
    ClickOk(dialog);
  };
  Run("mnOptions", {options, types});
  EXPECT_NE(Settings().IconMask.find("*.xyz"), std::string::npos) << Settings().IconMask;
}

TEST_F(RealDialogsTest, CustomSizeReachesTheGrid) {
  Run("mnViewIconSizeCustomSet", {[](QDialog& dialog) {
        QList<QSpinBox*> fields = dialog.findChildren<QSpinBox*>();
        ASSERT_EQ(fields.size(), 2);
        fields[0]->setValue(40);
        fields[1]->setValue(50);
        ClickOk(dialog);
      }});
  EXPECT_EQ(Settings().grIconSizeW, 40);
  EXPECT_EQ(Settings().grIconSizeH, 50);
}

TEST_F(RealDialogsTest, FindIconsSearchesTheTypedFolderWithTheTypedMask) {
  fs::create_directories(dir.File("search/deeper"));
  WriteIcon(dir.File("search/one.ico"), 0xFF);
  WriteIcon(dir.File("search/two.icx"), 0xFF);
  WriteIcon(dir.File("search/deeper/three.ico"), 0xFF);
  Run("aLibAddFolder", {[&](QDialog& dialog) {
        auto& find = dynamic_cast<TFindIconsDialog&>(dialog);
        find.FolderField()->setText(Q(dir.File("search")));
        find.MaskField()->setText("*.ico");
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
          if (box->text() == "&Include subfolders") box->setChecked(false);
        ClickOk(dialog);
      }});
  EXPECT_EQ(window->Lib().Count(), 1);
  EXPECT_EQ(Settings().SearchIconsDir, dir.File("search"));
  EXPECT_EQ(Settings().IconMask, "*.ico");
  EXPECT_FALSE(Settings().IncludeSubDirs);
}

TEST_F(RealDialogsTest, FindIconsTakesTheFolderChosenWithItsBrowseButton) {
  fs::create_directories(dir.File("browsed"));
  WriteIcon(dir.File("browsed/one.ico"), 0xFF);
  std::string field;
  Step find = [&](QDialog& dialog) {
    auto& search = dynamic_cast<TFindIconsDialog&>(dialog);
    Click(dialog, "Open folder");
    field = search.FolderField()->text().toStdString();
    search.MaskField()->setText("*.ico");
    ClickOk(dialog);
  };
  Step folder = TypeName(dir.File("browsed"));
  Run("aLibAddFolder", {find, folder});
  EXPECT_EQ(Canonical(Q(field)), Canonical(Q(dir.File("browsed"))));
  EXPECT_EQ(window->Lib().Count(), 1);
}

TEST_F(RealDialogsTest, FindIconsRefusesAMissingFolderAndStaysOpen) {
  Step find = [&](QDialog& dialog) {
    auto& search = dynamic_cast<TFindIconsDialog&>(dialog);
    search.FolderField()->setText(Q(dir.File("missing")));
    ClickOk(dialog);
    EXPECT_TRUE(dialog.isVisible());  // refused: still open
    dialog.reject();
  };
  auto shown = Run("aLibAddFolder", {find, Answer(QMessageBox::Ok)});
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1], "Folder not found: " + dir.File("missing"));
  EXPECT_EQ(window->Lib().Count(), 0);
}

TEST_F(RealDialogsTest, TitlesCountersAndButtonsAUserMetCutShortOrDead) {
  // The import dialog says what it is for, and a small dialog is as wide as its title.
  QString importTitle;
  Run("aLibAddFiles", {[&](QDialog& dialog) {
        importTitle = dialog.windowTitle();
        dialog.reject();
      }});
  EXPECT_EQ(importTitle, "Import Files");
  Run("mnViewIconSizeCustomSet", {[](QDialog& dialog) {
        QFont bold = QApplication::font();
        bold.setBold(true);
        EXPECT_GT(dialog.minimumWidth(),
                  QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()));
        dialog.reject();
      }});
  // The find dialog's "..." edits the file types.
  bool typesShown = false;
  Step find = [](QDialog& dialog) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
      if (button->text() == "...") {
        EXPECT_TRUE(button->isEnabled());
        button->click();
      }
    dialog.reject();
  };
  Run("aLibAddFolder", {find, [&](QDialog& dialog) {
                          typesShown = dialog.windowTitle() == TfmEditFileTypes::kCaption;
                          dialog.reject();
                        }});
  EXPECT_TRUE(typesShown);
  // The cursor's counter of a large collection fits its panel.
  QList<TStatusPanel*> panels = window->findChildren<TStatusPanel*>();
  ASSERT_GE(panels.size(), 3);
  EXPECT_GT(panels[2]->minimumWidth(), panels[2]->fontMetrics().horizontalAdvance("2161 of 4701"));
}

// --- The custom icons window ----------------------------------------------------------------

TEST_F(RealDialogsTest, CustomIconsChangeTakesTheIconChosenInThePicker) {
  TemporaryHome home;
  WriteIcon(dir.File("chosen.ico"), 0xFF);
  std::string shown;
  TfmCIcons* custom = nullptr;
  Step icons = [&](QDialog& dialog) {
    custom = dynamic_cast<TfmCIcons*>(&dialog);
    ASSERT_NE(custom, nullptr);
    auto* list = qobject_cast<QListWidget*>(custom->Pages()->widget(0));
    ASSERT_TRUE(list && list->currentItem());
    Click(dialog, "&Change...");
    shown = custom->Editor().ShownLocation(list->currentItem()->data(Qt::UserRole).toInt());
    EXPECT_TRUE(custom->ApplyButton()->isEnabled());
    dialog.reject();
  };
  Step picker = TypeName(dir.File("chosen.ico"));
  Run("aDisplayCustWin", {icons, picker});
  EXPECT_NE(shown.find(dir.File("chosen.ico")), std::string::npos) << shown;
}

TEST_F(RealDialogsTest, TheCustomizeAndAssociationsWindowsLeaveTheTitlesAlone) {
  TemporaryHome home;
  Run("aDisplayCustWin", {Cancel()});
  Run("Fileassociations1", {Cancel()});
  // Qt appends " — NAME" to every title once a display name is set; unset, it follows the
  // application's name.
  QString name = QCoreApplication::applicationName();
  QCoreApplication::setApplicationName("probe");
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), "probe");
  QCoreApplication::setApplicationName(name);
  EXPECT_EQ(window->windowTitle(), "Varnel - New Icon Library 1");
}

TEST_F(RealDialogsTest, CustomIconsApplyAsksOnceBeforeTheDesktopsThemeIsSwitched) {
  TemporaryHome home;
  WriteIcon(dir.File("chosen.ico"), 0xFF);
  Step icons = [&](QDialog& dialog) {
    auto& custom = dynamic_cast<TfmCIcons&>(dialog);
    auto* list = qobject_cast<QListWidget*>(custom.Pages()->widget(0));
    ASSERT_TRUE(list && list->count() > 1);
    list->setCurrentRow(0);
    Click(dialog, "&Change...");
    custom.ApplyButton()->click();  // "No": nothing is written, the change stays pending
    EXPECT_TRUE(custom.ApplyButton()->isEnabled());
    EXPECT_FALSE(fs::exists(CustomThemeFolder()));
    custom.ApplyButton()->click();  // "Yes"
    EXPECT_TRUE(fs::exists(CustomThemeFolder()));
    list->setCurrentRow(1);
    Click(dialog, "&Change...");
    custom.ApplyButton()->click();  // the theme is in place: no question
    EXPECT_FALSE(custom.ApplyButton()->isEnabled());
    Click(dialog, "&Help");
    dialog.reject();
  };
  // The installed manual page at the window's section, or the word that it is not installed.
  QString helpAt;
  Step help = [&](QDialog& dialog) {
    if (auto* page = dialog.findChild<QPlainTextEdit*>())
      helpAt = page->textCursor().block().text().trimmed();
    else
      helpAt = ModalText(&dialog);
    dialog.reject();
  };
  auto shown =
      Run("aDisplayCustWin", {icons, TypeName(dir.File("chosen.ico")), Answer(QMessageBox::No),
                              Answer(QMessageBox::Yes), TypeName(dir.File("chosen.ico")), help});
  EXPECT_TRUE(helpAt == kHelpCustomizeSection ||
              helpAt.startsWith("The help, the manual page varnel(1), is not installed"))
      << helpAt.toStdString();
  ASSERT_EQ(shown.size(), 6u);
  EXPECT_TRUE(shown[2].starts_with("Apply changes the desktop's icon theme.")) << shown[2];
  EXPECT_NE(shown[2].find(CustomThemeFolder()), std::string::npos);
  EXPECT_EQ(shown[2], shown[3]);
}

TEST_F(RealDialogsTest, CustomIconsSaveAsWritesAnIconWhereTheDialogSays) {
  TemporaryHome home;
  Step icons = [](QDialog& dialog) {
    Click(dialog, "&Save as...");
    dialog.reject();
  };
  Run("aDisplayCustWin", {icons, TypeName(dir.File("saved"), "Icons")});
  TAdvancedIcon saved;
  EXPECT_TRUE(saved.LoadFromFile(dir.File("saved.ico")));
}

}  // namespace
}  // namespace varnel::test

#include "app/helpwindow.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>

#include "app/errorhandler.h"
#include "platform/externalprogram.h"
#include "platform/textfunctions.h"

namespace varnel {

namespace {

constexpr int kHelpColumns = 90;
constexpr const char* kNotInstalled =
    "The help, the manual page varnel(1), is not installed. scripts/install installs it with the "
    "program; \"man varnel\" shows it then.";

// Puts the line that starts with section at the top of the view.
void ScrollToSection(QPlainTextEdit& view, const QString& section) {
  if (section.isEmpty()) return;
  for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next())
    if (block.text().trimmed().startsWith(section)) {
      QTextCursor cursor(block);
      view.moveCursor(QTextCursor::End);
      view.setTextCursor(cursor);
      view.ensureCursorVisible();
      return;
    }
}

}  // namespace

std::string ManualPageText(int width) {
  std::optional<std::string> page = RunProgramOutput({"man", "-w", "varnel"});
  if (!page || Trim(*page).empty()) return {};
  // Plain text: man formats for a pipe without overstriking.
  std::optional<std::string> text =
      RunProgramOutput({"env", "MANWIDTH=" + std::to_string(width), "MAN_KEEP_FORMATTING=", "man",
                        "--no-hyphenation", "-P", "cat", "-l", Trim(*page)});
  return text.value_or("");
}

void ShowHelp(QWidget* parent, const QString& section) {
  std::string text = ManualPageText(kHelpColumns);
  if (text.empty()) {
    QMessageBox::information(parent, kApplicationTitle, QString::fromUtf8(kNotInstalled));
    return;
  }
  QDialog window(parent);
  window.setWindowTitle(QStringLiteral("Varnel Help"));
  auto* view = new QPlainTextEdit(QString::fromStdString(text), &window);
  view->setReadOnly(true);
  view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  view->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &window);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(view);
  layout->addWidget(buttons);
  QFontMetrics metrics(view->font());
  window.resize(metrics.horizontalAdvance(QString(kHelpColumns + 4, 'M')) + 40,
                metrics.lineSpacing() * 36);
  ScrollToSection(*view, section);
  window.exec();
}

}  // namespace varnel

#pragma once
// TfmProgress: the window of long operations, with the current path, file and amount, and the
// buttons "Stop", "Hide" and (for the Internet scans) "Skip".

#include <QDialog>
#include <QElapsedTimer>
#include <map>

#include "platform/userinterface.h"

class QLabel;
class QTimer;
class QPushButton;

namespace varnel {

class TfmProgress : public QDialog {
  Q_OBJECT

 public:
  explicit TfmProgress(QWidget* parent = nullptr);

  TProgressFlags& Flags() { return flags_; }
  void Reset();        // flags cleared (a pressed Stop only here), fields emptied
  void ShowCentred();  // centred on the main window
  void SetField(TProgressField field, const QString& text);
  QString Field(TProgressField field) const;
  void SetLabel(TProgressField field, const QString& text);
  QString Label(TProgressField field) const;
  void SetSkipVisible(bool visible);
  QPushButton* StopButton() const { return stop_; }
  QPushButton* SkipButton() const { return skip_; }

 protected:
  void changeEvent(QEvent* event) override;
  void reject() override {}  // Esc and the window manager do not close it

 private:
  void Skip();
  // The value label of a field, or its caption when caption is true.
  QLabel* FieldLabel(TProgressField field, bool caption) const;
  // Puts the field texts set since the last drawing into their labels.
  void ShowPendingFields();

  TProgressFlags flags_;
  QLabel* path_;
  QLabel* file_;
  QLabel* count_;
  QLabel* pathCaption_;
  QLabel* fileCaption_;
  QLabel* countCaption_;
  QPushButton* stop_;
  QPushButton* hide_;
  QPushButton* skip_;
  QElapsedTimer lastSkip_;
  // Field texts reach their labels a few times a second (a search sets the file field for
  // every file); pending holds the texts not shown yet, by field.
  std::map<TProgressField, QString> pending_;
  QTimer* fieldTimer_;
};

}  // namespace varnel

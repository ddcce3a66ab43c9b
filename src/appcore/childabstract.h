#pragma once
// What every window hosted by the main window shares: its file name, modified and stop flags,
// its caption, and the command operations the main window calls.

#include <string>

namespace varnel {

class TChildHost;

class TfmChildAbstract {
 public:
  explicit TfmChildAbstract(TChildHost& host);
  virtual ~TfmChildAbstract();
  TfmChildAbstract(const TfmChildAbstract&) = delete;
  TfmChildAbstract& operator=(const TfmChildAbstract&) = delete;

  std::string FileName;

  const std::string& Caption() const { return caption_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }

  virtual bool GetModified() const { return modified_; }
  virtual void SetModified(bool value) { modified_ = value; }
  // The base text of numbered captions ("New Icon Library" for the collection window).
  virtual std::string DefaultCaption() const = 0;
  // Subclasses load first and call this last.
  virtual void OpenFile(const std::string& name) { FileName = name; }
  // True when the data were written; asks for a name when FileName is empty.
  virtual bool Save() = 0;
  virtual void SaveAs();
  virtual void EraseSelection() = 0;
  virtual void CopySelection() = 0;
  virtual void PasteFromClipboard() = 0;
  virtual bool CanCopy() const = 0;
  virtual bool CanPaste() const = 0;
  virtual bool CanErase() const = 0;
  virtual void SelectAll() = 0;
  virtual bool CanSelectAll() const = 0;
  virtual void IdleUpdate() = 0;
  virtual void ExportIconsToFolder(bool all) = 0;

  // The stop signal of long operations: given by the Stop command, taken back when the next
  // long operation begins.
  bool StopRequested() const { return stopRequested_; }
  void RequestStop() { stopRequested_ = true; }
  void Cut();
  void ShowChild();
  // Captions longer than 40 characters are shortened in the middle; the main caption follows.
  void SetChildCaption(const std::string& text);
  // "<DefaultCaption> <N>" with the smallest N from 1 that no hosted window's caption begins
  // with.
  void AssignNumberedCaption();

 protected:
  TChildHost& Host() { return host_; }
  void ClearStopRequest() { stopRequested_ = false; }

 private:
  TChildHost& host_;
  std::string caption_;
  bool modified_ = false;
  bool visible_ = false;
  bool stopRequested_ = false;
};

}  // namespace varnel

#pragma once
// Everything the program's logic asks of a person or shows to one. The desktop program answers
// with windows, varnel-cli with a terminal, tests with a scripted fake.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace varnel {

// Captions of message boxes.
inline constexpr const char* kCaptionWarning = "Warning";
inline constexpr const char* kCaptionError = "Error";
inline constexpr const char* kCaptionInformation = "Information";
inline constexpr const char* kCaptionQuery = "Query";
inline constexpr const char* kCaptionSaveFile = "Save file";
// Captions and texts of the confirmation dialog and the error list window.
inline constexpr const char* kCaptionConfirmation = "Confirmation";
inline constexpr const char* kDoNotPromptText = "&Do not prompt in the future";
inline constexpr const char* kCaptionErrors = "Errors";

enum class TMessageIcon { None, Warning, Error, Information, Question };

// Buttons of a message box, combined as flags.
enum TMessageButton : uint32_t {
  mbYes = 1 << 0,
  mbNo = 1 << 1,
  mbOK = 1 << 2,
  mbCancel = 1 << 3,
  mbAbort = 1 << 4,
  mbRetry = 1 << 5,
  mbIgnore = 1 << 6,
  mbAll = 1 << 7,
  mbNoToAll = 1 << 8,
  mbYesToAll = 1 << 9,
};
using TMessageButtons = uint32_t;
inline constexpr TMessageButtons mbYesNo = mbYes | mbNo;
inline constexpr TMessageButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
inline constexpr TMessageButtons mbOKCancel = mbOK | mbCancel;

// The button that closed a message box (mrCancel also when the box was closed otherwise).
enum class TModalResult {
  mrNone,
  mrOK,
  mrCancel,
  mrAbort,
  mrRetry,
  mrIgnore,
  mrYes,
  mrNo,
  mrAll,
  mrNoToAll,
  mrYesToAll
};

struct TMessageRequest {
  std::string text;
  std::string caption;
  TMessageIcon icon = TMessageIcon::None;
  TMessageButtons buttons = mbOK;
};

// The usual message boxes: caption and icon go together.
enum class TMessageKind { Warning, Error, Information, Query, SaveFile };

inline TMessageRequest MakeMessage(TMessageKind kind, std::string text,
                                   TMessageButtons buttons = mbOK) {
  switch (kind) {
    case TMessageKind::Warning:
      return {std::move(text), kCaptionWarning, TMessageIcon::Warning, buttons};
    case TMessageKind::Error:
      return {std::move(text), kCaptionError, TMessageIcon::Error, buttons};
    case TMessageKind::Information:
      return {std::move(text), kCaptionInformation, TMessageIcon::Information, buttons};
    case TMessageKind::Query:
      return {std::move(text), kCaptionQuery, TMessageIcon::Question, buttons};
    case TMessageKind::SaveFile:
      return {std::move(text), kCaptionSaveFile, TMessageIcon::Warning, buttons};
  }
  return {std::move(text), kCaptionInformation, TMessageIcon::Information, buttons};
}

// The confirmation dialog: caption "Confirmation" (or "Information"), the question icon, the
// text, "OK" and "Cancel", and the "do not prompt" check box when showCheckBox is set.
struct TConfirmRequest {
  std::string text;
  std::string caption = kCaptionConfirmation;
  bool showCheckBox = true;
};
struct TConfirmAnswer {
  bool ok = false;
  bool doNotPrompt = false;  // the state of the check box when the dialog closed
};

struct TTextRequest {
  std::string caption;
  std::string prompt;
  std::string text;
};

// Filters are written as "Description|*.ext;*.ext2|Description|*.ext"; indexes count from 1.
struct TFileDialogRequest {
  std::string title;
  std::string filter;
  int filterIndex = 1;
  std::string initialFolder;
  std::string fileName;
  std::string defaultExtension;
  bool multiSelect = false;
  bool confirmOverwrite = true;  // save dialogs: the dialog's own question about existing files
};
struct TFileDialogAnswer {
  std::vector<std::string> files;
  int filterIndex = 1;
};

struct TFolderRequest {
  std::string text;  // the explanation shown above the folder tree
  std::string startFolder;
  bool canCreate = false;  // offer to create a new folder (after a confirmation)
};

// The "Add Image" dialog: the size a raster picture is converted to when it is imported.
struct TNewImageSizeRequest {
  std::string caption;  // the picture's file name, when known
  int width = 0;
  int height = 0;
};
struct TNewImageSizeAnswer {
  int width = 0;
  int height = 0;
  int filter = 9;  // resample filter index
  bool proportions = true;
  bool applyToAll = false;  // "All" was pressed
  bool asSource = false;    // "As source": later pictures under "All" keep their own size
};

// The overwrite dialog of exports that meet an existing file.
struct TOverwriteRequest {
  std::string existingFile;
  std::string sourceName;
};
enum class TOverwriteAnswer { Overwrite, OverwriteAll, Skip, SkipAll, RenameAuto, Cancel };

// The "Find Icons" dialog. validate is asked on OK with the folder as typed; an error text keeps
// the dialog open and is shown.
struct TFindIconsChoice {
  std::string folder;
  std::string mask;
  bool includeSubfolders = true;
  bool excludeDuplicates = true;
  bool searchArchives = false;
};
struct TFindIconsRequest {
  TFindIconsChoice initial;
  std::string defaultMask;
  std::string maskNote;  // shown below the mask: what a search takes besides it
  std::function<std::optional<std::string>(const std::string& folder)> validate;
};
// The "Find Icons on All Local Disks" options.
struct TDiskSearchChoice {
  bool searchArchives = false;
  bool excludeDuplicates = true;
};

// The "Scan Internet Address for Icons" dialog. The address is shown without its "*" markers;
// entries fill the "Download icons starting from:" list after "Auto".
struct TInternetAddressRequest {
  std::string address;
  bool explore = false;
  bool takeImages = false;
  bool siteIcons = true;
  std::vector<std::string> entries;
};
struct TInternetAddressChoice {
  std::string address;  // as typed, trimmed
  bool explore = false;
  bool takeImages = false;
  bool siteIcons = true;
  bool scan = false;   // "Download icons starting from:" checked
  int scanIndex = -1;  // the chosen entry; -1 for "Auto"
};

// Flags the progress window's buttons set and the long operations read and clear.
struct TProgressFlags {
  bool stopRequested = false;
  bool skipRequested = false;
  bool skipGroup = false;  // "Skip" pressed twice within a second
};
enum class TProgressField { Path, File, Count };

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // Status bar and main window.
  virtual void SetStatusText(int panel, const std::string& text) = 0;
  virtual void SetMainCaption(const std::string& caption) = 0;
  // Busy state: the stop button shows, the grid and other commands are refused.
  virtual void SetBusy(bool busy) = 0;
  virtual void SetWaitCursor(bool waiting) = 0;
  // Lets pending events through; a stop command given meanwhile sets the hosted window's
  // stop flag, which the caller reads afterwards.
  virtual void ProcessMessages() = 0;

  // Questions and messages.
  virtual TModalResult ShowMessage(const TMessageRequest& request) = 0;
  virtual TConfirmAnswer AskConfirmation(const TConfirmRequest& request) = 0;
  // A one-line text question (caption, prompt, initial text); nothing when cancelled.
  virtual std::optional<std::string> AskText(const TTextRequest& request) = 0;
  // The error list window: caption "Errors", the lines, and "Close".
  virtual void ShowErrorList(const std::vector<std::string>& lines) = 0;

  // File and folder choice; nothing when cancelled.
  virtual std::optional<TFileDialogAnswer> ChooseFilesToOpen(const TFileDialogRequest& request) = 0;
  virtual std::optional<TFileDialogAnswer> ChooseFileToSave(const TFileDialogRequest& request) = 0;
  virtual std::optional<std::string> ChooseFolder(const TFolderRequest& request) = 0;

  // Dialogs of the import and export; nothing when cancelled.
  virtual std::optional<TNewImageSizeAnswer> AskNewImageSize(
      const TNewImageSizeRequest& request) = 0;
  virtual TOverwriteAnswer AskOverwrite(const TOverwriteRequest& request) = 0;
  // The cursor hot spot dialog; the hot spot travels as X in the low and Y in the high 16 bits.
  virtual std::optional<uint32_t> AskHotSpot(uint32_t hotSpot) = 0;

  // The search dialogs; nothing when cancelled.
  virtual std::optional<TFindIconsChoice> AskFindIcons(const TFindIconsRequest&) {
    return std::nullopt;
  }
  virtual std::optional<TDiskSearchChoice> AskDiskSearch(const TDiskSearchChoice&) {
    return std::nullopt;
  }

  virtual std::optional<TInternetAddressChoice> AskInternetAddress(const TInternetAddressRequest&) {
    return std::nullopt;
  }

  // The progress window of long operations.
  virtual void ShowProgress() = 0;  // opens it with its flags cleared and fields emptied
  virtual void CloseProgress() = 0;
  virtual bool ProgressShown() const = 0;
  virtual void SetProgressCaption(const std::string& caption) = 0;
  virtual void SetProgressField(TProgressField field, const std::string& text) = 0;
  // The caption in front of a field ("Current path:" and so on until a scan names its step).
  virtual void SetProgressLabel(TProgressField field, const std::string& text) = 0;
  virtual void SetProgressSkipVisible(bool visible) = 0;
  virtual TProgressFlags& ProgressFlags() = 0;
};

}  // namespace varnel

#pragma once
// TfmLib: the collection window's logic. It owns the collection document and carries out every
// editing, saving and loading operation with what a person sees of it: the busy state, the
// status panels, the questions and messages through the user interface. The desktop program's
// window hosts it, varnel-cli drives it without a window.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "appcore/childabstract.h"
#include "appcore/childhost.h"
#include "appcore/settings.h"
#include "collection/collection.h"
#include "collection/collectiontarget.h"
#include "collection/gridview.h"
#include "platform/clipboard.h"
#include "platform/userinterface.h"
#include "resources/iconlibrary.h"

namespace varnel {

// Name of the private clipboard format that carries collection items.
inline constexpr const char* kComponentClipboardFormat = "Tessel Component";

enum class TFindMode { Name, Source };

struct TFindOptions {
  std::string text;
  TFindMode mode = TFindMode::Name;
  bool matchCase = false;
  bool wholeWord = false;
};

class TfmLib : public TfmChildAbstract, public CollectionTarget {
 public:
  TfmLib(TChildHost& host, TSettings& settings, Clipboard& clipboard, TGridView& grid);

  // The collection: its items with their sources.
  TCollection Document;
  // Called when the main window's image panel must show the current icon afresh.
  std::function<void()> OnImagePanelChanged;

  TIconList& Items() { return Document.Items(); }
  const TIconList& Items() const { return Document.Items(); }
  int Count() const { return Document.Count(); }
  TGridView& Grid() override { return grid_; }
  TSettings& Settings() override { return settings_; }
  const TSettings& Settings() const override { return settings_; }
  UserInterface& UI() override { return Host().UI(); }
  TCollection& Collection() override { return Document; }
  bool StopRequested() const override { return TfmChildAbstract::StopRequested(); }
  void RequestStop() override { TfmChildAbstract::RequestStop(); }
  bool InSearchMode() const override { return searchMode_; }

  // Operations of the hosted-window base.
  void SetModified(bool value) override;
  std::string DefaultCaption() const override { return "New Icon Library"; }
  void OpenFile(const std::string& name) override;
  bool Save() override;
  void SaveAs() override;
  void EraseSelection() override;
  void CopySelection() override;
  void PasteFromClipboard() override;
  bool CanCopy() const override { return SelectedCount() > 0; }
  bool CanPaste() const override { return clipboard_.HasFormat(kComponentClipboardFormat); }
  bool CanErase() const override { return SelectedCount() > 0; }
  void SelectAll() override;
  bool CanSelectAll() const override { return Count() > 0; }
  void IdleUpdate() override;
  void ExportIconsToFolder(bool all) override;

  // Busy states of long operations.
  bool Busy() const { return busyDepth_ > 0; }
  void CheckNotBusy() const override;
  void BeginBusy();
  void EndBusy();
  void BeginQuietBusy();
  void EndQuietBusy();
  void BeginLongOperation();
  void EndLongOperation();
  // Leaves every busy state at once (when ending one failed).
  void ResetBusy();

  // Sources of items.
  std::string SourceOf(int index) const { return Document.SourceOf(index); }
  // Records path as the source of every item from first on that has none (positions 0, 1, ...).
  void RecordSources(const std::string& path, int first) { Document.RecordSources(path, first); }
  void ClearSources() { Document.ClearSources(); }
  // Item insertion and deletion; the item's source goes with it.
  void InsertItem(int index, std::string name, std::unique_ptr<TAdvancedIcon> icon);
  void DeleteItem(int index);
  // Appends an item without a source (the loaders record sources afterwards).
  void AppendItem(std::string name, std::unique_ptr<TAdvancedIcon> icon);

  // Editing.
  bool QuerySaveChanges();
  void ClearCollection();
  void DuplicateIcon();
  void SplitIcons();
  void CombineIcons();
  void RenameIcons();
  void CorrectNames(bool interactive);
  void SortIcons(TSortMode mode);
  // Puts the items in a new order: order[i] is the old position of the item that goes to i.
  void ReorderItems(const std::vector<int>& order);
  // Locating: the find dialog's text and options; shows "Not found" or "Search is finished".
  void FindNext(const TFindOptions& options);
  void InvertSelection();
  void UpdateStatus();

  // Selection lives in the icons.
  int SelectedCount() const;
  bool IsSelected(int index) const;
  void SetSelected(int index, bool selected);
  // Makes index the only selected item and the current one (nothing for an empty collection).
  void SelectOnly(int index);
  // The current item when it is also selected, else -1.
  int CurrentSelected() const;

  // The command that deletes later copies of equal icons, reporting how many went.
  int DeleteDuplicates();

  // Collection files.
  void ReadCollectionFile(const std::string& name);
  // The same from a stream; name is used in messages and becomes the file name. With mapped
  // (the file the stream reads), the images keep views of its bytes.
  void ReadCollection(Stream& stream, const std::string& name, const SharedFile& mapped = nullptr);
  // Appends the items of a collection file. With an index, items equal to one already present
  // are dropped and those added are indexed.
  void MergeCollectionFile(const std::string& name, TDuplicateIndex* duplicates = nullptr) override;
  void WriteCollectionFile(const std::string& name) const;

  // Saves by the extension of name (.icc, .zip, .icl and other library names; 16-bit when asked).
  void SaveByExtension(const std::string& name, bool sixteenBit);
  // Writes the collection as a ZIP of icon and cursor files; raises when there is nothing to
  // write.
  void SaveCollectionAsZip(const std::string& path);
  // Tells the user how many damaged images the last reads dropped, if any.
  void ReportDroppedImages();

 private:
  // The busy state and search mode as their scopes begin and end them.
  void EnterBusy(TBusyKind kind) override;
  void LeaveBusy(TBusyKind kind) noexcept override;
  void SetSearchMode(bool on) override { searchMode_ = on; }

  void WriteLibrary(const std::string& name, bool sixteenBit);
  // Writes the collection's images into the module it was opened from; false when the update
  // refused, which it has told the user.
  bool UpdateOpenedModule(const std::string& name);
  void CheckLibraryLimit() const;
  void SetCaptionFromFile(const std::string& name);
  bool ConfirmErase(const std::string& question);
  // Runs work in the busy state; afterwards, also when it fails, the first item is selected.
  void WhileBusySelectingFirst(const std::function<void()>& work);

  TSettings& settings_;
  Clipboard& clipboard_;
  TGridView& grid_;
  int busyDepth_ = 0;
  bool searchMode_ = false;
};

// Increases the number at the end of a name: "abc" -> "abc1", "a9" -> "a10", "99" -> "100".
std::string IncrementName(const std::string& text);

}  // namespace varnel

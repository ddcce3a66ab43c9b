#pragma once
// The list of file masks the file-types editor edits: built from a text of masks joined by a
// separator, edited entry by entry, and joined again when confirmed.

#include <string>
#include <vector>

namespace varnel {

class FileTypesList {
 public:
  // The text is lower-cased and split at the separator; empty pieces are left out. The first
  // entry is selected.
  FileTypesList(const std::string& text, char separator, std::string defaultText);

  const std::vector<std::string>& Entries() const { return entries_; }
  int Selected() const { return selected_; }  // -1 when none
  void Select(int index);
  // The mask field shows the selected entry, empty when none is selected.
  std::string SelectedText() const;

  // "Add": the trimmed text; an entry already there (letter case ignored) is selected instead,
  // anything else goes to the top. Empty text does nothing.
  void Add(const std::string& text);
  // "Delete": the selected entry goes; the one now at its place is selected, or the last.
  void DeleteSelected();
  // "Default": the list afresh from the default text.
  void LoadDefault();
  // "OK": the entries, trimmed, empty ones left out, joined with the separator.
  std::string Text() const;

 private:
  void Load(const std::string& text);

  std::vector<std::string> entries_;
  int selected_ = -1;
  char separator_;
  std::string defaultText_;
};

}  // namespace varnel

#pragma once
// TCollection: the collection document without its window. An ordered list of item records
// (name, icon, source, position in that source) bound to an icon library, the table of source
// files the records point into, and the collection file (".icc") they are saved in.

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/mappedfile.h"
#include "base/stream.h"
#include "resources/iconlibrary.h"

namespace varnel {

class TDuplicateIndex;

class TCollection {
 public:
  // The items; the library's list owns their icons.
  TIconLibrary Library;
  // Source file paths, display paths of archive members and web addresses the items point into.
  std::vector<std::string> Sources;

  TIconList& Items() { return Library.Icons; }
  const TIconList& Items() const { return Library.Icons; }
  int Count() const { return Library.Icons.Count(); }

  // Empties the collection and its source table.
  void Clear();
  // Puts an item at index (clamped), with no source unless one is given.
  void Insert(int index, std::string name, std::unique_ptr<TAdvancedIcon> icon,
              TItemSource source = {});
  // Appends an item without a source (the loaders record sources afterwards).
  void Append(std::string name, std::unique_ptr<TAdvancedIcon> icon);
  void Delete(int index);
  void DeleteMany(const std::vector<int>& positions);
  // Puts the items in a new order: order[i] is the old position of the item that goes to i.
  void Reorder(const std::vector<int>& order);
  // Sorts the items; the Source mode orders by source text and position within it.
  void Sort(TSortMode mode);

  // The source file of an item, empty when it has none.
  std::string SourceOf(int index) const;
  // The entry of path in the source table (found ignoring case), added when missing.
  int SourceIndexOf(const std::string& path);
  // Gives path as the source of every item from first on that has none yet, with positions
  // counted from first (0, 1, ...). Nothing is added to the table when no item needs it.
  void RecordSources(const std::string& path, int first);
  // Gives path and position as the source of the item at index.
  void RecordSource(int index, const std::string& path, int position);
  // Empties the source table; no item keeps a source.
  void ClearSources();

  // Collection files. Read replaces the collection; a file damaged in its header raises
  // "Unknown file format: <name>" and leaves it empty; one cut inside an item raises the read
  // error and keeps the items read so far. Damaged images inside are dropped and counted.
  // With mapped, the file stream reads, the images keep views of its bytes (see
  // ReadCollectionItem) and the collection keeps the file until it is cleared.
  void Read(Stream& stream, const std::string& name, const SharedFile& mapped = nullptr);
  // Appends the items of a collection file, their sources shifted to follow the table. With an
  // index, items equal to one already present are dropped and the others indexed. Returns how
  // many items were added.
  int Merge(Stream& stream, const std::string& name, TDuplicateIndex* duplicates = nullptr,
            const SharedFile& mapped = nullptr);
  // Appends the items of a collection file already read into a collection of its own (by Read,
  // possibly on another thread), as Merge appends them, emptying read; its source table follows
  // this one's and its dropped images are counted here.
  int MergeRead(TCollection& read, TDuplicateIndex* duplicates = nullptr);
  // Raises EFileError, after writing, when a file whose bytes items view was cut meanwhile by
  // another program: the written images would be zeros.
  void Write(Stream& stream) const;

  // Images dropped as damaged by the reads since the last call; reading it starts a new count.
  int TakeDroppedImageCount();
  // The mapped files whose bytes items view.
  const std::vector<SharedFile>& MappedFiles() const { return mappedFiles_; }

 private:
  int AppendRead(std::vector<TIconList::Item>& items, TDuplicateIndex* duplicates);
  void CheckMappedFilesWhole() const;
  // The entry of path (ignoring case) in the source table as far as the index knows it, after
  // indexing the entries added since the last call.
  std::optional<int> IndexedSource(const std::string& path);

  // Source paths in lower case and their first entries, for the first `indexed` entries of the
  // table (which only grows between resets), so that recording a source costs no scan.
  struct SourceIndex {
    std::unordered_map<std::string, int> positions;
    size_t indexed = 0;
  };
  SourceIndex sourceIndex_;
  int droppedImages_ = 0;
  // The mapped collection files the items' images may view; kept so that a save can tell
  // whether one was cut.
  std::vector<SharedFile> mappedFiles_;
};

}  // namespace varnel

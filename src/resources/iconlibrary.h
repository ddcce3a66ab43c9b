#pragma once
// An icon list bound to a library or module file: loading the icons of PE and NE modules and
// ICL libraries (their icon groups, then their cursor groups as cursors; a raw scan of the bytes
// when the resources give neither), appending, the naming rules, the uniqueness check and saving
// as 32-bit or 16-bit ICL.

#include <optional>
#include <span>
#include <string>

#include "base/mappedfile.h"
#include "resources/iclreaderror.h"
#include "resources/iconlist.h"
#include "resources/modulecensus.h"

namespace varnel {

class TIconLibrary {
 public:
  int Count() const { return Icons.Count(); }
  TAdvancedIcon* Icon(int index) const { return Icons.Icons(index); }
  // The position an icon location's index names: the index itself when it is in range, or for a
  // negative index the icon whose name is its absolute value in decimal; -1 when there is none.
  int PositionOfLocationIndex(int index) const;

  // Each reads through one mapping of the file; the forms taking a path map it first.
  //
  // Replaces the list by the icons of a module file. True when the 16-bit reader read them; a
  // PE module's icons, and those of the raw scan, leave the result false.
  bool LoadFromFile(const std::string& fileName);
  bool LoadFromFile(const SharedFile& file);
  // Appends the icons of a module file; true when a module reader ran (for a 16-bit module:
  // succeeded).
  bool AppendFromFile(const std::string& fileName);
  bool AppendFromFile(const SharedFile& file);
  // Replaces the list by the names and icons of a PE module, or by the names of a 16-bit one
  // (each with an icon without images). False for files that are no readable module.
  bool LoadNames(const std::string& fileName);
  bool LoadNames(const SharedFile& file);

  // Raise Exception with the CheckUniqueNames message for duplicate names; nothing is written
  // then. Both write a temporary file that replaces fileName only when complete.
  bool SaveAs32Bit(const std::string& fileName) const;
  // Also raises EICLReadError for more than 32767 icons or images.
  void SaveAs16Bit(const std::string& fileName) const;

  // Raises Exception "Please correct icon names. Non-unique icon name "<name>" found." for the
  // first two names that are equal (case-sensitive); message is empty otherwise.
  void CheckUniqueNames(std::string& message) const;
  // Drops the composed pictures every image keeps for drawing.
  void ReleaseHandles();

  std::string FileName;
  bool IsModule = false;
  bool Is32Bit = false;
  // Icon groups the census found (cursor groups not counted); -1 when the file is no readable
  // module.
  int ModuleIconCount = -1;
  TIconList Icons;

 private:
  // Sets FileName, IsModule and Is32Bit from the file's bytes and takes its census.
  ModuleCensus ExamineFile(const std::string& fileName, std::span<const uint8_t> bytes);
  // Reads the module's icons into the list; true when a reader ran as the result counts it.
  bool ReadModuleIcons(const SharedFile& file);
};

// Index of the first icon named exactly name (case-sensitive), or -1.
int FindIconInLibrary(const std::string& fileName, const std::string& name);

// The picture of the image of icon index that best suits a size x size picture of that depth;
// nothing when the index is out of range or the icon has no image.
std::optional<TIconHandle> ExtractIconFromLibrary(const std::string& fileName, int index, int size,
                                                  int bitsPerPixel);

}  // namespace varnel

#pragma once
// Bringing files into the collection: each file's kind decides its reader, the items it gives are
// named and their sources recorded.

#include <array>
#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "appcore/settings.h"
#include "collection/collection.h"
#include "collection/filecontents.h"
#include "collection/filekind.h"
#include "icons/advancedicon.h"
#include "platform/userinterface.h"

namespace varnel {

class TDuplicateIndex;
class CollectionTarget;
class TfmLib;

// The appending half of LoadFile: contents read in the matching style (with a duplicate index,
// ExcludingDuplicates) go into the collection under source, with the errors handled as LoadFile
// does.
void AppendFileContents(CollectionTarget& lib, FileContents& contents, const std::string& source,
                        bool silent, std::vector<std::string>* errors,
                        TDuplicateIndex* duplicates = nullptr);

// Search-style loading (opening a file, searches, archive members). With silent, errors are
// swallowed; else with an error list they are collected; else raised. With a duplicate index,
// icons equal to one already present are dropped (collection files merged, an animated cursor
// as one icon); the index holds the collection's items and grows with the items added.
void LoadFile(CollectionTarget& lib, const std::string& path, const std::string& displayPath = "",
              int depth = 0, bool allMembers = false, bool silent = false,
              std::vector<std::string>* errors = nullptr, TDuplicateIndex* duplicates = nullptr);

// The image sizes a vector drawing becomes when no size was chosen for it: it has no size of its
// own worth keeping, so it is drawn at each usual icon size.
inline constexpr std::array<int, 4> kDrawingImageSizes{16, 32, 48, 256};

// What the files of one import share: the "Add Image" answer given for all of them, remembered
// while the import lasts.
struct ImportSession {
  bool applySizeToAll = false;
  TNewImageSizeAnswer lastImageSize;
};

// User-chosen and dropped files: every file the readers know gives its icons; a picture becomes
// one icon (a vector drawing one with an image at each size of kDrawingImageSizes, or at the size
// of the "Add Image" answer given for all files). Errors go to the list, or are raised without one.
void ImportFile(CollectionTarget& lib, const std::string& path, std::vector<std::string>* errors,
                int depth = 0, bool allMembers = false);
// The same as one file of an import of several.
void ImportFile(CollectionTarget& lib, ImportSession& session, const std::string& path,
                std::vector<std::string>* errors, int depth = 0, bool allMembers = false);

}  // namespace varnel

namespace varnel {

// The "Import Files..." command: the open dialog, then each chosen file through ImportFile; the
// errors are shown at the end.
void ImportFiles(TfmLib& lib);

enum class ImageAddResult {
  Added,      // the file's images were added
  Cancelled,  // the size question was cancelled
  NoImages,   // the file gave no image
};

// Adds the images of one file to icon. index chooses the icon of a library (0 when negative).
ImageAddResult AddImagesFromFile(CollectionTarget& lib, ImportSession& session, TAdvancedIcon& icon,
                                 const std::string& path, int index);
// The same over the file mapped and detected before (null when it could not be mapped).
ImageAddResult AddImagesFromMappedFile(CollectionTarget& lib, ImportSession& session,
                                       TAdvancedIcon& icon, const std::string& path,
                                       const SharedFile& file, TFileKind kind, int index);

// Whether a dropped or searched file is one never loaded ("txt", "ini", "lnk", ...).
bool IsSkippedExtension(const std::string& path);

}  // namespace varnel

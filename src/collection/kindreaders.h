#pragma once
// The one table of file kinds and their readers. Every way of bringing a file into the
// collection (opening, searching, importing, adding images to an icon) asks it what a kind is
// and how to read it, so that a new format is one row here and one reader of its own.

#include <memory>
#include <optional>
#include <string>

#include "base/mappedfile.h"
#include "collection/filekind.h"
#include "graphics/bitmap.h"
#include "icons/advancedicon.h"

namespace varnel {

// How the files of a kind give icons.
enum class TKindGroup {
  SingleIcon,       // one icon read whole (icon and cursor files)
  Picture,          // one picture that becomes one image
  ImportedPicture,  // the same, but read only when the file is imported (searches pass it by)
  LayeredPicture,   // pictures with layers, read only when the file is imported
  AnimatedCursor,   // icons in RIFF chunks: one per frame, or all frames as one icon
  Library,          // many named icons (modules, resource files)
  Collection,       // a collection file, merged item by item
  Archive,          // members read one by one
  Unsupported,      // known, but no reader is part of the program yet
  Other,            // anything else: a module when it is one, else icons in RIFF chunks
};

// A picture as read from its file: the colour bitmap and, for formats that give one, a mask.
struct TPicture {
  TBitmap color;
  std::optional<TBitmap> mask;
};

struct TKindReader {
  TFileKind kind;
  TKindGroup group;
  // SingleIcon: reads the file's icon. AnimatedCursor: reads all frames as one icon. Picture:
  // when given, the icon the file gives on import: the picture held as its file's bytes, or the
  // images of several frames (null when it cannot be). The picture reader then serves for
  // adding an image at another size.
  std::unique_ptr<TAdvancedIcon> (*readIcon)(const MappedFile& file) = nullptr;
  // Picture: reads the file's picture. Layered pictures: their composite, for previews only.
  TPicture (*readPicture)(const MappedFile& file) = nullptr;
  // The word the preview of a file of the kind names it by ("PNG").
  const char* typeWord = "Picture";
};

// A reader's icon or picture from the file at path, mapped for the reading.
std::unique_ptr<TAdvancedIcon> ReadIconOf(const TKindReader& reader, const std::string& path);
TPicture ReadPictureOf(const TKindReader& reader, const std::string& path);

// The picture file at path as one icon: the icon its reader gives on import, else its picture as
// one image. Null when the file is no picture.
std::unique_ptr<TAdvancedIcon> ReadPictureFileIcon(const std::string& path);

// The row of a kind; kinds without a row of their own are Other.
const TKindReader& ReaderOf(TFileKind kind);

}  // namespace varnel

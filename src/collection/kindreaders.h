#pragma once
// A row of the table of formats (filekind.h lists the rows): what a kind is, how its content is
// recognised and how it is read and written. Every way of bringing a file into the collection
// (opening, searching, importing, adding images to an icon), the descriptions, the preview and
// the dialog filters ask the rows, so that a new format is a file of its own holding its row and
// one entry in the table.

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/mappedfile.h"
#include "collection/filekind.h"
#include "collection/kindprobe.h"
#include "collection/saveformats.h"
#include "graphics/bitmap.h"
#include "graphics/pictureformats.h"
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

// One frame of an animation as a picture with alpha, and how long it is shown.
struct AnimationFrame {
  TBitmap picture;  // 32-bit
  int delayMs = 0;
};

struct FileFormat {
  // Formats told by their extension alone have no kind.
  std::optional<TFileKind> kind = std::nullopt;
  const char* kindName = "";  // as the code spells the kind ("fkIcon")
  TKindGroup group = TKindGroup::Other;
  // What "varnel-cli info" says a file of the kind is ("PNG image"); describe, when given,
  // tells it from the sub-kind or the file itself.
  const char* description = "";
  std::string (*describe)(const TFileKindInfo& info, const std::string& path) = nullptr;
  // The content test; null for kinds another row's test gives.
  KindTest detect = nullptr;
  // RIFF files of this form are of the kind, refused beyond riffSizeLimit bytes.
  const char* riffForm = nullptr;
  int64_t riffSizeLimit = 0;
  // SingleIcon: reads the file's icon. AnimatedCursor: reads all frames as one icon. Picture:
  // when given, the icon the file gives on import: the picture held as its file's bytes, or the
  // images of several frames (null when it cannot be). The picture reader then serves for
  // adding an image at another size.
  std::unique_ptr<TAdvancedIcon> (*readIcon)(const MappedFile& file) = nullptr;
  // Picture: reads the file's picture. Layered pictures: their composite, for previews only.
  TPicture (*readPicture)(const MappedFile& file) = nullptr;
  // The word the preview of a file of the kind names it by ("PNG").
  const char* typeWord = "Picture";
  // Every frame of an animation, composed, for "varnel-cli frames"; framesKind names the
  // animation in its frames.json.
  std::vector<AnimationFrame> (*readFrames)(std::span<const uint8_t> bytes) = nullptr;
  const char* framesKind = "";
  // The patterns the import dialog's picture filter adds for the format ("*.psd").
  const char* importPatterns = nullptr;
  // The reader of pictures of the format whose content did not tell their kind, by extension.
  const TPictureFormat& (*pictureByExtension)() = nullptr;
  // Whether a file of the kind that an Internet scan downloads is loaded.
  bool loadedWhenDownloaded = true;
  // The format an icon or image is saved as, when it is one.
  std::optional<TSaveFormat> save = std::nullopt;
};

// A reader's icon or picture from the file at path, mapped for the reading.
std::unique_ptr<TAdvancedIcon> ReadIconOf(const FileFormat& reader, const std::string& path);
TPicture ReadPictureOf(const FileFormat& reader, const std::string& path);

// The picture file at path as one icon: the icon its reader gives on import, else its picture as
// one image. Null when the file is no picture.
std::unique_ptr<TAdvancedIcon> ReadPictureFileIcon(const std::string& path);

// The row of a kind.
const FileFormat& FormatOf(TFileKind kind);

// What "varnel-cli info" says of a file of the kind.
std::string DescribeKind(const TFileKindInfo& info, const std::string& path);

// The import dialog's picture patterns of all rows that give some, joined by ";".
std::string ImportPicturePatterns();

}  // namespace varnel

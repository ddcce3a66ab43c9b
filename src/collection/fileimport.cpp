#include "collection/fileimport.h"

#include <algorithm>
#include <filesystem>

#include "appcore/shareddialogs.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "collection/duplicatefinder.h"
#include "collection/filekind.h"
#include "collection/fmlib.h"
#include "collection/iconhash.h"
#include "graphics/canvas.h"
#include "graphics/jpegcodec.h"
#include "icons/bitmapfix32.h"
#include "icons/maskbits.h"
#include "icons/picturesizing.h"
#include "icons/pngpicture.h"
#include "resources/modulecensus.h"
#include "resources/resimport.h"

namespace varnel {

namespace {

constexpr int kPngAlphaThreshold = 80;
constexpr int kSmallPicture = 256;
constexpr int64_t kMiB = 1 << 20;

using Kind = TFileKind;

std::string Stem(const std::string& path) {
  return std::filesystem::path(path).stem().string();
}

bool IsArchive(Kind kind) {
  return kind == Kind::fkZip || kind == Kind::fkRar;
}

// A picture as a 32-bit bitmap, fully opaque.
TBitmap AsOpaque32Bit(const TBitmap& picture) {
  TBitmap result = ConvertFormat(picture, PixelFormat::Bits32);
  SetOpaque(result);
  return result;
}

struct Picture {
  TBitmap color;
  std::optional<TBitmap> mask;
};

// The picture of a BMP, JPEG or PNG file; nothing for other kinds.
std::optional<Picture> ReadPicture(Kind kind, const std::string& path) {
  if (kind != Kind::fkBitmap && kind != Kind::fkPng && kind != Kind::fkJpeg) return std::nullopt;
  std::vector<uint8_t> bytes = ReadWholeFile(path);
  if (kind == Kind::fkBitmap) {
    TBitmapFix32 bitmap;
    SpanStream stream(bytes);
    bitmap.LoadFromStream(stream);
    return Picture{std::move(bitmap), std::nullopt};
  }
  if (kind == Kind::fkJpeg) return Picture{AsOpaque32Bit(DecodeJpeg(bytes)), std::nullopt};
  TColorAndMask png = LoadPngPicture(bytes, kPngAlphaThreshold);
  return Picture{std::move(png.color), std::move(png.mask)};
}

void AddPictureImage(TAdvancedIcon& icon, const Picture& picture) {
  icon.Images().AddFromBitmap(picture.color, picture.mask ? &*picture.mask : nullptr, 0);
}

// The one icon of the single-icon kinds (icon files, pictures); null for every other kind.
std::unique_ptr<TAdvancedIcon> ReadSingleIcon(Kind kind, const std::string& path) {
  auto icon = std::make_unique<TAdvancedIcon>();
  if (kind == Kind::fkIcon) {
    icon->LoadFromFile(path);
  } else if (auto picture = ReadPicture(kind, path)) {
    AddPictureImage(*icon, *picture);
  } else {
    return nullptr;
  }
  return icon;
}

// Kinds whose readers are not part of the program yet: nothing is read from them.
bool ReaderMissing(Kind kind) {
  return kind == Kind::fkGif || kind == Kind::fkMacIcon || kind == Kind::fkIconProject ||
         IsArchive(kind);
}

// The icons of a module, library or resource file in a private list; isModule tells whether
// the file was one. Only modules get the raw scan for embedded images when their resources give
// no icon; other files are left to the RIFF search.
TIconLibrary ReadLibrary(Kind kind, const std::string& path, bool& isModule) {
  TIconLibrary library;
  isModule = true;
  if (kind == Kind::fkResource32 || kind == Kind::fkResource16) {
    ImportResourceFile(path, library.Icons);
    return library;
  }
  bool is32Bit = false;
  isModule = IsModuleFile(path, is32Bit);
  if (isModule) library.AppendFromFile(path);
  return library;
}

void MoveAllInto(TIconList& from, TfmLib& lib) {
  while (from.Count()) from.MoveIconTo(0, lib.Items());
}

// Icons stored in RIFF chunks: one item per icon, numbered when there are several.
void AppendRiffIcons(TfmLib& lib, const std::string& path) {
  std::vector<std::unique_ptr<TAdvancedIcon>> found;
  TAdvancedIcon().ExtractFromRiffFile(path, 0, &found);
  std::string name = Stem(path);
  for (size_t i = 0; i < found.size(); ++i)
    lib.AppendItem(found.size() == 1 ? name : name + std::to_string(i), std::move(found[i]));
}

void CheckArchiveSize(const TfmLib& lib, Kind kind, const std::string& path) {
  if (lib.SearchMode && IsArchive(kind) &&
      FileSizeOf(path) > int64_t(lib.Settings().MaxArchiveSize) * kMiB)
    throw Exception("Archive too large: " + path);
}

void LoadByKind(TfmLib& lib, Kind kind, const std::string& path) {
  if (ReaderMissing(kind)) return;
  if (auto icon = ReadSingleIcon(kind, path)) {
    if (icon->Images().Count()) lib.AppendItem(Stem(path), std::move(icon));
    return;
  }
  bool isModule = false;
  TIconLibrary library = ReadLibrary(kind, path, isModule);
  MoveAllInto(library.Icons, lib);
  if (!isModule) AppendRiffIcons(lib, path);
}

std::string WithPath(const std::string& message, const std::string& path,
                     const std::string& joiner) {
  return message.find(path) == std::string::npos ? message + joiner + path : message;
}

}  // namespace

void LoadFile(TfmLib& lib, const std::string& path, const std::string& displayPath, int depth,
              bool allMembers, bool silent, std::vector<std::string>* errors) {
  int before = lib.Count();
  Kind kind = DetectFileKind(path).kind;
  try {
    CheckArchiveSize(lib, kind, path);
    LoadByKind(lib, kind, path);
  } catch (const Exception& error) {
    if (!silent) {
      if (!errors) throw;
      errors->push_back(error.what());
    }
  }
  if (lib.Count() != before) lib.SetModified(true);
  lib.RecordSources(displayPath.empty() ? path : displayPath);
}

void LoadFileExcludingDuplicates(TfmLib& lib, const std::string& path,
                                 const std::string& displayPath, int depth, TListLongint& hashes,
                                 std::vector<std::string>* errors) {
  std::string source = displayPath.empty() ? path : displayPath;
  auto addUnlessPresent = [&](std::string name, std::unique_ptr<TAdvancedIcon> icon, int position) {
    if (!icon->Images().Count()) return;
    uint32_t hash = SearchHash(*icon);
    if (IsDuplicate(lib.Items(), *icon, hash, hashes)) return;
    lib.AppendItem(std::move(name), std::move(icon));
    hashes.Add(int32_t(hash));
    lib.SetModified(true);
    lib.RecordSource(source, position);
  };
  try {
    Kind kind = DetectFileKind(path).kind;
    CheckArchiveSize(lib, kind, path);
    if (kind == Kind::fkCollection) {
      lib.MergeCollectionFile(path, &hashes);
      lib.SetModified(true);
    } else if (kind == Kind::fkAniCursor) {
      auto icon = std::make_unique<TAdvancedIcon>();
      icon->ExtractFromRiffFile(path, 0, nullptr);
      addUnlessPresent(Stem(path), std::move(icon), 0);
    } else if (ReaderMissing(kind)) {
      return;
    } else if (auto icon = ReadSingleIcon(kind, path)) {
      addUnlessPresent(Stem(path), std::move(icon), 0);
    } else {
      bool isModule = false;
      TIconLibrary library = ReadLibrary(kind, path, isModule);
      for (int position = 0; library.Icons.Count(); ++position) {
        std::string name = library.Icons.Names(0);
        TIconList single;
        library.Icons.MoveIconTo(0, single);
        auto icon = std::make_unique<TAdvancedIcon>();
        icon->Images().TakeAll(*single.Icons(0));
        addUnlessPresent(name, std::move(icon), position);
      }
    }
  } catch (const Exception& error) {
    if (!errors) throw;
    errors->push_back(WithPath(error.what(), path, ": "));
  }
}

void ImportFile(TfmLib& lib, const std::string& path, std::vector<std::string>* errors, int depth,
                bool allMembers) {
  int before = lib.Count();
  Kind kind = DetectFileKind(path).kind;
  bool recordSource = kind != Kind::fkCollection && !IsArchive(kind);
  try {
    if (kind == Kind::fkCollection) {
      lib.MergeCollectionFile(path);
    } else if (kind == Kind::fkModule || kind == Kind::fkResource32 || kind == Kind::fkResource16) {
      bool isModule = false;
      TIconLibrary library = ReadLibrary(kind, path, isModule);
      MoveAllInto(library.Icons, lib);
    } else if (IsArchive(kind)) {
      throw Exception("Reading archives is not available yet");
    } else {
      auto icon = std::make_unique<TAdvancedIcon>();
      int result = AddImagesFromFile(lib, *icon, path, -1);
      if (result == 2 && errors) errors->push_back("Images not found: " + path);
      if (result == 1) lib.Terminated = true;
      // A file without images is reported once: in the list when there is one.
      bool reported = result == 2 && errors;
      if (icon->Images().Count())
        lib.AppendItem(Stem(path), std::move(icon));
      else if (!lib.Terminated && !reported)
        throw Exception("Can't found image in file: " + path);
    }
  } catch (const Exception& error) {
    if (!errors) throw;
    errors->push_back(WithPath(error.what(), path, ", file: "));
  }
  if (lib.Count() != before) lib.SetModified(true);
  if (recordSource) lib.RecordSources(path);
}

namespace {

constexpr const char* kImportFilter =
    "Icon files (*.ico;*.dll;*.exe;*.icl;*.icc;*.nil;*.cur;*.ani...)|*.exe;*.dll;*.ico;*.cpl;*.icl;"
    "*.nil;*.ocx;*.vbx;*.il;*.cur;*.ani;*.icc|Libraries "
    "(*.icl;*.nil;*.dll;*.exe;*.cpl;*.ocx;*.vbx)|*.icl;*.nil;*.dll;*.exe;*.cpl;*.ocx;*.vbx;*.il;*."
    "res;"
    "*.dcr|Icon collections (*.icc)|*.icc|Icons (*.ico)|*.ico|Images "
    "(*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.wmf)|*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.wmf;*.emf;*.psd;*.pdd;"
    "*.wbmp;*.dcr|Cursors (*.cur;*.ani)|*.cur;*.ani|Zip and Rar archives "
    "(*.zip;*.rar)|*.zip;*.rar|All files (*.*)|*.*";
constexpr size_t kFilesWithoutProgressWindow = 10;

}  // namespace

namespace {

constexpr int kPictureSizeFilterThreshold = 80;

// The "Add Image" question for a picture's size; the previous answer while it is to be reused.
std::optional<TNewImageSizeAnswer> AskImageSize(TfmLib& lib, const std::string& path,
                                                const TBitmap& picture) {
  if (lib.ApplySizeToAll) return lib.LastImageSize;
  if (lib.UI().ProgressShown()) lib.UI().CloseProgress();
  auto answer = lib.UI().AskNewImageSize(
      {std::filesystem::path(path).filename().string(), picture.Width(), picture.Height()});
  if (!answer) return std::nullopt;
  lib.LastImageSize = *answer;
  lib.ApplySizeToAll = answer->applyToAll;
  return answer;
}

// A picture smaller than 256 in both directions is added as it is; a larger one at the size
// the user chooses. Returns 1 when the question was cancelled.
int AddPicture(TfmLib& lib, TAdvancedIcon& icon, const std::string& path, const Picture& picture) {
  const TBitmap* mask = picture.mask ? &*picture.mask : nullptr;
  if (picture.color.Width() < kSmallPicture && picture.color.Height() < kSmallPicture) {
    icon.Images().AddFromBitmap(picture.color, mask, 0);
    lib.SetModified(true);
    return 0;
  }
  auto size = AskImageSize(lib, path, picture.color);
  if (!size) return 1;
  AddBitmapSized(icon.Images(), picture.color, mask, size->filter, kPictureSizeFilterThreshold,
                 size->proportions, size->width, size->height);
  return 0;
}

}  // namespace

int AddImagesFromFile(TfmLib& lib, TAdvancedIcon& icon, const std::string& path, int index) {
  int before = icon.Images().Count();
  Kind kind = DetectFileKind(path).kind;
  int result = 0;
  if (kind == Kind::fkIcon) {
    icon.LoadFromFile(path);
  } else if (kind == Kind::fkAniCursor) {
    icon.Images().Clear();
    icon.ExtractFromRiffFile(path, 0, nullptr);
  } else if (auto picture = ReadPicture(kind, path)) {
    result = AddPicture(lib, icon, path, *picture);
  } else if (kind == Kind::fkModule || kind == Kind::fkResource32 || kind == Kind::fkResource16) {
    bool isModule = false;
    TIconLibrary library = ReadLibrary(kind, path, isModule);
    int chosen = std::max(index, 0);
    if (chosen < library.Count()) icon.Images().TakeAll(*library.Icon(chosen));
  } else if (FileSizeOf(path) < 4) {
    throw Exception("Can't found image in file: " + path);
  }
  if (result == 0 && icon.Images().Count() == before) result = 2;
  return result;
}

bool IsSkippedExtension(const std::string& path) {
  static const char* const kSkipped[] = {"swp", "txt", "doc", "xls", "ini", "dat", "da0", "lnk"};
  std::string ext = std::filesystem::path(path).extension().string();
  if (ext.empty()) return false;
  ext.erase(0, 1);
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  return std::find(std::begin(kSkipped), std::end(kSkipped), ext) != std::end(kSkipped);
}

void ImportFiles(TfmLib& lib) {
  lib.CheckNotBusy();
  lib.ApplySizeToAll = false;
  TFileDialogRequest request{"", kImportFilter, 1, "", "", "", true};
  auto answer = lib.UI().ChooseFilesToOpen(request);
  if (!answer || answer->files.empty()) return;
  bool progress = answer->files.size() > kFilesWithoutProgressWindow;
  if (progress)
    lib.BeginLongOperation();
  else
    lib.BeginBusy();
  std::vector<std::string> errors;
  for (const std::string& file : answer->files) {
    lib.SetModified(true);
    lib.UI().SetStatusText(0, file);
    lib.UI().ProcessMessages();
    if (progress) {
      if (lib.UI().ProgressFlags().stopRequested) lib.Terminated = true;
      std::filesystem::path path(file);
      lib.UI().SetProgressField(TProgressField::Path, path.parent_path().string());
      lib.UI().SetProgressField(TProgressField::File, path.filename().string());
      lib.UI().SetProgressField(TProgressField::Count, std::to_string(lib.Count()));
    }
    ImportFile(lib, file, &errors);
    if (lib.Terminated) break;
  }
  if (progress)
    lib.EndLongOperation();
  else
    lib.EndBusy();
  ShowErrors(lib.UI(), errors);
  lib.ApplySizeToAll = false;
}

}  // namespace varnel

#include "collection/fileimport.h"

#include <algorithm>
#include <filesystem>

#include "appcore/shareddialogs.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "base/mappedfile.h"
#include "collection/archivewalk.h"
#include "collection/archivewalkstatus.h"
#include "collection/busyscope.h"
#include "collection/duplicatefinder.h"
#include "collection/duplicategroups.h"
#include "collection/exportnames.h"
#include "collection/filekind.h"
#include "collection/fmlib.h"
#include "collection/kindreaders.h"
#include "collection/seeniconbytes.h"
#include "icons/imagefileloader.h"
#include "icons/picturesizing.h"
#include "icons/psdfiles.h"
#include "icons/rasterpictures.h"
#include "resources/modulecensus.h"
#include "resources/resimport.h"

namespace varnel {

namespace {

constexpr int kSmallPicture = 256;
constexpr int kPictureSizeFilterThreshold = 80;
constexpr int kDrawingFilter = 5;  // Lanczos3, used when a drawing is scaled rather than drawn
constexpr int64_t kMiB = 1 << 20;

using Kind = TFileKind;
using Group = TKindGroup;
using NamedIcons = std::vector<FoundIcon>;

std::string Stem(const std::string& path) {
  return std::filesystem::path(path).stem().string();
}

bool IsArchive(Kind kind) {
  return kind == Kind::fkZip || kind == Kind::fkRar;
}

void AddPictureImage(TAdvancedIcon& icon, const TPicture& picture) {
  icon.Images().AddFromBitmap(picture.color, picture.mask ? &*picture.mask : nullptr, 0);
}

// A drawing at every size of kDrawingImageSizes.
std::vector<ImageSizeRequest> DefaultDrawingSizes() {
  std::vector<ImageSizeRequest> sizes;
  for (int size : kDrawingImageSizes)
    sizes.push_back({size, size, kDrawingFilter, kPictureSizeFilterThreshold, true});
  return sizes;
}

// A vector drawing has no size of its own worth keeping: it is drawn afresh at each icon size
// where its extension names the drawing reader, else rendered once and scaled.
void AddDrawing(TAdvancedIcon& icon, const std::vector<ImageSizeRequest>& sizes,
                const FileFormat& reader, const MappedFile& file) {
  const std::string& path = file.Path();
  if (HasImageReader(path)) {
    for (const ImageSizeRequest& size : sizes) LoadImageFileResampled(icon, path, size);
    return;
  }
  TPicture picture = reader.readPicture(file);
  const TBitmap* mask = picture.mask ? &*picture.mask : nullptr;
  for (const ImageSizeRequest& size : sizes)
    AddBitmapSized(icon.Images(), picture.color, mask, size.filter, size.alphaThreshold,
                   size.keepProportions, size.width, size.height);
}

// The one icon of the single-icon kinds (icon files, pictures); null for every other kind.
std::unique_ptr<TAdvancedIcon> ReadSingleIcon(const FileFormat& reader, const MappedFile& file) {
  if (reader.group == Group::SingleIcon) return reader.readIcon(file);
  if (reader.group != Group::Picture) return nullptr;
  if (auto packed = reader.readIcon ? reader.readIcon(file) : nullptr) return packed;
  auto icon = std::make_unique<TAdvancedIcon>();
  AddPictureImage(*icon, reader.readPicture(file));
  return icon;
}

// The icons of a module, library or resource file in a private list; isModule tells whether
// the file was one. Only modules get the raw scan for embedded images when their resources give
// no icon; other files are left to the RIFF search.
TIconLibrary ReadLibrary(Kind kind, const SharedFile& file, bool& isModule) {
  TIconLibrary library;
  isModule = true;
  if (kind == Kind::fkResource32 || kind == Kind::fkResource16) {
    ImportResourceBytes(file->Bytes(), library.Icons);
    return library;
  }
  bool is32Bit = false;
  isModule = IsModuleBytes(file->Bytes(), is32Bit);
  if (isModule) library.AppendFromFile(file);
  return library;
}

// Icons stored in RIFF chunks, each named after the file, numbered when there are several.
NamedIcons ReadRiffIcons(const MappedFile& file) {
  std::vector<std::unique_ptr<TAdvancedIcon>> found;
  TAdvancedIcon().ExtractFromRiffData(file.Bytes(), 0, &found);
  std::erase_if(found, [](const auto& icon) { return !icon->Images().Count(); });
  std::string name = Stem(file.Path());
  NamedIcons icons;
  for (size_t i = 0; i < found.size(); ++i)
    icons.push_back({found.size() == 1 ? name : name + std::to_string(i), std::move(found[i]), {}});
  return icons;
}

// Every icon of a file whose kind gives many: a library's icons with their names, or, for a
// file that is no module, the icons in its RIFF chunks.
NamedIcons ReadManyIcons(Kind kind, const SharedFile& file) {
  bool isModule = false;
  TIconLibrary library = ReadLibrary(kind, file, isModule);
  if (!isModule) return ReadRiffIcons(*file);
  NamedIcons icons;
  while (library.Icons.Count()) {
    TIconList::Item item = library.Icons.TakeItem(0);
    icons.push_back({std::move(item.name), std::move(item.icon), {}});
  }
  return icons;
}

void CheckArchiveSize(const FileReadOptions& options, Kind kind, const MappedFile& file) {
  if (options.searchMode && IsArchive(kind) &&
      int64_t(file.Size()) > int64_t(options.maxArchiveMiB) * kMiB)
    throw Exception("Archive too large: " + file.Path());
}

// A collection file read whole into a collection of its own; items read before a failure are
// kept there when the failure is raised.
void ReadCollectionContents(FileContents& contents, const SharedFile& file) {
  contents.collection = std::make_unique<TCollection>();
  SpanStream stream(file->Bytes());
  contents.collection->Read(stream, contents.path, file);
}

// The picture of an XPM or XBM file, which its content alone does not tell apart from other
// text; null for a file of another extension.
std::unique_ptr<TAdvancedIcon> ReadXWindowPicture(const std::string& path) {
  std::string ext = LowerExtension(path);
  if (ext != "xpm" && ext != "xbm") return nullptr;
  auto icon = std::make_unique<TAdvancedIcon>();
  int height = 0, width = 0;
  LoadRasterPictureFile(icon->Images(), path, true, height, width);
  return icon;
}

// The single-icon kinds (and XPM and XBM pictures) give their icon when it has images; the
// others their many icons.
void ReadIcons(const FileFormat& reader, FileContents& contents, const SharedFile& file) {
  auto icon = ReadSingleIcon(reader, *file);
  if (!icon && reader.group == Group::Other) icon = ReadXWindowPicture(contents.path);
  if (icon) {
    if (icon->Images().Count())
      contents.icons.push_back({Stem(contents.path), std::move(icon), {}});
    return;
  }
  contents.icons = ReadManyIcons(contents.kind, file);
}

void ReadPlain(FileContents& contents, const SharedFile& file, bool archiveMember) {
  const FileFormat& reader = FormatOf(contents.kind);
  // Collection files met inside archives are merged; elsewhere loading passes them over.
  if (reader.group == Group::Collection && archiveMember) ReadCollectionContents(contents, file);
  if (reader.group == Group::Unsupported || reader.group == Group::Collection) return;
  ReadIcons(reader, contents, file);
}

void ReadExcludingDuplicates(FileContents& contents, const SharedFile& file,
                             SeenIconBytes* seenBytes) {
  const FileFormat& reader = FormatOf(contents.kind);
  if (reader.group == Group::Collection) {
    ReadCollectionContents(contents, file);
  } else if (reader.group == Group::AnimatedCursor) {
    auto icon = reader.readIcon(*file);
    if (icon->Images().Count())
      contents.icons.push_back({Stem(contents.path), std::move(icon), {}});
  } else if (reader.group != Group::Unsupported) {
    ReadIcons(reader, contents, file);
  }
  for (FoundIcon& found : contents.icons) {
    if (!found.icon->Images().Count()) continue;
    uint64_t bytes = IconBytesKey(*found.icon);
    bool metBefore = seenBytes && !seenBytes->Insert(bytes);
    found.keys = TDuplicateIndex::KeysOf(*found.icon, bytes, !metBefore);
  }
}

std::string WithPath(const std::string& message, const std::string& path,
                     const std::string& joiner) {
  return message.find(path) == std::string::npos ? message + joiner + path : message;
}

// Appends the items of a collection file read beforehand; the collection counts as changed when
// it grew, and in any case when the whole file was read.
void MergeCollectionContents(CollectionTarget& lib, FileContents& contents,
                             TDuplicateIndex& duplicates) {
  int before = lib.Count();
  lib.Collection().MergeRead(*contents.collection, &duplicates);
  if (lib.Count() > before || !contents.error) lib.SetModified(true);
}

}  // namespace

FileReadOptions ReadOptionsOf(CollectionTarget& lib, LoadStyle style) {
  FileReadOptions options;
  options.style = style;
  options.searchMode = lib.InSearchMode();
  options.maxArchiveMiB = lib.Settings().MaxArchiveSize;
  options.iconMask = lib.Settings().IconMask;
  return options;
}

FileContents ReadFileContents(const std::string& path, const FileReadOptions& options) {
  FileContents contents;
  try {
    contents.path = path;
    // One mapping serves detection, the size check and the reader; a file that cannot be
    // opened gives nothing (its callers say that no icons were found in it).
    SharedFile file = MappedFile::TryOpen(path);
    if (!file) {
      contents.kind = Kind::fkUnreadable;
      return contents;
    }
    contents.kind = DetectFileKind(*file).kind;
    CheckArchiveSize(options, contents.kind, *file);
    if (IsArchive(contents.kind))
      ReadArchiveContents(contents, options);
    else if (options.style == LoadStyle::Plain)
      ReadPlain(contents, file, options.depth > 0);
    else
      ReadExcludingDuplicates(contents, file, options.seenBytes);
  } catch (...) {
    contents.error = std::current_exception();
  }
  return contents;
}

namespace {

// Appends the icons not equal to one the index holds, each recorded with its position in the
// file; errors say which file they come from.
void AppendExcludingDuplicates(CollectionTarget& lib, FileContents& contents,
                               const std::string& source, TDuplicateIndex& duplicates,
                               std::vector<std::string>* errors) {
  try {
    if (contents.collection) MergeCollectionContents(lib, contents, duplicates);
    if (contents.error) std::rethrow_exception(contents.error);
    for (size_t position = 0; position < contents.icons.size(); ++position) {
      FoundIcon& found = contents.icons[position];
      if (!found.icon->Images().Count() ||
          !duplicates.AddUnlessPresent(lib.Items(), *found.icon, found.keys, lib.Count()))
        continue;
      lib.AppendItem(std::move(found.name), std::move(found.icon));
      lib.SetModified(true);
      lib.Collection().RecordSource(lib.Count() - 1, source, int(position));
    }
    for (FileContents& member : contents.members)
      AppendExcludingDuplicates(lib, member, member.path, duplicates, errors);
    if (errors) errors->insert(errors->end(), contents.problems.begin(), contents.problems.end());
  } catch (const Exception& error) {
    if (!errors) throw;
    errors->push_back(WithPath(error.what(), contents.path, ": "));
  }
}

}  // namespace

void AppendFileContents(CollectionTarget& lib, FileContents& contents, const std::string& source,
                        bool silent, std::vector<std::string>* errors,
                        TDuplicateIndex* duplicates) {
  if (duplicates) return AppendExcludingDuplicates(lib, contents, source, *duplicates, errors);
  int before = lib.Count();
  try {
    if (contents.error) std::rethrow_exception(contents.error);
    for (FoundIcon& found : contents.icons)
      lib.AppendItem(std::move(found.name), std::move(found.icon));
    if (contents.collection) lib.Collection().MergeRead(*contents.collection);
    // Failures inside an archive are passed over; what stopped the walk is reported.
    for (FileContents& member : contents.members)
      AppendFileContents(lib, member, member.path, true, nullptr);
    if (errors) errors->insert(errors->end(), contents.problems.begin(), contents.problems.end());
  } catch (const Exception& error) {
    if (!silent) {
      if (!errors) throw;
      errors->push_back(error.what());
    }
  }
  if (lib.Count() != before) lib.SetModified(true);
  lib.RecordSources(source, before);
}

void LoadFile(CollectionTarget& lib, const std::string& path, const std::string& displayPath,
              int depth, bool allMembers, bool silent, std::vector<std::string>* errors,
              TDuplicateIndex* duplicates) {
  ArchiveWalkStatus status(lib);
  LoadStyle style = duplicates ? LoadStyle::ExcludingDuplicates : LoadStyle::Plain;
  FileContents contents = ReadFileContents(
      path, status.Attach(ArchiveReadOptions(lib, style, displayPath, depth, allMembers)));
  const std::string& source = displayPath.empty() ? path : displayPath;
  AppendFileContents(lib, contents, source, silent, errors, duplicates);
}

void ImportFile(CollectionTarget& lib, const std::string& path, std::vector<std::string>* errors,
                int depth, bool allMembers) {
  ImportSession session;
  ImportFile(lib, session, path, errors, depth, allMembers);
}

void ImportFile(CollectionTarget& lib, ImportSession& session, const std::string& path,
                std::vector<std::string>* errors, int depth, bool allMembers) {
  int before = lib.Count();
  SharedFile file = MappedFile::TryOpen(path);
  Kind kind = file ? DetectFileKind(*file).kind : Kind::fkUnreadable;
  const FileFormat& reader = FormatOf(kind);
  bool recordSource = reader.group != Group::Collection && !IsArchive(kind);
  try {
    if (reader.group == Group::Collection) {
      lib.MergeCollectionFile(path);
    } else if (reader.group == Group::Library) {
      for (FoundIcon& found : ReadManyIcons(kind, file))
        lib.AppendItem(std::move(found.name), std::move(found.icon));
    } else if (IsArchive(kind)) {
      lib.UI().SetStatusText(0, "Extracting icons from " + path);
      ArchiveWalkStatus status(lib);
      FileContents contents = ReadFileContents(
          path, status.Attach(ArchiveReadOptions(lib, LoadStyle::Plain, "", depth, allMembers)));
      AppendFileContents(lib, contents, path, true, errors);
      lib.UI().SetStatusText(0, "");
    } else {
      auto icon = std::make_unique<TAdvancedIcon>();
      ImageAddResult result = AddImagesFromMappedFile(lib, session, *icon, path, file, kind, -1);
      bool noImages = result == ImageAddResult::NoImages;
      if (noImages && errors) errors->push_back("Images not found: " + path);
      if (result == ImageAddResult::Cancelled) lib.RequestStop();
      // A file without images is reported once: in the list when there is one.
      bool reported = noImages && errors;
      if (icon->Images().Count())
        lib.AppendItem(Stem(path), std::move(icon));
      else if (!lib.StopRequested() && !reported)
        throw Exception("Can't found image in file: " + path);
    }
  } catch (const Exception& error) {
    if (!errors) throw;
    errors->push_back(WithPath(error.what(), path, ", file: "));
  }
  if (lib.Count() != before) lib.SetModified(true);
  if (recordSource) lib.RecordSources(path, before);
}

namespace {

constexpr const char* kImportFilterStart =
    "Icon files (*.ico;*.dll;*.exe;*.icl;*.icc;*.nil;*.cur;*.ani...)|*.exe;*.dll;*.ico;*.cpl;*.icl;"
    "*.nil;*.ocx;*.vbx;*.il;*.cur;*.ani;*.icc|Libraries "
    "(*.icl;*.nil;*.dll;*.exe;*.cpl;*.ocx;*.vbx)|*.icl;*.nil;*.dll;*.exe;*.cpl;*.ocx;*.vbx;*.il;*."
    "res;"
    "*.dcr|Icon collections (*.icc)|*.icc|Icons (*.ico)|*.ico|Images "
    "(*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.wmf)|*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.wmf;*.emf;*.psd;*."
    "pdd;";
constexpr const char* kImportFilterEnd =
    ";*.dcr|Cursors (*.cur;*.ani)|*.cur;*.ani|Zip and Rar archives "
    "(*.zip;*.rar)|*.zip;*.rar|All files (*.*)|*.*";

// The filter with the picture patterns the formats give.
std::string ImportFilter() {
  return kImportFilterStart + ImportPicturePatterns() + kImportFilterEnd;
}
constexpr size_t kFilesWithoutProgressWindow = 10;

}  // namespace

namespace {

// The answer remembered after "All": "As source" takes each picture's size, up to 3000 a side.
TNewImageSizeAnswer RememberedImageSize(TNewImageSizeAnswer answer, int width, int height) {
  if (answer.asSource) answer.width = std::min(width, 3000), answer.height = std::min(height, 3000);
  return answer;
}

// The "Add Image" question for a picture's size; the previous answer while it is to be reused.
std::optional<TNewImageSizeAnswer> AskImageSize(CollectionTarget& lib, ImportSession& session,
                                                const std::string& path, int width, int height) {
  if (session.applySizeToAll) return RememberedImageSize(session.lastImageSize, width, height);
  if (lib.UI().ProgressShown()) lib.UI().CloseProgress();
  auto answer =
      lib.UI().AskNewImageSize({std::filesystem::path(path).filename().string(), width, height});
  if (!answer) return std::nullopt;
  session.lastImageSize = *answer;
  session.applySizeToAll = answer->applyToAll;
  return answer;
}

// The sizes a drawing is drawn at: the size of the "Add Image" answer remembered under "All"
// (unless that answer keeps each picture's own size), else the default ones.
std::vector<ImageSizeRequest> DrawingSizes(const ImportSession& session) {
  const TNewImageSizeAnswer& last = session.lastImageSize;
  if (session.applySizeToAll && !last.asSource)
    return {{last.width, last.height, last.filter, kPictureSizeFilterThreshold, last.proportions}};
  return DefaultDrawingSizes();
}

// A picture smaller than 256 in both directions is added as it is; a larger one at the size
// the user chooses. A picture added at its own size is held as the file's bytes where its
// reader can.
ImageAddResult AddPicture(CollectionTarget& lib, ImportSession& session, TAdvancedIcon& icon,
                          const std::string& path, const FileFormat& reader,
                          const MappedFile& file) {
  if (reader.kind == Kind::fkVectorDrawing) {
    AddDrawing(icon, DrawingSizes(session), reader, file);
    lib.SetModified(true);
    return ImageAddResult::Added;
  }
  auto packed = reader.readIcon ? reader.readIcon(file) : nullptr;
  if (packed && packed->Images().Count() == 0) packed.reset();  // a damaged GIF gave no frame
  // A picture of several images (an animated GIF's frames) adds them all.
  if (packed && packed->Images().Count() > 1) {
    icon.Images().TakeAll(*packed);
    lib.SetModified(true);
    return ImageAddResult::Added;
  }
  std::optional<TPicture> picture;
  if (!packed) picture = reader.readPicture(file);
  int width = packed ? packed->Images()[0]->ImageWidth() : picture->color.Width();
  int height = packed ? packed->Images()[0]->ImageHeight() : picture->color.Height();
  std::optional<TNewImageSizeAnswer> size;
  if (width >= kSmallPicture || height >= kSmallPicture) {
    size = AskImageSize(lib, session, path, width, height);
    if (!size) return ImageAddResult::Cancelled;
  }
  if (packed && (!size || (size->width == width && size->height == height))) {
    icon.Images().TakeAll(*packed);
    lib.SetModified(true);
    return ImageAddResult::Added;
  }
  if (!picture) picture = reader.readPicture(file);
  const TBitmap* mask = picture->mask ? &*picture->mask : nullptr;
  if (!size) {
    icon.Images().AddFromBitmap(picture->color, mask, 0);
    lib.SetModified(true);
    return ImageAddResult::Added;
  }
  AddBitmapSized(icon.Images(), picture->color, mask, size->filter, kPictureSizeFilterThreshold,
                 size->proportions, size->width, size->height);
  return ImageAddResult::Added;
}

// Pictures read by a reader that adds nothing larger than 256 pixels (telling their size), and
// then, at the size the user chooses, by its resampling variant.
template <class Direct, class Resampled>
ImageAddResult AddSizedPictures(CollectionTarget& lib, ImportSession& session, TAdvancedIcon& icon,
                                const std::string& path, Direct direct, Resampled resampled) {
  int before = icon.Images().Count(), width = 0, height = 0;
  direct(icon, path, false, height, width);
  if (icon.Images().Count() > before || width <= 0 || height <= 0) return ImageAddResult::Added;
  auto size = AskImageSize(lib, session, path, width, height);
  if (!size) return ImageAddResult::Cancelled;
  resampled(
      icon, path,
      {size->width, size->height, size->filter, kPictureSizeFilterThreshold, size->proportions});
  return ImageAddResult::Added;
}

// The pictures of a layered document read once from the mapped file: added as they are up to
// 256 pixels a side, else at the size the user chooses.
ImageAddResult AddLayeredPictures(CollectionTarget& lib, ImportSession& session,
                                  TAdvancedIcon& icon, const std::string& path,
                                  const MappedFile& file) {
  TPSDImage document;
  SpanStream stream(file.Bytes());
  document.LoadFromStream(stream);
  std::vector<TBitmap> pictures = PsdPictures(document);
  return AddSizedPictures(
      lib, session, icon, path,
      [&](TAdvancedIcon& icon, const std::string&, bool, int& height, int& width) {
        width = document.Width(), height = document.Height();
        if (width > kSmallPicture || height > kSmallPicture) return;
        for (const TBitmap& picture : pictures) icon.Images().AddFromBitmap(picture, nullptr, 0);
      },
      [&](TAdvancedIcon& icon, const std::string&, const ImageSizeRequest& request) {
        for (const TBitmap& picture : pictures)
          AddBitmapSized(icon.Images(), picture, nullptr, request.filter, request.alphaThreshold,
                         request.keepProportions, request.width, request.height);
      });
}

}  // namespace

ImageAddResult AddImagesFromFile(CollectionTarget& lib, ImportSession& session, TAdvancedIcon& icon,
                                 const std::string& path, int index) {
  SharedFile file = MappedFile::TryOpen(path);
  Kind kind = file ? DetectFileKind(*file).kind : Kind::fkUnreadable;
  return AddImagesFromMappedFile(lib, session, icon, path, file, kind, index);
}

ImageAddResult AddImagesFromMappedFile(CollectionTarget& lib, ImportSession& session,
                                       TAdvancedIcon& icon, const std::string& path,
                                       const SharedFile& file, TFileKind kind, int index) {
  int before = icon.Images().Count();
  const FileFormat& reader = FormatOf(kind);
  ImageAddResult result = ImageAddResult::Added;
  switch (reader.group) {
    case Group::SingleIcon:
    case Group::AnimatedCursor:
      // The file's images replace the icon's.
      icon.Images().Clear();
      icon.Images().TakeAll(*reader.readIcon(*file));
      break;
    case Group::Picture:
    case Group::ImportedPicture:
      result = AddPicture(lib, session, icon, path, reader, *file);
      break;
    case Group::LayeredPicture:
      result = AddLayeredPictures(lib, session, icon, path, *file);
      break;
    case Group::Library: {
      auto icons = ReadManyIcons(kind, file);
      size_t chosen = size_t(std::max(index, 0));
      if (chosen < icons.size()) icon.Images().TakeAll(*icons[chosen].icon);
      break;
    }
    default:
      if ((file ? int64_t(file->Size()) : FileSizeOf(path)) < 4)
        throw Exception("Can't found image in file: " + path);
      if (HasImageReader(path))
        result = AddSizedPictures(lib, session, icon, path, LoadImageFile, LoadImageFileResampled);
  }
  if (result == ImageAddResult::Added && icon.Images().Count() == before)
    result = ImageAddResult::NoImages;
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
  // Like the Open command's dialog it starts at the file last opened.
  TFileDialogRequest request{
      "Import Files", ImportFilter(), 1, "", lib.Settings().LastOpen, "", true};
  auto answer = lib.UI().ChooseFilesToOpen(request);
  if (!answer || answer->files.empty()) return;
  bool progress = answer->files.size() > kFilesWithoutProgressWindow;
  std::vector<std::string> errors;
  {
    TBusyScope busy(lib, progress ? TBusyKind::LongOperation : TBusyKind::Plain);
    ImportSession session;
    for (const std::string& file : answer->files) {
      lib.SetModified(true);
      lib.UI().SetStatusText(0, file);
      lib.UI().ProcessMessages();
      if (progress) {
        if (lib.UI().ProgressFlags().stopRequested) lib.RequestStop();
        std::filesystem::path path(file);
        lib.UI().SetProgressField(TProgressField::Path, path.parent_path().string());
        lib.UI().SetProgressField(TProgressField::File, path.filename().string());
        lib.UI().SetProgressField(TProgressField::Count, std::to_string(lib.Count()));
      }
      ImportFile(lib, session, file, &errors);
      if (lib.StopRequested()) break;
    }
  }
  ShowErrors(lib.UI(), errors);
}

}  // namespace varnel

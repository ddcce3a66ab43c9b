#include "shell/desktopfileassociations.h"

#include <cstdlib>
#include <filesystem>
#include <span>

#include "base/fileio.h"
#include "platform/externalprogram.h"
#include "platform/folders.h"
#include "shell/installeddata.h"
#include "shell/mimeappslist.h"

namespace varnel {

namespace {

namespace fs = std::filesystem;

// Sections and keys of the record file.
constexpr const char* kTypes = "Types";
constexpr const char* kAdded = "Added";
constexpr const char* kPrevious = "Previous";
constexpr const char* kDesktopEntry = "DesktopEntry";
constexpr const char* kMimePackage = "MimePackage";
constexpr const char* kMimeFolder = "MimeFolder";
constexpr const char* kMimeAppsList = "MimeAppsList";
constexpr const char* kDefaultSection = "DefaultSection";
// DefaultSection's values: the section was added, or added after a blank line.
constexpr int kSectionAdded = 1;
constexpr int kSectionAddedAfterBlankLine = 2;

constexpr uint64_t kMaxTextFileSize = uint64_t(16) << 20;

bool FileExists(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

std::string ReadText(const std::string& path) {
  if (!FileExists(path)) return {};
  std::vector<uint8_t> bytes = ReadWholeFile(path, kMaxTextFileSize);
  return std::string(bytes.begin(), bytes.end());
}

void WriteText(const std::string& path, std::string_view text) {
  fs::create_directories(fs::path(path).parent_path());
  WriteFileAtomic(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

void RemoveFile(const std::string& path) {
  std::error_code error;
  fs::remove(path, error);
}

// A folder path from an environment variable holding an absolute path, else HOME + fallback.
std::string XdgFolder(const char* variable, const char* belowHome) {
  const char* value = std::getenv(variable);
  if (value && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  return home && home[0] ? PathJoin(home, belowHome) : std::string();
}

// A string value of a desktop entry: backslashes are escaped.
std::string EntryString(const std::string& text) {
  std::string value;
  for (char c : text) value += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return value;
}

// An argument of a desktop entry's Exec key, quoted when it holds reserved characters.
std::string ExecArgument(const std::string& argument) {
  std::string escaped;
  bool quote = argument.empty();
  for (char c : argument) {
    if (std::string_view(" \t\n\"'\\><~|&;$*?#()`").find(c) != std::string_view::npos) quote = true;
    if (c == '"' || c == '`' || c == '$' || c == '\\') escaped += '\\';
    escaped += c == '%' ? std::string("%%") : std::string(1, c);
  }
  return EntryString(quote ? "\"" + escaped + "\"" : escaped);
}

// Values that may start or end with blanks are kept between bars.
std::string Fenced(const std::string& text) {
  return "|" + text + "|";
}
std::string Unfenced(const std::string& text) {
  return text.size() >= 2 ? text.substr(1, text.size() - 2) : std::string();
}

std::string DefaultLineOf(const char* mimeType) {
  return std::string(mimeType) + "=" + DesktopFileAssociations::kDesktopEntryName + ";";
}

}  // namespace

DesktopFolders DesktopFolders::FromEnvironment() {
  return {XdgFolder("XDG_DATA_HOME", ".local/share"), XdgFolder("XDG_CONFIG_HOME", ".config")};
}

DesktopFileAssociations::DesktopFileAssociations(DesktopFolders folders, std::string programPath)
    : folders_(std::move(folders)),
      programPath_(std::move(programPath)),
      record_(PathJoin(folders_.dataHome, "Varnel/associations.ini")) {}

std::string DesktopFileAssociations::DesktopEntryPath() const {
  return PathJoin(folders_.dataHome, std::string("applications/") + kDesktopEntryName);
}
std::string DesktopFileAssociations::MimeFolder() const {
  return PathJoin(folders_.dataHome, "mime");
}
std::string DesktopFileAssociations::MimePackagePath() const {
  return PathJoin(MimeFolder(), "packages/varnel.xml");
}
std::string DesktopFileAssociations::MimeAppsPath() const {
  return PathJoin(folders_.configHome, "mimeapps.list");
}
std::string DesktopFileAssociations::RecordPath() const {
  return record_.FileName();
}

std::string DesktopFileAssociations::DesktopEntryText() const {
  std::string text;
  std::string_view installed = InstalledDesktopEntry();
  while (!installed.empty()) {
    size_t end = installed.find('\n');
    std::string line(installed.substr(0, end));
    installed.remove_prefix(end == std::string_view::npos ? installed.size() : end + 1);
    if (line.starts_with("Exec="))
      line = "Exec=" + ExecArgument(programPath_) + " %F";
    else if (line.starts_with("TryExec="))
      line = "TryExec=" + EntryString(programPath_);
    text += line + "\n";
  }
  return text;
}

bool DesktopFileAssociations::IsAssociated(const TAssociatedType& type) const {
  if (!record_.ReadBool(kTypes, type.extension, false) || !FileExists(DesktopEntryPath()))
    return false;
  return MimeAppsList(ReadText(MimeAppsPath())).DefaultApplication(type.mimeType) ==
         kDesktopEntryName;
}

void DesktopFileAssociations::SetAssociation(bool doRegister, const TAssociatedType& type) {
  if (doRegister)
    Register(type);
  else if (IsAssociated(type))
    Unregister(type);
}

bool DesktopFileAssociations::AnyTypeRecorded(const char* mimeType) const {
  for (const TAssociatedType& type : kAssociatedTypes)
    if ((!mimeType || std::string_view(type.mimeType) == mimeType) &&
        record_.ReadBool(kTypes, type.extension, false))
      return true;
  return false;
}

void DesktopFileAssociations::Register(const TAssociatedType& type) {
  AddDesktopEntry();
  AddMimePackage();
  SetDefaultApplication(type.mimeType);
  record_.WriteBool(kTypes, type.extension, true);
  SaveRecord();
}

void DesktopFileAssociations::AddDesktopEntry() {
  bool exists = FileExists(DesktopEntryPath());
  // An entry of the same name that the user made is left alone.
  if (exists && !record_.ReadBool(kAdded, kDesktopEntry, false)) return;
  std::string text = DesktopEntryText();
  if (exists && ReadText(DesktopEntryPath()) == text) return;
  WriteText(DesktopEntryPath(), text);
  record_.WriteBool(kAdded, kDesktopEntry, true);
}

void DesktopFileAssociations::AddMimePackage() {
  bool exists = FileExists(MimePackagePath());
  if (exists && !record_.ReadBool(kAdded, kMimePackage, false)) return;
  if (exists && ReadText(MimePackagePath()) == InstalledMimeDefinition()) return;
  std::error_code error;
  if (!fs::exists(MimeFolder(), error)) record_.WriteBool(kAdded, kMimeFolder, true);
  WriteText(MimePackagePath(), InstalledMimeDefinition());
  record_.WriteBool(kAdded, kMimePackage, true);
  UpdateMimeDatabase();
}

void DesktopFileAssociations::SetDefaultApplication(const char* mimeType) {
  bool fileExists = FileExists(MimeAppsPath());
  MimeAppsList list(ReadText(MimeAppsPath()));
  std::optional<std::string> oldLine = list.DefaultLine(mimeType);
  bool ours = list.DefaultApplication(mimeType) == kDesktopEntryName;
  // The first undo information is kept while the program stays the default; a default set by
  // hand to this program before it was ever registered is put back as it was.
  if (!ours || !AnyTypeRecorded(mimeType)) {
    if (oldLine)
      record_.WriteString(kPrevious, mimeType, Fenced(*oldLine));
    else
      record_.DeleteKey(kPrevious, mimeType);
  }
  if (ours) return;
  MimeAppsList::Added added = list.SetDefaultLine(mimeType, DefaultLineOf(mimeType));
  if (added != MimeAppsList::Added::Line)
    record_.WriteInteger(
        kAdded, kDefaultSection,
        added == MimeAppsList::Added::Section ? kSectionAdded : kSectionAddedAfterBlankLine);
  if (!fileExists) record_.WriteBool(kAdded, kMimeAppsList, true);
  WriteText(MimeAppsPath(), list.Text());
}

void DesktopFileAssociations::Unregister(const TAssociatedType& type) {
  record_.DeleteKey(kTypes, type.extension);
  if (!AnyTypeRecorded(type.mimeType)) RestoreDefaultApplication(type.mimeType);
  if (!AnyTypeRecorded(nullptr)) RemoveAddedFiles();
  SaveRecord();
}

void DesktopFileAssociations::RestoreDefaultApplication(const char* mimeType) {
  MimeAppsList list(ReadText(MimeAppsPath()));
  if (record_.ValueExists(kPrevious, mimeType))
    list.SetDefaultLine(mimeType, Unfenced(record_.ReadString(kPrevious, mimeType, "")));
  else
    list.RemoveDefault(mimeType);
  record_.DeleteKey(kPrevious, mimeType);
  if (!AnyTypeRecorded(nullptr) && record_.ValueExists(kAdded, kDefaultSection)) {
    list.RemoveEmptySection(record_.ReadInteger(kAdded, kDefaultSection, 0) ==
                            kSectionAddedAfterBlankLine);
    record_.DeleteKey(kAdded, kDefaultSection);
  }
  if (!AnyTypeRecorded(nullptr) && record_.ReadBool(kAdded, kMimeAppsList, false) && list.Empty()) {
    RemoveFile(MimeAppsPath());
  } else {
    WriteText(MimeAppsPath(), list.Text());
  }
  if (!AnyTypeRecorded(nullptr)) record_.DeleteKey(kAdded, kMimeAppsList);
}

void DesktopFileAssociations::RemoveAddedFiles() {
  if (record_.ReadBool(kAdded, kDesktopEntry, false)) RemoveFile(DesktopEntryPath());
  if (record_.ReadBool(kAdded, kMimePackage, false)) {
    RemoveFile(MimePackagePath());
    UpdateMimeDatabase();
    std::error_code error;
    // The database files left behind describe no package at all once the folder is the
    // program's own and holds no other package.
    if (record_.ReadBool(kAdded, kMimeFolder, false) &&
        fs::is_empty(PathJoin(MimeFolder(), "packages"), error) && !error)
      fs::remove_all(MimeFolder(), error);
  }
  record_.EraseSection(kAdded);
}

void DesktopFileAssociations::UpdateMimeDatabase() {
  if (!RunProgramOutput({"update-mime-database", MimeFolder()}))
    note_ = "update-mime-database could not update " + MimeFolder();
}

void DesktopFileAssociations::SaveRecord() {
  bool empty = true;
  for (const char* section : {kTypes, kAdded, kPrevious}) {
    if (record_.SectionExists(section) && record_.ReadSectionKeys(section).empty())
      record_.EraseSection(section);
    empty = empty && !record_.SectionExists(section);
  }
  fs::path folder = fs::path(RecordPath()).parent_path();
  std::error_code error;
  if (empty) {
    RemoveFile(RecordPath());
    fs::remove(folder, error);  // only when nothing else is in it
    return;
  }
  fs::create_directories(folder);
  record_.UpdateFile();
}

}  // namespace varnel

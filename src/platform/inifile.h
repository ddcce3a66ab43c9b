#pragma once
// INI files: "[section]" lines and "key=value" lines below them. The whole file is kept as lines
// so that rewriting it changes only the values written: comments, unknown sections and keys, and
// lines that do not parse survive as they were. Sections and keys are matched ignoring case; the
// first of several equal sections or keys is the one read and written.

#include <string>
#include <vector>

#include "base/errors.h"

namespace varnel {

// A settings file could not be written: "Unable to write to <file name>".
class EIniFileError : public Exception {
 public:
  using Exception::Exception;
};

class TIniFile {
 public:
  // Reads the file when it exists; a missing or unreadable file starts empty.
  explicit TIniFile(std::string fileName);
  // Builds the model from text already in memory (nothing is read from disk).
  static TIniFile FromText(std::string fileName, std::string_view text);

  const std::string& FileName() const { return fileName_; }

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // An absent key or a value that is not an integer gives the default.
  int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
  // Like ReadInteger; a value outside lowest to highest also gives the default.
  int ReadIntegerInRange(const std::string& section, const std::string& key, int defaultValue,
                         int lowest, int highest) const;
  // Any integer other than 0 is true.
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
  bool ValueExists(const std::string& section, const std::string& key) const;
  bool SectionExists(const std::string& section) const;
  std::vector<std::string> ReadSections() const;
  std::vector<std::string> ReadSectionKeys(const std::string& section) const;

  // Line breaks in a value are written as blanks, so that a value never starts a new line.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteBool(const std::string& section, const std::string& key, bool value);
  void DeleteKey(const std::string& section, const std::string& key);
  void EraseSection(const std::string& section);

  // True when values were changed since the file was read or last written.
  bool Modified() const { return modified_; }
  // Writes the whole text to a temporary file and renames it over the file, so that a crash
  // leaves either the old or the new file; raises EIniFileError "Unable to write to %s".
  void UpdateFile();
  std::string Text() const;

 private:
  enum class LineKind { Other, Section, Value };
  struct Line {
    LineKind kind = LineKind::Other;
    std::string text;  // the line as it is written, without its line break
    std::string name;  // section name or key, as spelled in the file
    std::string value;
  };

  TIniFile() = default;
  void Parse(std::string_view text);
  static Line ParseLine(std::string_view text);
  int FindSection(const std::string& section) const;
  int FindKey(const std::string& section, const std::string& key) const;
  int SectionEnd(int sectionLine) const;
  int InsertionPointInSection(int sectionLine) const;
  void AppendSection(const std::string& section);

  std::string fileName_;
  std::vector<Line> lines_;
  std::string lineBreak_ = "\n";
  bool byteOrderMark_ = false;
  bool modified_ = false;
};

}  // namespace varnel

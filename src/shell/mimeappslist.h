#pragma once
// The "[Default Applications]" section of a mimeapps.list file, edited line by line: every other
// line, the line breaks and the spelling of the lines already there stay as they were, so that
// putting back a line that was replaced gives the file back byte for byte.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

class MimeAppsList {
 public:
  static constexpr const char* kDefaultSection = "[Default Applications]";

  explicit MimeAppsList(std::string_view text);
  std::string Text() const;
  bool Empty() const { return lines_.empty(); }

  bool HasDefaultSection() const { return FindSection() >= 0; }
  // The whole line that sets the default for mimeType (compared ignoring case), when one does.
  std::optional<std::string> DefaultLine(const std::string& mimeType) const;
  // The first desktop entry the default for mimeType names; empty when none.
  std::string DefaultApplication(const std::string& mimeType) const;

  // Replaces the line setting the default for mimeType, or adds it at the end of the section;
  // a missing section is added at the end of the file, after a blank line when the file does
  // not end with one. Returns what was added: nothing, the section, or the blank line too.
  enum class Added { Line, Section, SectionAfterBlankLine };
  Added SetDefaultLine(const std::string& mimeType, const std::string& line);
  void RemoveDefault(const std::string& mimeType);
  // Takes away the section when nothing but blank lines is left in it, with the blank line
  // before it when withBlankLineBefore.
  void RemoveEmptySection(bool withBlankLineBefore);

 private:
  int FindSection() const;
  int SectionEnd(int section) const;
  int FindDefault(const std::string& mimeType) const;

  std::vector<std::string> lines_;
  bool endsWithLineBreak_ = true;
};

}  // namespace varnel

#pragma once
// Walks a page's text and yields the absolute addresses of its links one by one: href values,
// bare addresses in the text and, when asked, the sources of small image tags.

#include <optional>
#include <string>
#include <string_view>

namespace varnel {

class PageScanner {
 public:
  PageScanner(std::string_view pageText, const std::string& pageAddress, bool takeImages);

  // The next link resolved to an absolute http, https or ftp address without its fragment;
  // nothing when the text is used up.
  std::optional<std::string> NextLink();

  // The page's lines joined into one text: TABs become blanks, each line is trimmed, and one
  // blank stands at a seam only where the lines had white space there.
  static std::string JoinLines(std::string_view pageText);

 private:
  // A piece of the text with where the scan goes on after it.
  struct Piece {
    std::string text;
    size_t next = 0;
    bool attribute = false;  // an attribute value, which may hold character references
  };
  // The first position at or after pos_ of needle, remembered between calls.
  struct Finder {
    std::string_view needle;
    size_t found = 0;
    bool searched = false;
  };

  size_t FindFrom(Finder& finder);
  size_t NextAddressStart();
  Piece HrefPiece(size_t blank) const;
  Piece StopPiece(size_t start) const;
  Piece ImagePiece(size_t start) const;
  std::optional<Piece> NextPiece();
  std::string ResolvePiece(const std::string& piece) const;
  std::string DocumentBase(const std::string& pageAddress) const;

  std::string text_;
  std::string lower_;
  std::string base_;
  bool takeImages_;
  size_t pos_ = 0;
  Finder href_{" href="};
  Finder http_{"http://"};
  Finder https_{"https://"};
  Finder image_{"<img "};
};

}  // namespace varnel

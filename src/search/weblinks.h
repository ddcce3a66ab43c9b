#pragma once
// Links of downloaded web pages and the small address operations the Internet scans use. Plain
// processing of 8-bit text: no markup parser and no network.

#include <string>
#include <string_view>
#include <vector>

namespace varnel {

// What a page scan returns besides links to files.
struct LinkScan {
  int mode = 1;                  // 1: links to files; 2: also links to pages, each with "*"
  bool siteIconPerLink = false;  // the favicon of every found link's site
  bool siteIconOfPage = false;   // the favicon of the page's own site, last
  bool takeImages = false;       // image tags and links to ".gif" and ".png" files
};

// The absolute links of a page's text, in the order they were met, each once ignoring letter
// case. Relative references resolve against pageAddress, or against the page's <base href>.
std::vector<std::string> ExtractLinksFromText(std::string_view pageText,
                                              const std::string& pageAddress, const LinkScan& scan);
// The same for a page on disk; raises EFileError when it cannot be read.
std::vector<std::string> ExtractLinks(const std::string& pageFile, const std::string& pageAddress,
                                      const LinkScan& scan);

// True for "http://", "https://" and "ftp://" addresses (letter case ignored).
bool IsWebAddress(std::string_view address);

// The folder address of a page, ending in "/", or empty.
std::string PageBaseUrl(const std::string& address);
// Scheme and host without a trailing "/", or empty.
std::string SiteRoot(const std::string& address);
// SiteRoot + "/favicon.ico", or empty when there is no root.
std::string FaviconUrl(const std::string& address);
// The lower-case extension of the address's path (query and fragment ignored), or empty.
std::string UrlExtension(const std::string& address);
// The last component of the address's path, reduced to a safe file name: no "/", "\", control
// characters, no "." or ".." alone, at most kMaxUrlFileName bytes. Empty when nothing is left.
std::string UrlFileName(const std::string& address);
constexpr size_t kMaxUrlFileName = 200;

// Whether an image tag (lower case, starting "<img") names a small GIF or PNG; src receives
// the tag's source value.
bool AcceptImageTag(std::string_view tag, std::string& src);
// The word around the first usable at sign of text (an e-mail address), or empty.
std::string EmailAround(std::string_view text);

}  // namespace varnel

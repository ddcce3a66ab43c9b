#include "search/internetaddress.h"

#include "platform/textfunctions.h"
#include "search/weblinks.h"

namespace varnel {

namespace {

std::string WithoutStars(std::string text) {
  std::erase(text, '*');
  return text;
}

}  // namespace

TInternetAddressRequest AddressDialogRequest(const std::string& storedAddress, bool takeImages,
                                             bool siteIcons, std::vector<std::string> entries) {
  TInternetAddressRequest request;
  request.explore = storedAddress.starts_with("**");
  request.address = request.explore ? WithoutStars(storedAddress) : storedAddress;
  request.takeImages = takeImages;
  request.siteIcons = siteIcons;
  request.entries = std::move(entries);
  return request;
}

std::string StoredAddress(const std::string& typed, bool explore) {
  std::string address = Trim(typed);
  std::string lower = LowerCase(address);
  if (!lower.starts_with("ftp:") && !lower.starts_with("http:") && !lower.starts_with("https:"))
    address = "http://" + address;
  return explore ? "**" + address : address;
}

std::string EntryDisplayText(const std::string& entry) {
  size_t slashes = entry.find("//");
  std::string text = slashes == std::string::npos ? entry : entry.substr(slashes + 2);
  return text.starts_with("www.") ? text.substr(4) : text;
}

bool IsPageAddress(const std::string& address) {
  std::string root = SiteRoot(address);
  if (!root.empty() && (root + "/" == address || root + "/" == address + "/")) return true;
  std::string extension = UrlExtension(address);
  return extension.find("htm") != std::string::npos || extension == "asp" || extension == "cgi" ||
         extension == "php" || extension == "aspx" || extension.empty();
}

std::string DownloadWorkEntry(const std::string& storedAddress) {
  size_t stars = storedAddress.find_first_not_of('*');
  std::string prefix =
      storedAddress.substr(0, stars == std::string::npos ? storedAddress.size() : stars);
  std::string address = storedAddress.substr(prefix.size());
  if (!IsPageAddress(address)) return address;
  return (prefix == "**" ? "**" : "*") + address;
}

}  // namespace varnel

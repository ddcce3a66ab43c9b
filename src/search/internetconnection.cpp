#include "search/internetconnection.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>

#include "platform/textfunctions.h"

namespace varnel {

namespace {

bool NonLoopbackInterfaceUp() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return false;
  bool up = false;
  for (ifaddrs* entry = list; entry && !up; entry = entry->ifa_next) {
    if (!entry->ifa_addr) continue;
    int family = entry->ifa_addr->sa_family;
    bool running = (entry->ifa_flags & IFF_UP) && (entry->ifa_flags & IFF_RUNNING);
    up = running && !(entry->ifa_flags & IFF_LOOPBACK) && (family == AF_INET || family == AF_INET6);
  }
  freeifaddrs(list);
  return up;
}

// The host part of "scheme://[user@]host[:port]/...", lower case; brackets of IPv6 kept.
std::string HostOf(const std::string& address) {
  size_t start = address.find("://");
  start = start == std::string::npos ? 0 : start + 3;
  size_t end = address.find_first_of("/?#", start);
  std::string authority = address.substr(start, end == std::string::npos ? end : end - start);
  size_t at = authority.rfind('@');
  if (at != std::string::npos) authority.erase(0, at + 1);
  size_t colon = authority.starts_with("[") ? authority.find("]:") : authority.find(':');
  if (colon != std::string::npos) authority.erase(authority[colon] == ']' ? colon + 1 : colon);
  return LowerCase(authority);
}

}  // namespace

bool IsLoopbackAddress(const std::string& address) {
  std::string host = HostOf(address);
  bool numeric = host.find_first_not_of("0123456789.") == std::string::npos;
  return host == "localhost" || host == "[::1]" || (numeric && host.starts_with("127."));
}

bool IsInternetConnected(const std::string& address) {
  return NonLoopbackInterfaceUp() || (!address.empty() && IsLoopbackAddress(address));
}

}  // namespace varnel

#pragma once
// The command line of varnel-loader.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace varnel::loader {

struct LoaderOptions {
  std::string url;
  std::string statusFile;
  std::string outputFile;
  int64_t maxSize = 0;       // 0: no limit
  long connectTimeout = 30;  // seconds until the connection must stand
  long idleTimeout = 60;     // seconds without any data before the transfer is given up
};

// "URL --status FILE --output FILE [--max-size BYTES] [--connect-timeout S] [--idle-timeout S]";
// nothing when the arguments do not fit.
std::optional<LoaderOptions> ParseLoaderOptions(const std::vector<std::string>& args);

// Whether the address names one of the protocols the downloader allows (http, https, ftp).
bool IsAllowedAddress(const std::string& url);

}  // namespace varnel::loader

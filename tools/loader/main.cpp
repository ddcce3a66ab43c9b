// varnel-loader: downloads one address into one file for the program, reporting through the
// status record. Started by the program, one run per download.

#include <curl/curl.h>

#include <cstdio>

#include "loaderoptions.h"
#include "transfer.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  auto options = varnel::loader::ParseLoaderOptions(args);
  if (!options) {
    std::fprintf(stderr,
                 "usage: varnel-loader URL --status FILE --output FILE [--max-size BYTES]"
                 " [--connect-timeout SECONDS] [--idle-timeout SECONDS]\n");
    return 2;
  }
  curl_global_init(CURL_GLOBAL_DEFAULT);
  varnel::LoaderError error = varnel::loader::Transfer(std::move(*options)).Run();
  curl_global_cleanup();
  return error == varnel::LoaderError::None ? 0 : 1;
}

#pragma once
// Real modules from Debian packages (wine64, nsis) and the resource lists icoutils reports.

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "resources/pefile.h"

namespace varnel::test {

inline std::vector<std::string> FilesIn(const std::string& folder, const std::string& suffix,
                                        size_t limit) {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    std::string path = entry.path().string();
    if (entry.is_regular_file() && path.ends_with(suffix)) files.push_back(path);
  }
  std::sort(files.begin(), files.end());
  if (files.size() > limit) files.resize(limit);
  return files;
}

// 64-bit DLLs of wine64 (empty when the package is absent).
inline std::vector<std::string> WineDlls(size_t limit = 1000) {
  return FilesIn("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows", ".dll", limit);
}

// The 32- and 64-bit installer stubs of nsis ("uninst" is an icon, not a module) (empty when the
// package is absent).
inline std::vector<std::string> NsisStubs() {
  std::vector<std::string> stubs = FilesIn("/usr/share/nsis/Stubs", "", 100);
  std::erase_if(stubs, [](const std::string& path) { return path.ends_with("/uninst"); });
  return stubs;
}

inline bool HaveWrestool() {
  return std::system("wrestool --version >/dev/null 2>&1") == 0;
}

inline std::string RunCommand(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
    pclose(pipe);
  }
  return output;
}

// wrestool prints the type again in place of a string name under a string type; such names are
// left out of the comparison.
inline std::string Triple(const std::string& type, const std::string& name,
                          const std::string& language) {
  bool comparableName = !type.empty() && std::isdigit((unsigned char)type[0]);
  return type + "/" + (comparableName ? name : "*") + "/" + language;
}

// "type/name/language" per resource as wrestool --list prints them, quotes removed.
inline std::vector<std::string> WrestoolTriples(const std::string& path) {
  std::string output = RunCommand("wrestool --list '" + path + "' 2>/dev/null");
  std::regex line("--type='?([^' ]+)'? --name='?([^']*?)'? --language=(\\d+)");
  std::vector<std::string> triples;
  for (auto it = std::sregex_iterator(output.begin(), output.end(), line);
       it != std::sregex_iterator(); ++it)
    triples.push_back(Triple((*it)[1].str(), (*it)[2].str(), (*it)[3].str()));
  return triples;
}

inline std::vector<std::string> ModuleTriples(const TResourceModule& module) {
  std::vector<std::string> triples;
  for (int i = 0; i < module.ResourceCount(); ++i) {
    TResourceDetails* details = module.ResourceDetails(i);
    triples.push_back(Triple(details->ResourceType(), details->ResourceName(),
                             std::to_string(details->ResourceLanguage())));
  }
  return triples;
}

}  // namespace varnel::test

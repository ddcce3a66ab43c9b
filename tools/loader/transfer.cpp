#include "transfer.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <charconv>
#include <climits>
#include <optional>
#include <string_view>

namespace varnel::loader {

namespace {

constexpr const char* kProtocols = "http,https,ftp";
constexpr long kMaxRedirects = 10;
constexpr auto kReportInterval = std::chrono::milliseconds(50);

int32_t ClampToInt32(int64_t value) {
  return static_cast<int32_t>(std::min<int64_t>(value, INT32_MAX));
}

bool StatusFileExists(const std::string& path) {
  return access(path.c_str(), F_OK) == 0;
}

// The size a header line announces: 0 for the status line that starts each answer (an answer
// to a redirect may announce one size and the next answer none), the value of Content-Length.
std::optional<int32_t> AnnouncedLength(std::string_view line) {
  if (line.starts_with("HTTP/")) return 0;
  constexpr std::string_view kName = "content-length:";
  if (line.size() <= kName.size()) return std::nullopt;
  for (size_t i = 0; i < kName.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(line[i])) != kName[i]) return std::nullopt;
  std::string_view value = line.substr(kName.size());
  while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
  int64_t length = 0;
  auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
  if (error != std::errc() || length < 0) return std::nullopt;
  return ClampToInt32(length);
}

struct CurlHandle {
  CurlHandle() : handle(curl_easy_init()) {}
  ~CurlHandle() {
    if (handle) curl_easy_cleanup(handle);
  }
  CurlHandle(const CurlHandle&) = delete;
  CurlHandle& operator=(const CurlHandle&) = delete;
  CURL* handle;
};

}  // namespace

Transfer::Transfer(LoaderOptions options) : options_(std::move(options)) {
  if (auto existing = ReadLoaderStatus(options_.statusFile))
    status_.requestNumber = existing->requestNumber;
}

LoaderError Transfer::Run() {
  if (!StatusFileExists(options_.statusFile)) return LoaderError::Stopped;
  status_.error = IsAllowedAddress(options_.url) ? LoaderError::None : LoaderError::Scheme;
  if (status_.error == LoaderError::None) {
    Report(LoaderState::Opening, true);
    output_ = open(options_.outputFile.c_str(),
                   O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    status_.error = output_ < 0 ? LoaderError::Write : Fetch();
    if (output_ >= 0 && close(output_) != 0 && status_.error == LoaderError::None)
      status_.error = LoaderError::Write;
    output_ = -1;
  }
  if (status_.error != LoaderError::None) unlink(options_.outputFile.c_str());
  Report(status_.error == LoaderError::None ? LoaderState::Finished : LoaderState::BrokenOff, true);
  return status_.error;
}

LoaderError Transfer::Fetch() {
  CurlHandle curl;
  if (!curl.handle) return LoaderError::Network;
  CURL* h = curl.handle;
  curl_easy_setopt(h, CURLOPT_URL, options_.url.c_str());
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, kProtocols);
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, kProtocols);
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, options_.connectTimeout);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, options_.idleTimeout);
  curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_USERAGENT, "varnel-loader/1");
  if (options_.maxSize > 0)
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options_.maxSize));
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &Transfer::OnData);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &Transfer::OnProgress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  return ErrorOf(curl_easy_perform(h));
}

LoaderError Transfer::ErrorOf(int curlCode) const {
  switch (curlCode) {
    case CURLE_OK:
      return LoaderError::None;
    case CURLE_UNSUPPORTED_PROTOCOL:
      return LoaderError::Scheme;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
      return LoaderError::Connect;
    case CURLE_OPERATION_TIMEDOUT:
      return LoaderError::TimedOut;
    case CURLE_HTTP_RETURNED_ERROR:
      return LoaderError::Http;
    case CURLE_FILESIZE_EXCEEDED:
      return LoaderError::TooLarge;
    case CURLE_WRITE_ERROR:
      return tooLarge_ ? LoaderError::TooLarge : LoaderError::Write;
    case CURLE_ABORTED_BY_CALLBACK:
      return LoaderError::Stopped;
    default:
      return LoaderError::Network;
  }
}

bool Transfer::Report(LoaderState state, bool force) {
  auto now = std::chrono::steady_clock::now();
  if (!force && state == status_.state && now - lastReport_ < kReportInterval) return true;
  status_.state = state;
  lastReport_ = now;
  return WriteLoaderStatus(options_.statusFile, status_, true);
}

size_t Transfer::OnData(char* data, size_t size, size_t count, void* self) {
  auto* transfer = static_cast<Transfer*>(self);
  size_t bytes = size * count;
  int64_t limit = transfer->options_.maxSize;
  if (limit > 0 && transfer->received_ + static_cast<int64_t>(bytes) > limit) {
    transfer->tooLarge_ = true;
    return 0;
  }
  for (size_t done = 0; done < bytes;) {
    ssize_t written = write(transfer->output_, data + done, bytes - done);
    if (written <= 0) return 0;
    done += static_cast<size_t>(written);
  }
  transfer->received_ += static_cast<int64_t>(bytes);
  transfer->status_.received = ClampToInt32(transfer->received_);
  return bytes;
}

size_t Transfer::OnHeader(char* data, size_t size, size_t count, void* self) {
  auto* transfer = static_cast<Transfer*>(self);
  if (auto length = AnnouncedLength(std::string_view(data, size * count)))
    transfer->status_.totalSize = *length;
  if (transfer->status_.state == LoaderState::Opening &&
      !transfer->Report(LoaderState::Received, true))
    transfer->stopped_ = true;
  return transfer->stopped_ ? 0 : size * count;
}

int Transfer::OnProgress(void* self, int64_t total, int64_t now, int64_t, int64_t) {
  auto* transfer = static_cast<Transfer*>(self);
  if (total > 0) transfer->status_.totalSize = ClampToInt32(total);
  LoaderState state = now > 0 ? LoaderState::Downloading : transfer->status_.state;
  if (!StatusFileExists(transfer->options_.statusFile) || !transfer->Report(state, false))
    transfer->stopped_ = true;
  return transfer->stopped_ ? 1 : 0;
}

}  // namespace varnel::loader

#pragma once
// The status record the program and the downloader share: an 11-byte file in the download
// folder. The program writes it once before the downloader starts and deletes it to stop the
// downloader; the downloader keeps it current while it works.
//
// Offset 0 state, 1 error code, 2 request number (the program's download counter), 3 the size
// announced for the file (i32, 0 or less when none), 7 the bytes received so far (i32); both
// integers little-endian.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace varnel {

inline constexpr size_t kLoaderStatusSize = 11;

// What the downloader is doing; unknown values read from a file are kept as they are.
enum class LoaderState : uint8_t {
  None = 0,
  Opening = 'O',
  Received = 'R',
  Downloading = 'D',
  Finished = 'F',
  BrokenOff = 'B',
};

// Why a download failed; shown to the user as the character of its code.
enum class LoaderError : uint8_t {
  None = 0,
  Refused = 1,         // the program broke the download off or refused it for its size
  BadArguments = 'A',  // the downloader was started wrongly
  Scheme = 'P',        // an address (or a redirect) to a protocol other than http, https, ftp
  Connect = 'C',       // the host could not be reached
  TimedOut = 'T',      // no connection in time, or no data for too long
  Http = 'H',          // the server answered with an error
  TooLarge = 'L',      // more bytes than the size limit
  Write = 'W',         // the target could not be written
  Stopped = 'S',       // the status file disappeared
  Network = 'N',       // any other failure of the transfer
};

struct LoaderStatus {
  LoaderState state = LoaderState::None;
  LoaderError error = LoaderError::None;
  uint8_t requestNumber = 0;
  int32_t totalSize = 0;
  int32_t received = 0;

  bool operator==(const LoaderStatus&) const = default;
};

std::array<uint8_t, kLoaderStatusSize> EncodeLoaderStatus(const LoaderStatus& status);
// Nothing when fewer than kLoaderStatusSize bytes are given; bytes after the record are ignored.
std::optional<LoaderStatus> DecodeLoaderStatus(std::span<const uint8_t> bytes);

// Reads the record of a status file; nothing when the file is missing or too short.
std::optional<LoaderStatus> ReadLoaderStatus(const std::string& path);
// Writes the record. With mustExist the file is never created: false when it is gone (the
// program asked the downloader to stop). False when the file cannot be written.
bool WriteLoaderStatus(const std::string& path, const LoaderStatus& status, bool mustExist);

}  // namespace varnel

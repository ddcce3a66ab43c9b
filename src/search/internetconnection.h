#pragma once
// Whether Internet scans can start.

#include <string>

namespace varnel {

// True when a network interface other than loopback is up, or when address names this machine
// itself (127.0.0.0/8, ::1 or "localhost"), so that scans of a local server run without a
// network.
bool IsInternetConnected(const std::string& address = "");

// Whether the host of an address is this machine's loopback.
bool IsLoopbackAddress(const std::string& address);

}  // namespace varnel

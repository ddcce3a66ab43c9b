#pragma once
// The texts of the Download command: the address as stored in the settings (with "**" in front
// when links are explored), as typed in its dialog, and as the work list's first entry.

#include <string>
#include <vector>

#include "platform/userinterface.h"

namespace varnel {

// The dialog's first state from the stored address: "**" in front checks "Explore links" and
// every "*" is dropped from what is shown.
TInternetAddressRequest AddressDialogRequest(const std::string& storedAddress, bool takeImages,
                                             bool siteIcons, std::vector<std::string> entries);

// The address to store from the typed text: trimmed, "http://" in front unless it already
// begins with "ftp:", "http:" or "https:", and "**" in front when links are explored.
std::string StoredAddress(const std::string& typed, bool explore);

// An entry of the crawl list as the dialog lists it: without anything up to its first "//" and
// then without a leading "www.".
std::string EntryDisplayText(const std::string& entry);

// Whether an address names a page (a site root, or an extension that is "htm..." or a script's
// or none) rather than a file.
bool IsPageAddress(const std::string& address);

// The Download command's first work-list entry for a stored address: a page gets "*" in front,
// or "**" when the stored address had it; a file stays without markers.
std::string DownloadWorkEntry(const std::string& storedAddress);

}  // namespace varnel

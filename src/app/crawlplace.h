#pragma once
// The crawl's lists and position for the desktop program: the position goes to the run's
// settings file after every entry.

#include "search/internetcommands.h"

namespace varnel {

class TApplicationSettings;

CrawlPlace AppCrawlPlace(const TSettings& settings, TApplicationSettings& appSettings);

}  // namespace varnel

#include "app/crawlplace.h"

#include "appcore/applicationsettings.h"

namespace varnel {

CrawlPlace AppCrawlPlace(const TfmLib& lib, TApplicationSettings& settings) {
  return DefaultCrawlPlace(lib,
                           [&settings](int position) { settings.SaveCrawlPosition(position); });
}

}  // namespace varnel

#include "app/crawlplace.h"

#include "appcore/applicationsettings.h"

namespace varnel {

CrawlPlace AppCrawlPlace(const TSettings& settings, TApplicationSettings& appSettings) {
  return DefaultCrawlPlace(
      settings, [&appSettings](int position) { appSettings.SaveCrawlPosition(position); });
}

}  // namespace varnel

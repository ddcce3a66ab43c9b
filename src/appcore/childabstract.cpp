#include "appcore/childabstract.h"

#include <algorithm>

#include "appcore/childhost.h"
#include "appcore/reopenfileholder.h"
#include "appcore/shortenmiddle.h"
#include "platform/folders.h"

namespace varnel {

namespace {

constexpr int kCaptionLimit = 40;

}  // namespace

TfmChildAbstract::TfmChildAbstract(TChildHost& host) : host_(host) {
  host_.Register(this);
}

TfmChildAbstract::~TfmChildAbstract() {
  host_.Unregister(this);
}

void TfmChildAbstract::SaveAs() {
  std::string oldName = FileName;
  if (TReopenFileHolder* recent = host_.RecentFiles()) recent->AddFile(oldName);
  FileName.clear();
  Save();
  if (!FileName.empty()) {
    SetChildCaption(ExtractFileName(FileName));
  } else {
    FileName = oldName;
  }
}

void TfmChildAbstract::Cut() {
  CopySelection();
  EraseSelection();
}

void TfmChildAbstract::ShowChild() {
  visible_ = true;
  host_.Activate(this);
}

void TfmChildAbstract::SetChildCaption(const std::string& text) {
  caption_ = ShortenMiddle(text, kCaptionLimit);
  if (host_.CurrentChild() == this) host_.RefreshMainCaption();
}

void TfmChildAbstract::AssignNumberedCaption() {
  const auto& children = host_.Children();
  for (int number = 1;; ++number) {
    std::string candidate = DefaultCaption() + " " + std::to_string(number);
    bool taken = std::any_of(children.begin(), children.end(), [&](TfmChildAbstract* child) {
      return child->Caption().starts_with(candidate);
    });
    if (!taken) return SetChildCaption(candidate);
  }
}

}  // namespace varnel

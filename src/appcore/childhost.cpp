#include "appcore/childhost.h"

#include <algorithm>

#include "appcore/childabstract.h"
#include "platform/userinterface.h"

namespace varnel {

void TChildHost::Activate(TfmChildAbstract* child) {
  if (current_ && current_ != child) current_->SetVisible(false);
  current_ = child;
  RefreshMainCaption();
}

void TChildHost::RefreshMainCaption() {
  std::string caption = current_ ? current_->Caption() : std::string();
  ui_.SetMainCaption(caption.empty() ? productName_ : productName_ + " - " + caption);
}

void TChildHost::Register(TfmChildAbstract* child) {
  children_.push_back(child);
}

void TChildHost::Unregister(TfmChildAbstract* child) {
  std::erase(children_, child);
  if (current_ == child) current_ = nullptr;
}

}  // namespace varnel

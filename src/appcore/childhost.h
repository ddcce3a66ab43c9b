#pragma once
// The main window's side of its hosted windows: which exist, which is current, and the main
// caption that shows the current one's caption.

#include <string>
#include <vector>

namespace varnel {

class TfmChildAbstract;
class TReopenFileHolder;
class UserInterface;

class TChildHost {
 public:
  TChildHost(UserInterface& ui, std::string productName, TReopenFileHolder* recentFiles = nullptr)
      : ui_(ui), productName_(std::move(productName)), recentFiles_(recentFiles) {}

  UserInterface& UI() { return ui_; }
  TReopenFileHolder* RecentFiles() { return recentFiles_; }
  const std::vector<TfmChildAbstract*>& Children() const { return children_; }
  TfmChildAbstract* CurrentChild() const { return current_; }

  // Activation makes a hosted window current and hides the previously current one.
  void Activate(TfmChildAbstract* child);
  // The product name, " - " and the current window's caption (the product name alone while
  // that caption is empty).
  void RefreshMainCaption();

 private:
  friend class TfmChildAbstract;
  void Register(TfmChildAbstract* child);
  void Unregister(TfmChildAbstract* child);

  UserInterface& ui_;
  std::string productName_;
  TReopenFileHolder* recentFiles_;
  std::vector<TfmChildAbstract*> children_;
  TfmChildAbstract* current_ = nullptr;
};

}  // namespace varnel

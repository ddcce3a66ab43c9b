#pragma once
// The shell's icons as the registry layer holds them: stock icons under "Shell Icons", desktop
// objects under their class keys, defaults by system class, and the display settings under
// "WindowMetrics". Calls that would reach other programs (settings broadcast, shell refresh,
// restart) are recorded in order, so that a caller can see what the shell was told.

#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "shell/systemiconplatform.h"
#include "shell/systemversion.h"

namespace varnel {

struct RegistryShellSetup {
  WindowsVersion version;  // an NT-family system after XP unless told otherwise
  std::string windowsFolder = "C:\\WINDOWS";
  std::string systemFolder = "C:\\WINDOWS\\System32";
};

// What the shell was told, in order.
enum class TShellCall {
  SettingChange,      // every top-level window got the settings-changed message
  IconMetricsSet,     // icon spacing set through the system's icon metrics
  Refresh,            // the shell redrew its icons
  ShutdownPrivilege,  // the process enabled its shutdown privilege
  Restart,
};

class RegistryShellIcons : public SystemIconPlatform {
 public:
  RegistryShellIcons(TRegistryStore& store, RegistryShellSetup setup);

  const SystemClasses& Classes() const { return classes_; }
  const std::vector<TShellCall>& Calls() const { return calls_; }

  bool IsXp() const override { return classes_.xp; }
  const LocationFolders& Folders() const override { return folders_; }
  SystemIconValues ReadRow(int row) override;
  bool ShowsEntry(int row, const SystemIconValues& values) const override;
  void DropHiddenEntries(std::vector<TCustomIconFileInfo>& entries) const override;
  void WriteRow(int row, const std::string& location) override;
  void RestoreRow(int row, const std::string& defaultValue) override;
  bool SettingsEditable() const override { return true; }
  TCustomIconState ReadSettings() override;
  void ApplySettings(const TCustomIconState& applied, const TCustomIconState& edited) override;
  void RebuildIconCache() override;
  bool EraseIconCache(std::string& failedPath) override;
  void RefreshShell() override;
  void Restart() override;

 private:
  struct KeyPlace {
    TRootKey root;
    std::string key;
  };

  std::string Read(const KeyPlace& place, const std::string& name) const;
  void Write(const KeyPlace& place, const std::string& name, const std::string& value);
  bool HasValue(const KeyPlace& place, const std::string& name) const;
  KeyPlace CurrentIconKey(int row) const;
  KeyPlace WriteIconKey(int row) const;
  std::string DefaultOfClassRow(int row);
  std::string SystemDefault(int row) const;
  std::string RecordedDefault(int row);
  std::optional<std::string> FixedNt5Default(int row) const;
  void WriteClassRow(int row, const std::string& location);
  void DeleteClassRow(int row, const KeyPlace& place);
  bool FileOfLocationExists(const std::string& location) const;
  std::string IconCacheFile() const;

  TRegistryStore& store_;
  SystemClasses classes_;
  LocationFolders folders_;
  std::vector<TShellCall> calls_;
};

}  // namespace varnel

// Stand-ins for the settings store's surroundings: the main window, the
// Startup-folder link, and folders of its own for each test.
#pragma once

#include <string>
#include <vector>

#include "config/AppFolders.h"
#include "config/SettingsWindow.h"
#include "config/StartupLink.h"
#include "platform/Platform.h"
#include "tests/support/TestFiles.h"

namespace vellumio::test {

// A window that records what was done to it, in order.
class TFakeIndicatorWindow final : public TIndicatorWindow {
public:
  TScreenRect monitor{0, 0, 1280, 1024};
  TScreenRect bounds{0, 0, 300, 600};
  bool visible = false;
  std::vector<std::string> calls;

  TScreenRect FirstMonitor() const override { return monitor; }
  TScreenRect Bounds() const override { return bounds; }
  void SetLeft(int32_t v) override { bounds.left = v, calls.push_back("left"); }
  void SetTop(int32_t v) override { bounds.top = v, calls.push_back("top"); }
  void SetWidth(int32_t v) override { bounds.width = v, calls.push_back("width"); }
  void SetHeight(int32_t v) override { bounds.height = v, calls.push_back("height"); }
  bool Visible() const override { return visible; }
  void Hide() override { visible = false, calls.push_back("hide"); }
  void ShowNoActivate() override { visible = true, calls.push_back("show"); }
};

class TFakeStartupLink final : public TStartupLink {
public:
  bool supported = true;
  bool exists = false;
  int creates = 0;
  int removes = 0;

  bool Supported() const override { return supported; }
  bool Exists() const override { return exists; }
  void Create() override { exists = true, ++creates; }
  void Remove() override { exists = false, ++removes; }
};

// A program folder and a documents folder inside a scratch folder, put in
// force for the life of the object.
class TScopedFolders {
public:
  TScopedFolders() : saved_(Folders()) {
    platform::ForceDirectories(temp_.U("program"));
    platform::ForceDirectories(temp_.U("documents"));
    SetFolders({temp_.U("program"), temp_.U("documents"), temp_.U("backup")});
  }
  ~TScopedFolders() { SetFolders(saved_); }
  TScopedFolders(const TScopedFolders&) = delete;
  TScopedFolders& operator=(const TScopedFolders&) = delete;

  const TempFolder& Temp() const { return temp_; }
  std::u16string Program() const { return Folders().programFolder; }
  std::u16string Documents() const { return Folders().dataFolder; }

private:
  AppFolders saved_;
  TempFolder temp_;
};

}  // namespace vellumio::test

// The main window's side of the update check: the checks the loader starts
// and what their results do (message boxes, the download page).
#pragma once

#include <string>

#include "config/Loader.h"

namespace vellumio {
class IMainThreadQueue;
}

namespace vellumio::app {

class TfMain;

class TMainUpdateChecks final : public IUpdateChecks {
public:
  TMainUpdateChecks(TfMain& main, IMainThreadQueue& queue);
  ~TMainUpdateChecks() override;

  void Start(bool manual) override;
  void CancelAll() override;

  // The result handlers (main thread).
  void ManualResult(int status, const std::string& reply);
  void AutomaticResult(int status, const std::string& reply);

private:
  TfMain& main_;
  IMainThreadQueue& queue_;
};

}  // namespace vellumio::app

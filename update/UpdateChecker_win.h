// One update check on its own thread: it asks the service, works out the
// status and hands status and reply to the main thread.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "update/HttpGet_win.h"

namespace vellumio {

class IMainThreadQueue;

class TUpdateChecker {
public:
  // Status (TUpdateStatus) and the raw reply, on the main thread.
  using TResultHandler = std::function<void(int status, const std::string& reply)>;

  // Starts a check of `url` on a thread of its own that frees the checker
  // when it is done. `workers` counts the checks alive (the loader's
  // WorkerCount); the result goes through `queue` to `onResult` unless
  // CancelAll came first.
  static void Start(std::string url, IMainThreadQueue& queue,
                    std::shared_ptr<std::atomic<int>> workers, TResultHandler onResult);
  // Cancels every running check: its request is closed and it delivers
  // nothing. Afterwards the queue may go away.
  static void CancelAll();

  TResultHandler OnResult;
  int Status = 0;
  std::string Reply;

private:
  TUpdateChecker(std::string url, IMainThreadQueue& queue, std::shared_ptr<std::atomic<int>> workers);
  ~TUpdateChecker();
  void Execute();
  void Deliver();

  std::string url_;
  IMainThreadQueue& queue_;
  std::shared_ptr<std::atomic<int>> workers_;
  THttpRequest request_;
  bool cancelled_ = false;  // under the checkers' lock
};

// The build number of the running program: the lowest 16 bits of the file
// version in its version resource (0 without one).
int ProgramBuildNumber();

// The service address: `configured` (the UpdateUrl setting) when set, else
// the one the program was built with.
std::string UpdateServiceAddress(const std::u16string& configured);

}  // namespace vellumio

#include "update/UpdateChecker_win.h"

#include <windows.h>

#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "base/Utf8.h"
#include "store/MainThreadQueue.h"
#include "update/UpdateReply.h"

#ifndef VELLUMIO_UPDATE_URL
#error "VELLUMIO_UPDATE_URL comes from the build"
#endif

namespace vellumio {
namespace {

// The checkers alive, so that exit can cancel them; the lock also keeps a
// delivery from racing with the cancel that precedes the queue's end.
std::mutex& CheckersLock() {
  static std::mutex lock;
  return lock;
}

std::set<TUpdateChecker*>& Checkers() {
  static std::set<TUpdateChecker*> checkers;
  return checkers;
}

}  // namespace

TUpdateChecker::TUpdateChecker(std::string url, IMainThreadQueue& queue,
                               std::shared_ptr<std::atomic<int>> workers)
    : url_(std::move(url)), queue_(queue), workers_(std::move(workers)) {
  workers_->fetch_add(1);
  std::lock_guard guard(CheckersLock());
  Checkers().insert(this);
}

TUpdateChecker::~TUpdateChecker() {
  {
    std::lock_guard guard(CheckersLock());
    Checkers().erase(this);
  }
  workers_->fetch_sub(1);
}

void TUpdateChecker::Start(std::string url, IMainThreadQueue& queue,
                           std::shared_ptr<std::atomic<int>> workers, TResultHandler onResult) {
  auto* checker = new TUpdateChecker(std::move(url), queue, std::move(workers));
  checker->OnResult = std::move(onResult);
  try {
    std::thread([checker] {
      checker->Execute();
      delete checker;
    }).detach();
  } catch (const std::exception&) {
    delete checker;  // no thread: no check
  }
}

void TUpdateChecker::CancelAll() {
  std::vector<TUpdateChecker*> running;
  {
    std::lock_guard guard(CheckersLock());
    for (TUpdateChecker* checker : Checkers()) {
      checker->cancelled_ = true;
      running.push_back(checker);
    }
    // Closing under the lock keeps the checkers from freeing themselves
    // meanwhile; Cancel itself never waits for the network.
    for (TUpdateChecker* checker : running) checker->request_.Cancel();
  }
}

void TUpdateChecker::Execute() {
  try {
    Reply = request_.Get(url_);
  } catch (const std::exception&) {
    Reply.clear();
  }
  Status = ParseUpdateReply(Reply).status;
  Deliver();
}

void TUpdateChecker::Deliver() {
  std::lock_guard guard(CheckersLock());
  if (cancelled_ || !OnResult) return;
  try {
    queue_.Post([onResult = OnResult, status = Status, reply = Reply] { onResult(status, reply); });
  } catch (const std::exception&) {
    // Out of memory: the check ends without a result, like a lost network.
  }
}

int ProgramBuildNumber() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 0;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (size == 0) return 0;
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(path, 0, size, data.data())) return 0;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT infoSize = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
      infoSize < sizeof(VS_FIXEDFILEINFO))
    return 0;
  return static_cast<int>(LOWORD(info->dwFileVersionLS));
}

std::string UpdateServiceAddress(const std::u16string& configured) {
  if (!configured.empty()) return ToUtf8(configured);
  return VELLUMIO_UPDATE_URL;
}

}  // namespace vellumio

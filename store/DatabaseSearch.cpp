#include "store/DatabaseSearch.h"

#include "platform/DirectoryWalk.h"
#include "platform/Platform.h"
#include "store/MainThreadQueue.h"

namespace vellumio {

namespace {

// The form in which folders are compared: lower case, no trailing
// separators (a drive root keeps its own: "c:\").
std::u16string FolderKey(const std::u16string& folder) {
  std::u16string key = platform::LowerCase(folder);
  while (key.size() > 1 && (key.back() == u'\\' || key.back() == u'/') &&
         key[key.size() - 2] != u':') {
    key.pop_back();
  }
  return key;
}

}  // namespace

// ---- TDatabaseSearch ----------------------------------------------------------------

TDatabaseSearch::TDatabaseSearch(const std::atomic<bool>& stop,
                                 std::function<void(Batch&&)> onBatch)
    : stop_(stop), onBatch_(std::move(onBatch)), lastFlush_(std::chrono::steady_clock::now()) {}

void TDatabaseSearch::Exclude(const std::u16string& folder) { excluded_.insert(FolderKey(folder)); }

bool TDatabaseSearch::Excluded(const std::u16string& folder) const {
  return !excluded_.empty() && excluded_.count(FolderKey(folder)) != 0;
}

bool TDatabaseSearch::Walk(const std::u16string& folder) {
  // Depth first with a stack of its own: trees may be deeper than the
  // thread's stack would allow a recursion to go.
  std::vector<std::u16string> pending{folder};
  bool complete = true;
  while (!pending.empty() && complete) {
    std::u16string next = std::move(pending.back());
    pending.pop_back();
    complete = WalkOne(next, pending);
  }
  Flush();
  return complete && !stop_.load();
}

bool TDatabaseSearch::WalkOne(const std::u16string& folder, std::vector<std::u16string>& pending) {
  bool stopped = false;
  platform::ForEachEntry(folder, [&](const platform::DirEntry& entry) {
    ++examined_;
    if (stop_.load(std::memory_order_relaxed)) {
      stopped = true;
      return false;
    }
    if (entry.isFolder) {
      // A linked folder is never entered: links make loops, and a link into
      // another tree would walk that tree twice.
      if (!entry.isLink) {
        std::u16string path = platform::JoinPath(folder, entry.name);
        if (!Excluded(path)) pending.push_back(std::move(path));
      }
    } else if (!filter || filter(entry.name)) {
      Report(platform::JoinPath(folder, entry.name));
    }
    return true;
  });
  return !stopped;
}

void TDatabaseSearch::Report(std::u16string path) {
  batch_.push_back(std::move(path));
  if (batch_.size() >= kBatchSize ||
      std::chrono::steady_clock::now() - lastFlush_ >= kBatchInterval) {
    Flush();
  }
}

void TDatabaseSearch::Flush() {
  lastFlush_ = std::chrono::steady_clock::now();
  if (batch_.empty()) return;
  Batch batch;
  batch.swap(batch_);
  if (onBatch_) onBatch_(std::move(batch));
}

// ---- TSearchThread ------------------------------------------------------------------

TSearchThread::TSearchThread(IMainThreadQueue& queue, Work work, std::function<void()> onFinished)
    : queue_(queue),
      work_(std::move(work)),
      onFinished_(std::move(onFinished)),
      stop_(std::make_shared<std::atomic<bool>>(false)) {}

TSearchThread::~TSearchThread() {
  Terminate();
  WaitFor();
}

void TSearchThread::Start() {
  if (!thread_.joinable() && !done_.load()) thread_ = std::thread([this] { Run(); });
}

void TSearchThread::WaitFor() {
  if (thread_.joinable()) thread_.join();
}

void TSearchThread::Run() {
  try {
    if (work_) work_(*this);
  } catch (...) {
    // A failed walk ends the search with what was found; the dialog still
    // learns that the search is over.
  }
  done_.store(true);
  if (onFinished_) PostToMain(onFinished_);
}

void TSearchThread::PostToMain(std::function<void()> call) {
  std::weak_ptr<std::atomic<bool>> stop = stop_;
  queue_.Post([stop, call = std::move(call)] {
    auto flag = stop.lock();
    if (flag && !flag->load()) call();
  });
}

}  // namespace vellumio

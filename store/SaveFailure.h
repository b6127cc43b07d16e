// How a failed background save reaches the user. The saver thread posts
// the notification through the main-thread queue (store/MainThreadQueue.h);
// the receiver runs on the main thread. The main window's error banner is
// the real receiver; until it exists, TDatabaseSaveFailure puts the
// database into the failed state itself.
#pragma once

#include <string>

namespace vellumio {

class TNoteListCollection;

class ISaveFailureReceiver {
public:
  virtual ~ISaveFailureReceiver() = default;
  // On the main thread; `message` names the file and the step that failed.
  virtual void SaveFailed(const std::u16string& path, const std::string& message) = 0;
};

// Sets the database's ErrorState to 2 (no further saves until it is
// cleared) and marks it modified again, because what it holds has not
// reached the disk and the retry after the banner must write it. Then hands
// the failure on to `next` (the banner), when there is one.
class TDatabaseSaveFailure : public ISaveFailureReceiver {
public:
  explicit TDatabaseSaveFailure(TNoteListCollection& database, ISaveFailureReceiver* next = nullptr)
      : database_(database), next_(next) {}
  void SaveFailed(const std::u16string& path, const std::string& message) override;

private:
  TNoteListCollection& database_;
  ISaveFailureReceiver* next_;
};

}  // namespace vellumio

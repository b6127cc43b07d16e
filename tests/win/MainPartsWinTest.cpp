// The main window's plumbing on real Win32 messages: the deferred-call
// queue, calls from other threads, and the auto-minimise threads.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/MinThread_win.h"
#include "platform/Platform.h"
#include "ui/MainThreadCalls_win.h"
#include "ui/Refresher_win.h"

namespace vellumio::app {
namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

// Pumps the thread's messages until `done` or the time is up.
template <class Done>
bool PumpUntil(Done done, int milliseconds = 3000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    platform::ProcessMessages();
    Sleep(5);
  }
  return true;
}

TEST(RefresherWin, CallsRunLaterInOrderAndDuplicatesCollapse) {
  ui::TRefresher refresher(Module());
  std::vector<std::string> calls;
  refresher.Post("AfterStart", [&] { calls.push_back("AfterStart"); });
  refresher.Post("RefreshCaption", [&] { calls.push_back("RefreshCaption"); });
  refresher.Post("RefreshCaption", [&] { calls.push_back("RefreshCaption again"); });
  EXPECT_TRUE(calls.empty());  // nothing runs inside the posting message
  EXPECT_EQ(refresher.QueuedCount(), 2u);
  ASSERT_TRUE(PumpUntil([&] { return refresher.QueuedCount() == 0; }));
  EXPECT_EQ(calls, (std::vector<std::string>{"AfterStart", "RefreshCaption"}));

  // Once run, the same call can be posted again.
  refresher.Post("RefreshCaption", [&] { calls.push_back("RefreshCaption"); });
  ASSERT_TRUE(PumpUntil([&] { return refresher.QueuedCount() == 0; }));
  EXPECT_EQ(calls.size(), 3u);
}

TEST(RefresherWin, ACallThatPumpsMessagesDoesNotReenterTheQueue) {
  ui::TRefresher refresher(Module());
  std::vector<std::string> calls;
  refresher.Post("Dialog", [&] {
    calls.push_back("Dialog begins");
    // A dialog's message loop: the queue's wake-up arrives here, but the
    // next call must wait until this one has finished.
    refresher.Post("Caption", [&] { calls.push_back("Caption"); });
    refresher.Post("Dialog", [&] { calls.push_back("Dialog twice"); });  // still queued: dropped
    platform::ProcessMessages();
    calls.push_back("Dialog ends");
  });
  ASSERT_TRUE(PumpUntil([&] { return refresher.QueuedCount() == 0; }));
  EXPECT_EQ(calls, (std::vector<std::string>{"Dialog begins", "Dialog ends", "Caption"}));
}

TEST(MainThreadCallsWin, CallsFromOtherThreadsRunOnTheMainThread) {
  ui::TMainThreadCalls calls(Module());
  const DWORD mainThread = GetCurrentThreadId();
  std::atomic<int> ran{0};
  std::atomic<bool> wrongThread{false};
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&] {
      for (int j = 0; j < 25; ++j)
        calls.Post([&] {
          if (GetCurrentThreadId() != mainThread) wrongThread = true;
          ++ran;
        });
    });
  for (auto& t : threads) t.join();
  ASSERT_TRUE(PumpUntil([&] { return ran.load() == 100; }));
  EXPECT_FALSE(wrongThread.load());
}

TEST(MinThreadsWin, FiresOnTheMainThreadAfterHalfASecond) {
  ui::TMainThreadCalls calls(Module());
  int fired = 0;
  TMinThreads threads(calls, [&] { ++fired; });
  const auto start = std::chrono::steady_clock::now();
  threads.Start();
  EXPECT_EQ(threads.Running(), 1);
  ASSERT_TRUE(PumpUntil([&] { return fired == 1; }));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(450));
  ASSERT_TRUE(PumpUntil([&] { return threads.Running() == 0; }));
}

TEST(MinThreadsWin, NothingFiresAfterTheWindowStoppedThem) {
  ui::TMainThreadCalls calls(Module());
  int fired = 0;
  {
    TMinThreads threads(calls, [&] { ++fired; });
    threads.Start();
    threads.Start();
    threads.StopAndWait();
    EXPECT_EQ(threads.Running(), 0);
    threads.Start();  // after the stop: refused
    EXPECT_EQ(threads.Running(), 0);
  }
  // Whatever was posted before the stop finds the threads terminated.
  for (int i = 0; i < 80; ++i) {
    platform::ProcessMessages();
    Sleep(10);
  }
  EXPECT_EQ(fired, 0);
}

}  // namespace
}  // namespace vellumio::app

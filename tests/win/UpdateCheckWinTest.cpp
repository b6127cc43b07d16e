// The update check over real WinInet against the loopback server of
// tests/win/run_update_tests.sh (its address in VELLUMIO_UPDATE_TEST_SERVER).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "Version.h"
#include "store/MainThreadQueue.h"
#include "update/HttpGet_win.h"
#include "update/UpdateChecker_win.h"
#include "update/UpdateReply.h"

namespace vellumio {
namespace {

using Clock = std::chrono::steady_clock;

class UpdateCheckWin : public ::testing::Test {
protected:
  std::string server;
  TManualQueue queue;
  std::shared_ptr<std::atomic<int>> workers = std::make_shared<std::atomic<int>>(0);
  int delivered = 0;
  int status = -1;
  std::string reply;

  void SetUp() override {
    const char* address = std::getenv("VELLUMIO_UPDATE_TEST_SERVER");
    if (!address || !*address) GTEST_SKIP() << "run through tests/win/run_update_tests.sh";
    server = address;
  }

  void Start(const std::string& url) {
    TUpdateChecker::Start(url, queue, workers, [this](int s, const std::string& r) {
      ++delivered;
      status = s;
      reply = r;
    });
  }
  // Waits until every checker has freed itself; false on time-out.
  bool WaitForWorkers(std::chrono::seconds limit) {
    const auto end = Clock::now() + limit;
    while (workers->load() > 0) {
      if (Clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }
  void Check(const std::string& url) {
    delivered = 0;
    Start(url);
    ASSERT_TRUE(WaitForWorkers(std::chrono::seconds(30))) << url;
    queue.RunPending();
  }
};

TEST_F(UpdateCheckWin, EveryReplyGivesItsStatusOnTheMainThread) {
  const struct {
    std::string base;
    int status;
    std::string reply;
  } cases[] = {
      {server + "/up", kUpdateUpToDate, "uptodate"},
      {server + "/out", kUpdateOutdated, "outdated;https://example.org/download"},
      {server + "/prog", kUpdateNoAnswer, "outdated;C:\\Windows\\System32\\calc.exe"},
      {server + "/garbage", kUpdateNoAnswer, "<html><body>Not Found</body></html>"},
      {"http://127.0.0.1:9", kUpdateNoAnswer, ""},  // nobody listens
  };
  for (const auto& c : cases) {
    Check(UpdateRequestUrl(c.base, ProgramBuildNumber()));
    EXPECT_EQ(delivered, 1) << c.base;
    EXPECT_EQ(status, c.status) << c.base;
    EXPECT_EQ(reply, c.reply) << c.base;
  }
}

TEST_F(UpdateCheckWin, TheRequestCarriesTheBuildNumberOfTheVersionResource) {
  EXPECT_EQ(ProgramBuildNumber(), VELLUMIO_BUILD);
  Check(UpdateRequestUrl(server + "/echo", ProgramBuildNumber()));
  EXPECT_EQ(reply, "/echo/checkversion.php?v=" + std::to_string(VELLUMIO_BUILD) + "&t=free&b=V");
}

TEST_F(UpdateCheckWin, AServerThatNeverAnswersTimesOut) {
  THttpRequest request;
  const auto start = Clock::now();
  EXPECT_EQ(request.Get(server + "/hang/checkversion.php", 1500), "");
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
}

// Exit cancels a check stuck on a silent server: nothing is delivered
// afterwards, and the thread still ends (at once on Windows, by the receive
// time-out where closing the handles does not free the request).
TEST_F(UpdateCheckWin, ACancelledCheckDeliversNothingAndStillEnds) {
  Start(server + "/hang/checkversion.php");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let it connect
  TUpdateChecker::CancelAll();
  EXPECT_TRUE(WaitForWorkers(std::chrono::seconds(kHttpTimeoutMs / 1000 + 10)));
  EXPECT_EQ(queue.RunPending(), 0);
  EXPECT_EQ(delivered, 0);
}

}  // namespace
}  // namespace vellumio

// The update service's reply, the request address and the 14-day rule.
#include <gtest/gtest.h>

#include <string>

#include "update/UpdateReply.h"

namespace vellumio {
namespace {

TEST(UpdateReply, StatusAndPageOfEveryReplyKind) {
  const std::string longReply = "outdated;https://example.org/" + std::string(5000, 'a');
  const struct {
    std::string reply;
    int status;
    std::string page;
  } cases[] = {
      {"uptodate", kUpdateUpToDate, ""},
      {"uptodate;whatever", kUpdateUpToDate, ""},
      {"outdated;https://example.org/download", kUpdateOutdated, "https://example.org/download"},
      {"outdated;http://example.org/d?x=1;extra", kUpdateOutdated, "http://example.org/d?x=1"},
      {"outdated; https://example.org/d\r\n", kUpdateOutdated, "https://example.org/d"},
      {longReply, kUpdateOutdated, longReply.substr(9)},
      // Field 0 must match exactly.
      {"UPTODATE", kUpdateNoAnswer, ""},
      {" uptodate", kUpdateNoAnswer, ""},
      {"uptodate ", kUpdateNoAnswer, ""},
      {"", kUpdateNoAnswer, ""},
      {"<html>404 Not Found</html>", kUpdateNoAnswer, ""},
      // An "outdated" without a page that may go to the shell.
      {"outdated", kUpdateNoAnswer, ""},
      {"outdated;", kUpdateNoAnswer, ""},
      {"outdated;C:\\Windows\\System32\\calc.exe", kUpdateNoAnswer, ""},
      {"outdated;file:///C:/Windows/System32/calc.exe", kUpdateNoAnswer, ""},
      {"outdated;https://", kUpdateNoAnswer, ""},
      {"outdated;https://example.org/a b", kUpdateNoAnswer, ""},
  };
  for (const auto& c : cases) {
    const TUpdateReply reply = ParseUpdateReply(c.reply);
    EXPECT_EQ(reply.status, c.status) << c.reply.substr(0, 60);
    EXPECT_EQ(reply.page, c.page) << c.reply.substr(0, 60);
  }
}

TEST(UpdateReply, OnlyAbsoluteWebAddressesAreOpened) {
  for (const char* good : {"https://example.org", "HTTP://example.org:8080/x", "https://u@host/"})
    EXPECT_TRUE(IsWebAddress(good)) << good;
  for (const char* bad : {"example.org", "calc.exe", "\\\\server\\share\\run.exe", "ftp://host/",
                          "javascript:alert(1)", "http:///path", "https://@/", "https://:80/",
                          "https://host/\"&calc", "https://host/\tx", "mailto:a@b"})
    EXPECT_FALSE(IsWebAddress(bad)) << bad;
}

TEST(UpdateReply, RequestAddress) {
  EXPECT_EQ(UpdateRequestUrl("https://update.example.org", 108),
            "https://update.example.org/checkversion.php?v=108&t=free&b=V");
  EXPECT_EQ(UpdateRequestUrl("http://127.0.0.1:8123/", 65535),
            "http://127.0.0.1:8123/checkversion.php?v=65535&t=free&b=V");
}

TEST(UpdateReply, AutomaticCheckAfterMoreThanFourteenDaysEitherWay) {
  const double day = 46000;
  EXPECT_TRUE(AutomaticCheckDue(true, 0, day));  // never checked
  EXPECT_FALSE(AutomaticCheckDue(true, day - 14, day));
  EXPECT_TRUE(AutomaticCheckDue(true, day - 14.01, day));
  EXPECT_TRUE(AutomaticCheckDue(true, day + 15, day));  // the clock was set back
  EXPECT_FALSE(AutomaticCheckDue(false, 0, day));
}

}  // namespace
}  // namespace vellumio

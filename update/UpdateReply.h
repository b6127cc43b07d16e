// The update service's request and reply, without the network: the address
// of the request, what a reply means, and when the automatic check is due.
#pragma once

#include <string>
#include <string_view>

namespace vellumio {

// What a check found out.
enum TUpdateStatus : int {
  kUpdateNoAnswer = 0,  // network failure, error page, foreign or unusable reply
  kUpdateUpToDate = 1,
  kUpdateOutdated = 2,
};

struct TUpdateReply {
  int status = kUpdateNoAnswer;
  // The download page of an "outdated" reply; empty otherwise.
  std::string page;
};

// The reply is plain text split at ";": field 0 exactly "uptodate" or
// "outdated", field 1 the download page. The page goes to the shell, so an
// "outdated" reply whose page is not an absolute web address (a program
// path, a file: address, nothing at all) is no usable answer.
TUpdateReply ParseUpdateReply(std::string_view reply);

// An absolute http or https address with a host and no blanks or control
// characters: the only thing we let the shell open for the service.
bool IsWebAddress(std::string_view address);

// `base` (scheme and host, perhaps a path) + "/checkversion.php" + the query
// with the build number, the licence "free" and the product code "V".
std::string UpdateRequestUrl(std::string_view base, int build);

// The automatic check runs when it is on and more than 14 days lie between
// `now` and the last decision (in either direction: a clock set back counts
// too).
bool AutomaticCheckDue(bool checkUpdates, double checkDate, double now);

}  // namespace vellumio

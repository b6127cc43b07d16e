// A blocking HTTP GET through WinInet for the update check, with time-outs
// and a way for another thread to cancel it.
#pragma once

#include <mutex>
#include <string>

namespace vellumio {

// The connect, send and receive time-out of a request: a server that
// accepts the connection and never answers must not hold a check forever.
inline constexpr unsigned long kHttpTimeoutMs = 15000;

class THttpRequest {
public:
  THttpRequest() = default;
  ~THttpRequest();
  THttpRequest(const THttpRequest&) = delete;
  THttpRequest& operator=(const THttpRequest&) = delete;

  // Downloads `url` (http or https), reads the body in 1024-byte pieces and
  // returns it; the empty text on any failure or after Cancel. The HTTP
  // status is not looked at: an error page is simply a reply nobody
  // understands.
  std::string Get(const std::string& url, unsigned long timeoutMs = kHttpTimeoutMs);
  // From any thread: closes the request's handles, so that a blocked read
  // fails at once where the system allows it.
  void Cancel();

private:
  using Handle = void*;  // HINTERNET
  // Keeps `handle` in `slot` unless the request was cancelled meanwhile.
  bool Keep(Handle& slot, Handle handle);
  void CloseAll();

  std::mutex lock_;
  bool cancelled_ = false;
  Handle internet_ = nullptr;
  Handle connection_ = nullptr;
  Handle request_ = nullptr;
};

// One request with the default time-out.
std::string HttpGet(const std::string& url);

}  // namespace vellumio

#include "update/HttpGet_win.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

namespace vellumio {
namespace {

// Wine ignores time-outs on the InternetOpen handle but honours them on the
// connection; Windows takes them on either. Set them on both.
void SetTimeouts(HINTERNET handle, DWORD timeoutMs) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT})
    InternetSetOptionA(handle, option, &timeoutMs, sizeof(timeoutMs));
}

struct TUrlParts {
  std::string host;
  std::string pathAndQuery;
  INTERNET_PORT port = 0;
  bool secure = false;
};

bool CrackUrl(const std::string& url, TUrlParts& parts) {
  std::vector<char> host(url.size() + 1), path(url.size() + 1), extra(url.size() + 1);
  URL_COMPONENTSA components{};
  components.dwStructSize = sizeof(components);
  components.lpszHostName = host.data();
  components.dwHostNameLength = static_cast<DWORD>(host.size());
  components.lpszUrlPath = path.data();
  components.dwUrlPathLength = static_cast<DWORD>(path.size());
  components.lpszExtraInfo = extra.data();
  components.dwExtraInfoLength = static_cast<DWORD>(extra.size());
  if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &components)) return false;
  if (components.nScheme != INTERNET_SCHEME_HTTP && components.nScheme != INTERNET_SCHEME_HTTPS)
    return false;
  parts.host.assign(host.data(), components.dwHostNameLength);
  parts.pathAndQuery.assign(path.data(), components.dwUrlPathLength);
  parts.pathAndQuery.append(extra.data(), components.dwExtraInfoLength);
  if (parts.pathAndQuery.empty()) parts.pathAndQuery.push_back('/');
  parts.port = components.nPort;
  parts.secure = components.nScheme == INTERNET_SCHEME_HTTPS;
  return !parts.host.empty();
}

}  // namespace

THttpRequest::~THttpRequest() { CloseAll(); }

bool THttpRequest::Keep(Handle& slot, Handle handle) {
  std::lock_guard guard(lock_);
  if (cancelled_) {
    if (handle) InternetCloseHandle(handle);
    return false;
  }
  slot = handle;
  return handle != nullptr;
}

void THttpRequest::CloseAll() {
  std::lock_guard guard(lock_);
  for (Handle* handle : {&request_, &connection_, &internet_}) {
    if (*handle) InternetCloseHandle(*handle);
    *handle = nullptr;
  }
}

void THttpRequest::Cancel() {
  {
    std::lock_guard guard(lock_);
    cancelled_ = true;
  }
  CloseAll();
}

std::string THttpRequest::Get(const std::string& url, unsigned long timeoutMs) {
  TUrlParts parts;
  if (!CrackUrl(url, parts)) return {};
  // Local copies: Cancel may close and clear the members from another
  // thread, and a call on a closed handle merely fails.
  const Handle internet = InternetOpenA("Vellumio", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!Keep(internet_, internet)) return {};
  SetTimeouts(internet, timeoutMs);
  const Handle connection = InternetConnectA(internet, parts.host.c_str(), parts.port, nullptr,
                                             nullptr, INTERNET_SERVICE_HTTP, 0, 0);
  std::string body;
  if (Keep(connection_, connection)) {
    SetTimeouts(connection, timeoutMs);
    // Always from the server: a cached "uptodate" would hide a new version.
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (parts.secure) flags |= INTERNET_FLAG_SECURE;
    const Handle request = HttpOpenRequestA(connection, "GET", parts.pathAndQuery.c_str(), nullptr,
                                            nullptr, nullptr, flags, 0);
    if (Keep(request_, request) && HttpSendRequestA(request, nullptr, 0, nullptr, 0)) {
      char buffer[1024];
      DWORD read = 0;
      while (InternetReadFile(request, buffer, sizeof(buffer), &read) && read > 0)
        body.append(buffer, read);
    }
  }
  CloseAll();
  std::lock_guard guard(lock_);
  return cancelled_ ? std::string() : body;
}

std::string HttpGet(const std::string& url) {
  THttpRequest request;
  return request.Get(url);
}

}  // namespace vellumio

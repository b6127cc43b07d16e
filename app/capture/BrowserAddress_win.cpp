#include "app/capture/BrowserAddress_win.h"

#include <ddeml.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/capture/CaptureText.h"
#include "platform/Platform.h"

namespace vellumio::capture {

namespace {

HDDEDATA CALLBACK IgnoreDdeEvents(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  return nullptr;
}

std::u16string ClassOf(HWND window) {
  wchar_t name[1024] = {};
  const int length = GetClassNameW(window, name, 1024);
  return std::u16string(name, name + std::max(0, length));
}

// One DDEML client instance and its string handles, freed on every path.
class TDdeClient {
public:
  TDdeClient() {
    if (DdeInitializeW(&instance_, &IgnoreDdeEvents, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
      instance_ = 0;
  }
  ~TDdeClient() {
    if (conversation_) DdeDisconnect(conversation_);
    for (HSZ handle : strings_) DdeFreeStringHandle(instance_, handle);
    if (instance_) DdeUninitialize(instance_);
  }
  TDdeClient(const TDdeClient&) = delete;
  TDdeClient& operator=(const TDdeClient&) = delete;

  bool Connect(const std::u16string& service, const wchar_t* topic) {
    if (!instance_) return false;
    const std::wstring wide(service.begin(), service.end());
    HSZ serviceHandle = Keep(DdeCreateStringHandleW(instance_, wide.c_str(), CP_WINUNICODE));
    HSZ topicHandle = Keep(DdeCreateStringHandleW(instance_, topic, CP_WINUNICODE));
    if (!serviceHandle || !topicHandle) return false;
    conversation_ = DdeConnect(instance_, serviceHandle, topicHandle, nullptr);
    return conversation_ != nullptr;
  }

  // The item is an 8-bit string: the browsers read it in the ANSI code
  // page (a Unicode handle in that code page would give them only "0").
  std::string Request(const char* item, DWORD timeoutMs) {
    HSZ itemHandle = Keep(DdeCreateStringHandleA(instance_, item, CP_WINANSI));
    if (!itemHandle) return {};
    HDDEDATA data = DdeClientTransaction(nullptr, 0, conversation_, itemHandle, CF_TEXT,
                                         XTYP_REQUEST, timeoutMs, nullptr);
    if (!data) return {};
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::string reply(size, '\0');
    if (size) DdeGetData(data, reinterpret_cast<LPBYTE>(reply.data()), size, 0);
    DdeFreeDataHandle(data);
    return reply.substr(0, reply.find('\0'));
  }

private:
  HSZ Keep(HSZ handle) {
    if (handle) strings_.push_back(handle);
    return handle;
  }

  DWORD instance_ = 0;
  HCONV conversation_ = nullptr;
  std::vector<HSZ> strings_;
};

}  // namespace

std::optional<std::u16string> AskBrowserForAddress(HWND window) {
  if (!window) return std::nullopt;
  const std::u16string service = BrowserServiceFor(ClassOf(window));
  if (service.empty()) return std::nullopt;
  try {
    TDdeClient client;
    if (!client.Connect(service, L"WWW_GetWindowInfo")) return std::nullopt;
    const std::string reply = client.Request("0xFFFFFFFF,sURL,sTitle", 10000);
    const std::optional<std::string> address = AddressFromDdeReply(reply);
    if (!address) return std::nullopt;
    return platform::FromAnsi(*address);
  } catch (...) {
    // Whatever goes wrong in the conversation, the caption serves instead.
    return std::nullopt;
  }
}

}  // namespace vellumio::capture

#include <windows.h>
// After windows.h:
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <stdexcept>
#include <string>

#include "base/Utf8.h"
#include "config/StartupLink.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"

namespace vellumio {
namespace {

std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

[[noreturn]] void Fail(const char* what, HRESULT result) {
  char code[16];
  snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
  throw std::runtime_error(std::string("Cannot create the start-up shortcut: ") + what + " (" +
                           code + ")");
}

std::wstring StartupFolder() {
  wchar_t path[MAX_PATH] = {};
  const HRESULT result = SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr,
                                          SHGFP_TYPE_CURRENT, path);
  if (FAILED(result)) Fail("no Startup folder", result);
  return path;
}

std::wstring ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (length == 0) Fail("no program path", HRESULT_FROM_WIN32(GetLastError()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

// COM for the calling thread, for as long as the link is being written; a
// thread that already has it keeps its own apartment.
class TComScope {
public:
  TComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~TComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;

private:
  HRESULT result_;
};

template <class T>
class TComPtr {
public:
  TComPtr() = default;
  ~TComPtr() {
    if (p_) p_->Release();
  }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  T** Out() { return &p_; }
  T* operator->() const { return p_; }

private:
  T* p_ = nullptr;
};

void WriteShellLink(const std::wstring& linkPath, const std::wstring& target) {
  TComScope com;
  TComPtr<IShellLinkW> link;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(link.Out()));
  if (FAILED(result)) Fail("no shell link object", result);
  const std::wstring folder = target.substr(0, target.find_last_of(L'\\'));
  if (FAILED(result = link->SetPath(target.c_str()))) Fail("SetPath", result);
  if (FAILED(result = link->SetWorkingDirectory(folder.c_str())))
    Fail("SetWorkingDirectory", result);
  TComPtr<IPersistFile> file;
  result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out()));
  if (FAILED(result)) Fail("no IPersistFile", result);
  if (FAILED(result = file->Save(linkPath.c_str(), TRUE))) Fail("IPersistFile::Save", result);
}

class TWin32StartupLink final : public TStartupLink {
public:
  explicit TWin32StartupLink(std::wstring folder) : folder_(std::move(folder)) {}

  bool Supported() const override { return true; }
  bool Exists() const override { return platform::FileExists(U16(LinkPath())); }
  void Create() override {
    Remove();
    WriteShellLink(LinkPath(), ExecutablePath());
  }
  void Remove() override { platform::DeleteFileIfExists(U16(LinkPath())); }

private:
  // The Startup folder is asked for at each use: it may be moved by the user.
  std::wstring LinkPath() const {
    const std::wstring folder = folder_.empty() ? StartupFolder() : folder_;
    return folder + L"\\Vellumio.lnk";
  }

  std::wstring folder_;  // empty: the user's Startup folder
};

}  // namespace

std::unique_ptr<TStartupLink> MakeSystemStartupLink() {
  return std::make_unique<TWin32StartupLink>(std::wstring());
}

std::unique_ptr<TStartupLink> MakeStartupLinkIn(const std::u16string& folder) {
  return std::make_unique<TWin32StartupLink>(std::wstring(folder.begin(), folder.end()));
}

}  // namespace vellumio

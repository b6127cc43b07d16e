// The settings store against the real registry and the real shell: a key of
// its own under HKEY_CURRENT_USER\Software for each test (removed before and
// after), a real window for the position, and a real shell link.
#include <windows.h>
// After windows.h:
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/IniFile.h"
#include "config/ConfStore.h"
#include "config/RegistryIni.h"
#include "config/StartupLink.h"
#include "platform/Platform.h"
#include "store/NoteListCollection.h"
#include "tests/native/ConfStoreTestSupport.h"
#include "tests/support/TestFiles.h"

namespace vellumio {
namespace {

const wchar_t kKey[] = L"Software\\VellumioConfStoreTest";
const char16_t kLocation[] = u"\\Software\\VellumioConfStoreTest";

std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

void DeleteTestKey() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kKey), RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
}

struct TStoredValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  bool exists = false;
  std::wstring Text() const {
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / 2);
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
  }
  DWORD Dword() const {
    DWORD v = 0;
    if (data.size() == 4) memcpy(&v, data.data(), 4);
    return v;
  }
};

TStoredValue Get(const std::wstring& section, const std::wstring& name) {
  TStoredValue value;
  const std::wstring path = std::wstring(kKey) + L"\\" + section;
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                   &value.type, nullptr, &size) != ERROR_SUCCESS)
    return value;
  value.data.resize(size);
  value.exists =
      RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                   &value.type, value.data.data(), &size) == ERROR_SUCCESS;
  value.data.resize(size);
  return value;
}

void Put(const std::wstring& section, const std::wstring& name, DWORD type, const void* data,
         DWORD size) {
  const std::wstring path = std::wstring(kKey) + L"\\" + section;
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), type, data, size),
            ERROR_SUCCESS);
}

void PutText(const std::wstring& section, const std::wstring& name, const std::wstring& text) {
  Put(section, name, REG_SZ, text.c_str(), DWORD((text.size() + 1) * sizeof(wchar_t)));
}

void PutDword(const std::wstring& section, const std::wstring& name, DWORD value) {
  Put(section, name, REG_DWORD, &value, sizeof value);
}

// A real top-level window of 300 x 600 pixels, hidden until a test shows it.
class TOwnedWindow {
public:
  TOwnedWindow()
      : hwnd_(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"ConfStoreWinTest", WS_POPUP, 0, 0, 300,
                              600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ~TOwnedWindow() { DestroyWindow(hwnd_); }
  TOwnedWindow(const TOwnedWindow&) = delete;
  TOwnedWindow& operator=(const TOwnedWindow&) = delete;
  HWND Get() const { return hwnd_; }

private:
  HWND hwnd_;
};

class ConfStoreWin : public ::testing::Test {
protected:
  test::TScopedFolders folders;
  TOwnedWindow owned;
  std::unique_ptr<TIndicatorWindow> window = MakeIndicatorWindow(owned.Get());
  test::TFakeStartupLink link;

  ConfStoreWin() { DeleteTestKey(); }
  ~ConfStoreWin() override { DeleteTestKey(); }

  std::unique_ptr<TConfStore> Open(TStartupLink* startupLink = nullptr) {
    TConfStoreServices services;
    services.window = window.get();
    services.startupLink = startupLink ? startupLink : &link;
    services.registryKey = kLocation;
    return std::make_unique<TConfStore>(std::move(services));
  }
  std::wstring Prefix() const {
    return L"res" + std::to_wstring(GetSystemMetrics(SM_CXSCREEN)) + L"x" +
           std::to_wstring(GetSystemMetrics(SM_CYSCREEN)) + L"_";
  }
};

TEST_F(ConfStoreWin, FirstRunYieldsTheDefaultsAndWritesEachKindInItsForm) {
  {
    auto store = Open();
    EXPECT_FALSE(store->Portable);
    EXPECT_EQ(store->Location, kLocation);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    EXPECT_EQ(window->Bounds().left, screenWidth - 300 - 3);
    EXPECT_EQ(window->Bounds().top, 100);
    EXPECT_EQ(window->Bounds().width, 300);
    EXPECT_EQ(store->IndicatorSettings.FontSize, 2);
    EXPECT_TRUE(store->IndicatorSettings.HideOnLeave);
    EXPECT_EQ(store->GeneralSettings.HotKeys.QuoteKey, 0x6051);
    EXPECT_EQ(store->DatabaseSettings.DatabaseFile(), folders.Documents() + u"notes.sbn");
    EXPECT_EQ(store->LangModuleValues.CurrentLanguage, u"english.lng");
    EXPECT_EQ(store->SchModuleValues.CurrentScheme, u"vellumio.sch");
    EXPECT_EQ(store->WebAccountSettings.SyncInterval, 5);
  }
  const struct {
    const wchar_t* section;
    const wchar_t* name;
    DWORD type;
    const wchar_t* text;  // REG_SZ
    DWORD number;         // REG_DWORD
  } cases[] = {
      {L"Settings\\Indicator", L"FontSize", REG_DWORD, nullptr, 2},
      {L"Settings\\Indicator", L"DockLineCol", REG_DWORD, nullptr, 255},
      {L"Settings\\Indicator", L"ShowNewListTab", REG_SZ, L"1", 0},
      {L"Settings\\Indicator", L"ShowReturns", REG_SZ, L"0", 0},
      {L"Settings\\General", L"CheckDate", REG_DWORD, nullptr, 0},
      {L"Settings\\General\\HotKeys", L"HideKey", REG_DWORD, nullptr, 24653},
      {L"Settings\\General\\HotKeys", L"Enabled", REG_SZ, L"1", 0},
      {L"LangModule", L"IsLangModified", REG_SZ, L"1", 0},
      {L"ColorScheme", L"CurrentScheme", REG_SZ, L"vellumio.sch", 0},
      {L"Settings\\WebAccount", L"Login", REG_SZ, L"", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
    const TStoredValue v = Get(c.section, c.name);
    ASSERT_TRUE(v.exists);
    EXPECT_EQ(v.type, c.type);
    if (c.type == REG_SZ) EXPECT_EQ(v.Text(), c.text);
    if (c.type == REG_DWORD) EXPECT_EQ(v.Dword(), c.number);
  }
  const TStoredValue left = Get(L"Settings\\Indicator", Prefix() + L"LeftPos");
  EXPECT_EQ(left.type, DWORD(REG_DWORD));
  EXPECT_EQ(int32_t(left.Dword()), GetSystemMetrics(SM_CXSCREEN) - 303);
  EXPECT_EQ(Get(L"Settings\\Indicator", Prefix() + L"TopPos").Dword(), 100u);
  EXPECT_FALSE(Get(L"Settings\\Indicator", L"LargeFonts").exists);
  EXPECT_EQ(Get(L"Settings\\Database", L"DatabaseFile").Text(),
            W(folders.Documents() + u"notes.sbn"));
}

TEST_F(ConfStoreWin, ShownWindowMovesToItsPlaceAndStaysShown) {
  const std::wstring prefix = Prefix();
  PutDword(L"Settings\\Indicator", prefix + L"LeftPos", 40);
  PutDword(L"Settings\\Indicator", prefix + L"TopPos", 50);
  PutDword(L"Settings\\Indicator", prefix + L"Width", 220);
  PutDword(L"Settings\\Indicator", prefix + L"Height", 330);
  auto store = Open();
  ShowWindow(owned.Get(), SW_SHOWNOACTIVATE);
  MoveWindow(owned.Get(), 0, 0, 100, 100, FALSE);
  store->LoadPosition();
  RECT r;
  GetWindowRect(owned.Get(), &r);
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right - r.left, 220);
  EXPECT_EQ(r.bottom - r.top, 330);
  EXPECT_TRUE(IsWindowVisible(owned.Get()));
  MoveWindow(owned.Get(), 60, 70, 240, 350, FALSE);
  store->SavePosition();
  EXPECT_EQ(Get(L"Settings\\Indicator", prefix + L"LeftPos").Dword(), 60u);
  EXPECT_EQ(Get(L"Settings\\Indicator", prefix + L"Height").Dword(), 350u);
  // The first monitor is the one the system lists first.
  const TScreenRect monitor = window->FirstMonitor();
  EXPECT_EQ(monitor.width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(monitor.height, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(ConfStoreWin, DwordBooleanReadsTrueAndIsRewrittenAsText) {
  PutDword(L"Settings\\Indicator", L"ShowReturns", 1);
  PutDword(L"Settings\\General\\HotKeys", L"Enabled", 0);
  PutDword(L"Settings\\Indicator", L"LargeFonts", 0);  // either type reads
  {
    auto store = Open();
    EXPECT_TRUE(store->IndicatorSettings.ShowReturns);
    EXPECT_FALSE(store->GeneralSettings.HotKeys.Enabled);
    EXPECT_EQ(store->IndicatorSettings.FontSize, 0);
  }
  const TStoredValue showReturns = Get(L"Settings\\Indicator", L"ShowReturns");
  EXPECT_EQ(showReturns.type, DWORD(REG_SZ));
  EXPECT_EQ(showReturns.Text(), L"1");
  EXPECT_EQ(Get(L"Settings\\General\\HotKeys", L"Enabled").Text(), L"0");
}

TEST_F(ConfStoreWin, TextIntegerStaysText) {
  PutText(L"Settings\\Indicator", L"DockLineTransp", L"7");
  PutText(L"Settings\\General\\HotKeys", L"QuoteKey", L" 16465 ");
  PutText(L"Settings\\WebAccount", L"SyncInterval", L"soon");  // does not parse
  {
    auto store = Open();
    EXPECT_EQ(store->IndicatorSettings.DockLineTransp, 7);
    EXPECT_EQ(store->GeneralSettings.HotKeys.QuoteKey, 16465);
    EXPECT_EQ(store->WebAccountSettings.SyncInterval, 5);
    store->Save();
    EXPECT_EQ(Get(L"Settings\\Indicator", L"DockLineTransp").Text(), L"7");
    store->IndicatorSettings.DockLineTransp = 8;
  }
  const TStoredValue transp = Get(L"Settings\\Indicator", L"DockLineTransp");
  EXPECT_EQ(transp.type, DWORD(REG_SZ));
  EXPECT_EQ(transp.Text(), L"8");
  EXPECT_EQ(Get(L"Settings\\General\\HotKeys", L"QuoteKey").Text(), L"16465");
  EXPECT_EQ(Get(L"Settings\\WebAccount", L"SyncInterval").Text(), L"5");
  // Values that were never text are created as numbers.
  EXPECT_EQ(Get(L"Settings\\Indicator", L"GroupMode").type, DWORD(REG_DWORD));
}

TEST_F(ConfStoreWin, ValueOfAnUnexpectedTypeCountsAsMissing) {
  const BYTE junk[] = {1, 2, 3, 4, 5};
  Put(L"Settings\\Indicator", L"DockLineTransp", REG_BINARY, junk, sizeof junk);
  Put(L"Settings\\Indicator", L"HideOnLeave", REG_BINARY, junk, 1);
  Put(L"Settings\\WebAccount", L"Login", REG_BINARY, junk, sizeof junk);
  const uint64_t wide = 3;
  Put(L"Settings\\Indicator", L"GroupMode", REG_QWORD, &wide, sizeof wide);
  PutDword(L"ColorScheme", L"CurrentScheme", 12);  // a number where text belongs
  {
    auto store = Open();  // no error: the program starts
    EXPECT_EQ(store->IndicatorSettings.DockLineTransp, 50);
    EXPECT_TRUE(store->IndicatorSettings.HideOnLeave);
    EXPECT_EQ(store->IndicatorSettings.GroupMode, 0);
    EXPECT_EQ(store->WebAccountSettings.Login, u"");
    EXPECT_EQ(store->SchModuleValues.CurrentScheme, u"vellumio.sch");
  }
  const TStoredValue transp = Get(L"Settings\\Indicator", L"DockLineTransp");
  EXPECT_EQ(transp.type, DWORD(REG_DWORD));
  EXPECT_EQ(transp.Dword(), 50u);
  EXPECT_EQ(Get(L"Settings\\Indicator", L"HideOnLeave").type, DWORD(REG_SZ));
  EXPECT_EQ(Get(L"Settings\\Indicator", L"GroupMode").type, DWORD(REG_DWORD));
  EXPECT_EQ(Get(L"Settings\\WebAccount", L"Login").type, DWORD(REG_SZ));
  EXPECT_EQ(Get(L"ColorScheme", L"CurrentScheme").Text(), L"vellumio.sch");
}

TEST_F(ConfStoreWin, BackEndSectionsAreKeys) {
  auto ini = OpenRegistryIni(kLocation);
  EXPECT_FALSE(ini->ValueExists(u"Dialogs\\FileExistsMsg", u"DefaultAnswer"));
  EXPECT_EQ(ini->ReadInteger(u"Dialogs\\FileExistsMsg", u"DefaultAnswer", -1), -1);
  ini->WriteInteger(u"Dialogs\\FileExistsMsg", u"DefaultAnswer", 6);
  ini->WriteInteger(u"Dialogs\\fSelectLang", u"DefaultAnswer", 1);
  ini->WriteString(u"Dialogs", u"Note", u"kept \u00e4\u4e2d");
  ini->UpdateFile();
  EXPECT_TRUE(ini->ValueExists(u"Dialogs\\FileExistsMsg", u"DefaultAnswer"));
  EXPECT_EQ(Get(L"Dialogs\\FileExistsMsg", L"DefaultAnswer").Dword(), 6u);
  EXPECT_EQ(ini->ReadString(u"Dialogs", u"Note", u""), u"kept \u00e4\u4e2d");

  ini->EraseSection(u"Dialogs");
  EXPECT_FALSE(ini->ValueExists(u"Dialogs\\FileExistsMsg", u"DefaultAnswer"));
  EXPECT_FALSE(ini->ValueExists(u"Dialogs\\fSelectLang", u"DefaultAnswer"));
  EXPECT_FALSE(ini->ValueExists(u"Dialogs", u"Note"));
  EXPECT_NO_THROW(ini->EraseSection(u"Dialogs"));  // already gone
  HKEY key;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (std::wstring(kKey) + L"\\Dialogs").c_str(), 0,
                          KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);
}

TEST_F(ConfStoreWin, PortableModeSwitchesWithTheFileBesideTheProgram) {
  {
    auto store = Open();
    store->IndicatorSettings.FontSize = 5;
    store->DatabaseSettings.SetDatabaseFile(u"C:\\Data\\mine.sbn");
  }
  const std::u16string iniFile = folders.Program() + u"Vellumio.ini";
  test::WriteText(std::filesystem::path(iniFile), "");
  {
    auto store = Open();
    EXPECT_TRUE(store->Portable);
    EXPECT_EQ(store->Location, iniFile);
    EXPECT_EQ(store->IndicatorSettings.FontSize, 2);
    EXPECT_EQ(store->DatabaseSettings.DatabaseFile(), folders.Program() + u"notes.sbn");
    store->IndicatorSettings.FontSize = 1;
  }
  TIniFile saved;
  saved.LoadFromFile(iniFile);
  EXPECT_EQ(saved.ReadString(u"Settings\\Indicator", u"FontSize", u""), u"1");
  // The system's own reader sees the same file.
  wchar_t text[32] = {};
  GetPrivateProfileStringW(L"Settings\\Indicator", L"FontSize", L"", text, 32, W(iniFile).c_str());
  EXPECT_STREQ(text, L"1");
  EXPECT_EQ(Get(L"Settings\\Indicator", L"FontSize").Dword(), 5u);  // registry untouched

  std::filesystem::remove(std::filesystem::path(iniFile));
  auto store = Open();
  EXPECT_FALSE(store->Portable);
  EXPECT_EQ(store->IndicatorSettings.FontSize, 5);
  EXPECT_EQ(store->DatabaseSettings.DatabaseFile(), u"C:\\Data\\mine.sbn");
}

TEST_F(ConfStoreWin, DatabaseFileFromTheRegistry) {
  PutText(L"Settings\\Database", L"DatabaseFile", L"C:\\Data\\old.DAT");
  {
    auto store = Open();
    EXPECT_EQ(store->DatabaseSettings.DatabaseFile(), u"C:\\Data\\old.DAT.sbn");
    EXPECT_FALSE(store->DatabaseSettings.IsDefaultLocation());
    EXPECT_FALSE(store->DatabaseSettings.EnsureDatabase());
    EXPECT_EQ(store->DatabaseSettings.DatabaseFolder(), u"C:\\Data");
    store->DatabaseSettings.SetDatabaseFile(folders.Documents() + u"notes.SBN");
    EXPECT_FALSE(store->DatabaseSettings.IsDefaultLocation());  // case counts
    store->DatabaseSettings.SetDatabaseFile(folders.Documents() + u"notes.sbn");
    EXPECT_TRUE(store->DatabaseSettings.EnsureDatabase());
    TNoteListCollection created(true);
    EXPECT_NO_THROW(created.LoadFromFile(store->DatabaseSettings.DatabaseFile()));
    std::u16string folder = folders.Documents();
    folder.pop_back();
    EXPECT_EQ(store->DatabaseSettings.DatabaseFolder(), folder);
  }
  EXPECT_EQ(Get(L"Settings\\Database", L"DatabaseFile").Text(),
            W(folders.Documents() + u"notes.sbn"));
}

// Reads a shell link's target and working folder through the shell.
bool ReadLink(const std::wstring& path, std::wstring& target, std::wstring& folder) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return false;
  IPersistFile* file = nullptr;
  bool ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
  ok = ok && SUCCEEDED(file->Load(path.c_str(), STGM_READ));
  wchar_t buffer[MAX_PATH] = {};
  ok = ok && SUCCEEDED(link->GetPath(buffer, MAX_PATH, nullptr, 0));
  target = buffer;
  ok = ok && SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH));
  folder = buffer;
  if (file) file->Release();
  link->Release();
  return ok;
}

std::wstring OwnPath() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

TEST_F(ConfStoreWin, ShellLinkPointsAtTheProgram) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  auto link = MakeStartupLinkIn(folders.Temp().U());
  EXPECT_TRUE(link->Supported());
  EXPECT_FALSE(link->Exists());
  link->Create();
  ASSERT_TRUE(link->Exists());
  std::wstring target, folder;
  ASSERT_TRUE(ReadLink(W(folders.Temp().U("Vellumio.lnk")), target, folder));
  EXPECT_EQ(_wcsicmp(target.c_str(), OwnPath().c_str()), 0)
      << std::string(target.begin(), target.end());
  const std::wstring own = OwnPath();
  EXPECT_EQ(_wcsicmp(folder.c_str(), own.substr(0, own.find_last_of(L'\\')).c_str()), 0);
  link->Create();  // replaces
  EXPECT_TRUE(link->Exists());
  link->Remove();
  EXPECT_FALSE(link->Exists());
  EXPECT_NO_THROW(link->Remove());
  CoUninitialize();
}

TEST_F(ConfStoreWin, RunAtStartupCreatesAndRemovesTheStartupLink) {
  wchar_t startup[MAX_PATH] = {};
  ASSERT_TRUE(
      SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, 0, startup)));
  const std::u16string linkFile =
      std::u16string(startup, startup + wcslen(startup)) + u"\\Vellumio.lnk";
  auto system = MakeSystemStartupLink();
  system->Remove();
  {
    auto store = Open(system.get());
    EXPECT_FALSE(store->GeneralSettings.RunAtStartup);
    store->GeneralSettings.RunAtStartup = true;
  }
  EXPECT_TRUE(platform::FileExists(linkFile));
  {
    auto store = Open(system.get());
    EXPECT_TRUE(store->GeneralSettings.RunAtStartup);
    store->GeneralSettings.RunAtStartup = false;
  }
  EXPECT_FALSE(platform::FileExists(linkFile));
  system->Remove();
}

}  // namespace
}  // namespace vellumio

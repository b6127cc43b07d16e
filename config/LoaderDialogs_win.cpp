// The application object's operations that show system dialogs: a new
// database file, the text export and the help file.
#include <windows.h>

#include <shellapi.h>

#include "config/Loader.h"
#include "lang/Message_win.h"
#include "platform/Platform.h"
#include "platform/Win32Text_win.h"
#include "ui/FileDialogs_win.h"
#include "ui/Form_win.h"

namespace vellumio {

namespace {

using platform::win::FromWide;
using platform::win::WideString;


// The help engine, loaded on first use and freed when the program ends.
class THtmlHelp {
public:
  using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
  ~THtmlHelp() {
    if (library_) FreeLibrary(library_);
  }
  HtmlHelpFn Function() {
    if (!tried_) {
      tried_ = true;
      library_ = LoadLibraryA("HHCtrl.ocx");
      if (library_)
        function_ = reinterpret_cast<HtmlHelpFn>(
            reinterpret_cast<void*>(GetProcAddress(library_, "HtmlHelpA")));
    }
    return function_;
  }

private:
  bool tried_ = false;
  HMODULE library_ = nullptr;
  HtmlHelpFn function_ = nullptr;
};

THtmlHelp g_htmlHelp;

constexpr wchar_t kHelpViewerPage[] =
    L"https://learn.microsoft.com/windows/win32/htmlhelp/microsoft-html-help-downloads";
constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC

}  // namespace

std::u16string TLoader::CreateNewDatabase(const std::u16string& currentFile) {
  ui::TFileDialogOptions options;
  options.owner = ui::MainWindow();
  options.fileName = currentFile;
  options.initialFolder = platform::ExtractFileDir(currentFile);
  options.fallbackFolder = Folders().dataFolder;
  options.filter = L"Vellumio database (*.sbn)|*.sbn|All files|*.*";
  options.defaultExtension = L"sbn";
  options.title = L"Create New Database";
  BeginModal();
  const std::optional<std::u16string> chosen = ui::ShowOpenDialog(options);
  EndModal(false);
  // Nothing created: the caller keeps the file it had.
  if (!chosen) return currentFile;
  if (platform::FileExists(*chosen) &&
      TuMsg::ShowMsg(IDI_QUESTION, GetText(u"", u".lConfirmation"),
                     GetText(u"FMAIN", u"mFileExists"), u"FileExistsMsg", ui::MainWindow(), false,
                     true) != 6)
    return currentFile;
  TNoteListCollection fresh(true);
  fresh.SaveToFile(*chosen);
  return *chosen;
}

void TLoader::ExportToText() {
  ui::TFileDialogOptions options;
  options.owner = ui::MainWindow();
  options.filter = WideString(GetText(u"", u".lTextFiles")) + L" (*.txt)|*.txt|" +
                   WideString(GetText(u"", u".lAllFiles")) + L"|*.*";
  options.defaultExtension = L"txt";
  options.title = WideString(GetText(u"FMAIN", u"lExportCap"));
  options.initialFolder = LastExportFolder;
  options.fallbackFolder = Folders().dataFolder;
  BeginModal();
  std::optional<std::u16string> chosen;
  try {
    chosen = ui::ShowSaveDialog(options);
    if (chosen) {
      LastExportFolder = platform::ExtractFileDir(*chosen);
      database_->ExportToFile(*chosen);
    }
  } catch (...) {
    EndModal(false);
    throw;
  }
  EndModal(false);
}

void TLoader::ShowHelp(const std::u16string& topic) {
  std::u16string path = Folders().helpFolder + u"Vellumio.chm";
  if (!topic.empty()) path += u"::" + topic;
  if (const auto htmlHelp = g_htmlHelp.Function()) {
    htmlHelp(ui::MainWindow(), platform::ToAnsi(path).c_str(), kDisplayTopic, 0);
    return;
  }
  MessageBeep(MB_ICONEXCLAMATION);
  const int answer =
      MessageBoxW(ui::MainWindow(),
                  L"HHCtrl.ocx library not found.\r\nUnable to display the help file.\r\n\r\n"
                  L"Please press OK button to update your help viewer.",
                  L"Vellumio", MB_ICONERROR | MB_OKCANCEL);
  if (answer == IDOK) ShellExecuteW(nullptr, L"open", kHelpViewerPage, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace vellumio

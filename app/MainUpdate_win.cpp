#include "app/MainUpdate_win.h"

#include <windows.h>
#include <shellapi.h>

#include "app/Main_win.h"
#include "base/Utf8.h"
#include "lang/Message_win.h"
#include "update/UpdateChecker_win.h"
#include "update/UpdateReply.h"

namespace vellumio::app {
namespace {

// Only a web address ever reaches the shell (the reply parser refuses the
// rest), so a hostile reply cannot start a program.
void OpenPage(HWND owner, const std::string& page) {
  if (!IsWebAddress(page)) return;
  const std::u16string address = FromUtf8(page);
  ShellExecuteW(owner, L"open", reinterpret_cast<const wchar_t*>(address.c_str()), nullptr, nullptr,
                SW_SHOWNORMAL);
}

}  // namespace

TMainUpdateChecks::TMainUpdateChecks(TfMain& main, IMainThreadQueue& queue)
    : main_(main), queue_(queue) {}

TMainUpdateChecks::~TMainUpdateChecks() { CancelAll(); }

void TMainUpdateChecks::Start(bool manual) {
  TLoader& loader = main_.Loader();
  const std::string url = UpdateRequestUrl(
      UpdateServiceAddress(loader.ConfStore().GeneralSettings.UpdateUrl), ProgramBuildNumber());
  TUpdateChecker::Start(url, queue_, loader.WorkerCounter(),
                        [this, manual](int status, const std::string& reply) {
                          if (manual) ManualResult(status, reply);
                          else AutomaticResult(status, reply);
                        });
}

void TMainUpdateChecks::CancelAll() { TUpdateChecker::CancelAll(); }

void TMainUpdateChecks::ManualResult(int status, const std::string& reply) {
  const TUpdateReply parsed = ParseUpdateReply(reply);
  if (status == kUpdateOutdated && parsed.status == kUpdateOutdated) {
    OpenPage(main_.Handle(), parsed.page);
    return;
  }
  TLoader& loader = main_.Loader();
  loader.BeginModal();
  try {
    if (status == kUpdateUpToDate)
      TuMsg::ShowMsg(IDI_ASTERISK, loader.GetText(u"", u".lInformation"),
                     loader.GetText(u"FMAIN", u"mVerUpToDate"), u"VerUpToDate", nullptr, true, false);
    else
      TuMsg::ShowMsg(IDI_HAND, loader.GetText(u"", u".lWarning"),
                     loader.GetText(u"FMAIN", u"mVerConProblem"), u"VerConProblem", nullptr, true,
                     false);
  } catch (...) {
    loader.EndModal(false);
    throw;
  }
  loader.EndModal(false);
}

void TMainUpdateChecks::AutomaticResult(int status, const std::string& reply) {
  const TUpdateReply parsed = ParseUpdateReply(reply);
  if (status != kUpdateOutdated || parsed.status != kUpdateOutdated) return;
  TLoader& loader = main_.Loader();
  main_.ShowIndicator();
  loader.BeginModal();
  int answer = 0;
  try {
    answer = TuMsg::ShowMsg(IDI_ASTERISK, loader.GetText(u"", u".lInformation"),
                            loader.GetText(u"FMAIN", u"mVerUpdateRequest"), u"VerUpdateRequest",
                            main_.Handle(), false, false);
  } catch (...) {
    loader.EndModal(false);
    throw;
  }
  loader.EndModal(false);
  if (answer == kMsgYes) OpenPage(main_.Handle(), parsed.page);
}

}  // namespace vellumio::app

#include "config/Loader.h"

#include <chrono>
#include <exception>
#include <thread>

#include "base/Clock.h"
#include "base/DateFormat.h"
#include "platform/Platform.h"
#include "store/MainThreadQueue.h"
#include "store/SaveFailure.h"
#include "store/ThreadSaver.h"
#include "update/UpdateReply.h"

namespace vellumio {

namespace {

TLoader* g_loader = nullptr;

// The saver's failure reaches the database first (ErrorState 2), then the
// main window's error bar.
class TErrorBarOnFailure final : public ISaveFailureReceiver {
public:
  explicit TErrorBarOnFailure(TLoader& loader) : loader_(loader) {}
  void SaveFailed(const std::u16string&, const std::string&) override {
    if (ILoaderWindow* window = loader_.Window()) window->ShowErrorBar(2);
  }

private:
  TLoader& loader_;
};

// The folders a run sets up, or (tests that set only the program folder)
// the ones beside the program.
std::u16string SchemesFolder(const AppFolders& folders) {
  if (!folders.schemesFolder.empty()) return folders.schemesFolder;
  return WithTrailingSeparator(WithTrailingSeparator(folders.programFolder) + u"Schemes");
}

}  // namespace

TLoader* Loader() { return g_loader; }

std::u16string GetText(std::u16string_view section, std::u16string_view key) {
  return g_loader ? g_loader->GetText(section, key) : u"error";
}

TLoader::TLoader(TLoaderServices services) {
  g_loader = this;
  mainLanguage_.SetReplacement(u"Scribbaloon", u"Vellumio");
  mainLanguage_.SetFallback(&englishLanguage_);
  confStore_ = std::make_unique<TConfStore>(services.confStore);

  const AppFolders folders = Folders();
  langModule_ = std::make_unique<TLangModule>(
      LanguagesFolder(folders));
  const TLangModuleValues& lang = confStore_->LangModuleValues;
  langModule_->Load(lang.CurrentLanguage, lang.IsLangModified);
  schModule_ = std::make_unique<TSchModule>(SchemesFolder(folders));
  schModule_->SetCurrentFile(confStore_->SchModuleValues.CurrentScheme);

  scheme_ = std::make_unique<TScheme>();
  LoadScheme();
  try {
    englishLanguage_.LoadFile(nullptr, langModule_->Folder() + std::u16string(kEnglishFile));
  } catch (const std::exception&) {
    // Without the English file the missing texts show as "no-value".
  }
  try {
    LoadLanguage(nullptr);
  } catch (const std::exception&) {
    // An unreadable language file must not keep the program from starting:
    // the texts come from the English file then.
  }
  CreateDatabase(services.mainThreadQueue);
  SetStoreHost(this);
}

void TLoader::CreateDatabase(IMainThreadQueue* queue) {
  database_ = std::make_unique<TNoteListCollection>();
  if (!queue) return;
  saveFailure_ = std::make_unique<TDatabaseSaveFailure>(*database_, &errorBarOnFailure());
  database_->SetSaver(std::make_unique<TThreadSaver>(*queue, saveFailure_.get()));
}

ISaveFailureReceiver& TLoader::errorBarOnFailure() {
  if (!errorBar_) errorBar_ = std::make_unique<TErrorBarOnFailure>(*this);
  return *errorBar_;
}

TLoader::~TLoader() {
  try {
    SaveDatabase();
  } catch (const std::exception&) {
    // The saver has reported it; nothing more can be done at exit.
  }
  if (updateChecks_) updateChecks_->CancelAll();
  // A cancelled request ends at once on Windows; where closing its handles
  // does not free it, its receive time-out ends it later, and the thread
  // then touches nothing of ours.
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (WorkerCount() > 0 && std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    platform::ProcessMessages();
  }
  SetStoreHost(nullptr);
  // The database flushes its saver (writing a snapshot still queued) before
  // the failure receivers it reports to go away.
  database_.reset();
  saveFailure_.reset();
  errorBar_.reset();
  scheme_.reset();
  SyncModuleValues();
  confStore_.reset();  // writes every setting
  if (g_loader == this) g_loader = nullptr;
}

void TLoader::SyncModuleValues() {
  TLangModuleValues& lang = confStore_->LangModuleValues;
  langModule_->Save(lang.CurrentLanguage, lang.IsLangModified);
  if (!schModule_->Names().empty())
    confStore_->SchModuleValues.CurrentScheme = schModule_->CurrentFile();
}

void TLoader::SaveSettings() {
  SyncModuleValues();
  confStore_->Save();
}

std::u16string TLoader::GetText(std::u16string_view section, std::u16string_view key,
                                bool useFallback) const {
  return mainLanguage_.Translate(section, key, useFallback);
}

void TLoader::LoadLanguage(IComponent* form) {
  const std::u16string file = langModule_->CurrentFileName();
  if (file.empty()) {
    // No language file installed at all: the placeholders stay as they are
    // and every text asked for is "no-value".
    mainLanguage_.SetFile(form, nullptr);
    return;
  }
  mainLanguage_.LoadFile(form, langModule_->Folder() + file);
}

void TLoader::BeginModal() {
  ++modalLevel_;
  if (modalLevel_ > 0 && window_) window_->ModalStarted();
}

void TLoader::EndModal(bool refresh) {
  --modalLevel_;
  if (modalLevel_ != 0) return;
  // A dialog may have edited the scheme file in use.
  LoadScheme();
  if (window_) window_->ModalEnded(refresh);
}

void TLoader::LoadScheme() {
  try {
    scheme_->Load(schModule_->Folder() + schModule_->CurrentFile());
  } catch (const std::exception&) {
    // No scheme file (or an unreadable one): the colours stay as they were,
    // the built-in ones on the first load.
  }
}

void TLoader::SaveDatabase() { database_->SaveIfModified(); }

void TLoader::CheckForUpdates(bool manual) {
  TGeneralSettings& general = confStore_->GeneralSettings;
  const double now = Now();
  if (updateChecks_ && (manual || AutomaticCheckDue(general.CheckUpdates, general.CheckDate, now)))
    updateChecks_->Start(manual);
  general.CheckDate = now;
}

void TLoader::ApplySettings() {
  confStore_->DatabaseSettings.EnsureDatabase();
  OpenDatabase();
  if (window_) window_->ApplySettings();
  CheckForUpdates(false);
}

void TLoader::OpenDatabase() {
  if (database_->ErrorState() != 0) return;
  const std::u16string& path = confStore_->DatabaseSettings.DatabaseFile();
  if (!platform::FileExists(path)) {
    database_->SetErrorState(1);
    if (window_) window_->ShowErrorBar(1);
    return;
  }
  database_->OpenFile(path);
}

std::u16string TLoader::DateFormat() const {
  std::u16string format = GetText(u"LANG_INFO", u"DateFormat");
  if (format == kNoValue || format.empty() || format == u"error")
    format = FormatSettings::System().longDateFormat;
  if (format.find(u"ddd") == std::u16string::npos) format = u"dddd, " + format;
  return format;
}

bool TLoader::ShowSubject() const { return confStore_->IndicatorSettings.ShowSubject; }

bool TLoader::ShowReturns() const { return confStore_->IndicatorSettings.ShowReturns; }

std::u16string TLoader::GetText(std::string_view section, std::string_view key) const {
  return GetText(std::u16string(section.begin(), section.end()),
                 std::u16string(key.begin(), key.end()));
}

bool TLoader::Confirm(const std::u16string& question) {
  return window_ && window_->Confirm(question);
}

std::u16string TLoader::DefaultDataFolder() const { return Folders().dataFolder; }

}  // namespace vellumio

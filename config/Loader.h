// The application object: one per run, reachable through Loader(). It owns
// the settings store, the two language loaders (the user's language with
// English behind it), the language and scheme modules, the colour scheme in
// use and the database, and offers what several windows share: texts, the
// translation of forms, the modal bracket, saving, the date format.
//
// The loader knows nothing of windows. The main window attaches itself
// through ILoaderWindow to hear about modal dialogs, to apply settings and
// to show its error bar; the operations that need system dialogs
// (LoaderDialogs_win.cpp) are part of the Windows build only.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

#include "config/ConfStore.h"
#include "lang/Component.h"
#include "lang/LangModule.h"
#include "lang/LanguageLoader.h"
#include "noteview/SchModule.h"
#include "noteview/Scheme.h"
#include "store/NoteListCollection.h"
#include "store/StoreHost.h"

#ifdef _WIN32
struct HWND__;  // HWND, without <windows.h>
#endif

namespace vellumio {

class IMainThreadQueue;
class ISaveFailureReceiver;

// The update checks, as the loader sees them (the Windows build runs them on
// worker threads, with the main window's result handlers).
class IUpdateChecks {
public:
  virtual ~IUpdateChecks() = default;
  // Starts one check; `manual` chooses the result handler.
  virtual void Start(bool manual) = 0;
  // At exit: running requests are cancelled and deliver nothing.
  virtual void CancelAll() = 0;
};

// The main window, as the loader sees it.
class ILoaderWindow {
public:
  virtual ~ILoaderWindow() = default;
  // The first modal dialog opened (the counter went positive).
  virtual void ModalStarted() = 0;
  // The last modal dialog closed; `refresh` asks for a caption refresh.
  virtual void ModalEnded(bool refresh) = 0;
  // Re-reads every setting that the window shows or acts on.
  virtual void ApplySettings() = 0;
  // The configured database file is missing (mode 1) or could not be saved
  // (mode 2): the error bar offers the way out.
  virtual void ShowErrorBar(int mode) = 0;
  // A Yes/No question in the program's message box (the store's questions
  // about a damaged database); true for Yes.
  virtual bool Confirm(const std::u16string& question) = 0;
};

struct TLoaderServices {
  // Passed on to the settings store (tests put their own back-end there).
  TConfStoreServices confStore;
  // Where the background saver delivers its failure reports (the main
  // window's message queue). Without it the database has no saver and
  // saves synchronously.
  IMainThreadQueue* mainThreadQueue = nullptr;
};

class TLoader final : public IStoreHost, public IComponentTranslator {
public:
  // Creates, in this order: the language loaders, the settings store (which
  // loads every setting), the language and scheme modules, the colour scheme
  // (and loads it), the English file, the user's language, the database.
  // Becomes the global loader and the store's host.
  explicit TLoader(TLoaderServices services = {});
  // Saves the database, cancels the update checks still running and waits
  // for them a little (a server that never answers must not keep the
  // program from ending), then frees
  // everything in the reverse order (the store writes every setting).
  ~TLoader() override;
  TLoader(const TLoader&) = delete;
  TLoader& operator=(const TLoader&) = delete;

  TNoteListCollection& Database() { return *database_; }
  TConfStore& ConfStore() { return *confStore_; }
  TLanguageLoader& MainLanguage() { return mainLanguage_; }
  TLanguageLoader& EnglishLanguage() { return englishLanguage_; }
  TLangModule& LangModule() { return *langModule_; }
  TSchModule& SchModule() { return *schModule_; }
  TScheme& Scheme() { return *scheme_; }

  // The main window (not owned); null detaches it.
  void AttachWindow(ILoaderWindow* window) { window_ = window; }
  ILoaderWindow* Window() const { return window_; }

  // A text of the user's language, English behind it ("no-value" when both
  // lack it).
  std::u16string GetText(std::u16string_view section, std::u16string_view key,
                         bool useFallback = true) const;
  // Rereads the chosen language file; translates `form` when given.
  void LoadLanguage(IComponent* form);
  // IComponentTranslator: the forms' way to LoadLanguage.
  void Translate(IComponent* component) override { LoadLanguage(component); }

  void BeginModal();
  void EndModal(bool refresh);
  bool IsModal() const { return modalLevel_ > 0; }
  int ModalLevel() const { return modalLevel_; }

  // Loads the chosen scheme file of the schemes folder into Scheme(); a
  // missing or unreadable file leaves the scheme as it was.
  void LoadScheme();
  void SaveDatabase();
  // Hands the language and scheme choices to the store and writes every
  // setting (the store's destructor does the same at exit).
  void SaveSettings();
  // After start-up and after the settings dialog: make sure the database
  // file exists where the settings say, open it, let the window apply the
  // settings.
  void ApplySettings();
  // Opens the configured database file (nothing while an error is shown);
  // a missing file shows the error bar in mode 1.
  void OpenDatabase();
  // The date format of the language file, or the system's long date
  // format; always with the weekday.
  std::u16string DateFormat() const;

  // Update-check threads alive; changed from those threads. A thread may
  // outlive the loader (exit waits for it only briefly), so it keeps the
  // counter itself alive through WorkerCounter().
  void SetWorkerCount(int count) { workerCount_->store(count); }
  void ChangeWorkerCount(int delta) { workerCount_->fetch_add(delta); }
  int WorkerCount() const { return workerCount_->load(); }
  std::shared_ptr<std::atomic<int>> WorkerCounter() const { return workerCount_; }

  // The update checks (not owned); null detaches them.
  void SetUpdateChecks(IUpdateChecks* checks) { updateChecks_ = checks; }
  // A manual check always starts; an automatic one only when CheckUpdates
  // is on and the last decision is more than 14 days away. Either way the
  // decision day moves to today, so a program started at least every two
  // weeks never checks by itself.
  void CheckForUpdates(bool manual);

  // The folder of the last export this run (not stored).
  std::u16string LastExportFolder;

  // IStoreHost: the store's view of the settings, texts and questions.
  bool ShowSubject() const override;
  bool ShowReturns() const override;
  std::u16string GetText(std::string_view section, std::string_view key) const override;
  bool Confirm(const std::u16string& question) override;
  std::u16string DefaultDataFolder() const override;

#ifdef _WIN32
  // The operations with system dialogs (LoaderDialogs_win.cpp).
  // Returns the created file, or `currentFile` when nothing was created.
  std::u16string CreateNewDatabase(const std::u16string& currentFile);
  void ExportToText();
  // The help file, at `topic` when given ("/src/settings.htm").
  void ShowHelp(const std::u16string& topic);
  // The settings dialog on `page` (LoaderSettings_win.cpp): the database is
  // saved first, and the settings are applied afterwards whatever happened
  // in the dialog; an error of the dialog reaches the caller after that.
  void EditSettings(HWND__* owner, int page);
#endif

private:
  void CreateDatabase(IMainThreadQueue* queue);
  ISaveFailureReceiver& errorBarOnFailure();
  void SyncModuleValues();

  std::shared_ptr<std::atomic<int>> workerCount_ = std::make_shared<std::atomic<int>>(0);
  IUpdateChecks* updateChecks_ = nullptr;
  int modalLevel_ = 0;
  ILoaderWindow* window_ = nullptr;
  TLanguageLoader mainLanguage_;
  TLanguageLoader englishLanguage_;
  std::unique_ptr<TConfStore> confStore_;
  std::unique_ptr<TLangModule> langModule_;
  std::unique_ptr<TSchModule> schModule_;
  std::unique_ptr<TScheme> scheme_;
  std::unique_ptr<ISaveFailureReceiver> errorBar_;
  std::unique_ptr<ISaveFailureReceiver> saveFailure_;
  std::unique_ptr<TNoteListCollection> database_;
};

// The loader of this run, or null before it exists and after it is gone.
TLoader* Loader();

// Loader()->GetText, or "error" without a loader.
std::u16string GetText(std::u16string_view section, std::u16string_view key);

}  // namespace vellumio

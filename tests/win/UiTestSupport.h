// What the window tests of forms and message boxes share: an application
// object over a scratch program folder with language files of the test's
// own, settings in memory with the registry's nesting, and a helper that
// answers a modal form from inside its own message loop.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/AppFolders.h"
#include "config/Loader.h"
#include "config/SettingsIni.h"
#include "tests/native/ConfStoreTestSupport.h"
#include "tests/support/TestFiles.h"
#include "ui/Form_win.h"

namespace vellumio::test {

// Sections and values in memory, shared by every back-end object opened on
// them. Erasing a section takes the sections below it ("Dialogs\x") along,
// as the registry does with subkeys.
struct TMemorySettings {
  std::map<std::u16string, std::map<std::u16string, std::u16string>> sections;
  int flushes = 0;

  static std::u16string Lower(std::u16string_view s) {
    std::u16string lower(s);
    for (char16_t& c : lower) c = (c >= u'A' && c <= u'Z') ? c - u'A' + u'a' : c;
    return lower;
  }
  bool Has(std::u16string_view section, std::u16string_view name) const {
    const auto s = sections.find(Lower(section));
    return s != sections.end() && s->second.count(Lower(name)) > 0;
  }
  std::u16string Get(std::u16string_view section, std::u16string_view name) const {
    return sections.at(Lower(section)).at(Lower(name));
  }
};

class TMemorySettingsIni final : public TSettingsIni {
public:
  explicit TMemorySettingsIni(TMemorySettings& store) : store_(store) {}

  int32_t ReadInteger(std::u16string_view section, std::u16string_view name,
                      int32_t defaultValue) override {
    int32_t value = 0;
    if (!store_.Has(section, name) || !ParseSettingInteger(store_.Get(section, name), value))
      return defaultValue;
    return value;
  }
  void WriteInteger(std::u16string_view section, std::u16string_view name, int32_t value) override {
    const std::string digits = std::to_string(value);
    Put(section, name, std::u16string(digits.begin(), digits.end()));
  }
  bool ReadBool(std::u16string_view section, std::u16string_view name, bool defaultValue) override {
    return ReadInteger(section, name, defaultValue ? 1 : 0) != 0;
  }
  void WriteBool(std::u16string_view section, std::u16string_view name, bool value) override {
    Put(section, name, value ? u"1" : u"0");
  }
  std::u16string ReadString(std::u16string_view section, std::u16string_view name,
                            std::u16string_view defaultValue) override {
    return store_.Has(section, name) ? store_.Get(section, name) : std::u16string(defaultValue);
  }
  void WriteString(std::u16string_view section, std::u16string_view name,
                   std::u16string_view value) override {
    Put(section, name, std::u16string(value));
  }
  bool ValueExists(std::u16string_view section, std::u16string_view name) override {
    return store_.Has(section, name);
  }
  void EraseSection(std::u16string_view section) override {
    const std::u16string lower = TMemorySettings::Lower(section);
    std::erase_if(store_.sections, [&](const auto& entry) {
      return entry.first == lower || entry.first.starts_with(lower + u"\\");
    });
  }
  void UpdateFile() override { ++store_.flushes; }

private:
  void Put(std::u16string_view section, std::u16string_view name, std::u16string value) {
    store_.sections[TMemorySettings::Lower(section)][TMemorySettings::Lower(name)] =
        std::move(value);
  }
  TMemorySettings& store_;
};

// A language file as the program reads them (ANSI, CR LF).
inline std::string LanguageText(const std::string& name, const std::string& body) {
  return "[LANG_INFO]\r\nName=" + name + "\r\nForBuild=108\r\n" + body;
}

// The main window as the loader sees it: records the modal bracket.
class TModalRecorder final : public ILoaderWindow {
public:
  std::vector<std::string> calls;
  void ModalStarted() override { calls.push_back("begin"); }
  void ModalEnded(bool refresh) override { calls.push_back(refresh ? "end+refresh" : "end"); }
  void ApplySettings() override {}
  void ShowErrorBar(int) override {}
  bool Confirm(const std::u16string&) override { return false; }
};

// The application object of one test, over a program folder of its own.
class TUiFixture : public ::testing::Test {
protected:
  TempFolder temp;
  AppFolders saved = Folders();
  TMemorySettings settings;
  TFakeStartupLink link;
  TModalRecorder window;
  std::unique_ptr<TLoader> loader;

  TUiFixture() {
    std::filesystem::create_directories(temp.Path("program/Languages"));
    std::filesystem::create_directories(temp.Path("program/Schemes"));
    std::filesystem::create_directories(temp.Path("documents"));
    SetFolders(MakeAppFolders(temp.U("program"), temp.U("documents"), temp.U("appdata"), false));
  }
  ~TUiFixture() override {
    loader.reset();
    ui::SetFormTranslator(nullptr);
    SetFolders(saved);
  }

  void WriteLanguage(const std::string& file, const std::string& text) {
    WriteText(temp.Path("program/Languages/" + file), text);
  }
  void CopyShippedLanguage(const std::string& file) {
    std::filesystem::copy_file(
        std::filesystem::path(VELLUMIO_TEST_SOURCE_DIR) / ".." / "Languages" / file,
        temp.Path("program/Languages/" + file), std::filesystem::copy_options::overwrite_existing);
  }
  // Creates the loader once the language files are in place.
  void StartLoader(const std::u16string& language = u"english.lng") {
    TLoaderServices services;
    services.confStore.startupLink = &link;
    services.confStore.openRegistry = [this](const std::u16string&) {
      return std::make_unique<TMemorySettingsIni>(settings);
    };
    loader = std::make_unique<TLoader>(std::move(services));
    loader->AttachWindow(&window);
    ui::SetFormTranslator(loader.get());
    loader->LangModule().SetCurrentLanguage(language);
    loader->LoadLanguage(nullptr);
  }
};

// The visible forms of this thread. (A named CALLBACK function: on i686 a
// lambda does not convert to the stdcall WNDENUMPROC.)
inline BOOL CALLBACK CollectVisibleForm(HWND hwnd, LPARAM list) {
  ui::TForm* form = ui::TForm::FromHandle(hwnd);
  if (form && IsWindowVisible(hwnd))
    reinterpret_cast<std::vector<ui::TForm*>*>(list)->push_back(form);
  return TRUE;
}

inline std::vector<ui::TForm*> VisibleForms() {
  std::vector<ui::TForm*> forms;
  EnumThreadWindows(GetCurrentThreadId(), &CollectVisibleForm, reinterpret_cast<LPARAM>(&forms));
  return forms;
}

// Acts on the first form that becomes visible, from a thread timer that
// the form's own modal loop dispatches. A form still open 5 seconds after
// the action is ended with result 99, so that a box that ignores its
// answer fails the test instead of hanging it.
class TFormAnswerer {
public:
  using TAction = std::function<void(ui::TForm&)>;

  explicit TFormAnswerer(TAction action) : action_(std::move(action)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 100, &TFormAnswerer::Tick);
  }
  ~TFormAnswerer() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  TFormAnswerer(const TFormAnswerer&) = delete;
  TFormAnswerer& operator=(const TFormAnswerer&) = delete;

  int FormsSeen() const { return seen_; }

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TFormAnswerer* self = current_;
    if (!self) return;
    const std::vector<ui::TForm*> forms = VisibleForms();
    if (forms.empty()) return;
    ui::TForm& form = *forms.front();
    if (self->actedOn_ != form.Handle()) {
      self->actedOn_ = form.Handle();
      self->ticksSinceAction_ = 0;
      ++self->seen_;
      self->action_(form);
    } else if (++self->ticksSinceAction_ > 50) {
      form.EndModal(99);
    }
  }

  static inline TFormAnswerer* current_ = nullptr;
  TAction action_;
  UINT_PTR timer_ = 0;
  HWND actedOn_ = nullptr;
  int ticksSinceAction_ = 0;
  int seen_ = 0;
};

inline void Click(ui::TForm& form, std::u16string_view control) {
  SendMessageW(form.At(control).Handle(), BM_CLICK, 0, 0);
}

// Through the message queue, as a real key press arrives.
inline void PressKey(ui::TForm& form, std::u16string_view control, WPARAM key) {
  PostMessageW(form.At(control).Handle(), WM_KEYDOWN, key, 0);
  PostMessageW(form.At(control).Handle(), WM_KEYUP, key, 0xC0000000);
}

// A control's rectangle in the form's client coordinates.
inline RECT ClientRectOf(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace vellumio::test

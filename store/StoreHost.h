// What the notes store needs from the rest of the program, behind one small
// interface: display options from the settings, texts from the language
// files, the user's answer to a question, and the default data folder. The
// application object installs its own host at start-up; until then (and in
// the command-line tool) the built-in host answers with English texts, the
// default options and "no" to every question.
#pragma once

#include <string>
#include <string_view>

namespace vellumio {

class IStoreHost {
public:
  virtual ~IStoreHost() = default;

  virtual bool ShowSubject() const = 0;
  virtual bool ShowReturns() const = 0;

  // A text of the language files (section, key), e.g. ("FMAIN", "lSubj").
  virtual std::u16string GetText(std::string_view section, std::string_view key) const = 0;

  // A Yes/No question in the confirmation style; true for Yes.
  virtual bool Confirm(const std::u16string& question) = 0;

  // The folder new databases go to when none has been chosen (with a
  // trailing separator, or empty for the current folder).
  virtual std::u16string DefaultDataFolder() const = 0;
};

// The built-in answers described above.
class TDefaultStoreHost : public IStoreHost {
public:
  bool ShowSubject() const override { return showSubject; }
  bool ShowReturns() const override { return showReturns; }
  std::u16string GetText(std::string_view section, std::string_view key) const override;
  bool Confirm(const std::u16string&) override { return confirmAnswer; }
  std::u16string DefaultDataFolder() const override { return dataFolder; }

  bool showSubject = false;
  bool showReturns = false;
  bool confirmAnswer = false;
  std::u16string dataFolder;
};

IStoreHost& StoreHost();
// Installs a host (not owned); nullptr restores the built-in one.
void SetStoreHost(IStoreHost* host);

}  // namespace vellumio

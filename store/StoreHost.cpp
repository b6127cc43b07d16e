#include "store/StoreHost.h"

namespace vellumio {

namespace {
struct BuiltInText {
  std::string_view section, key;
  const char16_t* text;
};

// The texts the store itself shows, for the time before a language file is
// loaded and for the command-line tool.
constexpr BuiltInText kBuiltInTexts[] = {
    {"FMAIN", "lSubj", u"Subject:"},
    {"FMAIN", "tNewList", u"New list"},
    {"FMAIN", "lEmptyNote", u"(empty note)"},
    {"FREMIND", "mNoReminder", u"No reminder"},
};

IStoreHost*& InstalledHost() {
  static IStoreHost* host = nullptr;
  return host;
}
}  // namespace

std::u16string TDefaultStoreHost::GetText(std::string_view section, std::string_view key) const {
  for (const auto& t : kBuiltInTexts)
    if (t.section == section && t.key == key) return t.text;
  return u"no-value";
}

IStoreHost& StoreHost() {
  static TDefaultStoreHost builtIn;
  IStoreHost* host = InstalledHost();
  return host ? *host : builtIn;
}

void SetStoreHost(IStoreHost* host) { InstalledHost() = host; }

}  // namespace vellumio

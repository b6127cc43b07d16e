#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "base/Utf8.h"
#include "config/RegistryIni.h"

namespace vellumio {
namespace {

// Registry handles close themselves.
class TKey {
public:
  TKey() = default;
  ~TKey() {
    if (handle_) RegCloseKey(handle_);
  }
  TKey(const TKey&) = delete;
  TKey& operator=(const TKey&) = delete;
  HKEY* Out() { return &handle_; }
  HKEY Get() const { return handle_; }

private:
  HKEY handle_ = nullptr;
};

struct TValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::u16string Decimal(int32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

[[noreturn]] void Fail(LONG code, const std::wstring& path, const char* what) {
  throw ESettingsError(std::string("Cannot ") + what + " the registry key HKEY_CURRENT_USER\\" +
                       ToUtf8(std::u16string(path.begin(), path.end())) + " (error " +
                       std::to_string(code) + ")");
}

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

std::u16string TextOf(const TValue& value) {
  std::u16string text(value.data.size() / 2, u'\0');
  if (!text.empty()) memcpy(text.data(), value.data.data(), text.size() * 2);
  while (!text.empty() && text.back() == u'\0') text.pop_back();
  return text;
}

class TRegistryIni final : public TSettingsIni {
public:
  explicit TRegistryIni(std::u16string_view keyPath) {
    while (!keyPath.empty() && keyPath.front() == u'\\') keyPath.remove_prefix(1);
    root_ = Wide(keyPath);
  }

  int32_t ReadInteger(std::u16string_view section, std::u16string_view name,
                      int32_t defaultValue) override {
    const std::optional<TValue> value = Query(section, name);
    if (!value) return defaultValue;
    if (value->type == REG_DWORD && value->data.size() == sizeof(DWORD)) {
      DWORD number;
      memcpy(&number, value->data.data(), sizeof number);
      return static_cast<int32_t>(number);
    }
    int32_t number = defaultValue;
    if (IsText(value->type) && ParseSettingInteger(TextOf(*value), number)) return number;
    // Text that is no number, or a value of another type (binary, say):
    // the default, and the next save writes the value in its proper form.
    return defaultValue;
  }

  void WriteInteger(std::u16string_view section, std::u16string_view name, int32_t value) override {
    // A value someone stored as text stays text.
    const std::optional<TValue> old = Query(section, name);
    if (old && old->type == REG_SZ) return SetText(section, name, Decimal(value));
    const DWORD number = static_cast<DWORD>(value);
    Set(section, name, REG_DWORD, &number, sizeof number);
  }

  bool ReadBool(std::u16string_view section, std::u16string_view name, bool defaultValue) override {
    return ReadInteger(section, name, defaultValue ? 1 : 0) != 0;
  }

  void WriteBool(std::u16string_view section, std::u16string_view name, bool value) override {
    SetText(section, name, value ? u"1" : u"0");
  }

  std::u16string ReadString(std::u16string_view section, std::u16string_view name,
                            std::u16string_view defaultValue) override {
    const std::optional<TValue> value = Query(section, name);
    if (!value || !IsText(value->type)) return std::u16string(defaultValue);
    return TextOf(*value);
  }

  void WriteString(std::u16string_view section, std::u16string_view name,
                   std::u16string_view value) override {
    SetText(section, name, value);
  }

  bool ValueExists(std::u16string_view section, std::u16string_view name) override {
    return Query(section, name).has_value();
  }

  void EraseSection(std::u16string_view section) override {
    const std::wstring path = PathOf(section);
    LONG result = RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    if (result == ERROR_SUCCESS) result = RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) Fail(result, path, "delete");
  }

  // Registry writes are lasting as they are made.
  void UpdateFile() override {}

private:
  std::wstring PathOf(std::u16string_view section) const {
    if (section.empty()) return root_;
    return root_ + L"\\" + Wide(section);
  }

  // False when the key does not exist.
  bool OpenForReading(std::u16string_view section, TKey& key) const {
    const std::wstring path = PathOf(section);
    const LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.Out());
    if (result == ERROR_FILE_NOT_FOUND) return false;
    if (result != ERROR_SUCCESS) Fail(result, path, "open");
    return true;
  }

  void OpenForWriting(std::u16string_view section, TKey& key) const {
    const std::wstring path = PathOf(section);
    const LONG result = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                        KEY_READ | KEY_WRITE, nullptr, key.Out(), nullptr);
    if (result != ERROR_SUCCESS) Fail(result, path, "create");
  }

  // Nothing when the key or the value is missing.
  std::optional<TValue> Query(std::u16string_view section, std::u16string_view name) const {
    TKey key;
    if (!OpenForReading(section, key)) return std::nullopt;
    const std::wstring valueName = Wide(name);
    TValue value;
    DWORD size = 0;
    for (;;) {
      value.data.resize(size);
      DWORD got = size;
      const LONG result = RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &value.type,
                                           size ? value.data.data() : nullptr, &got);
      if (result == ERROR_FILE_NOT_FOUND) return std::nullopt;
      // Asked without a buffer, the size comes back with ERROR_SUCCESS.
      if ((result == ERROR_MORE_DATA || (result == ERROR_SUCCESS && size == 0)) && got > size) {
        size = got;
        continue;
      }
      if (result != ERROR_SUCCESS) Fail(result, PathOf(section), "read");
      value.data.resize(got);
      return value;
    }
  }

  void Set(std::u16string_view section, std::u16string_view name, DWORD type, const void* data,
           DWORD size) {
    TKey key;
    OpenForWriting(section, key);
    const std::wstring valueName = Wide(name);
    const LONG result =
        RegSetValueExW(key.Get(), valueName.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    if (result != ERROR_SUCCESS) Fail(result, PathOf(section), "write");
  }

  void SetText(std::u16string_view section, std::u16string_view name, std::u16string_view text) {
    const std::wstring terminated = Wide(text);  // c_str() adds the terminating NUL
    Set(section, name, REG_SZ, terminated.c_str(),
        static_cast<DWORD>((terminated.size() + 1) * sizeof(wchar_t)));
  }

  std::wstring root_;
};

}  // namespace

std::unique_ptr<TSettingsIni> OpenRegistryIni(const std::u16string& keyPath) {
  return std::make_unique<TRegistryIni>(keyPath);
}

}  // namespace vellumio

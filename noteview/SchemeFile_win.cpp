#include <windows.h>

#include <vector>

#include "noteview/SchemeFile.h"

namespace vellumio {

namespace {

const wchar_t* W(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

class TSystemProfileReader : public TProfileReader {
public:
  explicit TSystemProfileReader(const std::u16string& path) : path_(path) {}

  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue) override {
    const std::u16string sectionZ(section), keyZ(key), defaultZ(defaultValue);
    // The function cuts a value that does not fit and then returns the
    // buffer size minus one: try again with more room until it fits.
    std::vector<wchar_t> buffer(256);
    for (;;) {
      DWORD length = GetPrivateProfileStringW(W(sectionZ), W(keyZ), W(defaultZ), buffer.data(),
                                              static_cast<DWORD>(buffer.size()), W(path_));
      if (length + 1 < buffer.size()) return std::u16string(buffer.data(), buffer.data() + length);
      buffer.resize(buffer.size() * 4);
    }
  }

private:
  std::u16string path_;
};

}  // namespace

std::unique_ptr<TProfileReader> OpenProfileFile(const std::u16string& path) {
  return std::make_unique<TSystemProfileReader>(path);
}

}  // namespace vellumio

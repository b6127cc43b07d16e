#include "noteview/SchModule.h"

#include <algorithm>
#include <stdexcept>

#include "base/TextUtil.h"
#include "noteview/Scheme.h"
#include "noteview/SchemeFile.h"
#include "platform/DirectoryWalk.h"

namespace vellumio {

namespace {

bool SameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && UpperCaseUnits(a) == UpperCaseUnits(b);
}

bool IsSchemeFile(const platform::DirEntry& entry) {
  constexpr std::u16string_view kExtension = u".sch";
  if (entry.isFolder || entry.name.size() <= kExtension.size()) return false;
  return SameText(std::u16string_view(entry.name).substr(entry.name.size() - kExtension.size()),
                  kExtension);
}

}  // namespace

TSchModule::TSchModule(std::u16string folder) : folder_(platform::JoinPath(folder, u"")) { Scan(); }

void TSchModule::Scan() {
  files_.clear();
  names_.clear();
  platform::ForEachEntry(folder_, [&](const platform::DirEntry& entry) {
    if (!IsSchemeFile(entry)) return true;
    files_.push_back(entry.name);
    auto reader = OpenProfileFile(folder_ + entry.name);
    names_.push_back({reader->ReadString(u"SCHEME_INFO", u"Name", entry.name),
                      static_cast<int>(files_.size() - 1)});
    return true;
  });
  std::stable_sort(names_.begin(), names_.end(), [](const TNameEntry& a, const TNameEntry& b) {
    return UpperCaseUnits(a.name) < UpperCaseUnits(b.name);
  });
}

int TSchModule::IndexOfFile(std::u16string_view fileName) const {
  auto position = [&](std::u16string_view name) {
    auto it = std::find_if(files_.begin(), files_.end(),
                           [&](const std::u16string& file) { return SameText(file, name); });
    return it == files_.end() ? -1 : static_cast<int>(it - files_.begin());
  };
  int file = position(SchemeFileNameOf(std::u16string(fileName)));
  if (file < 0) file = position(kFallbackFile);
  if (file < 0) return -1;
  for (size_t i = 0; i < names_.size(); ++i)
    if (names_[i].file == file) return static_cast<int>(i);
  return -1;
}

std::u16string TSchModule::FileAt(int index) const {
  if (index < 0 || index >= static_cast<int>(names_.size())) return {};
  int file = names_[index].file;
  return file >= 0 && file < static_cast<int>(files_.size()) ? files_[file] : std::u16string();
}

std::u16string TSchModule::CurrentFile() const {
  if (names_.empty()) throw std::runtime_error("Color scheme file not found.");
  int index = current_ < 0 || current_ >= static_cast<int>(names_.size()) ? 0 : current_;
  int file = names_[index].file;
  return files_[file >= 0 && file < static_cast<int>(files_.size()) ? file : 0];
}

void TSchModule::SetCurrentFile(std::u16string_view fileName) { current_ = IndexOfFile(fileName); }

}  // namespace vellumio

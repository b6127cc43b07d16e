// The language files the user can choose from, and the choice.
//
// The settings store keeps the choice as two plain values of its section
// "LangModule": `CurrentLanguage` (the file name, without folder) and
// `IsLangModified`; it hands them over through Load() and takes them back
// through Save().
#pragma once

#include <string>
#include <vector>

#include "config/AppFolders.h"

namespace vellumio {

// A translation made for an older build than this lacks texts that the
// program shows, and is listed with " -" after its name as a warning.
inline constexpr int kLanguageBuild = 108;

inline constexpr std::u16string_view kEnglishFile = u"english.lng";

// The languages folder of the given folders: theirs when set, else
// "Languages" beside the program, with a trailing separator.
std::u16string LanguagesFolder(const AppFolders& folders);

class TLangModule {
public:
  struct TDisplayName {
    std::u16string name;  // "Name" of LANG_INFO, perhaps with " -"
    size_t fileIndex;     // into FileNames()
  };

  // Scans `folder` and selects "english.lng" when it is there.
  explicit TLangModule(const std::u16string& folder, int currentBuild = kLanguageBuild);

  // Rebuilds the lists from the folder, keeping the chosen file selected
  // when it is still there and falling back to "english.lng" otherwise.
  // The user changed nothing, so IsLangModified stays as it is.
  void Rescan();

  const std::u16string& Folder() const { return folder_; }
  // Sorted without regard to case.
  const std::vector<TDisplayName>& DisplayNames() const { return displayNames_; }
  const std::vector<std::u16string>& FileNames() const { return fileNames_; }

  // Index into DisplayNames(); -1 when the folder holds no language file.
  int CurrentIndex() const { return currentIndex_; }
  void SetCurrentIndex(int index);
  // The chosen file name without folder; empty when there is none to choose.
  std::u16string CurrentFileName() const;
  // Selects `fileName` (any case), else "english.lng", else nothing.
  void SetCurrentLanguage(const std::u16string& fileName);

  // Set when the user changed the language (and on a first run); the main
  // window shows its hint once and clears it.
  bool IsLangModified() const { return isLangModified_; }
  void SetLangModified(bool modified) { isLangModified_ = modified; }

  // The stored values, in the order the store reads them.
  void Load(const std::u16string& currentLanguage, bool isLangModified);
  // The values to store. With no language file installed the stored name is
  // left as it was, so that a folder restored later brings the choice back.
  void Save(std::u16string& currentLanguage, bool& isLangModified) const;

private:
  std::u16string DisplayNameOf(const std::u16string& fileName) const;
  int FindFile(const std::u16string& fileName) const;
  int FindFileOrEnglish(const std::u16string& fileName) const;
  int DisplayIndexOfFile(int fileIndex) const;

  std::u16string folder_;
  int currentBuild_;
  std::vector<TDisplayName> displayNames_;
  std::vector<std::u16string> fileNames_;
  int currentIndex_ = -1;
  bool isLangModified_ = true;
};

}  // namespace vellumio

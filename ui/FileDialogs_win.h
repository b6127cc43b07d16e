// The system's Open and Save dialogs, with the places bar (the extended
// structure every supported system has).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vellumio::ui {

struct TFileDialogOptions {
  HWND owner = nullptr;
  std::u16string fileName;
  std::u16string initialFolder;
  // Used when the initial folder does not exist (a database on a drive that
  // is gone): the dialog would otherwise open wherever the process is.
  std::u16string fallbackFolder;
  std::wstring filter;  // "Name|*.ext|All files|*.*"
  std::wstring defaultExtension;
  std::wstring title;
};

// The chosen file, or nothing when the user cancelled.
std::optional<std::u16string> ShowOpenDialog(const TFileDialogOptions& options);
std::optional<std::u16string> ShowSaveDialog(const TFileDialogOptions& options);

}  // namespace vellumio::ui

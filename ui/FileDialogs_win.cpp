#include "ui/FileDialogs_win.h"

#include <commdlg.h>

#include <vector>

#include "platform/Platform.h"
#include "platform/Win32Text_win.h"

namespace vellumio::ui {

namespace {

using platform::win::FromWide;
using platform::win::WideString;

std::optional<std::u16string> Show(const TFileDialogOptions& options, bool save) {
  // The filter's "|" separators become the NULs the dialog wants.
  std::wstring filter = options.filter;
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  // Only the name goes into the buffer: a folder there would override the
  // initial folder.
  std::wstring name = WideString(options.fileName);
  const size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name = name.substr(slash + 1);
  std::vector<wchar_t> buffer(32768, L'\0');
  name.copy(buffer.data(), std::min(name.size(), buffer.size() - 1));
  const std::u16string& chosenFolder =
      options.initialFolder.empty() || !platform::DirectoryExists(options.initialFolder)
          ? options.fallbackFolder
          : options.initialFolder;
  const std::wstring folder = WideString(chosenFolder);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = options.owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrDefExt = options.defaultExtension.empty() ? nullptr : options.defaultExtension.c_str();
  ofn.lpstrTitle = options.title.empty() ? nullptr : options.title.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
              (save ? OFN_OVERWRITEPROMPT : 0);
  const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!ok) return std::nullopt;
  return FromWide(buffer.data());
}

}  // namespace

std::optional<std::u16string> ShowOpenDialog(const TFileDialogOptions& options) {
  return Show(options, false);
}

std::optional<std::u16string> ShowSaveDialog(const TFileDialogOptions& options) {
  return Show(options, true);
}

}  // namespace vellumio::ui

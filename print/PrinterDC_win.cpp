#include "print/PrinterDC_win.h"

#include <commdlg.h>
#include <winspool.h>

#include <vector>

namespace vellumio {
namespace {

// The setup dialog's choice: the device name and its settings.
struct TPrinterChoice {
  std::wstring device;
  std::vector<BYTE> devMode;
};

TPrinterChoice& Choice() {
  static TPrinterChoice choice;
  return choice;
}

std::wstring DefaultPrinter() {
  DWORD size = 0;
  GetDefaultPrinterW(nullptr, &size);
  if (size == 0) return L"";
  std::wstring name(size, L'\0');
  if (!GetDefaultPrinterW(name.data(), &size)) return L"";
  name.resize(wcslen(name.c_str()));
  return name;
}

}  // namespace

TPrinterDC::TPrinterDC(const std::wstring& name) {
  const TPrinterChoice& choice = Choice();
  const DEVMODEW* mode = nullptr;
  // Asked always: Wine fills its printer list from the print system in the
  // background when a process starts, and the spooler's own calls wait for
  // that; a device context made earlier cannot start a job.
  const std::wstring systemDefault = DefaultPrinter();
  if (!name.empty()) {
    name_ = name;
  } else if (!choice.device.empty()) {
    name_ = choice.device;
    if (!choice.devMode.empty()) mode = reinterpret_cast<const DEVMODEW*>(choice.devMode.data());
  } else {
    name_ = systemDefault;
  }
  if (!name_.empty()) dc_ = CreateDCW(L"WINSPOOL", name_.c_str(), nullptr, mode);
}

TPrinterDC::~TPrinterDC() {
  if (dc_) DeleteDC(dc_);
}

bool ChoosePrinter(HWND owner) {
  PRINTDLGW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.Flags = PD_PRINTSETUP;
  if (!PrintDlgW(&dialog)) return false;
  TPrinterChoice& choice = Choice();
  if (dialog.hDevNames) {
    const auto* names = static_cast<const DEVNAMES*>(GlobalLock(dialog.hDevNames));
    if (names) {
      choice.device = reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset;
      GlobalUnlock(dialog.hDevNames);
    }
    GlobalFree(dialog.hDevNames);
  }
  choice.devMode.clear();
  if (dialog.hDevMode) {
    const auto* mode = static_cast<const DEVMODEW*>(GlobalLock(dialog.hDevMode));
    if (mode) {
      const BYTE* bytes = reinterpret_cast<const BYTE*>(mode);
      choice.devMode.assign(bytes, bytes + mode->dmSize + mode->dmDriverExtra);
      GlobalUnlock(dialog.hDevMode);
    }
    GlobalFree(dialog.hDevMode);
  }
  return true;
}

}  // namespace vellumio

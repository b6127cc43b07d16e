// The printer that note printing uses: the one chosen in the printer setup
// dialog during this run, else the named or the default printer.
#pragma once

#include <windows.h>

#include <string>

namespace vellumio {

// A printer device context, deleted with the object.
class TPrinterDC {
public:
  // `name` empty: the printer chosen in the setup dialog, else the system's
  // default printer. Handle() is null when there is none.
  explicit TPrinterDC(const std::wstring& name = L"");
  ~TPrinterDC();
  TPrinterDC(const TPrinterDC&) = delete;
  TPrinterDC& operator=(const TPrinterDC&) = delete;

  HDC Handle() const { return dc_; }
  const std::wstring& Name() const { return name_; }

private:
  HDC dc_ = nullptr;
  std::wstring name_;
};

// The system's printer setup dialog; the choice holds for the rest of the
// run. False when cancelled.
bool ChoosePrinter(HWND owner);

}  // namespace vellumio

#include "uninstall/UnInst_win.h"

#include "res/resource.h"
#include "ui/GdiHandles_win.h"
#include "ui/GlassPaint_win.h"
#include "uninstall/TreeRemoval_win.h"

namespace vellumio {

namespace {

constexpr int kWidth = 487, kHeight = 367;
constexpr int kPictureWidth = 164, kStripHeight = 43;
constexpr int kIconSize = 64;
constexpr wchar_t kUninstallerCaption[] = L"Vellumio Uninstall";

ui::TFormSpec UnInstForm() { return {u"fUnInst", u"Select Uninstall Method", kWidth, kHeight}; }

std::vector<ui::TControlSpec> UnInstControls() {
  using ui::TControlKind;
  constexpr int left = kPictureWidth + 16, width = 293;
  constexpr int buttonTop = kHeight - kStripHeight + 9;
  return {
      {u"Label1", TControlKind::kWrapLabel, u"", left, 16, width, 61},
      {u"Label2", TControlKind::kWrapLabel, u"This will uninstall the software from your computer.", left,
       84, width, 34},
      {u"r1", TControlKind::kRadioButton, u"Default Uninstallation ", left, 132, width, 20, WS_GROUP},
      {u"r2", TControlKind::kRadioButton, u"Complete Uninstallation (user settings will be removed)", left,
       158, width, 34, BS_MULTILINE | BS_TOP},
      {u"Button2", TControlKind::kDefaultButton, u"Uninstall", kWidth - 2 * (75 + 8), buttonTop, 75, 25,
       WS_GROUP, 0, IDOK},
      {u"Button1", TControlKind::kButton, u"Cancel", kWidth - 75 - 8, buttonTop, 75, 25, 0, 0, IDCANCEL},
  };
}

}  // namespace

TfUnInst::TfUnInst() : ui::TForm(UnInstForm(), UnInstControls()) {}

TfUnInst::~TfUnInst() {
  if (icon_) DestroyIcon(icon_);
}

int TfUnInst::Execute() {
  Create();
  At(u"Label1").SetText(u"Welcome to the Vellumio Uninstall Program.");
  At(u"r1").SetChecked(true);
  CenterOnScreen();
  return ShowModal();
}

bool TfUnInst::CompleteRemoval() const { return At(u"r2").Checked(); }

void TfUnInst::OnDpiApplied() {
  LOGFONTW title{};
  GetObjectW(Font(), sizeof(title), &title);
  title.lfHeight = -Scale(19);
  title.lfWeight = FW_BOLD;
  ui::UniqueFont font(CreateFontIndirectW(&title));
  SendMessageW(At(u"Label1").Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  titleFont_ = std::move(font);  // the old one only now that no label uses it
  if (icon_) DestroyIcon(icon_);
  icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAINICON),
                                        IMAGE_ICON, Scale(kIconSize), Scale(kIconSize), 0));
}

// The picture on the left (a gradient with the program's icon) and the
// button strip's bevel line.
void TfUnInst::OnPaint(HDC dc) {
  const RECT picture{0, 0, Scale(kPictureWidth), Scale(kHeight - kStripHeight)};
  ui::FillGradient(dc, picture, 0x00804020, 0x00E0B070, true);
  if (icon_)
    DrawIconEx(dc, (picture.right - Scale(kIconSize)) / 2, Scale(32), icon_, Scale(kIconSize),
               Scale(kIconSize), 0, nullptr, DI_NORMAL);
  RECT bevel{0, picture.bottom, Scale(kWidth), picture.bottom + 2};
  DrawEdge(dc, &bevel, EDGE_ETCHED, BF_TOP);
}

void RunUninstallDialog(const AppFolders& folders) {
  const HWND uninstaller = FindWindowW(nullptr, kUninstallerCaption);
  if (uninstaller) ShowWindow(uninstaller, SW_HIDE);
  TfUnInst dialog;
  const int result = dialog.Execute();
  if (result == IDOK) {
    if (dialog.CompleteRemoval()) RemoveUserData(folders);
  } else if (uninstaller) {
    // Ending the uninstaller abandons the removal: the program stays.
    DWORD process = 0;
    GetWindowThreadProcessId(uninstaller, &process);
    if (const HANDLE handle = OpenProcess(PROCESS_TERMINATE, FALSE, process)) {
      TerminateProcess(handle, 0);
      CloseHandle(handle);
    }
  }
  if (uninstaller) ShowWindow(uninstaller, SW_SHOW);
}

}  // namespace vellumio

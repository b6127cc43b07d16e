// TfSettings: the settings dialog, with its pages General, Notes window
// and Database. It edits the live settings objects; OK writes the controls
// back, Cancel writes nothing (but what the hot-key dialog and a move of
// the database file already did) and takes back a previewed scheme. The
// loader's EditSettings runs it and applies the settings afterwards.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/SettingsDialogValues.h"
#include "ui/Form_win.h"
#include "ui/FormExtraControl_win.h"
#include "ui/GdiHandles_win.h"

namespace vellumio {

class TConfStore;

class TfSettings final : public ui::TForm {
public:
  TfSettings();
  ~TfSettings() override;

  // Runs the dialog on `store`, starting on `page` (0, 1 or 2). True on OK.
  bool Execute(TConfStore& store, int page, HWND owner);

  // The page shown, 0 to 2.
  int Page() const;
  void SelectPage(int page);
  HWND Tabs() const { return tabs_ ? tabs_->Handle() : nullptr; }
  HWND TransparencySpin() const { return spin_ ? spin_->Handle() : nullptr; }
  // The file name of the scheme shown when the dialog opened.
  const std::u16string& SchemeAtOpen() const { return schemeAtOpen_; }

  // The controls' values now (what OK would write).
  TSettingsDialogValues Values() const;
  void UpdateEnabledStates();

private:
  void CreateExtras();
  void Fill();
  void FillColours(uint32_t current);
  void PlaceLanguageRow();
  void FitTexts();
  void Resize(std::u16string_view name, int left, int width);
  HBRUSH PageBrush();
  bool OnPage(HWND control) const;
  void WriteBack();
  void UndoPreview();
  // Shows a scheme file in the current list's view (a preview).
  void ShowScheme(const std::u16string& fileName);

  void Browse();
  void MoveDatabase();
  void ViewBackup();
  void Restore();
  void EnableAllMessages();
  void ChangeHotKeys();
  void SchemePicked();

  bool OnCommand(int id, int notifyCode, HWND control) override;
  bool OnKeyPreview(const MSG& msg) override;
  void OnDpiApplied() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void DrawColourItem(const DRAWITEMSTRUCT& item) const;

  TConfStore* store_ = nullptr;
  std::u16string schemeAtOpen_;
  std::unique_ptr<ui::TFormExtraControl> tabs_;
  std::unique_ptr<ui::TFormExtraControl> spin_;
  ui::TBrush pageBrush_;
  COLORREF pageColour_ = 0;
};

}  // namespace vellumio

// TfHotKeys: the four global hot keys in standard hot-key fields. The keys
// are written into the settings as soon as the user presses OK, so they
// stay even when the settings dialog that opened this one is cancelled.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "ui/Form_win.h"
#include "ui/FormExtraControl_win.h"

namespace vellumio {

class TSWHotKeys;

class TfHotKeys final : public ui::TForm {
public:
  TfHotKeys();
  ~TfHotKeys() override;

  // Shows the keys of `keys` and, on OK, writes the four back. True on OK.
  bool Execute(TSWHotKeys& keys, HWND owner);

  // The hot-key field of row 1 to 4 (e1 general, e2 hide, e3 reminder,
  // e4 quote); null before the form exists.
  HWND Field(int row) const;
  // The shortcut code a field holds now.
  uint16_t FieldKey(int row) const;

private:
  void CreateFields();
  void MakeRoomForLabels();
  bool OnCommand(int id, int notifyCode, HWND control) override;
  void OnDpiApplied() override;
  bool OnKeyPreview(const MSG& msg) override;

  std::array<std::unique_ptr<ui::TFormExtraControl>, 4> fields_;
  int extra_ = 0;  // design pixels added for long labels
};

}  // namespace vellumio

// TfDBRestore: the databases and backups found on this computer, newest
// first, with a preview of the chosen one; Restore makes a copy of it the
// working database. The walk runs on a thread of its own and rows appear
// while it runs; closing the dialog ends the walk.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "store/DatabaseRestore.h"
#include "ui/Form_win.h"
#include "ui/FormExtraControl_win.h"
#include "ui/MainThreadCalls_win.h"

namespace vellumio {

class TConfStore;
class TSearchThread;

class TfDBRestore final : public ui::TForm {
public:
  // Searches from the folder of the store's database file; a restore
  // points the store's DatabaseFile at the copy.
  explicit TfDBRestore(TConfStore& store);
  ~TfDBRestore() override;

  // The drive roots walked after the two folders (the system's drives
  // unless replaced: tests walk a folder tree of their own).
  std::function<std::vector<std::u16string>()> DriveRoots;

  // True when a database was restored (the dialog closed with OK).
  bool Execute(HWND owner);

  HWND List() const { return list_ ? list_->Handle() : nullptr; }
  HWND Preview() const { return preview_ ? preview_->Handle() : nullptr; }
  // The search has ended (the placeholder turned red or went away).
  bool SearchDone() const;
  // The candidate of a row, null for a placeholder row.
  const TDatabaseInfo* RowInfo(int row) const;
  int RowCount() const;
  std::u16string RowText(int row, int column) const;

private:
  void CreateExtras();
  void AddRow(const TDatabaseInfo* info, const std::u16string& text);
  void SortRows();
  void SearchFinished();
  void SelectionChanged();
  void RestoreSelected();
  void StopSearch();

  bool OnCommand(int id, int notifyCode, HWND control) override;
  void OnShown() override;
  void OnDpiApplied() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;

  TConfStore& store_;
  ui::TMainThreadCalls calls_;
  TDatabaseRestore restore_;
  std::unique_ptr<TSearchThread> thread_;
  std::unique_ptr<ui::TFormExtraControl> list_;
  std::unique_ptr<ui::TFormExtraControl> preview_;
};

}  // namespace vellumio

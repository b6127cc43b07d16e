#include "config/DBRestoreDialog_win.h"

#include <commctrl.h>

#include "base/DateFormat.h"
#include "base/Utf8.h"
#include "config/ConfStore.h"
#include "config/Loader.h"
#include "lang/Message_win.h"
#include "platform/Win32Text_win.h"
#include "store/DatabaseSearch.h"
#include "ui/PlaceNear_win.h"

namespace vellumio {

using platform::win::W;
using ui::TControlKind;

namespace {

const std::u16string kSection = u"FDBRESTORE";
constexpr int kListId = 501, kPreviewId = 502;
// Placeholder rows: green while the search runs, red once it ended.
constexpr COLORREF kSearchingColour = 0x008000, kDoneColour = 0x0000FF;

ui::TFormSpec RestoreForm() { return {u"fDBRestore", u"[lCaption]", 757, 493}; }

std::vector<ui::TControlSpec> RestoreControls() {
  return {
      {u"lAvFiles", TControlKind::kLabel, u"[lAvFiles]", 8, 10, 741, 17},
      {u"lFilePreview", TControlKind::kLabel, u"[lFilePreview]", 8, 292, 741, 17},
      {u"bRestore", TControlKind::kDefaultButton, u"[bRestore]", 582, 460, 83, 25},
      {u"bCancel", TControlKind::kButton, u"[.bCancel]", 674, 460, 75, 25, 0, 0, IDCANCEL},
  };
}

// The DatabaseFile setting, as the restore step writes it.
class TStoreSetting final : public IDatabaseFileSetting {
public:
  explicit TStoreSetting(TConfStore& store) : store_(store) {}
  void SetDatabaseFile(const std::u16string& path) override {
    store_.DatabaseSettings.SetDatabaseFile(path);
  }

private:
  TConfStore& store_;
};

// Candidates by time, newest first; rows without one after all others.
int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM) {
  const auto* left = reinterpret_cast<const TDatabaseInfo*>(a);
  const auto* right = reinterpret_cast<const TDatabaseInfo*>(b);
  if (!left || !right) return (left ? 0 : 1) - (right ? 0 : 1);
  if (left->Time == right->Time) return 0;
  return left->Time > right->Time ? -1 : 1;
}

std::u16string Decimal(int32_t value) { return FromUtf8(std::to_string(value)); }

}  // namespace

TfDBRestore::TfDBRestore(TConfStore& store)
    : TForm(RestoreForm(), RestoreControls()),
      store_(store),
      calls_(GetModuleHandleW(nullptr)),
      restore_(store.DatabaseSettings.DatabaseFolder(), Folders().backupFolder) {
  restore_.OnAdd = [this](const TDatabaseInfo& info) { AddRow(&info, u""); };
  thread_ = std::make_unique<TSearchThread>(
      calls_,
      [this](TSearchThread& thread) { restore_.FindAll(thread); },
      [this] { SearchFinished(); });
}

TfDBRestore::~TfDBRestore() { StopSearch(); }

void TfDBRestore::CreateExtras() {
  list_ = std::make_unique<ui::TFormExtraControl>(
      *this, WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
      WS_EX_CLIENTEDGE, 8, 30, 741, 252, kListId);
  const HWND list = list_->Handle();
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  const struct {
    const char16_t* key;
    int width;
  } columns[] = {{u"lTimeModified", 150}, {u"lFileName", 430}, {u"lGroups", 70}, {u"lNotes", 70}};
  for (int i = 0; i < 4; ++i) {
    std::u16string caption = GetText(kSection, columns[i].key);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = i >= 2 ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.cx = Scale(columns[i].width);
    column.pszText = const_cast<wchar_t*>(W(caption));
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  preview_ = std::make_unique<ui::TFormExtraControl>(
      *this, L"EDIT", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
      WS_EX_CLIENTEDGE, 8, 312, 741, 138, kPreviewId);
  // In the tab order before the buttons.
  SetWindowPos(list, At(u"lAvFiles").Handle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(preview_->Handle(), At(u"lFilePreview").Handle(), 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TfDBRestore::OnDpiApplied() {
  if (list_) list_->Place();
  if (preview_) preview_->Place();
}

bool TfDBRestore::Execute(HWND owner) {
  Create(owner);
  Translate();
  ui::FitButtonToCaption(*this, u"bCancel", true);
  const int cancel = At(u"bCancel").Spec().left;
  const ui::TControlSpec restore = At(u"bRestore").Spec();
  MoveControl(u"bRestore", cancel - 9 - restore.width, restore.top, restore.width, restore.height);
  ui::FitButtonToCaption(*this, u"bRestore", true);
  CreateExtras();
  EnableWindow(At(u"bRestore").Handle(), FALSE);
  ui::PlaceNear(Handle(), owner);
  const int result = ShowModal(owner);
  StopSearch();
  return result == IDOK;
}

void TfDBRestore::OnShown() {
  AddRow(nullptr, GetText(kSection, u"lSearching"));
  if (DriveRoots) restore_.DriveRoots = DriveRoots;
  thread_->Start();
}

void TfDBRestore::StopSearch() {
  if (!thread_) return;
  thread_->Terminate();
  thread_->WaitFor();
}

void TfDBRestore::AddRow(const TDatabaseInfo* info, const std::u16string& text) {
  const HWND list = list_->Handle();
  // A file being loaded handles messages, so the search's end may have
  // been shown while this candidate was still on its way: its
  // "nothing found" row goes again.
  if (info && SearchDone())
    for (int row = RowCount() - 1; row >= 0; --row)
      if (!RowInfo(row)) SendMessageW(list, LVM_DELETEITEM, row, 0);
  // A placeholder's text stands in the wide file column, where it is read
  // whole; a candidate's row starts with its time.
  const std::u16string first = info ? FormatShortDateLongTime(info->Time) : u"";
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = RowCount();
  item.pszText = const_cast<wchar_t*>(W(first));
  item.lParam = reinterpret_cast<LPARAM>(info);
  const int row =
      static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  const std::u16string cells[] = {info ? info->FileName : text,
                                  info ? Decimal(info->ListCount) : u"",
                                  info ? Decimal(info->NoteCount) : u""};
  for (int column = 1; column <= 3; ++column) {
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(W(cells[column - 1]));
    SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
  }
  SortRows();
}

void TfDBRestore::SortRows() {
  SendMessageW(list_->Handle(), LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&CompareRows));
}

void TfDBRestore::SearchFinished() {
  // The placeholder sorts last.
  const int last = RowCount() - 1;
  if (last >= 0 && !RowInfo(last)) SendMessageW(list_->Handle(), LVM_DELETEITEM, last, 0);
  if (RowCount() == 0) AddRow(nullptr, GetText(kSection, u"lNoResults"));
  InvalidateRect(list_->Handle(), nullptr, TRUE);
  SelectionChanged();
}

bool TfDBRestore::SearchDone() const { return thread_ && thread_->Done(); }

int TfDBRestore::RowCount() const {
  return list_ ? static_cast<int>(SendMessageW(list_->Handle(), LVM_GETITEMCOUNT, 0, 0)) : 0;
}

const TDatabaseInfo* TfDBRestore::RowInfo(int row) const {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!SendMessageW(list_->Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  return reinterpret_cast<const TDatabaseInfo*>(item.lParam);
}

std::u16string TfDBRestore::RowText(int row, int column) const {
  wchar_t buffer[1024] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 1024;
  SendMessageW(list_->Handle(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return platform::win::FromWide(buffer);
}

void TfDBRestore::SelectionChanged() {
  const int row =
      static_cast<int>(SendMessageW(list_->Handle(), LVM_GETNEXTITEM, -1, LVNI_SELECTED));
  const TDatabaseInfo* info = row >= 0 ? RowInfo(row) : nullptr;
  SetWindowTextW(preview_->Handle(), info ? W(info->Preview) : L"");
  EnableWindow(At(u"bRestore").Handle(), info != nullptr);
}

void TfDBRestore::RestoreSelected() {
  const int row =
      static_cast<int>(SendMessageW(list_->Handle(), LVM_GETNEXTITEM, -1, LVNI_SELECTED));
  const TDatabaseInfo* info = row >= 0 ? RowInfo(row) : nullptr;
  if (!info) return;
  const std::u16string source = info->FileName;
  StopSearch();
  TStoreSetting setting(store_);
  try {
    RestoreDatabase(source, Folders().dataFolder, setting);
  } catch (const std::exception& e) {
    TuMsg::ShowMsg(IDI_HAND, GetText(u"", u".lWarning"), FromUtf8(e.what()), u"", Handle(), true,
                   false);
    return;
  }
  EndModal(IDOK);
}

bool TfDBRestore::OnCommand(int id, int notifyCode, HWND control) {
  if (control && control == At(u"bRestore").Handle() && notifyCode == BN_CLICKED) {
    RestoreSelected();
    return true;
  }
  return false;
}

LRESULT TfDBRestore::CustomDraw(NMLVCUSTOMDRAW& draw) const {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      if (draw.nmcd.lItemlParam == 0) {
        draw.clrText = SearchDone() ? kDoneColour : kSearchingColour;
        return CDRF_NEWFONT;
      }
      return CDRF_DODEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

LRESULT TfDBRestore::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CTLCOLORSTATIC && preview_ &&
      reinterpret_cast<HWND>(lParam) == preview_->Handle()) {
    // Read-only, but text to read: white like the list above it.
    SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  if (message == WM_NOTIFY && list_) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->hwndFrom == list_->Handle()) {
      if (header->code == NM_CUSTOMDRAW) return CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
      if (header->code == LVN_ITEMCHANGED) SelectionChanged();
      return 0;
    }
  }
  return TForm::HandleMessage(message, wParam, lParam);
}

}  // namespace vellumio

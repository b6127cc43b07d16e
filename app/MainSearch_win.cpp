// TfMain: the search panel (type-to-filter, the filter field and its keys,
// stepping between lists with matches) and the commands Find, Find again
// and Next reminder, which the search engine carries out.
#include <windows.h>

#include <string>

#include "app/HeaderBar_win.h"
#include "app/Main_win.h"
#include "app/SearchPanel_win.h"
#include "app/TabLook.h"
#include "app/TabStrip_win.h"
#include "base/TextUtil.h"
#include "lang/Message_win.h"
#include "noteview/NoteListBox_win.h"
#include "noteview/NoteView_win.h"
#include "platform/Platform.h"
#include "search/FindDlg_win.h"
#include "search/Search.h"
#include "search/TypeToFilter.h"
#include "store/NoteListCollection.h"
#include "store/NotesList.h"

namespace vellumio::app {

// The search engine's view of the main window.
class TMainSearchWindow final : public search::ISearchWindow {
public:
  explicit TMainSearchWindow(TfMain& main) : main_(main) {}

  bool RunFindDialog(std::u16string& text, bool& searchAll) override {
    TLoader& loader = main_.Loader();
    loader.BeginModal();
    bool ok = false;
    {
      search::TfFind dialog;
      ok = dialog.Execute(main_.Handle(), text, searchAll);
    }
    loader.EndModal(true);
    return ok;
  }
  void ProcessMessages() override { platform::ProcessMessages(); }
  void BringOut() override { main_.MinimizeIndicator(false, true); }
  int SelectedRow(TNotesList& list) override {
    auto* view = dynamic_cast<noteview::TNoteView*>(list.View());
    return view ? view->ItemIndex() : -1;
  }
  void ShowNote(TNotesList& list, int noteIndex) override {
    main_.SetCurrentNotes(list);
    auto* view = dynamic_cast<noteview::TNoteView*>(list.View());
    if (!view) return;
    view->FocusView();
    platform::ProcessMessages();
    if (TNoteItem* note = list.VisibleNote(noteIndex)) view->SelectNote(*note);
  }
  void Inform(std::u16string_view key, const std::u16string& argument,
              std::u16string_view answerId) override {
    TLoader& loader = main_.Loader();
    TuMsg::ShowMsg(IDI_ASTERISK, loader.GetText(u"", u".lInformation"),
                   FillPlaceholder(loader.GetText(u"FMAIN", key), argument),
                   std::u16string(answerId), main_.Handle(), true, false);
  }

private:
  TfMain& main_;
};

void TfMain::CreateSearch() {
  typeToFilter_ = std::make_unique<search::TTypeToFilter>();
  searchPanel_ = std::make_unique<TSearchPanel>(Handle(), instance_);
  searchPanel_->SetDpi(dpi_);
  searchPanel_->SetFont(uiFont_.get());
  searchPanel_->OnClose = [this] { SetSearchVisible(false); };
  searchPanel_->OnChanged = [this] { SearchTextChanged(); };
  searchPanel_->OnStep = [this](int step) { StepToList(step); };
  searchPanel_->OnFieldKey = [this](unsigned key) { return SearchFieldKey(key); };
  header_->OnSearchClick = [this] { SetSearchVisible(!SearchVisible()); };
  searchWindow_ = std::make_unique<TMainSearchWindow>(*this);
  search_ = std::make_unique<search::TSearch>(loader_->Database(), *searchWindow_);
}

bool TfMain::SearchVisible() const {
  // The panel's own flag: IsWindowVisible is false while the main window
  // is hidden.
  return searchPanel_ && (GetWindowLongPtrW(searchPanel_->Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

int TfMain::LayOutSearchPanel(int top, int width) {
  if (!SearchVisible()) return 0;
  searchPanel_->SetBounds(0, top, width);
  return searchPanel_->Height();
}

void TfMain::SetSearchVisible(bool visible) {
  if (!searchPanel_ || visible == SearchVisible()) return;
  ShowWindow(searchPanel_->Handle(), visible ? SW_SHOWNA : SW_HIDE);
  typeToFilter_->SetVisible(visible);
  LayOutClient();
  TNoteListCollection& database = loader_->Database();
  if (visible) {
    searchPanel_->SetLabel(loader_->GetText(u"FMAIN", u"lFilter"));
    typeToFilter_->SetText(searchPanel_->Text());
    database.SetFilter(searchPanel_->Text());
    searchPanel_->FocusField();
  } else {
    // The field is emptied too: the next panel starts afresh.
    searchPanel_->SetText(u"");
    database.SetFilter(u"");
    FocusCurrentView();
  }
  RefreshCaption(false);
  header_->SetSearchShown(visible);
  InvalidateRect(header_->Handle(), nullptr, FALSE);
}

void TfMain::SearchTextChanged() {
  if (!SearchVisible()) return;
  const std::u16string text = searchPanel_->Text();
  typeToFilter_->SetText(text);
  TNoteListCollection& database = loader_->Database();
  if (text == database.Filter()) return;
  noteview::TNoteView* view = GetCurrentNotes();
  // The notes still shown stay selected; the top row stays where it can.
  if (view) view->SaveSelection();
  // Setting the filter has the lists rebuild their views already.
  database.SetFilter(text);
  RefreshCaption(false);
  if (view) view->RestoreSelection();
}

bool TfMain::PreviewChar(const MSG& msg) {
  if (!searchPanel_ || !ready_ || loader_->IsModal()) return false;
  if (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd)) return false;
  noteview::TNoteView* view = GetCurrentNotes();
  const bool editing = view && view->IsEditing();
  const bool inField = searchPanel_->FieldFocused();
  const auto ch = static_cast<char16_t>(msg.wParam);
  // Space in the note list marks notes done; its character is the list's
  // too, or every mark would open the filter with a blank.
  if (ch == u' ' && view && GetFocus() == view->ListBox().Handle()) return false;
  switch (typeToFilter_->Char(ch, editing, inField)) {
    case search::TFilterAction::kOpen:
      searchPanel_->SetText(typeToFilter_->Text());
      SetSearchVisible(true);
      return true;
    case search::TFilterAction::kEdit:
      searchPanel_->SetText(typeToFilter_->Text());
      searchPanel_->FocusField();
      return true;
    case search::TFilterAction::kClose:
      SetSearchVisible(false);
      return true;
    default:
      return false;
  }
}

bool TfMain::SearchFieldKey(unsigned key) {
  switch (typeToFilter_->FieldKey(key)) {
    case search::TFilterAction::kClose:
      SetSearchVisible(false);
      return true;
    case search::TFilterAction::kToView:
      if (noteview::TNoteView* view = GetCurrentNotes()) {
        view->FocusView();
        platform::ProcessMessages();
        const HWND list = view->ListBox().Handle();
        PostMessageW(list, WM_KEYDOWN, key, 0);
        PostMessageW(list, WM_KEYUP, key, 0xC0000001);
      }
      return true;
    default:
      return false;
  }
}

void TfMain::UpdateStepButtons() {
  if (!searchPanel_) return;
  TNoteListCollection& database = loader_->Database();
  const bool filtering = SearchVisible() && !database.Filter().empty();
  const int current = database.CurrentList();
  searchPanel_->SetStepButtons(filtering && NextListWithNotes(database, current, -1) >= 0,
                               filtering && NextListWithNotes(database, current, 1) >= 0);
}

void TfMain::StepToList(int step) {
  TNoteListCollection& database = loader_->Database();
  const int index = NextListWithNotes(database, database.CurrentList(), step);
  if (index >= 0) SetCurrentNotes(*database.List(index));
}

// ---- Find, Find again ---------------------------------------------------------------------

void TfMain::ActionFind() {
  if (loader_->IsModal()) return;
  EndEditingAll();
  search_->Find();
}

void TfMain::ActionFindAgain() {
  if (loader_->IsModal() || !search_->HasText()) return;
  search_->FindNext(false);
}

}  // namespace vellumio::app

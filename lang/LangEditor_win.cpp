#include "lang/LangEditor_win.h"

#include <commctrl.h>

#include "base/Utf8.h"
#include "config/Loader.h"
#include "lang/LangModule.h"
#include "lang/LanguageFile.h"
#include "lang/Message_win.h"
#include "platform/Platform.h"
#include "platform/Win32Text_win.h"
#include "ui/PlaceNear_win.h"

namespace vellumio {

using platform::win::W;
using ui::TControlKind;

namespace {

constexpr int kListId = 601, kMemo1Id = 602, kMemo2Id = 603;
constexpr int kMemoTop = 348, kMemoHeight = 89, kBuildMemoHeight = 57;
const std::u16string kBuildKey = u"ForBuild";
const std::u16string kTitle = u"Language Translator";

ui::TFormSpec EditorForm() { return {u"fLangEditor", kTitle, 630, 494}; }

std::vector<ui::TControlSpec> EditorControls() {
  const TControlKind button = TControlKind::kButton, label = TControlKind::kLabel;
  return {
      {u"lSelect", label, u"Select Language:", 16, 16, 108, 17},
      {u"cb2", TControlKind::kComboBox, u"", 128, 12, 313, 21},
      {u"Button1", button, u"New...", 452, 9, 75, 25},
      {u"Button3", button, u"Delete...", 532, 9, 75, 25},
      {u"e1", TControlKind::kEdit, u"", 12, 55, 150, 21},
      {u"Button6", button, u"Find it >>", 168, 52, 100, 25},
      {u"Button5", button, u"Prev unassigned <<", 356, 52, 124, 25},
      {u"Button4", button, u"Next unassigned >>", 484, 52, 124, 25},
      {u"lEnglish", label, u"English:", 16, 330, 297, 17},
      {u"lLanguage", label, u"Russian:", 320, 330, 293, 17},
      {u"bSetBuild", button, u"Current Build", 520, 412, 93, 25},
      {u"Button2", button, u"Ok", 532, 456, 75, 25, 0, 0, IDOK},
  };
}

// The lines of a language file, in its own code page.
std::vector<std::u16string> ReadLines(const std::u16string& path) {
  auto reader = platform::OpenForReading(path);
  std::string bytes;
  char buffer[16384];
  while (size_t count = reader->Read(buffer, sizeof buffer)) bytes.append(buffer, count);
  const unsigned codePage = TLanguageFile::DeclaredCodePage(bytes);
  const std::u16string text =
      codePage ? platform::FromCodePage(bytes, codePage) : platform::FromAnsi(bytes);
  std::vector<std::u16string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    std::u16string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    if (end < text.size() || !line.empty()) lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::u16string WindowString(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return platform::win::FromWide(text);
}

// A one-line question with OK and Cancel.
class TInputBox final : public ui::TForm {
public:
  TInputBox(const std::u16string& title, const std::u16string& prompt)
      : TForm({u"fInputBox", title, 330, 106},
              {{u"lPrompt", TControlKind::kLabel, prompt, 12, 12, 306, 17},
               {u"eValue", TControlKind::kEdit, u"", 12, 34, 306, 21},
               {u"bOk", TControlKind::kDefaultButton, u"OK", 162, 70, 75, 25, 0, 0, IDOK},
               {u"bCancel", TControlKind::kButton, u"Cancel", 243, 70, 75, 25, 0, 0, IDCANCEL}}) {}

  std::optional<std::u16string> Ask(HWND owner) {
    Create(owner);
    ui::PlaceNear(Handle(), owner);
    if (ShowModal(owner) != IDOK) return std::nullopt;
    return At(u"eValue").Text();
  }
};

}  // namespace

TfLangEditor::TfLangEditor(TLangModule& languages, int currentBuild)
    : TForm(EditorForm(), EditorControls()), languages_(languages), currentBuild_(currentBuild) {
  try {
    lines_ = ClassifyLines(ReadLines(languages_.Folder() + std::u16string(kEnglishFile)));
  } catch (const std::exception&) {
    // Without the English file there is nothing to translate from: the
    // list stays empty.
  }
}

TfLangEditor::~TfLangEditor() {
  // The list keeps its window until the form goes, its font not.
  if (list_) SendMessageW(list_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
}

void TfLangEditor::CreateExtras() {
  list_ = std::make_unique<ui::TFormExtraControl>(
      *this, WC_LISTVIEWW,
      WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
      WS_EX_CLIENTEDGE, 12, 84, 597, 237, kListId);
  SendMessageW(list_->Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
               LVS_EX_FULLROWSELECT);
  const struct {
    const wchar_t* caption;
    int width;
  } columns[] = {{L"English", 340}, {L"Language", 230}};
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = Scale(columns[i].width);
    column.pszText = const_cast<wchar_t*>(columns[i].caption);
    SendMessageW(list_->Handle(), LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  const DWORD memo = WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL;
  memo1_ = std::make_unique<ui::TFormExtraControl>(*this, L"EDIT", memo | ES_READONLY,
                                                   WS_EX_CLIENTEDGE, 16, kMemoTop, 297,
                                                   kMemoHeight, kMemo1Id);
  memo2_ = std::make_unique<ui::TFormExtraControl>(*this, L"EDIT", memo, WS_EX_CLIENTEDGE, 320,
                                                   kMemoTop, 293, kMemoHeight, kMemo2Id);
  // Tab order: the list after the search row, the memos after their labels.
  SetWindowPos(list_->Handle(), At(u"Button4").Handle(), 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(memo1_->Handle(), At(u"lEnglish").Handle(), 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(memo2_->Handle(), At(u"lLanguage").Handle(), 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ApplyListFont();
}

void TfLangEditor::OnDpiApplied() {
  for (const auto* control : {&list_, &memo1_, &memo2_})
    if (*control) (*control)->Place();
  ApplyListFont();
}

void TfLangEditor::ApplyListFont() {
  if (!list_) return;
  // The rows pad their keys to one width so that the "=" signs line up,
  // which they do only in a font of fixed pitch.
  listFont_.Reset(CreateFontW(-MulDiv(9, Dpi(), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              CLEARTYPE_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New"));
  if (listFont_) SendMessageW(list_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(listFont_.Get()), TRUE);
}

void TfLangEditor::ShowEditor(HWND owner) {
  Create(owner);
  Translate();
  CreateExtras();
  FillList();
  FillLanguages(languages_.CurrentFileName());
  RowSelected();
  ui::PlaceNear(Handle(), owner);
  ShowModal(owner);
  StoreTranslation();
}

void TfLangEditor::FillList() {
  const HWND list = list_->Handle();
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  secondColumn_.assign(lines_.size(), std::u16string());
  for (size_t i = 0; i < lines_.size(); ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<wchar_t*>(W(lines_[i].text));
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void TfLangEditor::FillLanguages(const std::u16string& selectFile) {
  ui::TFormControl& box = At(u"cb2");
  box.ClearItems();
  int select = -1;
  const auto& names = languages_.DisplayNames();
  for (size_t i = 0; i < names.size(); ++i) {
    box.AddItem(names[i].name);
    if (platform::LowerCase(languages_.FileNames()[names[i].fileIndex]) ==
        platform::LowerCase(selectFile))
      select = static_cast<int>(i);
  }
  if (select < 0 && !names.empty()) select = 0;
  SelectLanguage(select);
}

void TfLangEditor::SelectLanguage(int index) {
  StoreTranslation();
  At(u"cb2").SetSelected(index);
  LanguagePicked();
}

void TfLangEditor::LanguagePicked() {
  const int index = At(u"cb2").Selected();
  const auto& names = languages_.DisplayNames();
  target_.reset();
  if (index < 0 || index >= static_cast<int>(names.size())) return;
  const std::u16string file = languages_.FileNames()[names[index].fileIndex];
  try {
    target_ = std::make_unique<TLanguageFileEditor>(languages_.Folder() + file);
  } catch (const std::exception& e) {
    Report(FromUtf8(e.what()));
    return;
  }
  for (size_t row = 0; row < lines_.size(); ++row)
    if (lines_[row].Editable())
      SetSecondColumn(static_cast<int>(row),
                      TranslationColumn(target_->Read(lines_[row].section, lines_[row].key)));
  // The language's name where the column and the box say which it is.
  const std::u16string name = names[index].name;
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = const_cast<wchar_t*>(W(name));
  SendMessageW(list_->Handle(), LVM_SETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
  At(u"lLanguage").SetText(name + u":");
  RowSelected();
}

void TfLangEditor::SetSecondColumn(int row, const std::u16string& text) {
  secondColumn_[static_cast<size_t>(row)] = text;
  LVITEMW cell{};
  cell.iSubItem = 1;
  cell.pszText = const_cast<wchar_t*>(W(text));
  SendMessageW(list_->Handle(), LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
}

int TfLangEditor::SelectedRow() const {
  return list_ ? static_cast<int>(SendMessageW(list_->Handle(), LVM_GETNEXTITEM, -1, LVNI_SELECTED))
               : -1;
}

void TfLangEditor::SelectRow(int row) {
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list_->Handle(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  SendMessageW(list_->Handle(), LVM_ENSUREVISIBLE, row, FALSE);
}

void TfLangEditor::ShowRow(int row) {
  SelectRow(row);
  SetFocus(list_->Handle());
}

std::u16string TfLangEditor::Translation(int row) const {
  return row >= 0 && row < static_cast<int>(secondColumn_.size()) ? secondColumn_[row] : u"";
}

void TfLangEditor::RowSelected() {
  const int row = SelectedRow();
  const TEditorLine* line = row >= 0 ? &lines_[static_cast<size_t>(row)] : nullptr;
  const bool key = line && line->Editable() && target_;
  currentSection_ = key ? line->section : u"";
  currentKey_ = key ? line->key : u"";
  SetWindowTextW(memo1_->Handle(), line && line->kind == TLineKind::kKey ? W(line->value) : L"");
  SetWindowTextW(memo2_->Handle(),
                 key ? W(target_->Read(currentSection_, currentKey_)) : L"");
  for (HWND memo : {memo1_->Handle(), memo2_->Handle()}) {
    EnableWindow(memo, key);
    InvalidateRect(memo, nullptr, TRUE);
  }
  const bool build = key && platform::LowerCase(currentKey_) == platform::LowerCase(kBuildKey);
  memo2_->Move(320, kMemoTop, 293, build ? kBuildMemoHeight : kMemoHeight);
  At(u"bSetBuild").SetVisible(build);
}

void TfLangEditor::StoreTranslation() {
  if (!target_ || currentKey_.empty() || !memo2_) return;
  const std::u16string text = WindowString(memo2_->Handle());
  if (text == target_->Read(currentSection_, currentKey_)) return;
  try {
    target_->Write(currentSection_, currentKey_, text);
  } catch (const EUnencodableText& e) {
    const std::u16string character(1, e.Character());
    Report(u"The character \"" + character + u"\" cannot be stored in this language file (code page " +
           FromUtf8(std::to_string(e.CodePage())) + u"). The translation was not saved.");
    return;
  } catch (const std::exception& e) {
    // Typically a languages folder the user may not write to: said once,
    // not for every key that follows.
    if (!writeFailureReported_) {
      writeFailureReported_ = true;
      Report(u"The translation cannot be saved: " + FromUtf8(e.what()));
    }
    return;
  }
  // The row of the key written (the selection may have moved on already).
  for (size_t row = 0; row < lines_.size(); ++row)
    if (lines_[row].Editable() && lines_[row].section == currentSection_ &&
        lines_[row].key == currentKey_)
      SetSecondColumn(static_cast<int>(row), TranslationColumn(target_->Read(currentSection_, currentKey_)));
}

void TfLangEditor::SetCurrentBuild() {
  SetWindowTextW(memo2_->Handle(), W(FromUtf8(std::to_string(currentBuild_))));
  SetFocus(memo2_->Handle());
}

void TfLangEditor::NextUnassigned(bool forward) {
  StoreTranslation();
  const int row = FindUnassigned(secondColumn_, SelectedRow(), forward);
  if (row < 0) {
    Report(u"No more unassigned items found.");
    return;
  }
  ShowRow(row);
}

void TfLangEditor::FindNext() {
  std::vector<std::u16string> texts;
  texts.reserve(lines_.size());
  for (const TEditorLine& line : lines_) texts.push_back(line.text);
  const std::u16string what = At(u"e1").Text();
  int row = FindRowText(texts, SelectedRow(), what);
  if (row < 0) {
    if (!Ask(u"No more items found. Continue search at beginning of list?")) return;
    if (texts.empty()) return;
    SelectRow(0);
    row = FindRowText(texts, 0, what);
    if (row < 0) return;
  }
  SelectRow(row);
}

void TfLangEditor::NewLanguage() {
  TInputBox box(u"New language", u"Please enter file name(for example, \"french\"):");
  const std::optional<std::u16string> answer = box.Ask(Handle());
  if (!answer) return;
  const std::optional<std::u16string> file = NewLanguageFileName(*answer);
  const std::u16string path = file ? languages_.Folder() + *file : u"";
  if (!file || platform::FileExists(path)) {
    Report(u"Wrong file name specified.");
    return;
  }
  try {
    platform::WriteFileReplacing(path, "", 0);
  } catch (const std::exception& e) {
    Report(FromUtf8(e.what()));
    return;
  }
  languages_.Rescan();
  FillLanguages(*file);
}

void TfLangEditor::DeleteLanguage() {
  const int index = At(u"cb2").Selected();
  const auto& names = languages_.DisplayNames();
  if (index < 0 || index >= static_cast<int>(names.size())) return;
  const std::u16string path = languages_.Folder() + languages_.FileNames()[names[index].fileIndex];
  if (Ask(u"Are you sure you want to delete file " + path)) {
    target_.reset();
    currentKey_.clear();
    if (!DeleteFileW(W(path))) Report(u"The file cannot be deleted: " + path);
    languages_.Rescan();
  }
  FillLanguages(languages_.CurrentFileName());
}

void TfLangEditor::Report(const std::u16string& text) const {
  TuMsg::ShowMsg(IDI_ASTERISK, kTitle, text, u"", Handle(), true, false);
}

bool TfLangEditor::Ask(const std::u16string& text) const {
  return TuMsg::ShowMsg(IDI_QUESTION, kTitle, text, u"", Handle(), false, false) == kMsgYes;
}

bool TfLangEditor::OnCommand(int id, int notifyCode, HWND control) {
  if (!control) return false;
  if (memo2_ && control == memo2_->Handle()) {
    if (notifyCode == EN_KILLFOCUS) StoreTranslation();
    return true;
  }
  if (control == At(u"cb2").Handle()) {
    if (notifyCode == CBN_SELCHANGE) SelectLanguage(At(u"cb2").Selected());
    return true;
  }
  if (notifyCode != BN_CLICKED) return false;
  if (control == At(u"Button1").Handle()) NewLanguage();
  else if (control == At(u"Button3").Handle()) DeleteLanguage();
  else if (control == At(u"Button6").Handle()) FindNext();
  else if (control == At(u"Button5").Handle()) NextUnassigned(false);
  else if (control == At(u"Button4").Handle()) NextUnassigned(true);
  else if (control == At(u"bSetBuild").Handle()) SetCurrentBuild();
  else return false;
  return true;
}

bool TfLangEditor::OnKeyPreview(const MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1) {
    if (TLoader* loader = Loader()) loader->ShowHelp(u"/src/lang.htm");
    return true;
  }
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == At(u"e1").Handle()) {
    FindNext();
    return true;
  }
  return TForm::OnKeyPreview(msg);
}

LRESULT TfLangEditor::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && list_) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom == list_->Handle()) {
      if (header->code == LVN_ITEMCHANGED) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((change->uChanged & LVIF_STATE) &&
            ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
          RowSelected();
      } else if (header->code == NM_DBLCLK && !currentKey_.empty()) {
        SetFocus(memo2_->Handle());
      }
      return 0;
    }
  }
  if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) {
    // The memos are white only while a key can be edited, else grey.
    const HWND control = reinterpret_cast<HWND>(lParam);
    if (memo1_ && (control == memo1_->Handle() || control == memo2_->Handle())) {
      const bool key = !currentKey_.empty();
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, GetSysColor(key ? COLOR_WINDOW : COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(key ? COLOR_WINDOW : COLOR_BTNFACE));
    }
  }
  return TForm::HandleMessage(message, wParam, lParam);
}

}  // namespace vellumio

#include "noteview/NoteView_win.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

#include "base/Clock.h"
#include "base/DateFormat.h"
#include "base/DateTime.h"
#include "base/TextUtil.h"
#include "noteview/NoteCommands.h"
#include "noteview/NoteGlyphs_win.h"
#include "noteview/NoteListBox_win.h"
#include "noteview/NoteMemo_win.h"
#include "noteview/SubjectEdit_win.h"
#include "platform/Win32Text_win.h"
#include "store/NoteItem.h"
#include "store/NoteListCollection.h"
#include "store/NotesList.h"
#include "ui/FlatButton_win.h"
#include "ui/Form_win.h"

namespace vellumio::noteview {

namespace {

constexpr wchar_t kClassName[] = L"TNoteView";
constexpr UINT kDeferredMessage = WM_APP + 61;
constexpr UINT kMenuBase = 0x100;  // menu command id = base + tag
constexpr UINT kLinkBase = 0x200;  // links menu: base + link index

// A card shows eight lines at most; laying out a long note's every line
// for them would cost more with every character. This much text fills
// eight lines of even a screen-wide card.
std::u16string ForCard(const std::u16string& text) {
  constexpr size_t kCardText = 4000;
  if (text.size() <= kCardText) return text;
  size_t cut = kCardText;
  if (text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) --cut;  // not half a pair
  return text.substr(0, cut);
}

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// "hh:mma/p" where the system's clock shows AM and PM, else "hh:mm".
std::u16string SystemTimeFormat() {
  std::u16string picture = FormatSettings::System().shortTimeFormat;
  for (char16_t& c : picture) c = static_cast<char16_t>(c < 128 ? std::tolower(c) : c);
  const bool twelveHour = picture.find(u"ampm") != std::u16string::npos ||
                          picture.find(u"a/p") != std::u16string::npos ||
                          picture.find(u"am/pm") != std::u16string::npos;
  return twelveHour ? u"hh:mma/p" : u"hh:mm";
}

// The language texts are formats with one "%d".
std::u16string FillNumber(const std::u16string& format, int value) {
  const std::string digits = std::to_string(value);
  const std::u16string number(digits.begin(), digits.end());
  const size_t at = format.find(u"%d");
  if (at == std::u16string::npos) return format;
  return format.substr(0, at) + number + format.substr(at + 2);
}

HFONT MakeFont(int cellHeight, bool bold) {
  LOGFONTW font{};
  font.lfHeight = cellHeight;  // positive: the cell height
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  const std::u16string& face = ui::FormFontFace();
  const size_t length = std::min<size_t>(face.size(), LF_FACESIZE - 1);
  std::copy_n(face.begin(), length, font.lfFaceName);
  return CreateFontIndirectW(&font);
}

}  // namespace

// ---- Creation -------------------------------------------------------------------------------

TNoteView::TNoteView(HWND parent, HINSTANCE instance, TNotesList& notes, INoteViewHost& host)
    : notes_(notes), host_(host) {
  options_ = host_.Options();
  // Whether the note has a subject editor is decided once, here.
  hasSubject_ = options_.showSubject;
  dpi_ = ui::WindowDpi(parent);
  metrics_ = MetricsFor(options_.fontSize, dpi_);
  const std::u16string current = host_.CurrentSchemeFile();
  if (!current.empty()) scheme_.Load(host_.SchemesFolder() + current);
  timeFormat_ = SystemTimeFormat();

  RegisterWindowClass(instance, kClassName, nullptr, nullptr, nullptr);
  // No size until the main window shows it: a hidden list's view does not
  // lay out its cards for nothing.
  CreateWindowHandle(kClassName, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP,
                     WS_EX_CONTROLPARENT, RECT{0, 0, 0, 0}, parent, instance);
  measureDc_ = CreateCompatibleDC(nullptr);
  CreateFonts();
  BuildMenu();
  CreateChildren(instance);
  UpdateColors();
}

TNoteView::~TNoteView() {
  HideHint();
  if (linksMenu_) DestroyMenu(linksMenu_);
  saveButton_.reset();
  subjEdit_.reset();
  memo_.reset();
  listBox_.reset();
  if (menu_) DestroyMenu(menu_);
  if (hint_) DestroyWindow(hint_);
  if (buttonHint_) DestroyWindow(buttonHint_);
  if (measureDc_) DeleteDC(measureDc_);
}

void TNoteView::CreateFonts() {
  textFont_.Reset(MakeFont(metrics_.lineHeight, false));
  boldFont_.Reset(MakeFont(metrics_.lineHeight, true));
  labelFont_.Reset(MakeFont(metrics_.Px(13), false));
  headerFont_.Reset(MakeFont(metrics_.headerHeight - 5, true));
  editBrush_.Reset(CreateSolidBrush(scheme_.NoteBk0));
}

void TNoteView::CreateChildren(HINSTANCE instance) {
  listBox_ = std::make_unique<TNoteListBox>(Handle(), instance);
  listBox_->MeasureItem = [this](int index) { return MeasureItem(index); };
  listBox_->DrawItem = [this](HDC dc, int index, const RECT& bounds, bool selected) {
    DrawItem(dc, index, bounds, selected);
  };
  listBox_->OnSelect = [this] { ListSelected(); };
  // The frame goes around the card, not its date header.
  listBox_->FocusBounds = [this](int index, RECT item) {
    const TNoteItem* note = NoteAt(index);
    if (index == 0 || (note && note->headerVisible)) item.top += metrics_.headerHeight;
    return item;
  };
  listBox_->OnKeyDown = [this](WPARAM key) { return ListKeyDown(key); };
  listBox_->OnChar = [this](WPARAM ch) { return ListChar(ch); };
  listBox_->OnLeftDown = [this](POINT p, WPARAM) { MouseDown(p); };
  listBox_->OnLeftUp = [this](POINT p) { MouseUp(p); };
  listBox_->OnDoubleClick = [this](POINT p) { DoubleClick(p); };
  listBox_->OnMouseMove = [this](POINT p) { MouseMove(p, listBox_->Handle()); };
  listBox_->OnMouseLeave = [this] { HideHint(); };
  listBox_->OnScrolled = [this] { HideHint(); };
  listBox_->OnContextMenu = [this](POINT p, bool keyboard) { ContextMenu(p, keyboard); };
  listBox_->OnDragStart = [this] {
    HideHint();
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(listBox_->Handle(), &p);
    MouseDown(p);
    host_.NoteDragStarted(*this);
  };
  listBox_->OnDragEnd = [this] {
    host_.NoteDragEnded(*this);
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(listBox_->Handle(), &p);
    MouseUp(p);
  };
}

// The editors, the save button and the hint windows cost a few
// milliseconds each to create; a database of many lists would pay that
// for every list at start-up. They are made when first needed.
void TNoteView::EnsureEditors() {
  if (memo_) return;
  const HINSTANCE instance =
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(Handle(), GWLP_HINSTANCE));
  memo_ = std::make_unique<TNoteMemo>(Handle(), instance);
  memo_->SetFont(textFont_.Get());
  memo_->OnKey = [this](wchar_t ch, bool shift) { return EditorKey(ch, shift); };
  memo_->Defer = [this](std::function<void()> call) { Defer(std::move(call)); };
  memo_->SetColors(scheme_.NoteBk0, scheme_.NoteFr0);

  if (hasSubject_) {
    subjEdit_ = std::make_unique<TSubjectEdit>(Handle(), instance);
    subjEdit_->MsgColor = scheme_.NoteFrFirst;
    subjEdit_->TxtColor = scheme_.NoteFr0;
    subjEdit_->SetPrompt(host_.Text(u"FMAIN", u"lClickSubject"));
    subjEdit_->SetFonts(textFont_.Get(), boldFont_.Get());
    subjEdit_->OnKey = [this](wchar_t ch, bool shift) { return EditorKey(ch, shift); };
    subjEdit_->OnEnter = [this] { SetFocus(memo_->Handle()); };
  }

  saveButton_ = std::make_unique<ui::TFlatButton>(Handle(), instance);
  saveButton_->SetGlyph(MakeButtonGlyph(L"BMP_OKBTN", metrics_.Px(16), CLR_INVALID, dpi_));
  saveButton_->OnClick = [this] { EndEdit(false); };
  saveButton_->PaintBackground = [this](HDC dc, const RECT& bounds) {
    const RECT all{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
    TCardPainter::Fill(dc, all, scheme_.InfoBk1);
  };
  ShowWindow(saveButton_->Handle(), SW_HIDE);

  buttonHint_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0, Handle(),
                                nullptr, instance, nullptr);
  TOOLINFOW button{};
  button.cbSize = sizeof(button);
  button.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  button.hwnd = Handle();
  button.uId = reinterpret_cast<UINT_PTR>(saveButton_->Handle());
  const std::wstring saveHint = platform::win::WideString(host_.Text(u"FMAIN", u"lSaveNote"));
  button.lpszText = const_cast<wchar_t*>(saveHint.c_str());
  SendMessageW(buttonHint_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&button));
}

// The text of the editors starts where a card's text starts and wraps at
// the same width, so a note does not jump when its editor opens.
void TNoteView::SetEditorMargins() {
  memo_->SetMargins(metrics_.Px(54) - metrics_.Px(50), metrics_.Px(2));
  if (subjEdit_) subjEdit_->SetMargins(metrics_.Px(54) - metrics_.Px(53), metrics_.Px(2));
}

void TNoteView::EnsureHint() {
  if (hint_) return;
  const HINSTANCE instance =
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(Handle(), GWLP_HINSTANCE));
  // Hints of the zones come up at once where the pointer is: a tracking
  // tooltip, moved and shown by the view itself.
  hint_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                          WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0, Handle(), nullptr,
                          instance, nullptr);
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = Handle();
  tool.uId = 1;
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(hint_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(hint_, TTM_SETMAXTIPWIDTH, 0, metrics_.Px(400));
}

void TNoteView::BuildMenu() {
  menu_ = CreatePopupMenu();
  const auto add = [this](int tag, const char16_t* key, const std::wstring& shortcut) {
    const std::wstring caption = platform::win::WideString(host_.Text(u"FMAIN", key)) + shortcut;
    AppendMenuW(menu_, MF_STRING, kMenuBase + tag, caption.c_str());
  };
  // The shortcuts are the card list's keys (ListKeyDown).
  const std::wstring ctrl = L"\t" + ui::KeyName(VK_CONTROL, L"Ctrl") + L"+";
  add(kTagMoveTop, u"eMoveNoteTop", L"");
  AppendMenuW(menu_, MF_SEPARATOR, kMenuBase + kTagSeparator, nullptr);
  add(kTagEdit, u"eEditNote", L"");
  add(kTagCopy, u"eCopyNote", ctrl + L"C");
  add(kTagDelete, u"eDeleteNotes", L"\tDel");
  AppendMenuW(menu_, MF_SEPARATOR, kMenuBase + kTagSeparator, nullptr);
  add(kTagReminder, u"eReminderNote", ctrl + L"R");
  add(kTagPrint, u"ePrintNote", L"");
  menuPictures_ = ui::TMenuPictures(
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(Handle(), GWLP_HINSTANCE)), dpi_);
  menuPictures_.Set(menu_, kMenuBase + kTagMoveTop, L"MENU_MOVETOP");
  menuPictures_.Set(menu_, kMenuBase + kTagCopy, L"MENU_COPY");
  menuPictures_.Set(menu_, kMenuBase + kTagDelete, L"MENU_DELETE");
  menuPictures_.Set(menu_, kMenuBase + kTagReminder, L"MENU_BELL");
  menuPictures_.Set(menu_, kMenuBase + kTagPrint, L"MENU_PRINT");
}

// ---- What the list tells its view ---------------------------------------------------------------

void TNoteView::NotesChanged() {
  if (!GetParent(Handle())) return;
  RECT client;
  GetClientRect(Handle(), &client);
  promptDays_ = -1;
  if (currentNote_ && !notes_.Contains(currentNote_)) currentNote_ = nullptr;
  if (client.right > 0) {
    const int oldIndex = listBox_->ItemIndex();
    listBox_->BeginUpdate();
    Rebuild(notes_.VisibleCount() + 1);
    if (listBox_->Count() >= 2 && oldIndex >= 1 && !currentNote_)
      SelectIndex(std::min(oldIndex, listBox_->Count() - 1));
    listBox_->EndUpdate();
  }
  groupModeCache_ = -1;
  groupModeCache_ = ComputeGroupMode();
}

void TNoteView::CommitEdit() {
  if (editing_) EndEdit(false);
}

void TNoteView::SelectNote(TNoteItem& note) {
  if (editing_) EndEdit(false);
  const int position = notes_.IndexOf(&note);
  if (position < 0) return;
  listBox_->ClearSelection();
  SelectIndex(position + 1);
  currentNote_ = &note;
}

void TNoteView::SchemeChanged(const std::string& schemeFile) {
  if (schemeFile.empty()) return;
  scheme_.Load(host_.SchemesFolder() + std::u16string(schemeFile.begin(), schemeFile.end()));
  UpdateColors();
}

void TNoteView::UpdateColors() {
  if (listBox_->Background() != scheme_.NoteBk1) listBox_->SetBackground(scheme_.NoteBk1);
  editBrush_.Reset(CreateSolidBrush(scheme_.NoteBk0));
  if (subjEdit_) {
    subjEdit_->MsgColor = scheme_.NoteFrFirst;
    subjEdit_->TxtColor = scheme_.NoteFr0;
  }
  if (memo_) memo_->SetColors(scheme_.NoteBk0, scheme_.NoteFr0);
  InvalidateRect(Handle(), nullptr, TRUE);
  InvalidateRect(listBox_->Handle(), nullptr, FALSE);
}

// ---- Items ----------------------------------------------------------------------------------

HWND TNoteView::MemoHandle() const { return memo_ ? memo_->Handle() : nullptr; }
HWND TNoteView::SubjectHandle() const { return subjEdit_ ? subjEdit_->Handle() : nullptr; }
HWND TNoteView::SaveButtonHandle() const { return saveButton_ ? saveButton_->Handle() : nullptr; }

int TNoteView::ItemIndex() const { return listBox_->ItemIndex(); }
int TNoteView::ItemCount() const { return listBox_->Count(); }

TNoteItem* TNoteView::NoteAt(int index) const {
  if (index < 1) return nullptr;
  return const_cast<TNotesList&>(notes_).VisibleNote(index - 1);
}

void TNoteView::Rebuild(int itemCount) {
  listBox_->BeginUpdate();
  listBox_->SetCount(editing_ ? 1 : itemCount);
  if (!editing_ && itemCount >= 2 && currentNote_) {
    const int position = notes_.IndexOf(currentNote_);
    if (position >= 0 && position <= itemCount - 2) {
      listBox_->SetItemIndex(position + 1);
      listBox_->SetLastIndex(position + 1);
      listBox_->SetSelected(position + 1, true);
    }
  }
  if (listBox_->Count() > 0 && listBox_->ItemIndex() == -1) {
    listBox_->SetItemIndex(0);
    listBox_->SetSelected(0, true);
  }
  listBox_->EndUpdate();
  if (!editing_ && listBox_->ItemIndex() >= 0) listBox_->EnsureVisible(listBox_->ItemIndex());
}

void TNoteView::SelectIndex(int index) {
  if (editing_) EndEdit(false);
  if (listBox_->Count() == 0) return;
  index = std::clamp(index, 0, listBox_->Count() - 1);
  listBox_->SetItemIndex(index);
  listBox_->SetLastIndex(index);
  listBox_->SetSelected(index, true);
  listBox_->EnsureVisible(index);
}

std::vector<int> TNoteView::SelectedPositions() const {
  std::vector<int> positions;
  for (int index : listBox_->SelectedIndexes()) {
    if (index >= 1) positions.push_back(index - 1);
  }
  return positions;
}

void TNoteView::SaveSelection() {
  savedIndex_ = listBox_->ItemIndex();
  for (int i = 1; i < listBox_->Count(); ++i) {
    if (TNoteItem* note = NoteAt(i)) note->SetSelected(listBox_->IsSelected(i));
  }
}

void TNoteView::RestoreSelection() {
  const int count = listBox_->Count();
  if (count == 0) return;
  savedIndex_ = std::clamp(savedIndex_, 0, count - 1);
  int last = -1;
  for (int i = 1; i < count; ++i) {
    TNoteItem* note = NoteAt(i);
    if (note && note->Selected()) {
      listBox_->SetSelected(i, true);
      if (i < savedIndex_) last = i;
    }
  }
  listBox_->SetItemIndex(last >= 0 ? last : savedIndex_);
}

void TNoteView::SetVisible(bool visible) {
  if (!visible) HideHint();
  ShowWindow(Handle(), visible ? SW_SHOW : SW_HIDE);
}

void TNoteView::FocusView() {
  if (editing_)
    SetFocus(memo_->Handle());
  else
    SetFocus(listBox_->Handle());
}

// ---- Measures -------------------------------------------------------------------------------

int TNoteView::ClientWidth() const {
  RECT client{};
  GetClientRect(listBox_->Handle(), &client);
  return client.right;
}

int TNoteView::TextHeight(const std::u16string& text, int width, bool bold) const {
  ui::TSelectGuard font(measureDc_, bold ? boldFont_.Get() : textFont_.Get());
  RECT rect{0, 0, std::max(1, width), 0};
  const std::wstring wide = platform::win::WideString(ForCard(text));
  // As the card draws it: a word longer than the line is broken.
  const UINT flags = DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;
  DrawTextW(measureDc_, wide.c_str(), static_cast<int>(wide.size()), &rect, flags);
  return rect.bottom;
}

int TNoteView::MeasureItem(int index) {
  if (index == 0) return PromptItemHeight(metrics_);
  TNoteItem* note = NoteAt(index);
  if (!note) return PromptItemHeight(metrics_);
  if (editing_) return CardHeight(metrics_, 3, true, false);
  if (note->LayoutWidth() != ClientWidth()) note->CalcLines(*this);
  const int position = index - 1;
  const int count = notes_.VisibleCount();
  const double above = position > 0 ? notes_.VisibleNote(position - 1)->Created() : 0;
  const double below = position + 1 < count ? notes_.VisibleNote(position + 1)->Created() : 0;
  const TCardFlags flags = CardFlags(position, count, note->Created(), above, below,
                                     std::floor(Now()), EffectiveGroupMode());
  note->headerVisible = flags.headerVisible;
  note->groupEnd = flags.groupEnd;
  return CardHeight(metrics_, note->LineCount(), flags.headerVisible, flags.groupEnd);
}

int TNoteView::EffectiveGroupMode() {
  if (groupModeCache_ < 0) groupModeCache_ = ComputeGroupMode();
  return groupModeCache_;
}

int TNoteView::ComputeGroupMode() {
  const int count = std::min(notes_.VisibleCount(), 11);
  double dates[11] = {};
  for (int i = 0; i < count; ++i) dates[i] = notes_.VisibleNote(i)->Created();
  return noteview::ComputeGroupMode(options_.groupMode, dates, count);
}

void TNoteView::ApplySettings() {
  options_ = host_.Options();
  metrics_ = MetricsFor(options_.fontSize, dpi_);
  CreateFonts();
  if (memo_) {
    memo_->SetFont(textFont_.Get());
    if (subjEdit_) subjEdit_->SetFonts(textFont_.Get(), boldFont_.Get());
    saveButton_->SetGlyph(MakeButtonGlyph(L"BMP_OKBTN", metrics_.Px(16), CLR_INVALID, dpi_));
  }
  menuPictures_.SetDpi(dpi_);
  // Every card counts its lines again at the new size.
  for (int i = 0; i < notes_.Count(); ++i)
    notes_.Item(i)->SetLayout(0, notes_.Item(i)->LineCount());
  groupModeCache_ = -1;
  promptDays_ = -1;
  listBox_->InvalidateHeights();
  Arrange();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TNoteView::SetDpi(int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  ApplySettings();
}

// ---- Painting -------------------------------------------------------------------------------

std::u16string TNoteView::TimeLabel(double date, bool prompt) {
  if (!prompt) {
    const int mode = EffectiveGroupMode();
    if (mode == kGroupMonth) return FormatDateTime(u"ddd, d", date);
    if (mode == kGroupYear) return FormatDateTime(u"mmm", date);
  }
  return FormatDateTime(timeFormat_, date);
}

std::u16string TNoteView::HeaderText(double date, bool prompt) {
  const double day = std::floor(date);
  if (!prompt) {
    const int mode = EffectiveGroupMode();
    if (mode == kGroupMonth) {
      return FormatDateTime(u"mmmm", day) + u" " + FormatDateTime(u"yyyy", day);
    }
    if (mode == kGroupYear) return FormatDateTime(u"yyyy", day);
  }
  return FormatDateTime(host_.DateFormat(), day);
}

std::u16string TNoteView::PromptText() {
  if (promptDays_ < 0 && notes_.Owner()) promptDays_ = DaysWithNotes(*notes_.Owner(), 4);
  std::u16string key = options_.singleClickCreate ? u"lSClNewNote" : u"lClNewNote";
  if (promptDays_ > 3) key += u"S";
  return FillPlaceholder(host_.Text(u"FMAIN", key), host_.NewNoteShortcut());
}

TCardContent TNoteView::CardFor(int index, bool selected) {
  TCardContent card;
  card.index = index;
  card.selected = selected;
  if (index == 0) {
    card.body = PromptText();
    const double now = Now();
    card.timeLabel = TimeLabel(now, true);
    card.headerText = HeaderText(now, true);
    return card;
  }
  TNoteItem* note = NoteAt(index);
  if (!note) return card;
  card.lines = note->LineCount();
  card.headerVisible = note->headerVisible;
  card.groupEnd = note->groupEnd;
  card.due = note->Reminder().IsDue();
  card.reminderActive = note->Reminder().IsPending();
  card.completed = note->Completed();
  card.hasLinks = note->LinkCount() > 0;
  if (options_.showSubject) {
    if (!Trim(note->Subject()).empty()) card.subject = ForCard(note->Subject());
  }
  card.body = ForCard(note->DisplayText());
  card.timeLabel = TimeLabel(note->Created(), false);
  if (card.headerVisible) card.headerText = HeaderText(note->Created(), false);
  return card;
}

void TNoteView::DrawItem(HDC dc, int index, const RECT& bounds, bool selected) {
  const TCardFonts fonts{textFont_.Get(), boldFont_.Get(), labelFont_.Get(), headerFont_.Get()};
  TCardPainter painter(scheme_, metrics_, fonts);
  painter.PaintCard(dc, bounds.right, bounds.bottom, CardFor(index, selected));
}

void TNoteView::PaintEditing(HDC dc, const RECT& client) {
  const int y = EditAreaTop(metrics_);
  const int s = hasSubject_ ? metrics_.subjectHeight : 0;
  const int w = client.right;
  const int h = client.bottom;
  TCardPainter::Fill(dc, client, scheme_.NoteBk0);
  TCardPainter::Fill(dc, RECT{metrics_.Px(46), y, w, y + s}, scheme_.NoteBk0);
  TCardPainter::Fill(dc, RECT{metrics_.Px(46), y + s, metrics_.Px(50), h}, scheme_.NoteBk0);
  const TCardFonts fonts{textFont_.Get(), boldFont_.Get(), labelFont_.Get(), headerFont_.Get()};
  TCardPainter painter(scheme_, metrics_, fonts);
  TLeftColumn column;
  column.odd = true;
  column.kind = TColumnKind::kEditedNote;
  if (currentNote_) {
    column.completed = currentNote_->Completed();
    column.reminderActive = currentNote_->Reminder().IsPending();
    column.timeLabel = FormatDateTime(timeFormat_, currentNote_->Created());
  }
  painter.PaintLeftColumn(dc, RECT{0, y, w, h}, column);
  painter.PaintHeaderBand(dc, RECT{0, 3 * metrics_.lineHeight + metrics_.headerHeight, w, y},
                          host_.Text(u"FMAIN", u"lEditNote"));
  if (s > 0) TCardPainter::Fill(dc, RECT{metrics_.Px(50), s + y, w, s + y + 1}, scheme_.InfoBk1);
}

void TNoteView::Arrange() {
  RECT client;
  GetClientRect(Handle(), &client);
  const TViewArrangement a =
      ArrangeView(client.right, client.bottom, metrics_, editing_, hasSubject_);
  const auto place = [](HWND window, const TRect& r) {
    MoveWindow(window, r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()), TRUE);
  };
  place(listBox_->Handle(), a.listBox);
  if (editing_) {
    place(memo_->Handle(), a.memo);
    if (subjEdit_) place(subjEdit_->Handle(), a.subject);
    saveButton_->SetBounds(a.saveButton.left, a.saveButton.top, a.saveButton.Width(),
                           a.saveButton.Height());
  }
}

// ---- Editing --------------------------------------------------------------------------------

void TNoteView::BeginEdit(int itemIndex) {
  if (editing_) EndEdit(true);
  EnsureEditors();
  if (GetCapture() == listBox_->Handle()) ReleaseCapture();
  HideHint();
  editing_ = true;
  TNoteItem* note = nullptr;
  if (itemIndex > 0) {
    note = NoteAt(itemIndex);
    if (!note) {
      editing_ = false;
      return;
    }
    memo_->SetTag(itemIndex - 1);
  } else {
    note = notes_.Insert(0);
    memo_->SetTag(0);
  }
  currentNote_ = note;
  // Font, margins and size first, the text last: the edit control wraps
  // its text again for every change of these, and a long note wrapped in
  // a control still a few pixels wide takes it seconds.
  memo_->SetFont(textFont_.Get());
  if (subjEdit_) subjEdit_->SetFonts(textFont_.Get(), boldFont_.Get());
  SetEditorMargins();
  Rebuild(1);
  Arrange();
  memo_->SetText(itemIndex > 0 ? note->Text() : std::u16string());
  if (subjEdit_) {
    ShowWindow(subjEdit_->Handle(), SW_SHOW);
    subjEdit_->SetText(note->Subject());
    SendMessageW(subjEdit_->Handle(), EM_SETSEL, 0, 0);
    SetFocus(subjEdit_->Handle());
  }
  listBox_->SetTabStop(false);
  ShowWindow(memo_->Handle(), SW_SHOW);
  ShowWindow(saveButton_->Handle(), SW_SHOW);
  SetFocus(memo_->Handle());
  // Writing goes on where the note ends.
  const LPARAM end = GetWindowTextLengthW(memo_->Handle());
  SendMessageW(memo_->Handle(), EM_SETSEL, end, end);
  SendMessageW(memo_->Handle(), EM_SCROLLCARET, 0, 0);
  oldText_ = memo_->Text();
  oldSubject_ = subjEdit_ ? subjEdit_->Text() : std::u16string();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TNoteView::EndEdit(bool keepOpen) {
  if (!editing_) return;
  // The note being edited is looked up again: the list may have changed
  // under the editor (a capture, a filter), and the remembered position
  // would then name another note.
  int position = currentNote_ ? notes_.IndexOf(currentNote_) : -1;
  if (position < 0) position = memo_->Tag();
  const std::u16string subject = subjEdit_ ? subjEdit_->Text() : std::u16string();
  if (position >= 0 && position < notes_.VisibleCount()) {
    const bool deleted = StoreEdit(notes_, position, memo_->Text(), subjEdit_ ? &subject : nullptr);
    if (deleted) currentNote_ = nullptr;
  }
  editing_ = false;
  if (keepOpen) return;
  ShowWindow(saveButton_->Handle(), SW_HIDE);
  listBox_->SetTabStop(true);
  const bool hadFocus = IsChild(Handle(), GetFocus()) || GetFocus() == Handle();
  Arrange();
  notes_.NotifyViews();
  ShowWindow(memo_->Handle(), SW_HIDE);
  if (hadFocus) SetFocus(listBox_->Handle());
  host_.NotesChanged(notes_);
  if (subjEdit_) ShowWindow(subjEdit_->Handle(), SW_HIDE);
  InvalidateRect(Handle(), nullptr, TRUE);
}

bool TNoteView::EditorKey(wchar_t ch, bool shift) {
  if (!editing_) return false;
  if (ch == VK_ESCAPE) {
    if (shift) {
      memo_->SetText(oldText_);
      if (subjEdit_) subjEdit_->SetText(oldSubject_);
    }
    EndEdit(false);
    return true;
  }
  if (ch == 18) {  // Ctrl+R
    if (currentNote_ && host_.CanEditReminders()) EditReminder(*currentNote_);
    return true;
  }
  return false;
}

// ---- Commands -------------------------------------------------------------------------------

void TNoteView::DeleteSelectedConfirm() {
  const std::vector<int> positions = SelectedPositions();
  if (positions.empty()) return;
  const int count = static_cast<int>(positions.size());
  const std::u16string question = count > 1
                                      ? FillNumber(host_.Text(u"FMAIN", u"mDeleteNotes"), count)
                                      : host_.Text(u"FMAIN", u"mDeleteNote");
  if (!host_.ConfirmDelete(question, count > 1 ? u"DeleteNotesMsg" : u"DeleteNoteMsg")) return;
  DeleteSelected();
}

int TNoteView::DeleteSelected() {
  const std::vector<int> positions = SelectedPositions();
  if (positions.empty()) return 0;
  const int first = positions.front();
  currentNote_ = nullptr;
  const int deleted = DeleteNotes(notes_, positions);
  if (deleted > 0) {
    // The note that took the first deleted one's place carries on.
    SelectIndex(std::min(first + 1, listBox_->Count() - 1));
    ListSelected();
    host_.NotesChanged(notes_);
  }
  return deleted;
}

void TNoteView::MoveSelectedToTop() {
  const std::vector<int> positions = SelectedPositions();
  if (MoveToTop(notes_, positions) == 0) return;
  listBox_->ClearSelection();
  currentNote_ = nullptr;
  SelectIndex(1);
  ListSelected();
  host_.NotesChanged(notes_);
}

int TNoteView::MoveSelectedTo(TNotesList& target) {
  if (&target == &notes_) return 0;
  if (editing_) EndEdit(false);
  currentNote_ = nullptr;
  const int moved = MoveTo(notes_, SelectedPositions(), target);
  if (moved > 0) host_.NotesChanged(notes_);
  return moved;
}

std::u16string TNoteView::SelectedText(int mode, bool allNotes) {
  return noteview::SelectedText(notes_, SelectedPositions(), mode, allNotes);
}

bool TNoteView::CopySelected() {
  const std::u16string text = SelectedText(0, false);
  if (Trim(text).empty()) return false;
  if (!OpenClipboard(Handle())) return false;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    if (void* target = GlobalLock(memory)) {
      std::copy(text.begin(), text.end(), static_cast<wchar_t*>(target));
      static_cast<wchar_t*>(target)[text.size()] = L'\0';
      GlobalUnlock(memory);
      if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    } else {
      GlobalFree(memory);
    }
  }
  CloseClipboard();
  return true;
}

int TNoteView::ToggleCompleted() {
  if (!currentNote_) return 0;
  const int changed = noteview::ToggleCompleted(notes_, currentNote_, SelectedPositions());
  InvalidateRect(listBox_->Handle(), nullptr, FALSE);
  InvalidateRect(Handle(), nullptr, FALSE);
  return changed;
}

bool TNoteView::EditReminder(TNoteItem& note) {
  if (!host_.CanEditReminders()) return false;
  if (editing_ && currentNote_ == &note) {
    note.SetText(memo_->Text());
    if (subjEdit_) note.SetSubject(subjEdit_->Text());
  }
  TReminderTask& reminder = note.Reminder();
  const bool wasActive = reminder.Active();
  reminder.SetActive(true);
  const bool ok = host_.EditReminder(notes_, note);
  if (ok) {
    if (editing_ && currentNote_ == &note) {
      memo_->SetText(note.Text());
      if (subjEdit_) subjEdit_->SetText(note.Subject());
    }
  } else {
    reminder.SetActive(wasActive);
  }
  if (note.Text().empty()) note.SetText(u"N/A");
  InvalidateRect(listBox_->Handle(), nullptr, FALSE);
  InvalidateRect(Handle(), nullptr, FALSE);
  return ok;
}

void TNoteView::OpenReminderFor(TNoteItem* note) {
  if (note && host_.CanEditReminders() && notes_.Contains(note)) EditReminder(*note);
}

void TNoteView::ShowLinksMenu(int x, int y, TNoteItem& note) {
  if (linksMenu_) DestroyMenu(linksMenu_);
  linksMenu_ = CreatePopupMenu();
  note.LinkCount();
  const std::vector<std::u16string> links = note.Links();
  for (size_t i = 0; i < links.size(); ++i) {
    // A menu caption treats "&" as an accelerator mark; a link shows as is.
    std::wstring caption;
    for (char16_t c : links[i]) {
      if (c == u'&') caption.push_back(L'&');
      caption.push_back(static_cast<wchar_t>(c));
    }
    AppendMenuW(linksMenu_, MF_STRING, kLinkBase + static_cast<UINT>(i), caption.c_str());
  }
  const UINT chosen = TrackPopupMenu(linksMenu_, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, x,
                                     y, 0, Handle(), nullptr);
  if (chosen < kLinkBase || chosen - kLinkBase >= links.size()) return;
  if (listBox_->ItemIndex() < 1) return;
  const std::wstring link = platform::win::WideString(links[chosen - kLinkBase]);
  // The shell's answer is not ours to report: a link it cannot open does
  // nothing.
  ShellExecuteW(nullptr, L"open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TNoteView::Print() {
  if (host_.CanPrint()) host_.Print(*this, false, false);
}

void TNoteView::PrintWithDialog() {
  if (host_.CanPrint()) host_.Print(*this, true, true);
}

// ---- Context menu ---------------------------------------------------------------------------

HMENU TNoteView::PrepareContextMenu(bool ctrlHeld) {
  const bool withDialog = ctrlHeld || options_.advPrint;
  std::u16string caption = host_.Text(u"FMAIN", u"ePrintNote");
  if (withDialog) caption += u"...";
  const int printTag = withDialog ? kTagPrintDialog : kTagPrint;
  const int position = GetMenuItemCount(menu_) - 1;
  const std::wstring wide = platform::win::WideString(caption);
  ModifyMenuW(menu_, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING, kMenuBase + printTag,
              wide.c_str());
  menuPictures_.Set(menu_, kMenuBase + printTag, L"MENU_PRINT");  // under its new id
  // The prompt item may be selected too; only notes count.
  const bool single = SelectedPositions().size() == 1;
  const auto enable = [this](int tag, bool on) {
    EnableMenuItem(menu_, kMenuBase + tag, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  };
  enable(kTagEdit, single);
  enable(kTagReminder, single && host_.CanEditReminders());
  enable(printTag, host_.CanPrint());
  return menu_;
}

void TNoteView::ContextMenu(POINT screen, bool fromKeyboard) {
  HideHint();
  int item = listBox_->ItemIndex();
  if (!fromKeyboard) {
    POINT p = screen;
    ScreenToClient(listBox_->Handle(), &p);
    item = listBox_->ItemAt(p);
  } else if (item >= 0) {
    const RECT r = listBox_->ItemRect(item);
    screen = POINT{r.left + metrics_.Px(60), r.top + metrics_.Px(10)};
    ClientToScreen(listBox_->Handle(), &screen);
  }
  if (item < 0) return;
  if (!listBox_->IsSelected(item)) listBox_->ClearSelection();
  SetFocus(listBox_->Handle());
  listBox_->SetItemIndex(item);
  listBox_->SetSelected(item, true);
  ListSelected();
  if (listBox_->ItemIndex() < 1) return;
  const HMENU menu = PrepareContextMenu(KeyHeld(VK_CONTROL));
  const UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, screen.x,
                                     screen.y, 0, Handle(), nullptr);
  if (chosen > kMenuBase) RunMenuCommand(static_cast<int>(chosen - kMenuBase));
}

void TNoteView::RunMenuCommand(int tag) {
  const int index = listBox_->ItemIndex();
  if (index < 1) return;
  switch (tag) {
    case kTagMoveTop:
      MoveSelectedToTop();
      break;
    case kTagDelete:
      DeleteSelectedConfirm();
      break;
    case kTagPrint:
      host_.Print(*this, false, false);
      break;
    case kTagCopy:
      CopySelected();
      break;
    case kTagReminder:
      OpenReminderFor(NoteAt(index));
      break;
    case kTagEdit:
      BeginEdit(index);
      break;
    case kTagPrintDialog:
      host_.Print(*this, true, false);
      break;
    default:
      break;
  }
}

// ---- Keyboard and mouse ---------------------------------------------------------------------

void TNoteView::ListSelected() {
  if (!editing_) currentNote_ = NoteAt(listBox_->ItemIndex());
}

bool TNoteView::ListKeyDown(WPARAM key) {
  const bool ctrl = KeyHeld(VK_CONTROL);
  switch (key) {
    case VK_SPACE:
      ToggleCompleted();
      return true;
    case VK_DELETE:
      if (listBox_->ItemIndex() >= 1) DeleteSelectedConfirm();
      return true;
    case VK_UP:
      if (!ctrl) return false;
      MoveSelectedToTop();
      return true;
    case 'C':
      if (!ctrl || listBox_->ItemIndex() < 1) return false;
      CopySelected();
      return true;
    case 'R':
      if (!ctrl || listBox_->ItemIndex() < 1 || SelectedPositions().size() != 1) return false;
      OpenReminderFor(NoteAt(listBox_->ItemIndex()));
      return true;
    case VK_APPS:
      return false;
    default:
      return false;
  }
}

bool TNoteView::ListChar(WPARAM ch) {
  switch (ch) {
    case VK_RETURN:
      BeginEdit(listBox_->ItemIndex());
      return true;
    case VK_ESCAPE:
      host_.EscapeFromList();
      return true;
    default:
      return true;  // no beeps for typing in the list
  }
}

int TNoteView::HitTest(POINT p, TNoteItem** note) const {
  THitItem item;
  item.singleClickCreate = options_.singleClickCreate;
  TNoteItem* hit = nullptr;
  if (editing_) {
    RECT client;
    GetClientRect(Handle(), &client);
    item.editing = true;
    item.bounds = TRect{0, EditAreaTop(metrics_), client.right, client.bottom};
    hit = currentNote_;
    item.hasNote = hit != nullptr;
  } else {
    const int index = listBox_->ItemAt(p);
    if (index < 0) {
      if (note) *note = nullptr;
      return kZoneNone;
    }
    const RECT r = listBox_->ItemRect(index);
    item.bounds = TRect{r.left, r.top, r.right, r.bottom};
    item.isPrompt = index == 0;
    hit = NoteAt(index);
    item.hasNote = hit != nullptr;
    item.headerVisible = index == 0 || (hit && hit->headerVisible);
    item.groupEnd = hit && hit->groupEnd;
    item.hasLinks = hit && hit->LinkCount() > 0;
  }
  if (note) *note = hit;
  return HitZone(item, p.x, p.y, metrics_);
}

void TNoteView::MouseDown(POINT p) {
  TNoteItem* note = nullptr;
  switch (HitTest(p, &note)) {
    case kZoneReminder:
      if (note && host_.CanEditReminders()) Defer([this, note] { OpenReminderFor(note); });
      break;
    case kZoneLink:
      if (note) {
        Defer([this, note] {
          if (!notes_.Contains(note)) return;
          POINT at;
          GetCursorPos(&at);
          ShowLinksMenu(at.x, at.y, *note);
        });
      }
      break;
    case kZoneCompletion:
      if (note) {
        note->SetCompleted(!note->Completed());
        InvalidateRect(listBox_->Handle(), nullptr, FALSE);
        InvalidateRect(Handle(), nullptr, FALSE);
      }
      break;
    case kZoneNewNote:
      BeginEdit(listBox_->ItemIndex());
      FocusView();
      break;
    default:
      break;
  }
}

void TNoteView::MouseUp(POINT p) {
  if (HitTest(p, nullptr) == kZoneNewNote) FocusView();
}

void TNoteView::DoubleClick(POINT p) {
  if (HitTest(p, nullptr) == kZoneNone && !editing_) BeginEdit(listBox_->ItemIndex());
}

std::u16string TNoteView::HintFor(int zone, TNoteItem* note) const {
  if (!note) return {};
  switch (zone) {
    case kZoneReminder:
      if (note->Reminder().IsPending()) {
        return FillPlaceholder(host_.Text(u"FMAIN", u"lReminderActive"),
                               note->Reminder().Description());
      }
      return host_.Text(u"FMAIN", u"lNoReminder");
    case kZoneCompletion:
      return host_.Text(u"FMAIN", note->Completed() ? u"lCompleted" : u"lClickCompl");
    case kZoneTime:
      return FormatDateTime(host_.DateFormat(), note->Created()) + u"\r\n" +
             FormatDateTime(u"tt", note->Created());
    default:
      return {};
  }
}

void TNoteView::MouseMove(POINT p, HWND over) {
  TNoteItem* note = nullptr;
  const int zone = HitTest(p, &note);
  const bool hand = zone >= kZoneReminder && zone <= kZoneNewNote;
  SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(hand ? IDC_HAND : IDC_ARROW)));
  const std::u16string text = HintFor(zone, note);
  if (text.empty()) {
    HideHint();
    return;
  }
  if (text == hintText_) return;
  EnsureHint();
  hintText_ = text;
  const std::wstring wide = platform::win::WideString(text);
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = Handle();
  tool.uId = 1;
  tool.lpszText = const_cast<wchar_t*>(wide.c_str());
  SendMessageW(hint_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  POINT screen = p;
  ClientToScreen(over, &screen);
  SendMessageW(hint_, TTM_TRACKPOSITION, 0,
               MAKELPARAM(screen.x + metrics_.Px(12), screen.y + metrics_.Px(18)));
  SendMessageW(hint_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void TNoteView::HideHint() {
  if (!hint_ || hintText_.empty()) return;
  hintText_.clear();
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = Handle();
  tool.uId = 1;
  SendMessageW(hint_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

// ---- Deferred calls -------------------------------------------------------------------------

void TNoteView::Defer(std::function<void()> call) {
  deferred_.push_back(std::move(call));
  if (!deferPosted_ && Handle()) {
    deferPosted_ = true;
    PostMessageW(Handle(), kDeferredMessage, 0, 0);
  }
}

void TNoteView::RunDeferred() {
  deferPosted_ = false;
  std::vector<std::function<void()>> calls;
  calls.swap(deferred_);
  for (auto& call : calls) call();
}

// ---- Messages -------------------------------------------------------------------------------

LRESULT TNoteView::ColorEdit(HDC dc, HWND edit) {
  SetBkColor(dc, scheme_.NoteBk0);
  const bool subject = subjEdit_ && edit == subjEdit_->Handle();
  SetTextColor(dc, subject ? subjEdit_->CurrentColor() : scheme_.NoteFr0);
  return reinterpret_cast<LRESULT>(editBrush_.Get());
}

LRESULT TNoteView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      ui::PaintDoubleBuffered(Handle(), [this](HDC dc, const RECT& client) {
        if (editing_)
          PaintEditing(dc, client);
        else
          TCardPainter::Fill(dc, client, scheme_.NoteBk1);
      });
      return 0;
    case WM_SIZE:
      Arrange();
      return 0;
    case WM_SETFOCUS:
      FocusView();
      return 0;
    case WM_CTLCOLOREDIT:
      return ColorEdit(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_MEASUREITEM:  // the context menu's pictures
      if (menuPictures_.Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (menuPictures_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE && memo_ &&
          reinterpret_cast<HWND>(lParam) == memo_->Handle()) {
        memo_->TextChanged();
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
      if (editing_) MouseDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_MOUSEMOVE: {
      MouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, Handle());
      TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
      TrackMouseEvent(&track);
      return 0;
    }
    case WM_MOUSELEAVE:
      HideHint();
      return 0;
    case WM_SETCURSOR:
      // The cursor is set on every move by the zone under the pointer.
      if (LOWORD(lParam) == HTCLIENT && (reinterpret_cast<HWND>(wParam) == Handle() ||
                                         reinterpret_cast<HWND>(wParam) == listBox_->Handle()))
        return TRUE;
      break;
    case kDeferredMessage:
      RunDeferred();
      return 0;
    default:
      break;
  }
  return DefaultHandler(message, wParam, lParam);
}

// ---- Factory --------------------------------------------------------------------------------

std::unique_ptr<INoteView> TNoteViewFactory::CreateView(TNotesList& list) {
  if (!list.Owner() || list.Owner()->Lightweight()) return nullptr;
  auto view = std::make_unique<TNoteView>(parent_, instance_, list, host_);
  return view;
}

}  // namespace vellumio::noteview

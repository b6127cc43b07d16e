#include "reminders/ReminderAlert_win.h"

#include <windowsx.h>

#include "base/DateFormat.h"
#include "config/Loader.h"
#include "noteview/NoteGlyphs_win.h"
#include "reminders/ReminderFire_win.h"
#include "reminders/ReminderHost_win.h"
#include "reminders/ReminderScan.h"
#include "reminders/ReminderTask.h"
#include "reminders/SoundPlayer_win.h"
#include "store/NoteItem.h"

namespace vellumio::reminders {

namespace {

using ui::TControlKind;

enum : int {
  kOkId = 1001,
  kSnoozeId,
  kDownId,
  kSettingsId,
  kLinksId,
  kMenuBase = 2000,  // + tag 1 ... 10
  kDisableId = 2100,
};

constexpr int kPictureLeft = 20, kPictureTop = 20, kPictureSize = 32;

ui::TFormSpec AlertForm() { return {u"fReminder", u"", 438, 237}; }

std::vector<ui::TControlSpec> AlertControls() {
  return {
      {u"m1", TControlKind::kEdit, u"", 76, 16, 349, 177,
       WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0,
       0, u"", L"EDIT"},
      {u"SpeedButton1", TControlKind::kButton, u"", 403, 171, 20, 20, BS_BITMAP | BS_FLAT,
       kLinksId},
      {u"__bOk", TControlKind::kDefaultButton, u"-Ok-", 16, 200, 81, 25, 0, kOkId},
      {u"_bRemind5min", TControlKind::kButton, u"Remind in 5 min.", 104, 200, 133, 25, 0,
       kSnoozeId},
      {u"bDn", TControlKind::kButton, u"6", 236, 200, 21, 25, 0, kDownId},
      {u"_bReminderSet", TControlKind::kButton, u"Reminder Settings...", 292, 200, 133, 25, 0,
       kSettingsId},
  };
}

struct TSnoozeItem {
  const char16_t* name;
  const char16_t* caption;
  int tag;  // 0: a separator before the next item
};

constexpr TSnoozeItem kSnoozeItems[] = {
    {u"bRemind5min1", u"[bRemind5min]", 1},     {u"bRemind30min1", u"[bRemind30min]", 2},
    {u"bRemind3hour1", u"[bRemind3hour]", 3},   {u"bRemind6hour1", u"[bRemind6hour]", 4},
    {nullptr, nullptr, 0},
    {u"bRemind1day1", u"[bRemind1day]", 5},     {u"bRemind3days1", u"[bRemind3day]", 6},
    {u"bRemind1week1", u"[bRemind1week]", 7},   {nullptr, nullptr, 0},
    {u"bRemind1month1", u"[bRemind1month]", 8}, {u"bRemind3month1", u"[bRemind3month]", 9},
    {u"bRemind6month1", u"[bRemind6month]", 10}, {nullptr, nullptr, 0},
};

HBITMAP LoadPicture(const wchar_t* name) {
  return static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

}  // namespace

int ShowReminder(IReminderHost& host, TNoteItem& note) {
  TfReminder alert(host);
  return alert.ShowFor(note);
}

TfReminder::TfReminder(IReminderHost& host) : ui::TForm(AlertForm(), AlertControls()), host_(host) {
  snoozeMenu_ = std::make_unique<ui::TMenuComponent>(u"DropDownMenu", CreatePopupMenu(), true);
  for (const TSnoozeItem& item : kSnoozeItems) {
    if (item.tag == 0)
      snoozeMenu_->AddSeparator();
    else
      snoozeMenu_->AddItem(item.name, kMenuBase + item.tag, item.caption);
  }
  snoozeMenu_->AddItem(u"bRemindDisable1", kDisableId, u"[bRemindDisable]");
  AddComponent(snoozeMenu_.get());
  bell_ = LoadPicture(L"ALERT_BELL_32");
  stop_ = LoadPicture(L"ALERT_STOP_32");
}

TfReminder::~TfReminder() {
  for (HBITMAP bitmap : {bell_, stop_, links_})
    if (bitmap) DeleteObject(bitmap);
}

HMENU TfReminder::SnoozeMenu() const { return snoozeMenu_->Menu(); }

std::u16string TfReminder::CaptionFor(double nextTime) {
  return u"Vellumio - " + GetText(u"fReminder", u"lCaption") + u" [" +
         FormatDateTime(u"c", nextTime) + u"]";
}

std::u16string TfReminder::MemoText(const TNoteItem& note, bool showSubject) {
  // The edit control breaks lines only at CR LF.
  std::u16string text;
  for (char16_t c : note.Text()) {
    if (c == u'\n' && (text.empty() || text.back() != u'\r')) text += u'\r';
    text += c;
  }
  if (showSubject && !note.Subject().empty()) return note.Subject() + u"\r\n\r\n" + text;
  return text;
}

int TfReminder::ShowFor(TNoteItem& note) {
  result_ = kAlertNone;
  snoozeTag_ = 0;
  if (host_.IsModal()) return result_;
  TModalBracket modal(host_);
  if (!host_.Ready()) return result_;
  noteUid_ = note.GetUID();
  Create();
  Translate();
  Fill(note);
  if (TNoteItem* current = CurrentNote()) FireReminder(current->Reminder(), host_.Player(), Handle());
  if (CurrentNote()) ShowModal();
  if (TSoundPlayer* player = host_.Player()) player->Stop();
  // The answer applies only to a note that still exists.
  if (TNoteItem* current = CurrentNote()) ApplyAlertResult(current->Reminder(), result_, snoozeTag_);
  return result_;
}

TNoteItem* TfReminder::CurrentNote() {
  return TReminderScan::FindNote(host_.Database(), noteUid_);
}

void TfReminder::Fill(TNoteItem& note) {
  At(u"m1").SetText(MemoText(note, host_.ShowSubject()));
  SetCaption(CaptionFor(note.Reminder().NextTime()));
  At(u"SpeedButton1").SetVisible(note.LinkCount() > 0);
  CenterOnScreen();
  host_.BringNoteToFront(note);
}

void TfReminder::OnShown() {
  SetForegroundWindow(Handle());
  SetFocus(At(u"__bOk").Handle());
}

void TfReminder::OnDpiApplied() {
  symbols_.Apply(*this, At(u"bDn").Handle());
  At(u"bDn").SetText(symbols_.Text(TSymbol::kDownArrow));
  if (links_) DeleteObject(links_);
  links_ = noteview::MakeButtonGlyph(L"BMP_URLA", Scale(16), RGB(0, 90, 200), Dpi());
  SendMessageW(At(u"SpeedButton1").Handle(), BM_SETIMAGE, IMAGE_BITMAP,
               reinterpret_cast<LPARAM>(links_));
  // Above the memo it lies on.
  SetWindowPos(At(u"SpeedButton1").Handle(), HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

RECT TfReminder::PictureRect() const {
  return RECT{Scale(kPictureLeft), Scale(kPictureTop), Scale(kPictureLeft + kPictureSize),
              Scale(kPictureTop + kPictureSize)};
}

void TfReminder::OnPaint(HDC dc) {
  HBITMAP picture = stopShown_ && stop_ ? stop_ : bell_;
  if (!picture) return;
  BITMAP info{};
  GetObjectW(picture, sizeof(info), &info);
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, picture);
  const RECT r = PictureRect();
  // White is the pictures' transparent colour, as for the other glyphs.
  TransparentBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source, 0, 0,
                 info.bmWidth, info.bmHeight, RGB(255, 255, 255));
  SelectObject(source, old);
  DeleteDC(source);
}

bool TfReminder::SoundPlaying() const {
  const TSoundPlayer* player = host_.Player();
  return player && !player->IsStopped();
}

bool TfReminder::OverPicture(POINT p) const {
  const RECT r = PictureRect();
  return PtInRect(&r, p) != FALSE;
}

void TfReminder::MouseMoved(POINT p) {
  const bool show = OverPicture(p) && SoundPlaying();
  if (show != stopShown_) {
    stopShown_ = show;
    const RECT r = PictureRect();
    InvalidateRect(Handle(), &r, TRUE);
  }
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
  TrackMouseEvent(&track);
}

LRESULT TfReminder::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      MouseMoved(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      break;
    case WM_MOUSELEAVE:
      MouseMoved(POINT{-1, -1});
      break;
    case WM_LBUTTONDOWN:
      if (stopShown_ && host_.Player()) {
        host_.Player()->Stop();
        MouseMoved(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      }
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == At(u"SpeedButton1").Handle()) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      if (reinterpret_cast<HWND>(wParam) == Handle() && LOWORD(lParam) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(Handle(), &p);
        if (OverPicture(p) && SoundPlaying()) {
          SetCursor(LoadCursorW(nullptr, IDC_HAND));
          return TRUE;
        }
      }
      break;
    default:
      break;
  }
  return ui::TForm::HandleMessage(message, wParam, lParam);
}

bool TfReminder::OnCommand(int id, int notifyCode, HWND control) {
  if (id > kMenuBase && id <= kMenuBase + kSnoozeTagLast) {
    snoozeTag_ = id - kMenuBase;
    result_ = kAlertSnooze;
    EndModal(result_);
    return true;
  }
  switch (id) {
    case kOkId:
      result_ = kAlertOk;
      EndModal(result_);
      return true;
    case kSnoozeId:
      result_ = kAlertSnooze;
      EndModal(result_);
      return true;
    case kDisableId:
      result_ = kAlertDisabled;
      EndModal(result_);
      return true;
    case kDownId:
      ShowSnoozeMenu();
      return true;
    case kSettingsId:
      EditReminder();
      return true;
    case kLinksId:
      ShowLinks();
      return true;
    default:
      return false;
  }
}

void TfReminder::ShowSnoozeMenu() {
  RECT button;
  GetWindowRect(At(u"bDn").Handle(), &button);
  // The menu's right edge at the button's bottom-right corner.
  const UINT command =
      TrackPopupMenu(SnoozeMenu(), TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                     button.right, button.bottom, 0, Handle(), nullptr);
  if (command) OnCommand(static_cast<int>(command), 0, nullptr);
}

void TfReminder::EditReminder() {
  TNoteItem* note = CurrentNote();
  if (note && host_.EditReminder(*note, Handle())) result_ = kAlertEdited;
  if (!CurrentNote()) EndModal(result_);  // deleted meanwhile: nothing left to answer
}

void TfReminder::ShowLinks() {
  TNoteItem* note = CurrentNote();
  if (!note) return;
  POINT at;
  GetCursorPos(&at);
  host_.ShowLinksMenu(*note, at);
}

}  // namespace vellumio::reminders

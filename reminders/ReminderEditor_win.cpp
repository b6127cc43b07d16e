#include "reminders/ReminderEditor_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "base/Clock.h"
#include "base/DateTime.h"
#include "base/DateFormat.h"
#include "base/TextUtil.h"
#include "config/Loader.h"
#include "platform/Platform.h"
#include "platform/Win32Text_win.h"
#include "reminders/ReminderHost_win.h"
#include "reminders/ReminderTask.h"
#include "reminders/SoundPlayer_win.h"
#include "store/NoteItem.h"
#include "ui/FileDialogs_win.h"

namespace vellumio::reminders {

namespace {

using platform::win::W;
using platform::win::WideString;
using ui::TControlKind;

enum : int {
  kActiveId = 1101,
  kNowId,
  kKindId,
  kIntervalId,
  kUnitId,
  kRunId,
  kBrowseProgramId,
  kSoundId,
  kBrowseSoundId,
  kPlayId,
  kRepeatId,
  kActionId,
  kLoadDefaultId,
  kSaveDefaultId,
  kWeekdaysId,
  kDateId,
  kTimeId,
};

constexpr int kRowShift = 32;  // from the subject row to the next-time row
constexpr int kButtonGap = 18;
constexpr int kListGap = 10;
constexpr int kKindWidth = 125, kPreviewWidth = 297;

ui::TFormSpec EditorForm() { return {u"fRemind", u"[lCaption]", 454, 462}; }

std::vector<ui::TControlSpec> EditorControls() {
  const DWORD edit = WS_TABSTOP | ES_AUTOHSCROLL;
  return {
      {u"c1", TControlKind::kCheckBox, u"[cActive]", 16, 16, 400, 17, 0, kActiveId},
      {u"xg1", TControlKind::kGroupBox, u"[gReminder]", 14, 48, 425, 234},
      {u"lRemStart", TControlKind::kWrapLabel, u"[lRemStart]", 26, 75, 100, 28},
      {u"e2", TControlKind::kEdit, u"", 130, 72, 100, 22, WS_TABSTOP | DTS_SHORTDATEFORMAT, kDateId,
       0, u"", DATETIMEPICK_CLASSW},
      {u"e1", TControlKind::kEdit, u"", 234, 72, 100, 22, WS_TABSTOP | DTS_TIMEFORMAT | DTS_UPDOWN,
       kTimeId, 0, u"", DATETIMEPICK_CLASSW},
      {u"b3", TControlKind::kButton, u"[bNow]", 340, 71, 87, 24, 0, kNowId},
      {u"lRemind", TControlKind::kWrapLabel, u"[lRemind]", 26, 107, 100, 28},
      {u"e4", TControlKind::kComboBox, u"", 130, 104, kKindWidth, 200, 0, kKindId},
      {u"e5", TControlKind::kEdit, u"1", 261, 104, 36, 22, edit | ES_NUMBER, kIntervalId, 0, u"",
       L"EDIT"},
      {u"e5spin", TControlKind::kPanel, u"", 297, 104, 16, 22,
       UDS_SETBUDDYINT | UDS_NOTHOUSANDS | UDS_ARROWKEYS, 0, 0, u"", UPDOWN_CLASSW},
      {u"e6", TControlKind::kComboBox, u"", 317, 104, 110, 200, 0, kUnitId},
      {u"cl1", TControlKind::kEdit, u"", 285, 104, 142, 60,
       WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
       kWeekdaysId, 0, u"", WC_LISTVIEWW},
      {u"lNextReminder", TControlKind::kWrapLabel, u"[lNextReminder]", 26, 139, 100, 28},
      {u"es1", TControlKind::kEdit, u"", 130, 140, kPreviewWidth, 22, edit | ES_READONLY, 0, 0, u"",
       L"EDIT"},
      {u"lNoteSubj", TControlKind::kWrapLabel, u"[lNoteSubj]", 26, 175, 100, 28},
      {u"es2", TControlKind::kEdit, u"", 130, 172, 297, 22, edit, 0, 0, u"", L"EDIT"},
      {u"lNoteText", TControlKind::kWrapLabel, u"[lNoteText]", 26, 207, 100, 28},
      {u"e7", TControlKind::kEdit, u"", 130, 204, 297, 66,
       WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0, 0, u"",
       L"EDIT"},
      {u"xg2", TControlKind::kGroupBox, u"[gAdditional]", 14, 292, 425, 109},
      {u"c8", TControlKind::kCheckBox, u"[cRunApp]", 26, 314, 150, 17, 0, kRunId},
      {u"e8", TControlKind::kEdit, u"", 180, 312, 149, 22},
      {u"b8", TControlKind::kButton, u"[.bBrowse]", 335, 311, 92, 24, 0, kBrowseProgramId},
      {u"c9", TControlKind::kCheckBox, u"[cPlaySound]", 26, 342, 150, 17, 0, kSoundId},
      {u"e9", TControlKind::kEdit, u"", 180, 340, 119, 22},
      {u"fb1", TControlKind::kButton, u"8", 303, 340, 26, 22, 0, kPlayId},
      {u"b9", TControlKind::kButton, u"[.bBrowse]", 335, 339, 92, 24, 0, kBrowseSoundId},
      {u"c10", TControlKind::kCheckBox, u"[cRepeat]", 26, 370, 400, 17, 0, kRepeatId},
      {u"ba", TControlKind::kButton, u"[bAction]", 14, 419, 150, 25, 0, kActionId},
      {u"b5", TControlKind::kDefaultButton, u"[.bOk]", 270, 419, 75, 25, 0, 0, IDOK},
      {u"b4", TControlKind::kButton, u"[.bCancel]", 352, 419, 75, 25, 0, 0, IDCANCEL},
  };
}

// The controls inside the two group boxes (tag 1): enabled only while the
// reminder is.
constexpr const char16_t* kTagged[] = {
    u"xg1", u"lRemStart", u"e2",  u"e1",  u"b3",  u"lRemind", u"e4", u"e5", u"e5spin",
    u"e6",  u"cl1",       u"lNextReminder", u"es1", u"lNoteSubj", u"es2", u"lNoteText",
    u"e7",  u"xg2",       u"c8",  u"e8",  u"b8",  u"c9",      u"e9", u"fb1", u"b9",  u"c10",
};
// What moves up with the actions group when the subject row goes.
constexpr const char16_t* kBelowSubject[] = {u"xg2", u"c8", u"e8", u"b8", u"c9",
                                             u"e9",  u"fb1", u"b9", u"c10"};

constexpr const char16_t* kKinds[] = {u"lRepOnce", u"lRepOnceIn", u"lRepEvery", u"lRepDaily"};
constexpr const char16_t* kUnits[] = {u"lRepMinutes", u"lRepHours",   u"lRepDays",
                                      u"lRepWeeks",   u"lRepMonthes", u"lRepYears"};

SYSTEMTIME ToSystemTime(double t) {
  const DateParts d = DecodeDate(t);
  const TimeParts h = DecodeTime(t);
  SYSTEMTIME s{};
  s.wYear = WORD(d.year);
  s.wMonth = WORD(d.month);
  s.wDay = WORD(d.day);
  s.wHour = WORD(h.hour);
  s.wMinute = WORD(h.minute);
  s.wSecond = WORD(h.second);
  return s;
}

double FromSystemTime(const SYSTEMTIME& s) {
  return EncodeDateTime(s.wYear, s.wMonth, s.wDay, s.wHour, s.wMinute, s.wSecond);
}

std::u16string LocaleText(LCTYPE type) {
  wchar_t text[80] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 80);
  return platform::win::FromWide(text);
}

// The locale's name of a day in the reminder's numbering (Sunday 1).
std::u16string DayName(int day) {
  // LOCALE_SDAYNAME1 is Monday ... LOCALE_SDAYNAME7 Sunday.
  return LocaleText(day == 1 ? LOCALE_SDAYNAME7 : LOCALE_SDAYNAME1 + (day - 2));
}

std::u16string Ansi(const std::string& text) { return platform::FromAnsi(text); }

// The locale's first day of the week, 0 Monday ... 6 Sunday.
int LocaleFirstDayOfWeek() { return ParseFirstDayOfWeek(LocaleText(LOCALE_IFIRSTDAYOFWEEK)); }

}  // namespace

TfRemind::TfRemind(IReminderHost& host) : ui::TForm(EditorForm(), EditorControls()), host_(host) {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_DATE_CLASSES | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&init);
  actionMenu_ = std::make_unique<ui::TMenuComponent>(u"acMenu", CreatePopupMenu(), true);
  actionMenu_->AddItem(u"eLoadDefault", kLoadDefaultId, u"[eLoadDefault]");
  actionMenu_->AddItem(u"eSaveAsDefault", kSaveDefaultId, u"[eSaveAsDefault]");
  AddComponent(actionMenu_.get());
  if (TSoundPlayer* player = host_.Player()) player->OnStopped = [this] { SoundStopped(); };
}

TfRemind::~TfRemind() {
  if (TSoundPlayer* player = host_.Player()) player->OnStopped = nullptr;
}

void TfRemind::OnDpiApplied() {
  symbols_.Apply(*this, At(u"fb1").Handle());
  HWND list = At(u"cl1").Handle();
  RECT client;
  GetClientRect(list, &client);
  ListView_SetColumnWidth(list, 0, client.right - GetSystemMetrics(SM_CXVSCROLL));
}

void TfRemind::Prepare(TNoteItem& note, HWND owner) {
  note_ = &note;
  Create(owner);
  Translate();
  HWND list = At(u"cl1").Handle();
  ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = Scale(140);
  ListView_InsertColumn(list, 0, &column);
  OnDpiApplied();
  SendMessageW(At(u"e5spin").Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(At(u"e5").Handle()),
               0);
  SendMessageW(At(u"e5spin").Handle(), UDM_SETRANGE32, 1, 999);
  SendMessageW(At(u"e5").Handle(), EM_LIMITTEXT, 3, 0);
  FillLists();
  ApplySubjectLayout(host_.ShowSubject());
  Load(note.Reminder(), true);
  CenterOnScreen();
}

bool TfRemind::Execute(TNoteItem& note, HWND owner) {
  TModalBracket modal(host_);
  // The sound test stops with the dialog, however it ends.
  struct TStopSound {
    TSoundPlayer* player;
    ~TStopSound() {
      if (player) player->Stop();
    }
  } stopSound{host_.Player()};
  Prepare(note, owner);
  const bool ok = ShowModal(owner) == IDOK;
  if (ok) Save(note.Reminder(), true);
  return ok;
}

void TfRemind::FillLists() {
  ui::TFormControl& kinds = At(u"e4");
  ui::TFormControl& units = At(u"e6");
  kinds.ClearItems();
  units.ClearItems();
  for (const char16_t* key : kKinds) kinds.AddItem(GetText(u"fRemind", key));
  for (const char16_t* key : kUnits) units.AddItem(GetText(u"fRemind", key));
}

void TfRemind::ApplySubjectLayout(bool showSubject) {
  const int bottomOfGroup2 = showSubject ? 401 : 401 - kRowShift;
  if (!showSubject) {
    At(u"lNoteSubj").SetVisible(false);
    At(u"es2").SetVisible(false);
    const ui::TControlSpec label = At(u"lNoteSubj").Spec(), edit = At(u"es2").Spec();
    const ui::TControlSpec& text = At(u"lNoteText").Spec();
    const ui::TControlSpec& memo = At(u"e7").Spec();
    const ui::TControlSpec& group = At(u"xg1").Spec();
    MoveControl(u"lNoteText", label.left, label.top, text.width, text.height);
    MoveControl(u"e7", edit.left, edit.top, memo.width, memo.height);
    MoveControl(u"xg1", group.left, group.top, group.width, group.height - kRowShift);
    for (const char16_t* name : kBelowSubject) {
      const ui::TControlSpec& spec = At(name).Spec();
      MoveControl(name, spec.left, spec.top - kRowShift, spec.width, spec.height);
    }
  }
  const int buttonsTop = bottomOfGroup2 + kButtonGap;
  for (const char16_t* name : {u"ba", u"b5", u"b4"}) {
    const ui::TControlSpec& spec = At(name).Spec();
    MoveControl(name, spec.left, buttonsTop, spec.width, spec.height);
  }
  SetClientSize(ClientWidth(), buttonsTop + At(u"b5").Spec().height + kButtonGap);
}

void TfRemind::FillWeekdays(const std::vector<TWeekdayItem>& days) {
  HWND list = At(u"cl1").Handle();
  ListView_DeleteAllItems(list);
  for (size_t i = 0; i < days.size(); ++i) {
    const std::wstring name = WideString(DayName(days[i].day));
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = int(i);
    item.pszText = const_cast<wchar_t*>(name.c_str());
    item.lParam = days[i].day;
    ListView_InsertItem(list, &item);
    ListView_SetCheckState(list, int(i), days[i].checked);
  }
}

TReminderEditorValues TfRemind::Values() const {
  TReminderEditorValues v;
  v.active = At(u"c1").Checked();
  SYSTEMTIME s{};
  DateTime_GetSystemtime(At(u"e2").Handle(), &s);
  v.startDate = FromSystemTime(s);
  DateTime_GetSystemtime(At(u"e1").Handle(), &s);
  v.startTime = FromSystemTime(s);
  v.kind = std::max(0, At(u"e4").Selected());
  // The spin control keeps the text within 1 ... 999 and digits only.
  v.interval = std::clamp(int(std::wcstol(W(At(u"e5").Text()), nullptr, 10)), 1, 999);
  v.unit = std::max(0, At(u"e6").Selected());
  v.runProgram = At(u"c8").Checked();
  v.programPath = platform::ToAnsi(At(u"e8").Text());
  v.playSound = At(u"c9").Checked();
  v.soundFile = platform::ToAnsi(At(u"e9").Text());
  v.repeatSound = At(u"c10").Checked();
  HWND list = At(u"cl1").Handle();
  for (int i = 0, n = ListView_GetItemCount(list); i < n; ++i) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    ListView_GetItem(list, &item);
    v.weekdays.push_back({int(item.lParam), ListView_GetCheckState(list, i) != 0});
  }
  return v;
}

void TfRemind::SetValues(const TReminderEditorValues& v) {
  loading_ = true;
  At(u"c1").SetChecked(v.active);
  SYSTEMTIME date = ToSystemTime(v.startDate), time = ToSystemTime(v.startTime);
  DateTime_SetSystemtime(At(u"e2").Handle(), GDT_VALID, &date);
  DateTime_SetSystemtime(At(u"e1").Handle(), GDT_VALID, &time);
  At(u"e4").SetSelected(v.kind);
  SendMessageW(At(u"e5spin").Handle(), UDM_SETPOS32, 0, std::clamp(v.interval, 1, 999));
  At(u"e6").SetSelected(v.unit);
  At(u"c8").SetChecked(v.runProgram);
  At(u"e8").SetText(Ansi(v.programPath));
  At(u"c9").SetChecked(v.playSound);
  // Where the reminder has no sound yet, the program's own is offered.
  At(u"e9").SetText(v.soundFile.empty() ? host_.ShippedSound() : Ansi(v.soundFile));
  At(u"c10").SetChecked(v.repeatSound);
  FillWeekdays(v.weekdays);
  loading_ = false;
  UpdateControls();
  UpdatePreview();
}

void TfRemind::Load(const TReminderTask& task, bool own) {
  TReminderEditorValues v = own ? TReminderEditorValues{} : Values();
  v.LoadFrom(task, LocaleFirstDayOfWeek(), own);
  SetValues(v);
  if (own && note_) {
    At(u"e7").SetText(note_->Text());
    At(u"es2").SetText(note_->Subject());
  }
}

void TfRemind::Save(TReminderTask& task, bool own) {
  TReminderEditorValues v = Values();
  if (note_) {
    note_->SetText(At(u"e7").Text());
    note_->SetSubject(At(u"es2").Text());
  }
  v.SaveTo(task, own);
}

void TfRemind::LoadDefault() { Load(host_.DefaultReminder(), false); }

void TfRemind::SaveAsDefault() { Save(host_.DefaultReminder(), false); }

void TfRemind::UpdateControls() {
  const bool active = At(u"c1").Checked();
  for (const char16_t* name : kTagged) EnableWindow(At(name).Handle(), active);
  const int kind = At(u"e4").Selected();
  const bool interval = kind == 1 || kind == 2;
  At(u"e5").SetVisible(interval);
  At(u"e5spin").SetVisible(interval);
  At(u"e6").SetVisible(interval);
  const bool daily = kind == 3;
  At(u"cl1").SetVisible(daily);
  const ui::TControlSpec& kinds = At(u"e4").Spec();
  const ui::TControlSpec& preview = At(u"es1").Spec();
  const int listLeft = At(u"cl1").Spec().left;
  MoveControl(u"e4", kinds.left, kinds.top, daily ? listLeft - kListGap - kinds.left : kKindWidth,
              kinds.height);
  MoveControl(u"es1", preview.left, preview.top,
              daily ? listLeft - kListGap - preview.left : kPreviewWidth, preview.height);
  const bool program = active && At(u"c8").Checked();
  EnableWindow(At(u"e8").Handle(), program);
  EnableWindow(At(u"b8").Handle(), program);
  const bool sound = active && At(u"c9").Checked();
  for (const char16_t* name : {u"e9", u"b9", u"fb1", u"c10"}) EnableWindow(At(name).Handle(), sound);
  const TSoundPlayer* player = host_.Player();
  At(u"fb1").SetText(symbols_.Text(player && player->IsPlaying() ? TSymbol::kStop : TSymbol::kPlay));
}

void TfRemind::UpdatePreview() {
  if (loading_) return;
  const double next = Values().PreviewTime();
  At(u"es1").SetText(next == 0 ? GetText(u"fRemind", u"mNoReminder") : FormatDateTime(u"c", next));
}

void TfRemind::TestSound() {
  TSoundPlayer* player = host_.Player();
  if (!player) return;
  if (player->IsPlaying()) {
    player->Stop();
  } else {
    player->Loop = At(u"c10").Checked();
    player->Play(At(u"e9").Text());
  }
  UpdateControls();
}

void TfRemind::SoundStopped() {
  if (Handle()) At(u"fb1").SetText(symbols_.Text(TSymbol::kPlay));
}

void TfRemind::Browse(const char16_t* editName, bool sound) {
  ui::TFormControl& edit = At(editName);
  const std::u16string typed = edit.Text();
  const std::u16string format =
      sound ? u"%s (*.wav;*.mid;*.mp3;*.wma)|*.wav;*.mid;*.mp3;*.wma|%s|*.*"
            : u"%s (*.bat;*.cmd;*.exe;*.com)|*.bat;*.cmd;*.exe;*.com|%s|*.*";
  const std::u16string first = GetText(u"", sound ? u".lWaveFiles" : u".lProgramFiles");
  const std::u16string filter =
      FillPlaceholder(FillPlaceholder(format, first), GetText(u"", u".lAllFiles"));
  ui::TFileDialogOptions options;
  options.owner = Handle();
  options.initialFolder = platform::ExtractFileDir(typed);
  if (platform::FileExists(typed)) options.fileName = typed;
  options.filter = WideString(filter);
  if (auto chosen = ui::ShowOpenDialog(options)) edit.SetText(*chosen);
}

void TfRemind::ShowActionMenu() {
  RECT button;
  GetWindowRect(At(u"ba").Handle(), &button);
  const UINT command = TrackPopupMenu(actionMenu_->Menu(), TPM_RETURNCMD | TPM_NONOTIFY,
                                      button.left, button.bottom, 0, Handle(), nullptr);
  if (command) OnCommand(int(command), 0, nullptr);
}

bool TfRemind::OnCommand(int id, int notifyCode, HWND control) {
  switch (id) {
    case kActiveId:
    case kRunId:
    case kSoundId:
    case kRepeatId:
      UpdateControls();
      return true;
    case kKindId:
      if (notifyCode != CBN_SELCHANGE) return false;
      UpdateControls();
      UpdatePreview();
      return true;
    case kUnitId:
      if (notifyCode == CBN_SELCHANGE) UpdatePreview();
      return notifyCode == CBN_SELCHANGE;
    case kIntervalId:
      if (notifyCode == EN_CHANGE) UpdatePreview();
      return notifyCode == EN_CHANGE;
    case kNowId: {
      loading_ = true;
      SYSTEMTIME now = ToSystemTime(Now());
      DateTime_SetSystemtime(At(u"e2").Handle(), GDT_VALID, &now);
      DateTime_SetSystemtime(At(u"e1").Handle(), GDT_VALID, &now);
      loading_ = false;
      UpdatePreview();
      return true;
    }
    case kBrowseProgramId:
      Browse(u"e8", false);
      return true;
    case kBrowseSoundId:
      Browse(u"e9", true);
      return true;
    case kPlayId:
      TestSound();
      return true;
    case kActionId:
      ShowActionMenu();
      return true;
    case kLoadDefaultId:
      LoadDefault();
      return true;
    case kSaveDefaultId:
      SaveAsDefault();
      return true;
    default:
      return false;
  }
}

bool TfRemind::OnKeyPreview(const MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == 'L' && (GetKeyState(VK_CONTROL) & 0x8000)) {
    LoadDefault();
    return true;
  }
  return ui::TForm::OnKeyPreview(msg);
}

LRESULT TfRemind::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code == DTN_DATETIMECHANGE ||
        (header->code == LVN_ITEMCHANGED && header->idFrom == UINT_PTR(kWeekdaysId)))
      UpdatePreview();
  }
  return ui::TForm::HandleMessage(message, wParam, lParam);
}

}  // namespace vellumio::reminders

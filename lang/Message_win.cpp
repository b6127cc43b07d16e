#include "lang/Message_win.h"

#include <algorithm>
#include <memory>

#include "config/Loader.h"
#include "platform/Win32Text_win.h"
#include "ui/PlaceNear_win.h"

namespace vellumio {

using platform::win::W;
using ui::TControlKind;

namespace {

constexpr int kClientWidth = 381, kClientHeight = 135;
constexpr int kMessageTop = 12, kMessageWidth = 297, kMessageHeight = 73;
constexpr int kNoDefaultAnswer = -1;
const std::u16string kAnswerValue = u"DefaultAnswer";

// The ids of the program's questions with a check box, and the language
// dialog's. In the registry erasing "Dialogs" removes their keys with it;
// the portable settings file has no nesting, so there each section goes
// by name.
const char16_t* const kRememberedIds[] = {
    u"DeleteNoteMsg", u"DeleteNotesMsg", u"DeleteListMsg", u"ExitFailMsg",
    u"NewerAvailMsg", u"FileExistsMsg",  u"fSelectLang",
};

ui::TFormSpec MessageForm() { return {u"uMsg", u"", kClientWidth, kClientHeight}; }

std::vector<ui::TControlSpec> MessageControls() {
  return {
      {u"lMsg", TControlKind::kWrapLabel, u"", 72, kMessageTop, kMessageWidth, kMessageHeight},
      {u"b1", TControlKind::kDefaultButton, u"", 208, 96, 75, 25, 0, 0, kMsgYes},
      {u"b2", TControlKind::kButton, u"", 292, 96, 75, 25, 0, 0, kMsgCancel},
      {u"cShowAg", TControlKind::kCheckBox, u"[.cDoNotShow]", 16, 100, 189, 17},
  };
}

// Opened on the application object's settings; none without it.
std::unique_ptr<TSettingsIni> OpenSettings() {
  TLoader* loader = Loader();
  return loader ? loader->ConfStore().OpenIni() : nullptr;
}

int ReadAnswer(const std::u16string& msgId) {
  std::unique_ptr<TSettingsIni> ini = OpenSettings();
  return ini ? ini->ReadInteger(TuMsg::AnswerSection(msgId), kAnswerValue, kNoDefaultAnswer)
             : kNoDefaultAnswer;
}

void WriteAnswer(const std::u16string& msgId, int answer) {
  std::unique_ptr<TSettingsIni> ini = OpenSettings();
  if (!ini) return;
  ini->WriteInteger(TuMsg::AnswerSection(msgId), kAnswerValue, answer);
  ini->UpdateFile();
}

void PlayIconSound(LPCWSTR iconId) {
  if (iconId == IDI_EXCLAMATION) {
    MessageBeep(MB_ICONASTERISK);
  } else if (iconId == IDI_QUESTION) {
    MessageBeep(MB_ICONQUESTION);
  }
}

void BringApplicationToFront() {
  const HWND application = ui::ApplicationWindow();
  if (application && IsWindow(application) && GetForegroundWindow() != application)
    SetForegroundWindow(application);
}

// The loader's modal state for the life of the box, left on every path.
class TModalBracket {
public:
  TModalBracket() : loader_(Loader()) {
    if (loader_) loader_->BeginModal();
  }
  ~TModalBracket() {
    if (loader_) loader_->EndModal(false);
  }
  TModalBracket(const TModalBracket&) = delete;
  TModalBracket& operator=(const TModalBracket&) = delete;

private:
  TLoader* loader_;
};

std::u16string GlobalText(std::u16string_view key) { return GetText(u"", key); }

}  // namespace

TuMsg::TuMsg(LPCWSTR iconId)
    : TForm(MessageForm(), MessageControls()), icon_(LoadIconW(nullptr, iconId)), iconId_(iconId) {}

std::u16string TuMsg::AnswerSection(const std::u16string& msgId) { return u"Dialogs\\" + msgId; }

int TuMsg::ShowMsg(LPCWSTR iconId, const std::u16string& caption, const std::u16string& text,
                   const std::u16string& msgId, HWND owner, bool okOnly, bool showCheckBox) {
  TuMsg box(iconId);
  const HWND modalOwner = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  box.Create(modalOwner);
  box.Translate();
  TModalBracket modal;
  box.At(u"cShowAg").SetVisible(showCheckBox);
  box.SetButtons(okOnly);
  box.SetCaption(caption);
  box.SetMessage(text);
  // Placed once its size is final: a long text makes it taller.
  if (owner) {
    ui::PlaceNear(box.Handle(), owner);
  } else {
    box.CenterOnScreen();
  }
  int defaultAnswer = ReadAnswer(msgId);
  if (!showCheckBox) defaultAnswer = kNoDefaultAnswer;  // only offered boxes remember
  PlayIconSound(iconId);
  if (defaultAnswer != kNoDefaultAnswer) return kMsgYes;
  BringApplicationToFront();
  const int result = box.ShowModal(modalOwner);
  if (result != kMsgCancel) {
    const int answer = box.At(u"cShowAg").Checked() ? result : kNoDefaultAnswer;
    if (result == kMsgYes) WriteAnswer(msgId, answer);
  }
  return result;
}

void TuMsg::EnableAllMessages() {
  std::unique_ptr<TSettingsIni> ini = OpenSettings();
  if (!ini) return;
  ini->EraseSection(u"Dialogs");
  for (const char16_t* id : kRememberedIds) ini->EraseSection(AnswerSection(id));
  ini->UpdateFile();
}

void TuMsg::SetButtons(bool okOnly) {
  ui::TFormControl& b1 = At(u"b1");
  ui::TFormControl& b2 = At(u"b2");
  if (okOnly) {
    b1.SetText(GlobalText(u".bOk"));
    const ui::TControlSpec& right = b2.Spec();
    MoveControl(u"b1", right.left, right.top, right.width, right.height);
    b2.SetVisible(false);
  } else {
    b1.SetText(GlobalText(u".bYes"));
    b2.SetText(GlobalText(u".bNo"));
  }
}

int TuMsg::MessageHeight(const std::u16string& text) const {
  const HWND label = At(u"lMsg").Handle();
  const HDC dc = GetDC(label);
  const HGDIOBJ old = SelectObject(dc, Font());
  RECT r{0, 0, Scale(kMessageWidth), 0};
  // The flags of a static control with SS_EDITCONTROL and SS_NOPREFIX.
  DrawTextW(dc, W(text), -1, &r,
            DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  return r.bottom - r.top;
}

void TuMsg::SetMessage(const std::u16string& text) {
  At(u"lMsg").SetText(text);
  const int needed = MessageHeight(text);
  if (needed <= Scale(kMessageHeight)) return;
  // In design pixels, rounded up, and no taller than the screen allows.
  int extra = MulDiv(needed - Scale(kMessageHeight), 96, Dpi()) + 1;
  const int screen = MulDiv(GetSystemMetrics(SM_CYSCREEN), 96, Dpi());
  if (kClientHeight + extra > screen - 80) extra = std::max(0, screen - 80 - kClientHeight);
  MoveControl(u"lMsg", 72, kMessageTop, kMessageWidth, kMessageHeight + extra);
  for (const char16_t* name : {u"b1", u"b2", u"cShowAg"}) {
    const ui::TControlSpec s = At(name).Spec();
    MoveControl(name, s.left, s.top + extra, s.width, s.height);
  }
  SetClientSize(kClientWidth, kClientHeight + extra);
}

void TuMsg::OnPaint(HDC dc) {
  if (icon_) DrawIcon(dc, Scale(15), Scale(15), icon_);
}

void TuMsg::OnShown() { SetForegroundWindow(Handle()); }

}  // namespace vellumio

// The reminder windows under Wine: the alert (texts, snooze menu, answers,
// a note deleted while it waits), the editor's layout and enabled states,
// and the sound player with a real .wav file through MCI.
#include <windows.h>

#include <mmsystem.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "base/Clock.h"
#include "base/DateTime.h"
#include "reminders/AlertResult.h"
#include "reminders/ReminderAlert_win.h"
#include "reminders/ReminderEditor_win.h"
#include "reminders/ReminderHost_win.h"
#include "reminders/SoundPlayer_win.h"
#include "store/NoteItem.h"
#include "store/NoteListCollection.h"
#include "store/NotesList.h"
#include "tests/win/UiTestSupport.h"

namespace vellumio {
namespace {

using reminders::TfReminder;
using reminders::TfRemind;
using reminders::TSoundPlayer;
using test::ClientRectOf;
using test::TFormAnswerer;

constexpr double kMinute = 1.0 / 1440;

class TTestHost final : public reminders::IReminderHost {
public:
  TTestHost(TLoader& loader, TSoundPlayer* player) : loader_(loader), player_(player) {}
  bool IsModal() const override { return loader_.IsModal(); }
  void BeginModal() override { loader_.BeginModal(); }
  void EndModal() override { loader_.EndModal(true); }
  bool Ready() const override { return ready; }
  bool ShowSubject() const override { return showSubject; }
  TNoteListCollection& Database() override { return loader_.Database(); }
  TSoundPlayer* Player() override { return player_; }
  void BringNoteToFront(TNoteItem&) override { ++broughtToFront; }
  bool EditReminder(TNoteItem&, HWND owner) override {
    editorOwner = owner;
    return editorAnswer;
  }
  void ShowLinksMenu(TNoteItem&, POINT) override {}
  TReminderTask& DefaultReminder() override { return defaults; }
  std::u16string ShippedSound() const override { return u"C:\\shipped.wav"; }

  bool ready = true;
  bool showSubject = true;
  int broughtToFront = 0;
  bool editorAnswer = false;
  HWND editorOwner = nullptr;
  TReminderTask defaults{true};

private:
  TLoader& loader_;
  TSoundPlayer* player_;
};

// A 16-bit mono PCM file of `seconds` of a quiet tone.
void WriteWave(const std::string& path, double seconds) {
  const uint32_t rate = 8000, count = uint32_t(rate * seconds);
  std::ofstream out(path, std::ios::binary);
  const auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  const auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  out.write("RIFF", 4);
  u32(36 + count * 2);
  out.write("WAVEfmt ", 8);
  u32(16);
  u16(1);
  u16(1);
  u32(rate);
  u32(rate * 2);
  u16(2);
  u16(16);
  out.write("data", 4);
  u32(count * 2);
  for (uint32_t i = 0; i < count; ++i) u16(uint16_t(int16_t(2000 * std::sin(i * 0.3))));
}

void PumpFor(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  while (GetTickCount() < end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(20);
  }
}

class ReminderWin : public test::TUiFixture {
protected:
  ReminderWin() {
    CopyShippedLanguage("english.lng");
    StartLoader();
  }

  TNoteItem& DueNote(int list = 0) {
    TNoteItem* note = loader->Database().List(list)->Insert(0);
    note->SetSubject(u"Call back");
    note->SetText(u"About the offer");
    note->Reminder().SetStartTime(Now() - kMinute);
    note->Reminder().SetNextTime(Now() - kMinute);
    note->Reminder().SetActive(true);
    return *note;
  }

  TSoundPlayer player{GetModuleHandleW(nullptr)};
};

TEST_F(ReminderWin, AlertShowsTheNoteAndEscapeSnoozesFiveMinutes) {
  TTestHost host(*loader, &player);
  TNoteItem& note = DueNote();
  const double due = note.Reminder().NextTime();
  std::u16string caption, memo, menuFirst, menuMonth, menuLast, arrow;
  int menuCount = 0;
  bool linksVisible = true;
  TFormAnswerer answerer([&](ui::TForm& form) {
    auto& alert = static_cast<TfReminder&>(form);
    caption = alert.Caption();
    memo = alert.At(u"m1").Text();
    arrow = alert.At(u"bDn").Text();
    linksVisible = alert.At(u"SpeedButton1").Visible();
    menuCount = GetMenuItemCount(alert.SnoozeMenu());
    menuFirst = ui::MenuItemText(alert.SnoozeMenu(), 0, true);
    menuMonth = ui::MenuItemText(alert.SnoozeMenu(), 9, true);
    menuLast = ui::MenuItemText(alert.SnoozeMenu(), menuCount - 1, true);
    test::PressKey(alert, u"__bOk", VK_ESCAPE);
  });
  const double before = Now();
  // Esc sets no answer of its own; no answer snoozes.
  EXPECT_EQ(reminders::ShowReminder(host, note), kAlertNone);
  EXPECT_EQ(caption, TfReminder::CaptionFor(due));
  EXPECT_EQ(caption.rfind(u"Vellumio - Reminder [", 0), 0u);
  EXPECT_EQ(memo, u"Call back\r\n\r\nAbout the offer");
  EXPECT_TRUE(arrow == u"6" || arrow == u"\u25BC");  // Marlett's arrow, or Unicode's without it
  EXPECT_FALSE(linksVisible);
  EXPECT_EQ(menuCount, 14);  // ten snoozes, three separators, switch off
  EXPECT_EQ(menuFirst, u"Remind in 5 min.");
  EXPECT_EQ(menuMonth, u"In 1 month");
  EXPECT_EQ(menuLast, u"Turn Off This Reminder");
  EXPECT_EQ(host.broughtToFront, 1);
  EXPECT_TRUE(note.Reminder().Active());
  EXPECT_NEAR(note.Reminder().NextTime(), before + 5 * kMinute, 2.0 / 86400);
  EXPECT_EQ(window.calls.back(), "end+refresh");
  EXPECT_FALSE(loader->IsModal());
}

TEST_F(ReminderWin, MenuChoicesAndNoAlertWhileModalOrNotReady) {
  TTestHost host(*loader, &player);
  TNoteItem& note = DueNote();
  host.showSubject = false;
  std::u16string memo;
  {
    TFormAnswerer answerer([&](ui::TForm& form) {
      auto& alert = static_cast<TfReminder&>(form);
      memo = alert.At(u"m1").Text();
      const HMENU menu = alert.SnoozeMenu();
      PostMessageW(alert.Handle(), WM_COMMAND, GetMenuItemID(menu, GetMenuItemCount(menu) - 1), 0);
    });
    EXPECT_EQ(reminders::ShowReminder(host, note), kAlertDisabled);
  }
  EXPECT_EQ(memo, u"About the offer");
  EXPECT_FALSE(note.Reminder().Active());

  note.Reminder().SetActive(true);
  loader->BeginModal();
  EXPECT_EQ(reminders::ShowReminder(host, note), kAlertNone);  // shows nothing, touches nothing
  loader->EndModal(false);
  host.ready = false;
  EXPECT_EQ(reminders::ShowReminder(host, note), kAlertNone);
  EXPECT_FALSE(loader->IsModal());
  EXPECT_TRUE(note.Reminder().Active());
  EXPECT_EQ(host.broughtToFront, 1);
}

TEST_F(ReminderWin, ANoteDeletedWithItsListWhileTheAlertWaitsIsLeftAlone) {
  TTestHost host(*loader, &player);
  loader->Database().AddList();
  TNoteItem& note = DueNote(1);
  TNoteItem& survivor = DueNote(0);
  const double survivorDue = survivor.Reminder().NextTime();
  TFormAnswerer answerer([&](ui::TForm& form) {
    loader->Database().DeleteList(1);  // the note goes with its list
    test::Click(form, u"__bOk");
  });
  EXPECT_EQ(reminders::ShowReminder(host, note), kAlertOk);
  EXPECT_EQ(loader->Database().ListCount(), 1);
  EXPECT_EQ(survivor.Reminder().NextTime(), survivorDue);  // the answer went nowhere else
  EXPECT_FALSE(loader->IsModal());
}

TEST_F(ReminderWin, AGoneProgramIsReportedAGoneSoundBeepsAndTheNextReminderStillComes) {
  TTestHost host(*loader, &player);
  TNoteItem& broken = DueNote();
  broken.Reminder().SetRunProgram(true);
  broken.Reminder().SetProgramPath("C:\\gone\\tool.exe");
  broken.Reminder().SetPlaySound(true);
  broken.Reminder().SetSoundFile("C:\\gone\\bell.wav");
  std::vector<std::u16string> seen;
  TFormAnswerer answerer([&](ui::TForm& form) {
    seen.push_back(form.Caption());
    if (form.Name() == u"fReminder") {
      // "Reminder Settings..." with OK keeps the alert open; Esc then
      // leaves the editor's answer standing.
      test::Click(form, u"_bReminderSet");
      EXPECT_TRUE(IsWindowVisible(form.Handle()));
      test::PressKey(form, u"__bOk", VK_ESCAPE);
    } else {
      seen.push_back(form.At(u"lMsg").Text());
      test::Click(form, u"b1");
    }
  });
  host.editorAnswer = true;
  const double due = broken.Reminder().NextTime();
  EXPECT_EQ(reminders::ShowReminder(host, broken), kAlertEdited);
  ASSERT_EQ(seen.size(), 3u);  // the error box first, then the alert
  EXPECT_EQ(seen[0], u"Error");
  EXPECT_NE(seen[1].find(u"C:\\gone\\tool.exe"), std::u16string::npos);
  EXPECT_EQ(seen[2].rfind(u"Vellumio - ", 0), 0u);
  EXPECT_NE(host.editorOwner, nullptr);  // the alert owns the editor
  EXPECT_EQ(broken.Reminder().NextTime(), due);  // the editor's result stands
  EXPECT_TRUE(player.IsStopped());  // the gone sound only beeped

  broken.Reminder().SetActive(false);
  host.editorAnswer = false;
  TNoteItem& next = DueNote();
  const int before = answerer.FormsSeen();
  EXPECT_EQ(reminders::ShowReminder(host, next), kAlertNone);
  EXPECT_EQ(answerer.FormsSeen(), before + 1);
}

TEST_F(ReminderWin, EditorLayoutWithAndWithoutSubjects) {
  TTestHost host(*loader, &player);
  TNoteItem& note = DueNote();
  RECT withSubject{}, group2With{};
  int heightWith = 0;
  {
    TfRemind editor(host);
    editor.Prepare(note);
    EXPECT_TRUE(editor.At(u"es2").Visible());
    EXPECT_EQ(editor.At(u"es2").Text(), u"Call back");
    withSubject = ClientRectOf(editor.At(u"e7").Handle());
    group2With = ClientRectOf(editor.At(u"xg2").Handle());
    heightWith = editor.ClientHeight();
    EXPECT_EQ(heightWith, editor.At(u"b5").Spec().top + editor.At(u"b5").Spec().height + 18);
    EXPECT_EQ(editor.At(u"b5").Spec().top,
              editor.At(u"xg2").Spec().top + editor.At(u"xg2").Spec().height + 18);
  }
  host.showSubject = false;
  TfRemind editor(host);
  editor.Prepare(note);
  EXPECT_FALSE(editor.At(u"es2").Visible());
  EXPECT_FALSE(editor.At(u"lNoteSubj").Visible());
  const RECT memo = ClientRectOf(editor.At(u"e7").Handle());
  const int row = withSubject.top - memo.top;
  EXPECT_GT(row, 0);
  EXPECT_EQ(memo.top, ClientRectOf(editor.At(u"es2").Handle()).top);
  EXPECT_EQ(ClientRectOf(editor.At(u"xg2").Handle()).top, group2With.top - row);
  EXPECT_EQ(editor.ClientHeight(), heightWith - 32);
}

TEST_F(ReminderWin, EditorEnablingWeekdaysAndPreview) {
  TTestHost host(*loader, &player);
  TNoteItem& note = DueNote();
  TfRemind editor(host);
  editor.Prepare(note);
  EXPECT_EQ(editor.At(u"e9").Text(), u"C:\\shipped.wav");  // offered where none is set
  editor.At(u"c1").SetChecked(false);
  editor.UpdateControls();
  for (const char16_t* name : {u"e2", u"e1", u"b3", u"e4", u"es2", u"e7", u"c8", u"c9"})
    EXPECT_FALSE(IsWindowEnabled(editor.At(name).Handle()));
  for (const char16_t* name : {u"c1", u"b5", u"b4", u"ba"})
    EXPECT_TRUE(IsWindowEnabled(editor.At(name).Handle()));
  editor.At(u"c1").SetChecked(true);
  editor.At(u"c9").SetChecked(true);
  editor.UpdateControls();
  EXPECT_FALSE(IsWindowEnabled(editor.At(u"e8").Handle()));  // c8 unticked
  EXPECT_TRUE(IsWindowEnabled(editor.At(u"fb1").Handle()));

  // Daily: the weekday list shows and the kind list and preview end 10
  // pixels left of it; back to once, their widths come back.
  const auto width = [&](const char16_t* name) {
    const RECT r = ClientRectOf(editor.At(name).Handle());
    return r.right - r.left;
  };
  TReminderEditorValues values = editor.Values();
  values.kind = 3;
  editor.SetValues(values);
  EXPECT_TRUE(editor.At(u"cl1").Visible());
  EXPECT_FALSE(editor.At(u"e5").Visible());
  const int listLeft = ClientRectOf(editor.At(u"cl1").Handle()).left;
  EXPECT_EQ(ClientRectOf(editor.At(u"e4").Handle()).right, listLeft - 10);
  EXPECT_EQ(ClientRectOf(editor.At(u"es1").Handle()).right, listLeft - 10);
  ASSERT_EQ(editor.Values().weekdays.size(), 7u);
  values.kind = 1;
  editor.SetValues(values);
  EXPECT_FALSE(editor.At(u"cl1").Visible());
  EXPECT_TRUE(editor.At(u"e6").Visible());
  EXPECT_EQ(width(u"e4"), 125);
  EXPECT_EQ(width(u"es1"), 297);

  values.kind = 0;  // once, in the past: no next time
  values.startDate = values.startTime = Now() - 1;
  editor.SetValues(values);
  EXPECT_EQ(editor.At(u"es1").Text(), u"No reminder");
}

TEST_F(ReminderWin, SoundPlayerPlaysAWaveFileOnceOrInALoopUntilStopped) {
  // Without an output device MCI accepts "play" and never finishes; the
  // test environment gives Wine a silent one (tools/wine-null-audio.conf).
  if (waveOutGetNumDevs() == 0) GTEST_SKIP() << "no sound output device";
  const std::string wave = temp.Path("tone.wav").string();
  WriteWave(wave, 0.3);
  const std::u16string file = temp.U("tone.wav");
  int stops = 0;
  player.OnStopped = [&] { ++stops; };

  player.Play(temp.U("missing.wav"));  // the beep, nothing to stop
  EXPECT_TRUE(player.IsStopped());

  player.Loop = true;
  player.Play(file);
  ASSERT_FALSE(player.IsStopped()) << "MCI could not open the file";
  PumpFor(3000);  // several rounds of 0.3 s and the 1.1 s pause
  EXPECT_FALSE(player.IsStopped());
  EXPECT_EQ(stops, 0);
  player.Stop();
  EXPECT_TRUE(player.IsStopped());
  EXPECT_EQ(stops, 1);

  player.Loop = false;
  player.Play(file);
  PumpFor(2500);
  EXPECT_TRUE(player.IsStopped());
  EXPECT_EQ(stops, 2);
}

}  // namespace
}  // namespace vellumio

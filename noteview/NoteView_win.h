// The note view: the control that shows the notes of one list as cards and
// lets the user write, edit and act on them. Every list of the main
// database owns one (made through TNoteViewFactory); the main window shows
// the current list's view and hides the others.
//
// It is a composite control. The card list (TNoteListBox) covers it while
// the user browses; item 0 is the prompt for a new note, item i the note
// i - 1 of the list. While a note is edited the list shrinks to the prompt,
// the text editor and, when subjects are shown, the subject editor take
// the lower part, and the view paints the edited note's left column and
// header itself.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "noteview/NoteLayout.h"
#include "noteview/NotePainter_win.h"
#include "noteview/NoteViewHost.h"
#include "noteview/Scheme.h"
#include "store/NoteViewLink.h"
#include "ui/GdiHandles_win.h"
#include "ui/MenuPictures_win.h"
#include "ui/Window_win.h"

namespace vellumio::ui {
class TFlatButton;
}

namespace vellumio::noteview {

class TNoteListBox;
class TNoteMemo;
class TSubjectEdit;

// Tags of the context menu's items: the command each one runs.
enum TNoteMenuTag : int {
  kTagMoveTop = 1,
  kTagSeparator = 2,
  kTagDelete = 3,
  kTagPrint = 4,
  kTagCopy = 5,
  kTagReminder = 6,
  kTagEdit = 7,
  kTagPrintDialog = 8,
};

class TNoteView final : public ui::TWindow,
                        public INoteView,
                        public INoteViewControl,
                        public INoteMeasure {
public:
  TNoteView(HWND parent, HINSTANCE instance, TNotesList& notes, INoteViewHost& host);
  ~TNoteView() override;

  // INoteView: what the list tells its view.
  void NotesChanged() override;
  void CommitEdit() override;
  void SelectNote(TNoteItem& note) override;
  void SchemeChanged(const std::string& schemeFile) override;

  // INoteViewControl.
  TNotesList& Notes() const override { return notes_; }
  bool IsEditing() const override { return editing_; }
  void BeginEdit(int itemIndex) override;
  void EndEdit(bool keepOpen) override;
  int ItemIndex() const override;
  int ItemCount() const override;
  void SelectIndex(int index) override;
  std::u16string SelectedText(int mode, bool allNotes) override;
  int MoveSelectedTo(TNotesList& target) override;
  int DeleteSelected() override;

  // INoteMeasure: what a note needs to count its lines.
  int ClientWidth() const override;
  int LineHeight() const override { return metrics_.lineHeight; }
  int TextHeight(const std::u16string& text, int width, bool bold) const override;

  void Rebuild(int itemCount);
  void SetVisible(bool visible);
  // Focuses the editor while editing, else the card list.
  void FocusView();
  int EffectiveGroupMode();
  int ComputeGroupMode();
  void UpdateColors();
  void SaveSelection();
  void RestoreSelection();
  // Settings that change the look (font size, subjects, grouping) or a
  // new DPI: measures, fonts and every card's line count are redone.
  void ApplySettings();
  void SetDpi(int dpi);

  // Note commands.
  void DeleteSelectedConfirm();
  void MoveSelectedToTop();
  bool CopySelected();
  int ToggleCompleted();
  bool EditReminder(TNoteItem& note);
  void ShowLinksMenu(int x, int y, TNoteItem& note);
  void Print();
  void PrintWithDialog();

  // What tests and the main window look at.
  TNoteItem* CurrentNote() const { return currentNote_; }
  TNoteListBox& ListBox() const { return *listBox_; }
  HWND MemoHandle() const;
  HWND SubjectHandle() const;
  HWND SaveButtonHandle() const;
  HMENU LinksMenu() const { return linksMenu_; }
  const TScheme& Scheme() const { return scheme_; }
  const TViewMetrics& Metrics() const { return metrics_; }
  // The zone of a point in the card list's coordinates, and its note.
  int HitTest(POINT p, TNoteItem** note) const;
  // The context menu as it would pop up for the current selection (its
  // items enabled or not); TrackPopupMenu is left to the caller.
  HMENU PrepareContextMenu(bool ctrlHeld);
  void RunMenuCommand(int tag);
  // The text the hint shows for a zone of a note.
  std::u16string HintFor(int zone, TNoteItem* note) const;

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void CreateChildren(HINSTANCE instance);
  void EnsureEditors();
  void EnsureHint();
  void SetEditorMargins();
  void BuildMenu();
  void CreateFonts();
  void Arrange();
  void PaintEditing(HDC dc, const RECT& client);
  int MeasureItem(int index);
  void DrawItem(HDC dc, int index, const RECT& bounds, bool selected);
  TCardContent CardFor(int index, bool selected);
  std::u16string TimeLabel(double date, bool prompt);
  std::u16string HeaderText(double date, bool prompt);
  std::u16string PromptText();
  TNoteItem* NoteAt(int index) const;
  std::vector<int> SelectedPositions() const;

  // Events of the children.
  void ListSelected();
  bool ListKeyDown(WPARAM key);
  bool ListChar(WPARAM ch);
  void MouseDown(POINT p);
  void MouseUp(POINT p);
  void DoubleClick(POINT p);
  void MouseMove(POINT p, HWND over);
  void HideHint();
  void ContextMenu(POINT screen, bool fromKeyboard);
  bool EditorKey(wchar_t ch, bool shift);
  void OpenReminderFor(TNoteItem* note);
  LRESULT ColorEdit(HDC dc, HWND edit);

  // Runs a call after the current message has been handled.
  void Defer(std::function<void()> call);
  void RunDeferred();

  TNotesList& notes_;
  INoteViewHost& host_;
  TNoteViewOptions options_;
  TViewMetrics metrics_;
  int dpi_ = 96;
  TScheme scheme_;
  std::u16string timeFormat_;

  std::unique_ptr<TNoteListBox> listBox_;
  std::unique_ptr<TNoteMemo> memo_;
  std::unique_ptr<TSubjectEdit> subjEdit_;
  std::unique_ptr<ui::TFlatButton> saveButton_;
  HMENU menu_ = nullptr;
  ui::TMenuPictures menuPictures_;  // the context menu's, drawn by the view
  HMENU linksMenu_ = nullptr;
  HWND hint_ = nullptr;        // the zones' hints, shown at once at the pointer
  HWND buttonHint_ = nullptr;  // the save button's tooltip
  std::u16string hintText_;

  ui::TFont textFont_, boldFont_, labelFont_, headerFont_;
  ui::TBrush editBrush_;
  HDC measureDc_ = nullptr;

  TNoteItem* currentNote_ = nullptr;
  bool editing_ = false;
  bool hasSubject_ = true;
  std::u16string oldText_, oldSubject_;
  int groupModeCache_ = -1;
  int savedIndex_ = 0;
  int promptDays_ = -1;  // days with notes, counted up to 4; -1: not counted

  std::vector<std::function<void()>> deferred_;
  bool deferPosted_ = false;
};

// Gives every list of the main database its view, as a child of `parent`
// (the main window's back panel). Lists of backups and scratch databases
// get none.
class TNoteViewFactory final : public INoteViewFactory {
public:
  TNoteViewFactory(HWND parent, HINSTANCE instance, INoteViewHost& host)
      : parent_(parent), instance_(instance), host_(host) {}
  std::unique_ptr<INoteView> CreateView(TNotesList& list) override;

private:
  HWND parent_;
  HINSTANCE instance_;
  INoteViewHost& host_;
};

}  // namespace vellumio::noteview

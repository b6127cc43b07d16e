// TfLangEditor: the built-in translation tool. It lists every line of
// "english.lng" and lets a translator type the text of each key into
// another language file of the languages folder; each translation is
// written as soon as the translation box loses the focus. Its own texts
// are English and fixed: a translator may not read the language in use.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "lang/LangEditorModel.h"
#include "lang/LanguageFileEditor.h"
#include "ui/Form_win.h"
#include "ui/FormExtraControl_win.h"
#include "ui/GdiHandles_win.h"

namespace vellumio {

class TLangModule;

class TfLangEditor final : public ui::TForm {
public:
  // `languages`: the language module whose folder is edited (rescanned
  // after a file is created or deleted). `currentBuild`: put into ForBuild
  // by "Current Build".
  TfLangEditor(TLangModule& languages, int currentBuild);
  ~TfLangEditor() override;

  // Fills the list, opens the language in use and shows the editor
  // modally.
  void ShowEditor(HWND owner);

  // What the tests look at and do.
  HWND List() const { return list_ ? list_->Handle() : nullptr; }
  HWND EnglishMemo() const { return memo1_ ? memo1_->Handle() : nullptr; }
  HWND TranslationMemo() const { return memo2_ ? memo2_->Handle() : nullptr; }
  int SelectedRow() const;
  void SelectRow(int row);
  std::u16string Translation(int row) const;  // the second column
  void SelectLanguage(int index);
  // Writes the translation box to the target (what leaving it does).
  void StoreTranslation();
  void FindNext();
  void NextUnassigned(bool forward);
  void NewLanguage();

private:
  void CreateExtras();
  void ApplyListFont();
  void FillList();
  void FillLanguages(const std::u16string& selectFile);
  void LanguagePicked();
  void RowSelected();
  void SetCurrentBuild();
  void DeleteLanguage();
  void SetSecondColumn(int row, const std::u16string& text);
  void ShowRow(int row);
  void Report(const std::u16string& text) const;
  bool Ask(const std::u16string& text) const;

  bool OnCommand(int id, int notifyCode, HWND control) override;
  bool OnKeyPreview(const MSG& msg) override;
  void OnDpiApplied() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  TLangModule& languages_;
  int currentBuild_;
  std::vector<TEditorLine> lines_;
  std::vector<std::u16string> secondColumn_;
  std::unique_ptr<TLanguageFileEditor> target_;
  std::u16string currentSection_, currentKey_;
  bool writeFailureReported_ = false;
  std::unique_ptr<ui::TFormExtraControl> list_, memo1_, memo2_;
  ui::TFont listFont_;
};

}  // namespace vellumio

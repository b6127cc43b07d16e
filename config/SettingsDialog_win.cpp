#include "config/SettingsDialog_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <array>

#include "base/Utf8.h"
#include "config/ConfStore.h"
#include "config/DBRestoreDialog_win.h"
#include "config/HotKeysDialog_win.h"
#include "config/Loader.h"
#include "config/MoveDatabase.h"
#include "lang/Message_win.h"
#include "platform/Platform.h"
#include "platform/Win32Text_win.h"
#include "store/NoteViewLink.h"
#include "store/NotesList.h"
#include "ui/FileDialogs_win.h"
#include "ui/PlaceNear_win.h"

namespace vellumio {

using platform::win::W;
using ui::TControlKind;

namespace {

constexpr int kPageCount = 3;
// The pages' client area in the form, below the tab strip (design pixels).
constexpr int kTabsLeft = 12, kTabsTop = 12, kTabsWidth = 457, kTabsHeight = 349;
constexpr int kPageLeft = kTabsLeft + 4, kPageTop = kTabsTop + 26;
constexpr int kPageWidth = kTabsWidth - 8;
constexpr int kTabsId = 401, kSpinId = 402;

const std::u16string kSection = u"FSETTINGS";

struct TPlaced {
  const char16_t* name;
  int page;
  int tag;  // 2: dock-line options, 91: database file choice
};

// Every control of a page, with its page and tag; the buttons at the
// bottom belong to no page (-1).
constexpr TPlaced kPlaced[] = {
    {u"c1", 0, 0},       {u"c2", 0, 0},       {u"c8", 0, 0},        {u"c21", 0, 0},
    {u"b21", 0, 0},      {u"XPPanel1", 0, 0}, {u"XPLabel4", 0, 0},  {u"XPButton2", 0, 0},
    {u"c25", 0, 0},      {u"l18", 0, 0},      {u"lcb", 0, 0},       {u"lscb", 1, 0},
    {u"scb", 1, 0},      {u"lc3", 1, 0},      {u"c3", 1, 0},        {u"lc22", 1, 0},
    {u"c22", 1, 0},      {u"c7", 1, 0},       {u"c9", 1, 0},        {u"c10", 1, 0},
    {u"c6", 1, 0},       {u"c5", 1, 0},       {u"l4", 1, 2},        {u"c4", 1, 2},
    {u"c11", 1, 2},      {u"e11", 1, 2},      {u"l11", 1, 2},       {u"Label1", 2, 91},
    {u"e20", 2, 91},     {u"Button3", 2, 91}, {u"XPButton5", 2, 91}, {u"XPButton4", 2, 91},
    {u"linfo", 2, 0},    {u"XPButton1", 2, 0}, {u"XPButton3", 2, 0}, {u"Button4", 2, 0},
};

ui::TControlSpec OnPage(ui::TControlSpec spec) {
  spec.left += kPageLeft;
  spec.top += kPageTop;
  return spec;
}

ui::TFormSpec SettingsForm() { return {u"fSettings", u"[lCaption]", 480, 410}; }

std::vector<ui::TControlSpec> SettingsControls() {
  const TControlKind check = TControlKind::kCheckBox, button = TControlKind::kButton,
                     label = TControlKind::kLabel, list = TControlKind::kComboBox;
  std::vector<ui::TControlSpec> page = {
      // General.
      {u"c1", check, u"[cRunStartup]", 16, 16, 420, 17},
      {u"c2", check, u"[cShowTray]", 16, 44, 420, 17},
      {u"c8", check, u"[cUseAdvPrint]", 16, 72, 420, 17},
      {u"c21", check, u"[cUseHotKeys]", 16, 100, 280, 17, BS_MULTILINE},
      {u"b21", button, u"[bChangeHotKeys]", 304, 96, 133, 25},
      {u"XPPanel1", TControlKind::kGroupBox, u"", 12, 124, 425, 116},
      {u"XPLabel4", TControlKind::kWrapLabel, u"[lEnableAllMsg]", 24, 144, 401, 48},
      {u"XPButton2", button, u"[bEnableAllMsg]", 245, 201, 180, 25},
      {u"c25", check, u"[cAutoCheckUpdates]", 16, 256, 420, 17},
      {u"l18", label, u"", 16, 288, 120, 17},
      {u"lcb", list, u"", 140, 284, 297, 21},
      // Notes window.
      {u"lscb", label, u"[lColorScheme]", 16, 15, 120, 17},
      {u"scb", list, u"", 140, 12, 297, 21},
      {u"lc3", label, u"[lFontSize]", 16, 43, 120, 17},
      {u"c3", list, u"", 140, 40, 160, 21},
      {u"lc22", label, u"[lGroupMode]", 16, 71, 120, 17},
      {u"c22", list, u"", 140, 68, 160, 21},
      {u"c7", check, u"[cSingleClickCrt]", 16, 100, 420, 17},
      {u"c9", check, u"[cShowSubject]", 16, 128, 420, 17},
      {u"c10", check, u"[cShowReturns]", 16, 156, 420, 17},
      {u"c6", check, u"[cHideOnLeave]", 16, 184, 420, 17},
      {u"c5", check, u"[cUseDockLine]", 16, 212, 420, 17},
      {u"l4", label, u"[lDockLine]", 32, 241, 172, 17},
      {u"c4", list, u"", 208, 238, 96, 21, CBS_OWNERDRAWFIXED | CBS_HASSTRINGS},
      {u"c11", check, u"[cTranspLevel]", 32, 270, 172, 17},
      {u"e11", TControlKind::kEdit, u"", 208, 268, 44, 21, ES_NUMBER},
      {u"l11", label, u"% (Win 2000+)", 276, 271, 150, 17},
      // Database.
      {u"Label1", label, u"[lDatabaseFile]", 8, 19, 128, 17},
      {u"e20", TControlKind::kEdit, u"", 140, 16, 213, 21},
      {u"Button3", button, u"[.bBrowse]", 360, 13, 77, 25},
      {u"XPButton5", button, u"[bCreateNew]", 140, 44, 150, 25},
      {u"XPButton4", button, u"[.bMove]", 311, 44, 126, 25},
      {u"linfo", TControlKind::kWrapLabel, u"[lFlashInfo]", 140, 76, 297, 77},
      {u"XPButton1", button, u"[bViewBackup]", 8, 249, 150, 25},
      {u"XPButton3", button, u"[bRestore]", 304, 249, 133, 25},
      {u"Button4", button, u"[.bDefault]", 348, 285, 89, 25},
  };
  std::vector<ui::TControlSpec> controls;
  for (ui::TControlSpec& spec : page) controls.push_back(OnPage(std::move(spec)));
  controls.push_back({u"bOk", TControlKind::kDefaultButton, u"[.bOk]", 308, 376, 75, 25, 0, 0, IDOK});
  controls.push_back(
      {u"bCancel", button, u"[.bCancel]", 392, 376, 75, 25, 0, 0, IDCANCEL});
  return controls;
}

// The dock-line colours to choose from (0x00BBGGRR); a stored colour that
// is none of them is added at the end.
constexpr uint32_t kColours[] = {
    0x0000FF, 0x000080, 0x0080FF, 0x00FFFF, 0x00FF00, 0x008000, 0x808000, 0xFFFF00,
    0xFF0000, 0x800000, 0xFF00FF, 0x800080, 0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF,
};

std::u16string Text(const char16_t* key) { return GetText(kSection, key); }

// The list shown now, whose view previews the schemes; null without lists.
TNotesList* CurrentList() {
  TNoteListCollection& database = Loader()->Database();
  const int index = database.CurrentList();
  return index >= 0 && index < database.ListCount() ? database.List(index) : nullptr;
}

}  // namespace

TfSettings::TfSettings() : TForm(SettingsForm(), SettingsControls()) {}

TfSettings::~TfSettings() = default;

void TfSettings::CreateExtras() {
  tabs_ = std::make_unique<ui::TFormExtraControl>(*this, WC_TABCONTROLW,
                                                  WS_TABSTOP | WS_CLIPSIBLINGS, 0, kTabsLeft,
                                                  kTabsTop, kTabsWidth, kTabsHeight, kTabsId);
  // Below every page control, so that it never paints over them.
  SetWindowPos(tabs_->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const char16_t* pages[kPageCount] = {u"tGeneral", u"tNotesWindow", u"tDatabase"};
  for (int i = 0; i < kPageCount; ++i) {
    std::u16string caption = Text(pages[i]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(W(caption));
    SendMessageW(tabs_->Handle(), TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  const ui::TControlSpec& edit = At(u"e11").Spec();
  spin_ = std::make_unique<ui::TFormExtraControl>(
      *this, UPDOWN_CLASSW, UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0,
      edit.left + edit.width, edit.top, 17, edit.height, kSpinId);
  SendMessageW(spin_->Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(At(u"e11").Handle()), 0);
  SendMessageW(spin_->Handle(), UDM_SETRANGE32, 1, 100);
  // The buddy moved the spin; the design keeps it beside the edit.
  spin_->Place();
}

void TfSettings::OnDpiApplied() {
  if (tabs_) tabs_->Place();
  if (spin_) spin_->Place();
}

bool TfSettings::Execute(TConfStore& store, int page, HWND owner) {
  store_ = &store;
  Create(owner);
  Translate();
  CreateExtras();
  Fill();
  FitTexts();
  SelectPage(page);
  PlaceLanguageRow();
  ui::PlaceNear(Handle(), owner);
  const bool ok = ShowModal(owner) == IDOK;
  if (ok) {
    WriteBack();
  } else {
    UndoPreview();
  }
  return ok;
}

void TfSettings::Fill() {
  const TSettingsDialogValues v = ReadDialogValues(*store_);
  At(u"c1").SetChecked(v.runAtStartup);
  At(u"c2").SetChecked(v.trayIcon);
  At(u"c8").SetChecked(v.advPrint);
  At(u"c21").SetChecked(v.useHotKeys);
  At(u"c25").SetChecked(v.checkUpdates);
  At(u"c7").SetChecked(v.singleClickCreate);
  At(u"c9").SetChecked(v.showSubject);
  At(u"c10").SetChecked(v.showReturns);
  At(u"c6").SetChecked(v.hideOnLeave);
  At(u"c5").SetChecked(v.useDockLine);
  At(u"c11").SetChecked(v.useDockLineTransp);
  SendMessageW(spin_->Handle(), UDM_SETPOS32, 0, std::clamp(v.dockLineTransp, 1, 100));
  At(u"e20").SetText(v.databaseFile);

  ui::TFormControl& sizes = At(u"c3");
  for (const char16_t* key : {u"iTiny", u"iSmall", u"iMedium", u"iLarge", u"iExtraLarge", u"iHuge"})
    sizes.AddItem(Text(key));
  sizes.SetSelected(v.fontSize);
  ui::TFormControl& groups = At(u"c22");
  for (const char16_t* key : {u"iGroupAuto", u"iGroupDay", u"iGroupMonth", u"iGroupYear"})
    groups.AddItem(Text(key));
  groups.SetSelected(v.groupMode);
  FillColours(v.dockLineCol);

  TLoader* loader = Loader();
  ui::TFormControl& languages = At(u"lcb");
  for (const TLangModule::TDisplayName& entry : loader->LangModule().DisplayNames())
    languages.AddItem(entry.name);
  languages.SetSelected(loader->LangModule().CurrentIndex());
  ui::TFormControl& schemes = At(u"scb");
  for (const TSchModule::TNameEntry& entry : loader->SchModule().Names()) schemes.AddItem(entry.name);
  schemes.SetSelected(loader->SchModule().Current());
  const TNotesList* list = CurrentList();
  schemeAtOpen_ = list && !list->SchemeFile().empty() ? platform::FromAnsi(list->SchemeFile())
                                                      : loader->SchModule().CurrentFile();
  UpdateEnabledStates();
}

void TfSettings::FillColours(uint32_t current) {
  const HWND box = At(u"c4").Handle();
  std::vector<uint32_t> colours(std::begin(kColours), std::end(kColours));
  if (std::find(colours.begin(), colours.end(), current) == colours.end())
    colours.push_back(current);
  for (size_t i = 0; i < colours.size(); ++i) {
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""));
    SendMessageW(box, CB_SETITEMDATA, i, colours[i]);
    if (colours[i] == current) SendMessageW(box, CB_SETCURSEL, i, 0);
  }
}

void TfSettings::PlaceLanguageRow() {
  At(u"l18").SetText(LanguageLabel(GetText(kSection, u"lLanguage")));
  // The list follows the label, whatever the translation's length.
  const ui::TControlSpec label = At(u"l18").Spec();
  const int labelWidth = ui::DesignTextWidth(*this, At(u"l18").Text()) + 2;
  const int listLeft = label.left + labelWidth + 10;
  const int listWidth = kPageLeft + kPageWidth - 15 - listLeft;
  MoveControl(u"l18", label.left, label.top, labelWidth, label.height);
  const ui::TControlSpec list = At(u"lcb").Spec();
  MoveControl(u"lcb", listLeft, list.top, std::max(listWidth, 80), list.height);
}

void TfSettings::Resize(std::u16string_view name, int left, int width) {
  const ui::TControlSpec spec = At(name).Spec();
  MoveControl(name, left, spec.top, width, spec.height);
}

void TfSettings::FitTexts() {
  // Buttons at the page's right edge grow to the left, the others to the
  // right; what stands beside them gives way.
  const int hotKeys = ui::FitButtonToCaption(*this, u"b21", true);
  const ui::TControlSpec useHotKeys = At(u"c21").Spec();
  const int boxWidth = hotKeys - 6 - useHotKeys.left;
  if (ui::DesignTextWidth(*this, At(u"c21").Text()) + 20 > boxWidth) {
    MoveControl(u"c21", useHotKeys.left, useHotKeys.top - 7, boxWidth, 30);  // two lines
  } else {
    Resize(u"c21", useHotKeys.left, boxWidth);
  }
  const int browse = ui::FitButtonToCaption(*this, u"Button3", true);
  Resize(u"e20", At(u"e20").Spec().left, browse - 7 - At(u"e20").Spec().left);
  for (const char16_t* name : {u"XPButton2", u"XPButton4", u"XPButton3", u"Button4"})
    ui::FitButtonToCaption(*this, name, true);
  for (const char16_t* name : {u"XPButton5", u"XPButton1"}) ui::FitButtonToCaption(*this, name, false);

  // The lists of the notes page follow the longest of their labels.
  const std::pair<const char16_t*, const char16_t*> rows[] = {
      {u"lscb", u"scb"}, {u"lc3", u"c3"}, {u"lc22", u"c22"}};
  int labelWidth = 0;
  for (const auto& [label, list] : rows)
    labelWidth = std::max(labelWidth, ui::DesignTextWidth(*this, At(label).Text()) + 2);
  const int listLeft = std::max(kPageLeft + 140, kPageLeft + 16 + labelWidth + 6);
  const int pageRight = kPageLeft + kPageWidth - 12;
  for (const auto& [label, list] : rows) {
    Resize(label, kPageLeft + 16, listLeft - 4 - kPageLeft - 16);
    const int designed = At(list).Spec().width;
    Resize(list, listLeft, std::min(designed, pageRight - listLeft));
  }
  // So do the dock line's colour and transparency.
  const int optionWidth = std::max(ui::DesignTextWidth(*this, At(u"l4").Text()) + 2,
                                   ui::DesignTextWidth(*this, At(u"c11").Text()) + 20);
  const int optionLeft = std::max(At(u"c4").Spec().left, At(u"l4").Spec().left + optionWidth + 4);
  const int shift = optionLeft - At(u"c4").Spec().left;
  if (shift > 0) {
    Resize(u"l4", At(u"l4").Spec().left, optionWidth);
    Resize(u"c11", At(u"c11").Spec().left, optionWidth);
    for (const char16_t* name : {u"c4", u"e11", u"l11"})
      Resize(name, At(name).Spec().left + shift, At(name).Spec().width);
    spin_->Move(spin_->Left() + shift, spin_->Top(), spin_->Width(), spin_->Height());
  }
}

HBRUSH TfSettings::PageBrush() {
  if (pageBrush_) return pageBrush_.Get();
  // The tab strip paints its pages in a colour of its own (white with the
  // visual styles, the button face without them); the pages' controls
  // take the same, so that they show no grey bands. Read from the strip's
  // own painting.
  RECT client;
  GetClientRect(tabs_->Handle(), &client);
  COLORREF colour = GetSysColor(COLOR_BTNFACE);
  const HDC screen = GetDC(tabs_->Handle());
  if (const HDC memory = CreateCompatibleDC(screen)) {
    ui::TBitmap bitmap(CreateCompatibleBitmap(screen, client.right, client.bottom));
    if (bitmap) {
      ui::TSelectGuard select(memory, bitmap.Get());
      FillRect(memory, &client, GetSysColorBrush(COLOR_BTNFACE));
      SendMessageW(tabs_->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory),
                   PRF_CLIENT | PRF_ERASEBKGND);
      RECT page = client;
      SendMessageW(tabs_->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
      const COLORREF painted =
          GetPixel(memory, (page.left + page.right) / 2, (page.top + page.bottom) / 2);
      if (painted != CLR_INVALID) colour = painted;
    }
    DeleteDC(memory);
  }
  ReleaseDC(tabs_->Handle(), screen);
  pageColour_ = colour;
  pageBrush_.Reset(CreateSolidBrush(colour));
  return pageBrush_.Get();
}

bool TfSettings::OnPage(HWND control) const {
  // Not the edits, and not the text on the flat panel, which keeps the
  // dialog's colour like the panel around it.
  for (const TPlaced& placed : kPlaced) {
    if (At(placed.name).Handle() != control) continue;
    const std::u16string_view name = placed.name;
    return name != u"e20" && name != u"e11" && name != u"XPLabel4";
  }
  return false;
}

int TfSettings::Page() const {
  return tabs_ ? static_cast<int>(SendMessageW(tabs_->Handle(), TCM_GETCURSEL, 0, 0)) : 0;
}

void TfSettings::SelectPage(int page) {
  page = std::clamp(page, 0, kPageCount - 1);
  SendMessageW(tabs_->Handle(), TCM_SETCURSEL, page, 0);
  for (const TPlaced& placed : kPlaced) {
    bool visible = placed.page == page;
    // The portable-mode note shows only in portable mode.
    if (std::u16string_view(placed.name) == u"linfo") visible = visible && store_->Portable;
    At(placed.name).SetVisible(visible);
  }
  ShowWindow(spin_->Handle(), page == 1 ? SW_SHOW : SW_HIDE);
}

void TfSettings::UpdateEnabledStates() {
  const TSettingsEnabling e = SettingsEnabling(At(u"c5").Checked(), At(u"c21").Checked(),
                                               At(u"c11").Checked(), store_->Portable);
  for (const TPlaced& placed : kPlaced) {
    if (placed.tag == 2) EnableWindow(At(placed.name).Handle(), e.dockLineOptions);
    if (placed.tag == 91) EnableWindow(At(placed.name).Handle(), e.databaseChoice);
  }
  EnableWindow(At(u"b21").Handle(), e.hotKeysButton);
  EnableWindow(At(u"e11").Handle(), e.transparency);
  EnableWindow(At(u"l11").Handle(), e.transparency);
  EnableWindow(spin_->Handle(), e.transparency);
}

TSettingsDialogValues TfSettings::Values() const {
  TSettingsDialogValues v;
  v.runAtStartup = At(u"c1").Checked();
  v.trayIcon = At(u"c2").Checked();
  v.advPrint = At(u"c8").Checked();
  v.useHotKeys = At(u"c21").Checked();
  v.checkUpdates = At(u"c25").Checked();
  v.fontSize = std::max(At(u"c3").Selected(), 0);
  v.groupMode = std::max(At(u"c22").Selected(), 0);
  v.singleClickCreate = At(u"c7").Checked();
  v.showSubject = At(u"c9").Checked();
  v.showReturns = At(u"c10").Checked();
  v.hideOnLeave = At(u"c6").Checked();
  v.useDockLine = At(u"c5").Checked();
  const HWND colours = At(u"c4").Handle();
  const LRESULT colour = SendMessageW(colours, CB_GETCURSEL, 0, 0);
  v.dockLineCol = colour == CB_ERR ? store_->IndicatorSettings.DockLineCol
                                   : static_cast<uint32_t>(
                                         SendMessageW(colours, CB_GETITEMDATA, colour, 0));
  v.useDockLineTransp = At(u"c11").Checked();
  v.dockLineTransp =
      std::clamp(static_cast<int>(SendMessageW(spin_->Handle(), UDM_GETPOS32, 0, 0)), 1, 100);
  v.databaseFile = At(u"e20").Text();
  return v;
}

void TfSettings::WriteBack() {
  WriteDialogValues(Values(), *store_);
  TLoader* loader = Loader();
  if (const int language = At(u"lcb").Selected(); language >= 0)
    loader->LangModule().SetCurrentIndex(language);
  const int scheme = At(u"scb").Selected();
  if (scheme >= 0 && scheme != loader->SchModule().Current()) {
    const std::u16string file = loader->SchModule().FileAt(scheme);
    loader->SchModule().SetCurrentFile(file);
    loader->LoadScheme();
    // The list keeps its scheme in the database, which is saved with it.
    if (TNotesList* list = CurrentList()) list->SetSchemeFile(platform::ToAnsi(file));
    loader->SaveDatabase();
  }
}

void TfSettings::ShowScheme(const std::u16string& fileName) {
  if (TNotesList* list = CurrentList())
    if (INoteView* view = list->View()) view->SchemeChanged(platform::ToAnsi(fileName));
}

void TfSettings::UndoPreview() { ShowScheme(schemeAtOpen_); }

void TfSettings::SchemePicked() {
  const int index = At(u"scb").Selected();
  if (index >= 0) ShowScheme(Loader()->SchModule().FileAt(index));
}

void TfSettings::Browse() {
  ui::TFileDialogOptions options;
  options.owner = Handle();
  const std::u16string current = At(u"e20").Text();
  options.fileName = current;
  options.initialFolder = platform::ExtractFileDir(current);
  options.fallbackFolder = Folders().dataFolder;
  options.filter = L"Vellumio database (*.sbn)|*.sbn|All files|*.*";
  options.defaultExtension = L"sbn";
  if (const auto chosen = ui::ShowOpenDialog(options)) At(u"e20").SetText(*chosen);
}

void TfSettings::MoveDatabase() {
  const std::u16string from = At(u"e20").Text();
  ui::TFileDialogOptions options;
  options.owner = Handle();
  options.fileName = from;
  options.initialFolder = platform::ExtractFileDir(from);
  options.fallbackFolder = Folders().dataFolder;
  options.filter = L"Vellumio database (*.sbn)|*.sbn|All files|*.*";
  options.defaultExtension = L"sbn";
  // The save dialog asks before a chosen file that exists is replaced: a
  // name comes back only with the user's Yes.
  const std::optional<std::u16string> to = ui::ShowSaveDialog(options);
  if (!to) return;
  try {
    MoveDatabaseFile(SystemMoveSteps(), from, *to, true);
  } catch (const std::exception& e) {
    TuMsg::ShowMsg(IDI_HAND, GetText(u"", u".lWarning"), FromUtf8(e.what()), u"", Handle(), true,
                   false);
    return;
  }
  At(u"e20").SetText(*to);
  // The old name is gone: the setting follows at once, so that a Cancel
  // now does not leave the program looking for a file that was moved.
  if (SamePath(from, store_->DatabaseSettings.DatabaseFile()))
    store_->DatabaseSettings.SetDatabaseFile(*to);
}

void TfSettings::ViewBackup() {
  const std::u16string folder = Folders().backupFolder;
  ShellExecuteW(Handle(), L"open", L"explorer.exe", W(folder), nullptr, SW_SHOWNORMAL);
}

void TfSettings::Restore() {
  TfDBRestore restore(*store_);
  if (restore.Execute(Handle())) At(u"e20").SetText(store_->DatabaseSettings.DatabaseFile());
}

void TfSettings::EnableAllMessages() {
  if (TuMsg::ShowMsg(IDI_QUESTION, GetText(u"", u".lConfirmation"), Text(u"mEnableAllMsg"),
                     u"EnableAllMsg", At(u"XPButton2").Handle(), false, false) == kMsgYes)
    TuMsg::EnableAllMessages();
}

void TfSettings::ChangeHotKeys() {
  TfHotKeys hotKeys;
  hotKeys.Execute(store_->GeneralSettings.HotKeys, Handle());
}

bool TfSettings::OnCommand(int id, int notifyCode, HWND control) {
  if (!control) return false;
  const std::u16string name = [&] {
    for (size_t i = 0; i < ChildCount(); ++i)
      if (auto* c = dynamic_cast<ui::TFormControl*>(Child(i)); c && c->Handle() == control)
        return c->Name();
    return std::u16string();
  }();
  if (notifyCode == CBN_SELCHANGE && name == u"scb") {
    SchemePicked();
    return true;
  }
  if (notifyCode != BN_CLICKED) return false;
  if (name == u"c5" || name == u"c21" || name == u"c11") UpdateEnabledStates();
  else if (name == u"Button3") Browse();
  else if (name == u"Button4") At(u"e20").SetText(store_->DatabaseSettings.DefaultDatabaseFile());
  else if (name == u"XPButton5") At(u"e20").SetText(Loader()->CreateNewDatabase(At(u"e20").Text()));
  else if (name == u"XPButton4") MoveDatabase();
  else if (name == u"XPButton1") ViewBackup();
  else if (name == u"XPButton3") Restore();
  else if (name == u"XPButton2") EnableAllMessages();
  else if (name == u"b21") ChangeHotKeys();
  else return false;
  return true;
}

bool TfSettings::OnKeyPreview(const MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1) {
    Loader()->ShowHelp(u"/src/settings.htm");
    return true;
  }
  return TForm::OnKeyPreview(msg);
}

LRESULT TfSettings::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (tabs_ && header->hwndFrom == tabs_->Handle() && header->code == TCN_SELCHANGE)
        SelectPage(Page());
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (tabs_ && OnPage(reinterpret_cast<HWND>(lParam))) {
        const HBRUSH brush = PageBrush();
        SetBkColor(reinterpret_cast<HDC>(wParam), pageColour_);
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item->CtlType != ODT_COMBOBOX) break;
      item->itemHeight = static_cast<UINT>(Scale(15));
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlType != ODT_COMBOBOX) break;
      DrawColourItem(*item);
      return TRUE;
    }
    default:
      break;
  }
  return TForm::HandleMessage(message, wParam, lParam);
}

void TfSettings::DrawColourItem(const DRAWITEMSTRUCT& item) const {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const bool enabled = (item.itemState & ODS_DISABLED) == 0;
  FillRect(item.hDC, &item.rcItem,
           GetSysColorBrush(selected && enabled ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID == static_cast<UINT>(-1)) return;
  RECT swatch = item.rcItem;
  InflateRect(&swatch, -Scale(3), -Scale(2));
  const COLORREF colour = static_cast<COLORREF>(item.itemData);
  const HBRUSH brush = CreateSolidBrush(enabled ? colour : GetSysColor(COLOR_BTNFACE));
  FillRect(item.hDC, &swatch, brush);
  DeleteObject(brush);
  FrameRect(item.hDC, &swatch, GetSysColorBrush(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

}  // namespace vellumio

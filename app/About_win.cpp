#include "app/About_win.h"

#include <cstring>

#include "Version.h"
#include "config/Loader.h"
#include "res/resource.h"

namespace vellumio::app {

namespace {

constexpr int kIconSize = 32;

std::u16string Ascii(const char* text) { return std::u16string(text, text + strlen(text)); }

ui::TFormSpec AboutForm() { return {u"fAbout", u"", 330, 132}; }

std::vector<ui::TControlSpec> AboutControls() {
  return {
      {u"lProgram", ui::TControlKind::kLabel, u"Vellumio 2.2", 64, 14, 254, 24},
      {u"lVersion", ui::TControlKind::kLabel, Ascii(VELLUMIO_VERSION_STRING), 64, 40, 254, 16},
      {u"lTranslator", ui::TControlKind::kWrapLabel, u"", 64, 60, 254, 30},
      {u"bOk", ui::TControlKind::kDefaultButton, u"[.bOk]", 243, 97, 75, 25, 0, 0, IDOK},
  };
}

// A LANG_INFO value of the user's own file: the English one must not
// credit its translator to another language.
std::u16string LanguageInfo(std::u16string_view key) {
  TLoader* loader = Loader();
  if (!loader) return {};
  std::u16string value = loader->GetText(u"LANG_INFO", key, false);
  return value == kNoValue ? std::u16string() : value;
}

// The menu command's text without its dots and accelerator mark.
std::u16string AboutCaption() {
  std::u16string caption = GetText(u"FMAIN", u"eAbout");
  std::erase(caption, u'&');
  while (!caption.empty() && (caption.back() == u'.' || caption.back() == u'\u2026'))
    caption.pop_back();
  return caption;
}

}  // namespace

TfAbout::TfAbout() : ui::TForm(AboutForm(), AboutControls()) {}

TfAbout::~TfAbout() {
  if (icon_) DestroyIcon(icon_);
}

std::u16string TfAbout::TranslatorLine() {
  const std::u16string translator = LanguageInfo(u"Translator");
  if (translator.empty()) return {};
  std::u16string line = LanguageInfo(u"Name");
  line += line.empty() ? translator : u": " + translator;
  const std::u16string mail = LanguageInfo(u"TranslatorEmail");
  if (!mail.empty()) line += u" <" + mail + u">";
  return line;
}

int TfAbout::Execute(HWND owner) {
  Create(owner);
  Translate();
  SetCaption(AboutCaption());
  At(u"lTranslator").SetText(TranslatorLine());
  CenterOnScreen();
  return ShowModal(owner);
}

void TfAbout::OnDpiApplied() {
  LOGFONTW bold{};
  GetObjectW(ui::CreateFormFont(Dpi(), 12).get(), sizeof(bold), &bold);
  bold.lfWeight = FW_BOLD;
  ui::UniqueFont title(CreateFontIndirectW(&bold));
  SendMessageW(At(u"lProgram").Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(title.get()), TRUE);
  titleFont_ = std::move(title);  // the old one only now that no label uses it
  if (icon_) DestroyIcon(icon_);
  icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAINICON),
                                        IMAGE_ICON, Scale(kIconSize), Scale(kIconSize), 0));
}

void TfAbout::OnPaint(HDC dc) {
  if (icon_)
    DrawIconEx(dc, Scale(16), Scale(14), icon_, Scale(kIconSize), Scale(kIconSize), 0, nullptr,
               DI_NORMAL);
}

}  // namespace vellumio::app

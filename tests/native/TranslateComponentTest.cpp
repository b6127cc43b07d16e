// The translation walk over a component tree: which texts are looked up
// under which key, and which are left alone.
#include <gtest/gtest.h>

#include <map>

#include "lang/LanguageLoader.h"
#include "lang/TranslateComponent.h"
#include "platform/Platform.h"
#include "tests/native/LangFakeComponent.h"

namespace vellumio {
namespace {

using test::TFakeComponent;

struct WalkFixture : ::testing::Test {
  std::u16string Lookup(std::u16string_view key) {
    asked.emplace_back(key);
    auto it = texts.find(std::u16string(key));
    return it == texts.end() ? u"no-value" : it->second;
  }
  void Walk(IComponent& c) {
    TranslateComponent(c, [this](std::u16string_view key) { return Lookup(key); });
  }

  std::map<std::u16string, std::u16string> texts = {{u"lCaption", u"Caption text"},
                                                    {u".bOk", u"OK"},
                                                    {u"_bOk", u"OK button"},
                                                    {u"lItem", u"Item"},
                                                    {u"cName", u"Name"},
                                                    {u"lNoBracke", u"cut short"},
                                                    {u"lEmpty", u""},
                                                    {u"eSettings", u"Settings..."}};
  std::vector<std::u16string> asked;
  TFakeComponent form{u"fSettings"};
};

TEST_F(WalkFixture, StringProperties) {
  struct Case {
    std::u16string_view value, expected;
  } cases[] = {
      {u"[lCaption]", u"Caption text"},
      {u"[.bOk]", u"OK"},
      {u"[lNoBracket", u"cut short"},  // the last character goes whatever it is
      {u"[x", u"no-value"},            // two characters: the empty key
      {u"[]", u"no-value"},
      {u"[", u"["},                // too short to be a placeholder
      {u"[lEmpty]", u"[lEmpty]"},  // an empty text keeps the placeholder
      {u"plain text", u"plain text"},
      {u"x[lCaption]", u"x[lCaption]"},
      {u"", u""},
  };
  for (const Case& c : cases) {
    TFakeComponent control(u"bButton");
    control[u"Caption"] = std::u16string(c.value);
    control[u"Hint"] = std::u16string(c.value);
    Walk(control);
    EXPECT_EQ(control[u"Caption"], c.expected) << platform::ToAnsi(c.value);
    EXPECT_EQ(control[u"Hint"], c.expected);
  }
}

TEST_F(WalkFixture, NamesWithAnUnderscoreGiveTheirCaptionKey) {
  TFakeComponent& ok = form.Add(u"__bOk");
  ok[u"Caption"] = u"anything";
  ok[u"Hint"] = u"[lCaption]";
  TFakeComponent& action = form.Add(u"_eSettings");
  action[u"Caption"] = u"";
  TFakeComponent& noCaption = form.Add(u"_eNoCaption");
  noCaption[u"Hint"] = u"[lCaption]";
  TFakeComponent& empty = form.Add(u"_lEmpty");
  empty[u"Caption"] = u"old";
  Walk(form);
  EXPECT_EQ(ok[u"Caption"], u"OK button");
  EXPECT_EQ(ok[u"Hint"], u"[lCaption]") << "the name decides; its placeholders stay";
  EXPECT_EQ(action[u"Caption"], u"Settings...");
  EXPECT_EQ(noCaption[u"Hint"], u"Caption text") << "without a caption the placeholders count";
  EXPECT_EQ(empty[u"Caption"], u"");
}

TEST_F(WalkFixture, ListItemsAndColumns) {
  TFakeComponent& list = form.Add(u"lbChoices");
  list.items = {u"[lItem]", u"plain", u"[", u"[lEmpty]", u"a[lItem]"};
  TFakeComponent& view = form.Add(u"lvFiles");
  view.columns = {u"[cName]", u"Date", u"[lMissing]"};
  Walk(form);
  EXPECT_EQ(list.items,
            (std::vector<std::u16string>{u"Item", u"plain", u"no-value", u"", u"a[lItem]"}));
  EXPECT_EQ(view.columns, (std::vector<std::u16string>{u"Name", u"Date", u"no-value"}));
}

TEST_F(WalkFixture, WalksOwnedComponentsButNotForeignControls) {
  TFakeComponent& panel = form.Add(u"Panel1");
  TFakeComponent& label = panel.Add(u"Panel2").Add(u"lDeep");
  label[u"Caption"] = u"[lCaption]";
  TFakeComponent& foreign = form.Add(u"Browser1");
  foreign.foreign = true;
  foreign[u"Caption"] = u"[lCaption]";
  foreign.items = {u"[lItem]"};
  TFakeComponent& inside = foreign.Add(u"_eSettings");
  inside[u"Caption"] = u"[lCaption]";
  form[u"Caption"] = u"[.bOk]";
  Walk(form);
  EXPECT_EQ(form[u"Caption"], u"OK");
  EXPECT_EQ(label[u"Caption"], u"Caption text");
  EXPECT_EQ(foreign[u"Caption"], u"[lCaption]");
  EXPECT_EQ(foreign.items.front(), u"[lItem]");
  EXPECT_EQ(inside[u"Caption"], u"[lCaption]");
}

TEST_F(WalkFixture, ASecondWalkRetranslatesOnlyNamedCaptions) {
  TFakeComponent& ok = form.Add(u"__bOk");
  ok[u"Caption"] = u"";
  TFakeComponent& label = form.Add(u"lLabel");
  label[u"Caption"] = u"[lCaption]";
  label[u"Hint"] = u"no placeholder";
  Walk(form);
  texts[u"_bOk"] = u"Fine";
  texts[u"lCaption"] = u"Changed";
  asked.clear();
  Walk(form);
  EXPECT_EQ(ok[u"Caption"], u"Fine");
  EXPECT_EQ(label[u"Caption"], u"Caption text");
  EXPECT_EQ(asked, (std::vector<std::u16string>{u"_bOk"}));
  EXPECT_EQ(label.writes, 1) << "texts without placeholders are never written";
}

TEST(TranslateComponent, FormsTakeTheirTextsFromTheLoader) {
  TLanguageLoader english, loader;
  english.SetFile(nullptr, std::make_unique<TLanguageFile>(TLanguageFile::FromAnsiText(
                               "[global]\nbCancel=Cancel\n[FHOTKEYS]\nlHint=Press keys\n")));
  loader.SetFallback(&english);
  loader.SetReplacement(u"Scribbaloon", u"Vellumio");
  TFakeComponent form(u"fHotKeys");
  form[u"Caption"] = u"[lCaption]";
  TFakeComponent& ok = form.Add(u"bOk");
  ok[u"Caption"] = u"[.bOk]";
  TFakeComponent& cancel = form.Add(u"__bCancel");
  cancel[u"Caption"] = u"";
  TFakeComponent& other = form.Add(u"lOther");
  other[u"Caption"] = u"[_FSETTINGS_lCaption]";
  other[u"Hint"] = u"[lHint]";
  loader.SetFile(&form, std::make_unique<TLanguageFile>(TLanguageFile::FromAnsiText(
                            "[fhotkeys]\nLCAPTION=Scribbaloon hot keys\n"
                            "[Global]\nbOK=Okay\n[FSettings]\nlCaption=Settings\n")));
  EXPECT_EQ(form[u"Caption"], u"Vellumio hot keys");
  EXPECT_EQ(ok[u"Caption"], u"Okay");
  EXPECT_EQ(cancel[u"Caption"], u"Cancel");
  EXPECT_EQ(other[u"Caption"], u"Settings");
  EXPECT_EQ(other[u"Hint"], u"Press keys");
}

}  // namespace
}  // namespace vellumio

// What quote capture decides without a screen: the browser behind a window
// class, the page address from a browser's DDE answer or the clipboard's
// "HTML Format" header, the cut and trim of a selection, the note's text and
// the hot key codes.
#include "app/capture/CaptureText.h"

#include <gtest/gtest.h>

#include <string>

namespace vellumio::capture {
namespace {

TEST(CaptureText, BrowserServiceByWindowClass) {
  const struct {
    std::u16string_view windowClass, service;
  } cases[] = {
      {u"OpWindow", u"Opera"},
      {u"OpWindowFoo", u""},
      {u"opwindow", u""},
      {u"MozillaUIWindowClass", u"FireFox"},
      {u"xxMozillaUIWindowClass", u"FireFox"},
      {u"mozillaui", u""},
      {u"Chrome_WidgetWin_1", u"Chrome"},
      {u"Chrome", u""},
      {u"IEFrame", u"IExplore"},
      {u"IEFrameX", u""},
      {u"Notepad", u""},
      {u"", u""},
      // First match wins.
      {u"Chrome_MozillaUI", u"FireFox"},
  };
  for (const auto& c : cases) EXPECT_EQ(BrowserServiceFor(c.windowClass), c.service);
}

TEST(CaptureText, AddressFromDdeReply) {
  const struct {
    std::string_view reply;
    std::optional<std::string> address;
  } cases[] = {
      {R"("http://a/","Title")", "http://a/"},
      {R"("http://a/","Title","0")", "http://a/"},
      {R"("http://a/?q=1,2","T")", "http://a/?q=1,2"},
      {R"("http://a/)", ""},
      {R"("http://a/",)", ""},
      {"\"", ""},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(AddressFromDdeReply(c.reply), c.address) << c.reply;
}

// A clipboard "HTML Format" block as the writers lay it out: fixed-width
// offsets, the extra header lines, then the page.
std::string CfHtml(std::string_view eol, std::string_view extraLines, std::string_view html) {
  auto line = [&](const char* key, size_t n) {
    const std::string digits = std::to_string(n);
    return std::string(key) + ":" + std::string(10 - digits.size(), '0') + digits +
           std::string(eol);
  };
  const std::string version = "Version:0.9" + std::string(eol);
  const size_t headerSize = version.size() + line("StartHTML", 0).size() +
                            line("EndHTML", 0).size() + line("StartFragment", 0).size() +
                            line("EndFragment", 0).size() + extraLines.size();
  return version + line("StartHTML", headerSize) + line("EndHTML", headerSize + html.size()) +
         line("StartFragment", headerSize) + line("EndFragment", headerSize + html.size()) +
         std::string(extraLines) + std::string(html);
}

TEST(CaptureText, SourceUrlFromHtmlFormatHeader) {
  const std::string page = "<html><body>SourceURL:http://in-page/</body></html>";
  const struct {
    const char* what;
    std::string data;
    std::optional<std::string> url;
  } cases[] = {
      {"CR LF", CfHtml("\r\n", "SourceURL:https://example.org/page\r\n", page),
       "https://example.org/page"},
      {"LF", CfHtml("\n", "SourceURL:https://example.org/page\n", page),
       "https://example.org/page"},
      {"blanks around", CfHtml("\r\n", "SourceURL: \thttp://a/b \r\n", page), "http://a/b"},
      {"missing", CfHtml("\r\n", "", page), std::nullopt},
      {"page right after, no line end", CfHtml("\r\n", "SourceURL:http://a/", page), "http://a/"},
      // The line at StartHTML belongs to the page, even if it looks like a header.
      {"after StartHTML", CfHtml("\r\n", "", "SourceURL:http://late/\r\n" + page), std::nullopt},
      {"bad offset ignored", "StartHTML:-1\r\nSourceURL:http://a/\r\n<html>", "http://a/"},
      {"offset beyond the data", "StartHTML:99999999999\nSourceURL:http://a/\n<html>", "http://a/"},
      {"offset inside the header", "StartHTML:0000000000\nSourceURL:http://a/\n", "http://a/"},
      {"page starts", "Version:0.9\n<html>\nSourceURL:http://a/\n", std::nullopt},
      {"not a header line", "Version 0.9\nSourceURL:http://a/\n", std::nullopt},
      {"key with digits", "Start1:x\nSourceURL:http://a/\n", std::nullopt},
      {"truncated", "Version:0.9\r\nSourceURL:http://exa", std::nullopt},
      {"no line ends", std::string(1 << 20, 'A'), std::nullopt},
      {"binary",
       std::string("\0\xff\x01:\n\x80"
                   "SourceURL:http://a/\n",
                   26),
       std::nullopt},
      {"empty", "", std::nullopt},
      {"beyond the first KB",
       "Version:0.9\nX:" + std::string(64 * 1024, 'x') + "\nSourceURL:http://a/\n", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(SourceUrlFromHtmlFormat(c.data), c.url) << c.what;
}

TEST(CaptureText, OnlyWebAndFtpAddressesArePageAddresses) {
  const struct {
    std::u16string_view address;
    bool page;
  } cases[] = {
      {u"http://a", true},        {u"https://example.org/x", true},
      {u"ftp://host/file", true}, {u"HTTPS://A/", true},
      {u"Ftp://h", true},         {u"http://", false},
      {u"https:/a", false},       {u"javascript:alert(1)", false},
      {u"/relative", false},      {u"about:blank", false},
      {u"file:///c:/x", false},   {u"", false},
      {u" http://a", false},      {u"httpx://a", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsPageAddress(c.address), c.page) << std::string(c.address.begin(), c.address.end());
  }
}

TEST(CaptureText, CutKeepsEightThousandUnitsWithoutSplittingAPair) {
  EXPECT_EQ(CutCapture(std::u16string(9000, u'a')), std::u16string(8000, u'a'));
  EXPECT_EQ(CutCapture(std::u16string(8000, u'a')).size(), 8000u);
  EXPECT_EQ(CutCapture(u"short"), u"short");

  const std::u16string pair = u"\U0001F600";
  // The pair at units 7999 and 8000 stays out as a whole.
  std::u16string straddling = std::u16string(7999, u'a') + pair + u"bbb";
  EXPECT_EQ(CutCapture(straddling), std::u16string(7999, u'a'));
  // Ending exactly at unit 8000, the pair is kept.
  std::u16string inside = std::u16string(7998, u'a') + pair + u"bbb";
  EXPECT_EQ(CutCapture(inside), std::u16string(7998, u'a') + pair);
}

TEST(CaptureText, TrimDropsBlanksAndControlCharacters) {
  EXPECT_EQ(TrimCapture(u"\r\n\t \x01 quote\x7f \x1f"), u"quote\x7f");
  EXPECT_EQ(TrimCapture(u"  a \r\n b  "), u"a \r\n b");
  EXPECT_EQ(TrimCapture(u"\u00a0a\u00a0"), u"\u00a0a\u00a0");
  EXPECT_EQ(TrimCapture(u" \r\n\t"), u"");
}

TEST(CaptureText, NoteTextTakesTheAddressElseTheCaptionElseTheCapture) {
  const std::u16string captured = u"  some quote\r\n";
  EXPECT_EQ(NoteTextFor(captured, u"http://a/", u"Title"), u"some quote\r\n\r\nhttp://a/");
  EXPECT_EQ(NoteTextFor(captured, u"", u"Title"), u"some quote\r\n\r\n");
  EXPECT_EQ(NoteTextFor(captured, std::nullopt, u"\t Editor - x.txt \r\n"),
            u"some quote\r\n\r\n* Editor - x.txt");
  EXPECT_EQ(NoteTextFor(captured, std::nullopt, u" \r\n"), captured);
  EXPECT_EQ(NoteTextFor(captured, std::nullopt, u""), captured);
}

TEST(CaptureText, HotKeyCodeSplitsModifiersAndKey) {
  const struct {
    uint16_t shortcut;
    THotKeyCode code;
  } cases[] = {
      {0x604E, {6, 'N'}}, {0x604D, {6, 'M'}},  {0x604A, {6, 'J'}}, {0x6051, {6, 'Q'}},
      {0x8051, {1, 'Q'}}, {0xE070, {7, 0x70}}, {0x4000, {2, 0}},   {0x0041, {0, 'A'}},
  };
  for (const auto& c : cases) EXPECT_EQ(HotKeyCodeOf(c.shortcut), c.code) << c.shortcut;
}

}  // namespace
}  // namespace vellumio::capture

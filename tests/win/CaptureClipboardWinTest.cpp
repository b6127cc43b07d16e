// The clipboard side of quote capture on the real clipboard: everything the
// user had comes back after a capture, and the wait for a copy wakes when
// the copy lands and reads the page address it carries.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/capture/ClipboardCopy_win.h"
#include "app/capture/ClipboardSnapshot_win.h"

namespace vellumio::capture {
namespace {

void Put(UINT format, const void* data, size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(memory), data, size);
  GlobalUnlock(memory);
  SetClipboardData(format, memory);
}

void PutText(const wchar_t* text) { Put(CF_UNICODETEXT, text, (wcslen(text) + 1) * 2); }

std::vector<uint8_t> Bytes(UINT format) {
  HANDLE data = GetClipboardData(format);
  if (!data) return {};
  const auto* p = static_cast<const uint8_t*>(GlobalLock(data));
  std::vector<uint8_t> bytes(p, p + GlobalSize(data));
  GlobalUnlock(data);
  return bytes;
}

std::wstring Text() {
  const std::vector<uint8_t> bytes = Bytes(CF_UNICODETEXT);
  return bytes.empty() ? std::wstring()
                       : std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()));
}

// A 2 x 2 DIB of four colours.
std::vector<uint8_t> SmallDib() {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = 2;
  header.biHeight = 2;
  header.biPlanes = 1;
  header.biBitCount = 32;
  std::vector<uint8_t> dib(sizeof(header) + 16);
  std::memcpy(dib.data(), &header, sizeof(header));
  const uint32_t pixels[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456};
  std::memcpy(dib.data() + sizeof(header), pixels, 16);
  return dib;
}

TEST(CaptureClipboardWin, EveryFormatTheUserHadComesBackAfterACopy) {
  const UINT custom = RegisterClipboardFormatW(L"Vellumio Test Format");
  const std::vector<uint8_t> dib = SmallDib();
  const char customBytes[] = "another program's data";
  ASSERT_TRUE(OpenClipboardPatiently(nullptr));
  EmptyClipboard();
  PutText(L"the user's text");
  Put(CF_DIB, dib.data(), dib.size());
  Put(custom, customBytes, sizeof(customBytes));
  CloseClipboard();

  const TClipboardSnapshot before = TClipboardSnapshot::Take(nullptr);
  EXPECT_TRUE(before.Has(CF_UNICODETEXT));
  EXPECT_TRUE(before.Has(CF_DIB));
  EXPECT_TRUE(before.Has(custom));
  ASSERT_TRUE(OpenClipboardPatiently(nullptr));
  EmptyClipboard();
  PutText(L"the copied selection");
  CloseClipboard();

  ASSERT_TRUE(before.Restore(nullptr));
  ASSERT_TRUE(OpenClipboardPatiently(nullptr));
  EXPECT_EQ(Text(), L"the user's text");
  const std::vector<uint8_t> image = Bytes(CF_DIB);
  ASSERT_GE(image.size(), dib.size());
  EXPECT_EQ(std::memcmp(image.data(), dib.data(), dib.size()), 0);
  const std::vector<uint8_t> other = Bytes(custom);
  ASSERT_GE(other.size(), sizeof(customBytes));
  EXPECT_STREQ(reinterpret_cast<const char*>(other.data()), customBytes);
  CloseClipboard();
}

TEST(CaptureClipboardWin, TheWaitEndsWhenTheCopyLandsAndReadsItsPageAddress) {
  ASSERT_TRUE(OpenClipboardPatiently(nullptr));
  EmptyClipboard();
  PutText(L"same text");
  CloseClipboard();

  // Nothing copied: the whole wait, nothing read.
  auto start = std::chrono::steady_clock::now();
  TCopiedSelection none = WaitForCopy(nullptr, GetClipboardSequenceNumber(), 300);
  EXPECT_FALSE(none.clipboardChanged);
  EXPECT_TRUE(none.text.empty());
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(290));

  // A program that copies the same text a moment later, with an HTML
  // header naming its page.
  // The header's offsets count from its first byte; each is 10 digits.
  const std::string sourceLine = "SourceURL:https://example.org/article\r\n";
  const std::string body =
      "<html><body><!--StartFragment-->same text<!--EndFragment--></body></html>";
  const size_t headerSize = 13 + 22 + 20 + 26 + 24 + sourceLine.size();
  const auto number = [](size_t n) {
    std::string digits = std::to_string(n);
    return std::string(10 - digits.size(), '0') + digits;
  };
  const size_t fragment = headerSize + body.find("same");
  const std::string html = "Version:0.9\r\nStartHTML:" + number(headerSize) +
                           "\r\nEndHTML:" + number(headerSize + body.size()) +
                           "\r\nStartFragment:" + number(fragment) +
                           "\r\nEndFragment:" + number(fragment + 9) + "\r\n" + sourceLine + body;
  const DWORD sequence = GetClipboardSequenceNumber();
  std::thread copier([&html] {
    Sleep(150);
    if (!OpenClipboardPatiently(nullptr, 2000)) return;
    EmptyClipboard();
    PutText(L"same text");
    Put(RegisterClipboardFormatW(L"HTML Format"), html.c_str(), html.size() + 1);
    CloseClipboard();
  });
  start = std::chrono::steady_clock::now();
  const TCopiedSelection copy = WaitForCopy(nullptr, sequence, 3200);
  const auto waited = std::chrono::steady_clock::now() - start;
  copier.join();
  EXPECT_TRUE(copy.clipboardChanged);
  EXPECT_EQ(copy.text, u"same text");  // equal to what was there: still a copy
  ASSERT_TRUE(copy.sourceAddress.has_value());
  EXPECT_EQ(*copy.sourceAddress, u"https://example.org/article");
  // Well before the 3.2 s limit; not tighter, a loaded machine schedules
  // the copying thread late.
  EXPECT_LT(waited, std::chrono::milliseconds(2500));
}

}  // namespace
}  // namespace vellumio::capture

// A program the user copies quotes from, for the end-to-end checks and the
// benchmark of quote capture. It opens one window, stays until it is
// killed, and on Ctrl+C (an accelerator of its own) puts its "selection"
// on the clipboard the way the mode says:
//
//   --plain CAPTION TEXT   a window captioned CAPTION; TEXT as CF_UNICODETEXT
//   --mdi                  an MDI frame ("Frame caption") with two children,
//                          "Document 7.txt" the active one; its text
//   --dde-chrome           class "Chrome_WidgetWin_1", plain text only, and a
//                          DDE server "Chrome" / "WWW_GetWindowInfo" that
//                          answers "0xFFFFFFFF,sURL,sTitle" in CF_TEXT with
//                          "http://dde.example.org/page","DDE Title"
//   --html                 class "Chrome_WidgetWin_1", no DDE: the text, an
//                          "HTML Format" with SourceURL:https://html.example.org/article
//                          and "Chromium internal source URL"
//                          (https://chromium.example.org/x, UTF-8, zero-ended)
//   --html-chromium        as --html without the SourceURL line
//   --moz                  class "MozillaUIWindowClass": the text and
//                          "text/x-moz-url-priv" (UTF-16 address, LF, title)
//   --empty                copies nothing (nothing selected)
//   --long N               N characters, "0123456789" repeated
//   --late MS              its text MS milliseconds after the Ctrl+C
//
// --log FILE (before or after the mode) appends one line per event:
// "ctrl-c T", "copied T", "dde-request format=F item=ITEM", "active 0|1 T",
// T the wall-clock time in Unix milliseconds (comparable to `date +%s%N`
// on the same machine). TEXT and CAPTION take \r \n \t and \uXXXX.
//
// Helper modes that end at once:
//   --clip-set TEXT        the clipboard: TEXT and an 8 x 6 24-bit CF_DIB
//   --clip-show            prints "text: ...", "dib: WxHxBPP sum=HASH",
//                          "formats: ..." and "sequence: N" of the
//                          clipboard (UTF-8; CR and LF in the text as \r \n)
//   --foreground           prints "CLASS|CAPTION" of the foreground window
//   --watch LOG FLAGFILE   while FLAGFILE exists, looks every millisecond at
//                          Vellumio's main window and logs "shown T",
//                          "hidden T", "editor T" (a visible edit control
//                          inside it) and "no-editor T" as they change
//
// Built by tests/e2e/run_app_tests.sh and bench/capture_bench.sh with the
// MinGW compiler; not part of the product.
#define _WIN32_WINNT 0x0A00
#include <windows.h>

#include <ddeml.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

enum class TMode { kPlain, kMdi, kDdeChrome, kHtml, kHtmlChromium, kMoz, kEmpty, kLong, kLate };

constexpr UINT kCopyCommand = 100;
constexpr UINT_PTR kLateTimer = 1;

TMode g_mode = TMode::kPlain;
std::wstring g_caption = L"Capture Source";
std::wstring g_text;
std::wstring g_log;
UINT g_lateMs = 0;
HWND g_main = nullptr;
HWND g_mdiClient = nullptr;
DWORD g_ddeInstance = 0;
HSZ g_ddeService = nullptr;
HSZ g_ddeTopic = nullptr;

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string result(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                      nullptr, nullptr);
  return result;
}

// Wall-clock milliseconds since 1970 with a fraction.
double NowMs() {
  FILETIME time;
  GetSystemTimePreciseAsFileTime(&time);
  const unsigned long long ticks =
      (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  return static_cast<double>(ticks - 116444736000000000ULL) / 10000.0;
}

std::wstring Stamp() {
  wchar_t buffer[64];
  swprintf(buffer, 64, L"%.3f", NowMs());
  return buffer;
}

// Opened and closed per line, so that the test reads it while we run.
void Log(const std::wstring& line) {
  if (g_log.empty()) return;
  const HANDLE file =
      CreateFileW(g_log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string bytes = Utf8(line) + "\n";
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void Print(const std::wstring& line) {
  const std::string bytes = Utf8(line) + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
            &written, nullptr);
}

std::wstring Unescape(const std::wstring& text) {
  std::wstring result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\\' || i + 1 >= text.size()) {
      result += text[i];
      continue;
    }
    const wchar_t next = text[++i];
    if (next == L'r') {
      result += L'\r';
    } else if (next == L'n') {
      result += L'\n';
    } else if (next == L't') {
      result += L'\t';
    } else if (next == L'u' && i + 4 < text.size()) {
      result += static_cast<wchar_t>(wcstoul(text.substr(i + 1, 4).c_str(), nullptr, 16));
      i += 4;
    } else {
      result += next;
    }
  }
  return result;
}

std::string Bytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
}

bool OpenClipboardSoon(HWND owner) {
  for (int i = 0; i < 200; ++i) {
    if (OpenClipboard(owner)) return true;
    Sleep(5);
  }
  return false;
}

// Replaces the clipboard with the formats given (id, bytes).
bool PutOnClipboard(HWND owner, const std::vector<std::pair<UINT, std::string>>& formats) {
  if (!OpenClipboardSoon(owner)) return false;
  EmptyClipboard();
  bool all = true;
  for (const auto& [format, bytes] : formats) {
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory) {
      all = false;
      continue;
    }
    memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    if (!SetClipboardData(format, memory)) {
      GlobalFree(memory);
      all = false;
    }
  }
  CloseClipboard();
  return all;
}

// "HTML Format" as the clipboard carries it: a header of byte offsets
// (ten digits each, so that the header's length does not depend on them)
// into the UTF-8 bytes that follow it.
std::string HtmlFormat(const std::wstring& fragmentText, const char* sourceUrl) {
  const std::string before = "<html><body>\r\n<!--StartFragment-->";
  const std::string fragment = "<p>" + Utf8(fragmentText) + "</p>";
  const std::string after = "<!--EndFragment-->\r\n</body></html>";
  auto header = [&](size_t startHtml, size_t endHtml, size_t startFragment, size_t endFragment) {
    char text[512];
    snprintf(text, sizeof(text),
             "Version:0.9\r\nStartHTML:%010zu\r\nEndHTML:%010zu\r\nStartFragment:%010zu\r\n"
             "EndFragment:%010zu\r\n%s%s%s",
             startHtml, endHtml, startFragment, endFragment, sourceUrl ? "SourceURL:" : "",
             sourceUrl ? sourceUrl : "", sourceUrl ? "\r\n" : "");
    return std::string(text);
  };
  const size_t start = header(0, 0, 0, 0).size();
  const size_t startFragment = start + before.size();
  const size_t endFragment = startFragment + fragment.size();
  const size_t end = endFragment + after.size();
  return header(start, end, startFragment, endFragment) + before + fragment + after +
         std::string(1, '\0');
}

void Copy() {
  std::vector<std::pair<UINT, std::string>> formats;
  formats.emplace_back(CF_UNICODETEXT, Bytes(g_text));
  if (g_mode == TMode::kHtml || g_mode == TMode::kHtmlChromium) {
    formats.emplace_back(
        RegisterClipboardFormatW(L"HTML Format"),
        HtmlFormat(g_text, g_mode == TMode::kHtml ? "https://html.example.org/article" : nullptr));
    formats.emplace_back(RegisterClipboardFormatW(L"Chromium internal source URL"),
                         std::string("https://chromium.example.org/x") + '\0');
  } else if (g_mode == TMode::kMoz) {
    formats.emplace_back(RegisterClipboardFormatW(L"text/x-moz-url-priv"),
                         Bytes(L"https://moz.example.org/page\nMoz Title"));
  }
  const bool done = PutOnClipboard(g_main, formats);
  Log((done ? L"copied " : L"copy-failed ") + Stamp());
}

void OnCopyCommand(HWND window) {
  Log(L"ctrl-c " + Stamp());
  if (g_mode == TMode::kEmpty) return;
  if (g_mode == TMode::kLate) {
    SetTimer(window, kLateTimer, g_lateMs, nullptr);
    return;
  }
  Copy();
}

// Messages every window of ours shares: the copy command, the late copy,
// activation.
bool CommonMessage(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) != kCopyCommand) return false;
      OnCopyCommand(window);
      return true;
    case WM_TIMER:
      if (wParam != kLateTimer) return false;
      KillTimer(window, kLateTimer);
      Copy();
      return true;
    case WM_ACTIVATEAPP:
      Log(std::wstring(L"active ") + (wParam ? L"1 " : L"0 ") + Stamp());
      return false;
    case WM_DESTROY:
      PostQuitMessage(0);
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (CommonMessage(window, message, wParam, lParam)) return 0;
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (CommonMessage(window, message, wParam, lParam)) return 0;
  return DefFrameProcW(window, g_mdiClient, message, wParam, lParam);
}

LRESULT CALLBACK DocumentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefMDIChildProcW(window, message, wParam, lParam);
}

HDDEDATA CALLBACK DdeServer(UINT type, UINT format, HCONV, HSZ first, HSZ second, HDDEDATA,
                            ULONG_PTR, ULONG_PTR) {
  switch (type) {
    case XTYP_CONNECT:
      return reinterpret_cast<HDDEDATA>(
          static_cast<ULONG_PTR>(DdeCmpStringHandles(first, g_ddeTopic) == 0 &&
                                 DdeCmpStringHandles(second, g_ddeService) == 0));
    case XTYP_REQUEST: {
      wchar_t item[512] = {};
      DdeQueryStringW(g_ddeInstance, second, item, 512, CP_WINUNICODE);
      wchar_t line[700];
      swprintf(line, 700, L"dde-request format=%u item=%ls", format, item);
      Log(line);
      if (format != CF_TEXT || lstrcmpiW(item, L"0xFFFFFFFF,sURL,sTitle") != 0) return nullptr;
      static const char kReply[] = "\"http://dde.example.org/page\",\"DDE Title\"";
      return DdeCreateDataHandle(g_ddeInstance, reinterpret_cast<LPBYTE>(const_cast<char*>(kReply)),
                                 sizeof(kReply), 0, second, CF_TEXT, 0);
    }
    default:
      return nullptr;
  }
}

bool StartDdeServer() {
  if (DdeInitializeW(&g_ddeInstance, &DdeServer,
                     APPCLASS_STANDARD | CBF_FAIL_EXECUTES | CBF_FAIL_POKES |
                         CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS,
                     0) != DMLERR_NO_ERROR)
    return false;
  g_ddeService = DdeCreateStringHandleW(g_ddeInstance, L"Chrome", CP_WINUNICODE);
  g_ddeTopic = DdeCreateStringHandleW(g_ddeInstance, L"WWW_GetWindowInfo", CP_WINUNICODE);
  return DdeNameService(g_ddeInstance, g_ddeService, nullptr, DNS_REGISTER) != nullptr;
}

void Register(const wchar_t* name, WNDPROC proc) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

HWND CreateMdi() {
  Register(L"CaptureSourceFrame", &FrameProc);
  Register(L"CaptureSourceDocument", &DocumentProc);
  const HWND frame = CreateWindowExW(0, L"CaptureSourceFrame", L"Frame caption",
                                     WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 60, 60, 560, 380,
                                     nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  CLIENTCREATESTRUCT client{};
  client.idFirstChild = 1000;
  RECT area;
  GetClientRect(frame, &area);
  g_mdiClient = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, area.right,
                                area.bottom, frame, nullptr, GetModuleHandleW(nullptr), &client);
  // The one made last is the active one.
  for (const wchar_t* title : {L"Document 3.txt", L"Document 7.txt"}) {
    MDICREATESTRUCTW document{};
    document.szClass = L"CaptureSourceDocument";
    document.szTitle = title;
    document.hOwner = GetModuleHandleW(nullptr);
    document.x = document.y = document.cx = document.cy = CW_USEDEFAULT;
    SendMessageW(g_mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&document));
  }
  return frame;
}

int RunWindow() {
  HWND window;
  if (g_mode == TMode::kMdi) {
    window = CreateMdi();
  } else {
    const bool chrome =
        g_mode == TMode::kDdeChrome || g_mode == TMode::kHtml || g_mode == TMode::kHtmlChromium;
    const wchar_t* className = chrome                  ? L"Chrome_WidgetWin_1"
                               : g_mode == TMode::kMoz ? L"MozillaUIWindowClass"
                                                       : L"CaptureSourceWindow";
    Register(className, &MainProc);
    window = CreateWindowExW(0, className, g_caption.c_str(), WS_OVERLAPPEDWINDOW, 60, 60, 560, 380,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  if (!window) return 1;
  g_main = window;
  if (g_mode == TMode::kDdeChrome && !StartDdeServer()) {
    Log(L"dde-server-failed");
    return 1;
  }
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  Log(L"started " + Stamp());
  ACCEL copy{FCONTROL | FVIRTKEY, 'C', kCopyCommand};
  const HACCEL accelerators = CreateAcceleratorTableW(&copy, 1);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (g_mdiClient && TranslateMDISysAccel(g_mdiClient, &msg)) continue;
    if (TranslateAcceleratorW(window, accelerators, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (g_ddeInstance) DdeUninitialize(g_ddeInstance);
  return 0;
}

// ---- Helper modes ----------------------------------------------------------

// An 8 x 6 bottom-up 24-bit DIB (rows padded to 4 bytes) of a fixed pattern.
std::string SmallDib() {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = 8;
  header.biHeight = 6;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = 24 * 6;
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof(header));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) {
      bytes += static_cast<char>(x * 30);
      bytes += static_cast<char>(y * 40);
      bytes += static_cast<char>((x + y) * 15);
    }
  return bytes;
}

int ClipSet(const std::wstring& text) {
  const HWND owner =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  const bool done = PutOnClipboard(owner, {{CF_UNICODETEXT, Bytes(text)}, {CF_DIB, SmallDib()}});
  DestroyWindow(owner);
  return done ? 0 : 1;
}

std::wstring FormatName(UINT format) {
  static const std::pair<UINT, const wchar_t*> kStandard[] = {
      {CF_TEXT, L"CF_TEXT"},
      {CF_BITMAP, L"CF_BITMAP"},
      {CF_OEMTEXT, L"CF_OEMTEXT"},
      {CF_DIB, L"CF_DIB"},
      {CF_UNICODETEXT, L"CF_UNICODETEXT"},
      {CF_LOCALE, L"CF_LOCALE"},
      {CF_DIBV5, L"CF_DIBV5"},
      {CF_ENHMETAFILE, L"CF_ENHMETAFILE"},
      {CF_METAFILEPICT, L"CF_METAFILEPICT"}};
  for (const auto& [id, name] : kStandard)
    if (id == format) return name;
  wchar_t name[256];
  if (GetClipboardFormatNameW(format, name, 256) > 0) return name;
  return std::to_wstring(format);
}

int ClipShow() {
  if (!OpenClipboardSoon(nullptr)) {
    Print(L"error: the clipboard cannot be opened");
    return 1;
  }
  std::wstring text = L"(none)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  std::wstring dib = L"(none)";
  if (HANDLE data = GetClipboardData(CF_DIB)) {
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data));
    const SIZE_T size = GlobalSize(data);
    if (header && size >= sizeof(BITMAPINFOHEADER)) {
      const int stride = ((header->biWidth * header->biBitCount + 31) / 32) * 4;
      const size_t pixels = static_cast<size_t>(stride) * std::abs(header->biHeight);
      const auto* bits = reinterpret_cast<const unsigned char*>(header) + header->biSize;
      unsigned hash = 2166136261u;
      for (size_t i = 0; i < pixels && header->biSize + i < size; ++i)
        hash = (hash ^ bits[i]) * 16777619u;
      wchar_t line[128];
      swprintf(line, 128, L"%ldx%ldx%u sum=%08x", header->biWidth, header->biHeight,
               header->biBitCount, hash);
      dib = line;
    }
    GlobalUnlock(data);
  }
  const DWORD sequence = GetClipboardSequenceNumber();
  std::wstring formats;
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format))
    formats += (formats.empty() ? L"" : L" ") + FormatName(format);
  CloseClipboard();
  std::wstring escaped;
  for (wchar_t c : text) {
    if (c == L'\r')
      escaped += L"\\r";
    else if (c == L'\n')
      escaped += L"\\n";
    else
      escaped += c;
  }
  Print(L"text: " + escaped);
  Print(L"dib: " + dib);
  Print(L"formats: " + formats);
  Print(L"sequence: " + std::to_wstring(sequence));
  return 0;
}

int Foreground() {
  const HWND window = GetForegroundWindow();
  wchar_t name[256] = {}, caption[256] = {};
  if (window) {
    GetClassNameW(window, name, 256);
    GetWindowTextW(window, caption, 256);
  }
  Print(std::wstring(name) + L"|" + caption);
  return 0;
}

BOOL CALLBACK FindVisibleEdit(HWND child, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(child, name, 16);
  if (lstrcmpiW(name, L"EDIT") == 0 && IsWindowVisible(child)) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

int Watch(const std::wstring& flag) {
  int shown = -1, editor = -1;
  while (GetFileAttributesW(flag.c_str()) != INVALID_FILE_ATTRIBUTES) {
    const HWND main = FindWindowW(L"TfMain", L"ScribbaloonStarted");
    const int nowShown = main && IsWindowVisible(main) ? 1 : 0;
    bool found = false;
    if (nowShown) EnumChildWindows(main, &FindVisibleEdit, reinterpret_cast<LPARAM>(&found));
    const int nowEditor = found ? 1 : 0;
    if (nowShown != shown) Log((nowShown ? L"shown " : L"hidden ") + Stamp());
    if (nowEditor != editor) Log((nowEditor ? L"editor " : L"no-editor ") + Stamp());
    shown = nowShown;
    editor = nowEditor;
    Sleep(1);
  }
  return 0;
}

int Usage() {
  Print(
      L"usage: capture_source [--log FILE] --plain CAPTION TEXT | --mdi | --dde-chrome | --html |"
      L" --html-chromium | --moz | --empty | --long N | --late MS | --clip-set TEXT |"
      L" --clip-show | --foreground | --watch LOG FLAGFILE");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> args(argv + 1, argv + argc);
  for (size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == L"--log") {
      g_log = args[i + 1];
      args.erase(args.begin() + i, args.begin() + i + 2);
      break;
    }
  if (args.empty()) return Usage();
  const std::wstring& mode = args[0];
  const size_t extra = args.size() - 1;
  if (mode == L"--clip-set" && extra == 1) return ClipSet(Unescape(args[1]));
  if (mode == L"--clip-show") return ClipShow();
  if (mode == L"--foreground") return Foreground();
  if (mode == L"--watch" && extra == 2) {
    g_log = args[1];
    return Watch(args[2]);
  }
  if (mode == L"--plain" && extra == 2) {
    g_mode = TMode::kPlain;
    g_caption = Unescape(args[1]);
    g_text = Unescape(args[2]);
  } else if (mode == L"--mdi") {
    g_mode = TMode::kMdi;
    g_text = L"MDI selected text";
  } else if (mode == L"--dde-chrome") {
    g_mode = TMode::kDdeChrome;
    g_caption = L"DDE Window Caption";
    g_text = L"DDE selected text";
  } else if (mode == L"--html") {
    g_mode = TMode::kHtml;
    g_caption = L"HTML Window Caption";
    g_text = L"HTML selected text \u2013 Gr\u00fc\u00dfe";
  } else if (mode == L"--html-chromium") {
    g_mode = TMode::kHtmlChromium;
    g_caption = L"Chromium Window Caption";
    g_text = L"Chromium selected text";
  } else if (mode == L"--moz") {
    g_mode = TMode::kMoz;
    g_caption = L"Moz Window Caption";
    g_text = L"Moz selected text";
  } else if (mode == L"--empty") {
    g_mode = TMode::kEmpty;
    g_caption = L"Empty Source";
  } else if (mode == L"--long" && extra == 1) {
    g_mode = TMode::kLong;
    g_caption = L"Long Source";
    const int length = _wtoi(args[1].c_str());
    for (int i = 0; i < length; ++i) g_text += static_cast<wchar_t>(L'0' + i % 10);
  } else if (mode == L"--late" && extra == 1) {
    g_mode = TMode::kLate;
    g_caption = L"Late Source";
    g_text = L"Late selected text";
    g_lateMs = static_cast<UINT>(_wtoi(args[1].c_str()));
  } else {
    return Usage();
  }
  return RunWindow();
}

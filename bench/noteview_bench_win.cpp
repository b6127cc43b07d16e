// Speed and memory of the note view on a list of 100,000 notes, each figure
// beside a baseline measured in the same run: showing the list against
// loading it from its file, a wheel step against a full repaint of the
// screenful, one card against drawing its text plainly, and the memory of a
// loaded database with its view against the same database without one.
// Prints a table; `--json FILE` also writes the figures. Never fails on
// speed.
//
//   noteview_bench_win [--json FILE] [--notes N] [--keep]
//
// A Windows console program (runs under wine64). The view lives in a
// visible popup window of 320 x 600.
#include <windows.h>
// After <windows.h>, which they need.
#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchDatabase.h"
#include "bench/BenchReport.h"
#include "bench/BenchWindows_win.h"
#include "bench/Measure.h"
#include "noteview/NoteListBox_win.h"
#include "noteview/NoteView_win.h"
#include "store/uNotesList.h"
#include "tests/support/DatabaseGenerator.h"
#include "tests/support/RecordWriter.h"
#include "ui/Form_win.h"

namespace vellumio::bench {
namespace {

namespace fs = std::filesystem;
using noteview::TNoteListBox;
using noteview::TNoteView;

constexpr double kMegabyte = 1024.0 * 1024.0;
constexpr int kWidth = 320;
constexpr int kHeight = 600;
constexpr const char* kMemoryChild = "--memory-child";

// ---- Clock ------------------------------------------------------------------------------------

double Microseconds() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1e6 / frequency;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// ---- The database -----------------------------------------------------------------------------

// The store benchmarks' generator settings, with every note in one list:
// the list the view shows.
std::vector<uint8_t> DatabaseBytes(int notes) {
  return testdata::WriteDatabase(bench::BenchDatabaseImage(notes, 1));
}

void WritePlain(const fs::path& path, const std::vector<uint8_t>& bytes) {
  const HANDLE file = CreateFileW(path.wstring().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path.string());
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) break;
    done += written;
  }
  CloseHandle(file);
  if (done != bytes.size()) throw std::runtime_error("cannot write " + path.string());
}

// ---- Windows ----------------------------------------------------------------------------------

TNoteView& ViewOf(TNoteListCollection& db) {
  auto* view = db.ListCount() > 0 ? dynamic_cast<TNoteView*>(db.List(0)->View()) : nullptr;
  if (!view) throw std::runtime_error("the loaded list has no view");
  return *view;
}

// Gives the view the parent's whole area and shows it (not painted yet).
void Place(TNoteView& view) {
  MoveWindow(view.Handle(), 0, 0, kWidth, kHeight, FALSE);
  view.SetVisible(true);
}

// ---- Memory, in a child process per case ----------------------------------------------------

struct Memory {
  double workingSet = 0, privateBytes = 0;  // bytes
};

Memory ProcessMemory() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof(counters));
  // PrivateUsage is the commit charge, which PagefileUsage also gives;
  // Wine fills only the latter.
  const SIZE_T committed = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
  return {static_cast<double>(counters.WorkingSetSize), static_cast<double>(committed)};
}

// Child side: `--memory-child DATABASE views|plain RESULT`. Both cases make
// the parent window; only "views" registers the factory, so the list gets
// its view, which is then shown with its first screenful painted.
int MemoryChild() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 5) return 2;
  const std::wstring database = argv[2], mode = argv[3], result = argv[4];
  LocalFree(argv);
  const HWND parent = MakeParent(kWidth, kHeight);
  TBenchHost host;
  noteview::TNoteViewFactory factory(parent, GetModuleHandleW(nullptr), host);
  const bool views = mode == L"views";
  if (views) SetNoteViewFactory(&factory);
  Memory memory;
  {
    TNoteListCollection db;
    db.LoadFromFile(std::u16string(database.begin(), database.end()));
    if (views) {
      TNoteView& view = ViewOf(db);
      Place(view);
      UpdateWindow(view.ListBox().Handle());
    }
    Pump();
    memory = ProcessMemory();
    std::ofstream out{fs::path(result)};
    out << static_cast<long long>(memory.workingSet) << " "
        << static_cast<long long>(memory.privateBytes) << "\n";
  }
  SetNoteViewFactory(nullptr);
  DestroyWindow(parent);
  return 0;
}

Memory MemoryOf(const fs::path& database, const char* mode, const fs::path& folder) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const fs::path result = folder / (std::string("memory-") + mode + ".txt");
  std::wstring command = L"\"" + std::wstring(self) + L"\" --memory-child \"" + database.wstring() +
                         L"\" " + std::wstring(mode, mode + std::strlen(mode)) + L" \"" +
                         result.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    throw std::runtime_error("cannot start the memory child");
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  long long workingSet = 0, privateBytes = 0;
  std::ifstream in(result);
  if (code != 0 || !(in >> workingSet >> privateBytes)) {
    std::printf("note: the memory child (%s) failed with exit code %lu\n", mode,
                static_cast<unsigned long>(code));
  }
  return {static_cast<double>(workingSet), static_cast<double>(privateBytes)};
}

// ---- The figures ------------------------------------------------------------------------------

struct Baselines {
  double memcpyMs = 0, writeMs = 0, loadMs = 0;
};

Baselines MeasureBaselines(const std::vector<uint8_t>& bytes, const fs::path& file,
                           const fs::path& folder, TNoteListCollection& db) {
  Baselines b;
  std::unique_ptr<uint8_t[]> target(new uint8_t[bytes.size()]);
  std::memcpy(target.get(), bytes.data(), bytes.size());  // pages touched once
  b.memcpyMs = MedianMs(5, [&](int) {
    std::memcpy(target.get(), bytes.data(), bytes.size());
    asm volatile("" : : "r"(target.get()) : "memory");
  });
  const fs::path copy = folder / "plain-write.bin";
  b.writeMs = MedianMs(5, [&](int) { WritePlain(copy, bytes); });
  fs::remove(copy);
  const std::u16string path = file.u16string();
  db.LoadFromFile(path);  // page cache and allocator warm
  b.loadMs = MedianMs(
      5, [&](int) { db.Clear(); }, [&](int) { db.LoadFromFile(path); });
  db.Clear();
  return b;
}

struct Showing {
  double loadMs = 0;     // loading with the view made for the list
  double rebuildMs = 0;  // NotesChanged
  double paintMs = 0;    // the first paint of the screenful
  double showMs = 0;     // both in one, median of the sums
};

// Every repetition loads the file again with the factory registered (the
// new list gets a new view, nothing measured yet), places and shows the
// view, and then times the view taking the list and the first paint.
Showing MeasureShowing(TNoteListCollection& db, const fs::path& file) {
  const std::u16string path = file.u16string();
  std::vector<double> loads, rebuilds, paints, shows;
  bool measuredBefore = false;
  for (int i = 0; i < 5; ++i) {
    db.Clear();
    Pump();
    const double t0 = Microseconds();
    db.LoadFromFile(path);
    const double t1 = Microseconds();
    TNoteView& view = ViewOf(db);
    Pump();  // the view is still hidden: nothing of it is painted here
    Place(view);
    const HWND box = view.ListBox().Handle();
    RECT client{};
    GetClientRect(box, &client);
    TNoteItem* first = view.Notes().VisibleCount() > 0 ? view.Notes().VisibleNote(0) : nullptr;
    if (first && first->LayoutWidth() == client.right) measuredBefore = true;

    const double t2 = Microseconds();
    view.NotesChanged();
    const double t3 = Microseconds();
    UpdateWindow(box);
    const double t4 = Microseconds();
    loads.push_back((t1 - t0) / 1000);
    rebuilds.push_back((t3 - t2) / 1000);
    paints.push_back((t4 - t3) / 1000);
    shows.push_back((t4 - t2) / 1000);
    if (view.ItemCount() != view.Notes().VisibleCount() + 1)
      std::printf("note: the view shows %d items for %d notes\n", view.ItemCount(),
                  view.Notes().VisibleCount());
  }
  if (measuredBefore) std::printf("note: the first card was measured before the timed paint\n");
  Showing s;
  s.loadMs = Median(loads);
  s.rebuildMs = Median(rebuilds);
  s.paintMs = Median(paints);
  s.showMs = Median(shows);
  std::printf("showing: NotesChanged %.2f ms, first paint %.2f ms, both %.2f ms (medians of 5)\n",
              s.rebuildMs, s.paintMs, s.showMs);
  return s;
}

struct Scrolling {
  double wheelUs = 0, repaintUs = 0;
};

// One wheel step (one item down) with its repaint, and as its baseline a
// repaint of the whole screenful where the heights are already known.
Scrolling MeasureScrolling(TNoteView& view) {
  TNoteListBox& list = view.ListBox();
  const HWND box = list.Handle();
  Pump();
  POINT centre{kWidth / 2, kHeight / 2};
  ClientToScreen(box, &centre);
  const int steps = std::min(200, std::max(1, list.Count() - 40));
  const int topBefore = list.TopIndex();
  std::vector<double> wheel, message, repaint;
  for (int i = 0; i < steps; ++i) {
    const double t0 = Microseconds();
    SendMessageW(box, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(centre.x, centre.y));
    const double t1 = Microseconds();
    UpdateWindow(box);
    const double t2 = Microseconds();
    wheel.push_back(t2 - t0);
    message.push_back(t1 - t0);
  }
  if (list.TopIndex() - topBefore != steps)
    std::printf("note: %d wheel steps moved the top item by %d\n", steps,
                list.TopIndex() - topBefore);
  // Where a wheel message's time goes before any painting: the scroll bar
  // set again at its own position, redrawn as the list box does it.
  std::vector<double> scrollBar;
  for (int i = 0; i < 50; ++i) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    info.nPos = list.TopIndex();
    const double t0 = Microseconds();
    SetScrollInfo(box, SB_VERT, &info, TRUE);
    scrollBar.push_back(Microseconds() - t0);
  }
  std::printf("SetScrollInfo with redraw: %.0f us (median)\n", Median(scrollBar));
  for (int i = 0; i < steps; ++i) {
    const double t0 = Microseconds();
    InvalidateRect(box, nullptr, FALSE);
    UpdateWindow(box);
    repaint.push_back(Microseconds() - t0);
  }
  std::printf("wheel: %d steps, top item %d -> %d; the message alone %.0f us (median)\n", steps,
              topBefore, list.TopIndex(), Median(message));
  return {Median(wheel), Median(repaint)};
}

struct CardPaint {
  double cardUs = 0, textUs = 0;
};

// The card list's DrawItem callback into a memory DC, over the first few
// hundred notes in turn; the baseline fills the same rectangle and draws
// the card's text with DrawText in a font of the view's size.
CardPaint MeasureCards(TNoteView& view) {
  TNoteListBox& list = view.ListBox();
  RECT client{};
  GetClientRect(list.Handle(), &client);
  const int width = client.right;
  const int items = std::min(list.Count() - 1, 400);
  std::vector<int> heights(static_cast<size_t>(items) + 1, 0);
  int tallest = 1;
  for (int i = 1; i <= items; ++i) {
    heights[i] = list.MeasureItem(i);
    tallest = std::max(tallest, heights[i]);
  }
  const HDC screen = GetDC(nullptr);
  const HDC mem = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, tallest);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ oldBitmap = SelectObject(mem, bitmap);

  LOGFONTW font{};
  font.lfHeight = view.Metrics().lineHeight;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  const std::u16string& face = ui::FormFontFace();
  std::copy_n(face.begin(), std::min<size_t>(face.size(), LF_FACESIZE - 1), font.lfFaceName);
  const HFONT textFont = CreateFontIndirectW(&font);
  const HBRUSH brush = CreateSolidBrush(view.Scheme().NoteBk1);
  std::vector<std::wstring> texts;
  for (int i = 1; i <= items; ++i) {
    const std::u16string text = view.Notes().VisibleNote(i - 1)->DisplayText();
    texts.emplace_back(text.begin(), text.end());
  }

  std::vector<double> cards, plain;
  for (int pass = 0; pass < 3; ++pass) {
    for (int i = 1; i <= items; ++i) {
      const RECT bounds{0, 0, width, heights[i]};
      const double t0 = Microseconds();
      list.DrawItem(mem, i, bounds, false);
      cards.push_back(Microseconds() - t0);
    }
    for (int i = 1; i <= items; ++i) {
      const RECT bounds{0, 0, width, heights[i]};
      RECT area{55, 0, width, heights[i]};
      const std::wstring& text = texts[i - 1];
      const double t0 = Microseconds();
      FillRect(mem, &bounds, brush);
      const HGDIOBJ old = SelectObject(mem, textFont);
      DrawTextW(mem, text.c_str(), static_cast<int>(text.size()), &area,
                DT_WORDBREAK | DT_NOPREFIX);
      SelectObject(mem, old);
      plain.push_back(Microseconds() - t0);
    }
  }
  DeleteObject(brush);
  DeleteObject(textFont);
  SelectObject(mem, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(mem);
  std::printf("cards: %d notes painted 3 times each, %d px wide\n", items, width);
  return {Median(cards), Median(plain)};
}

fs::path MakeFolder() {
  const fs::path folder = fs::temp_directory_path() /
                          ("vellumio-noteview-bench-" + std::to_string(GetCurrentProcessId()));
  fs::create_directories(folder);
  return folder;
}

int Run(const BenchOptions& options) {
  const fs::path folder = MakeFolder();
  const fs::path file = folder / "notes.sbn";
  std::vector<uint8_t> bytes = DatabaseBytes(options.count);
  WritePlain(file, bytes);
  std::printf("%d notes in one list, database file %.1f MB\n", options.count,
              bytes.size() / kMegabyte);

  const HWND parent = MakeParent(kWidth, kHeight);
  Pump();
  TBenchHost host;
  noteview::TNoteViewFactory factory(parent, GetModuleHandleW(nullptr), host);
  std::vector<Figure> figures;
  {
    TNoteListCollection db;
    const Baselines base = MeasureBaselines(bytes, file, folder, db);
    bytes = {};
    std::printf("baselines: memcpy of the file %.2f ms, plain write of it %.2f ms\n", base.memcpyMs,
                base.writeMs);
    std::printf("load without a view: %.1f ms (%.1fx memcpy, %.1fx plain write)\n", base.loadMs,
                base.loadMs / std::max(base.memcpyMs, 1e-6),
                base.loadMs / std::max(base.writeMs, 1e-6));

    SetNoteViewFactory(&factory);
    const Showing showing = MeasureShowing(db, file);
    TNoteView& view = ViewOf(db);
    const Scrolling scrolling = MeasureScrolling(view);
    const CardPaint cards = MeasureCards(view);
    db.Clear();
    SetNoteViewFactory(nullptr);
    Pump();

    figures.push_back(
        {"show list (take + paint)", showing.showMs, "ms", "load, no view", base.loadMs, 1.0});
    figures.push_back(
        {"load with a view", showing.loadMs, "ms", "load, no view", base.loadMs, 1.1});
    figures.push_back({"wheel step + repaint", scrolling.wheelUs, "us", "full repaint",
                       scrolling.repaintUs, 1.5});
    figures.push_back(
        {"one card's paint", cards.cardUs, "us", "FillRect+DrawText", cards.textUs, 3.0});
  }
  DestroyWindow(parent);
  Pump();

  const Memory plain = MemoryOf(file, "plain", folder);
  const Memory views = MemoryOf(file, "views", folder);
  std::printf(
      "memory after loading: no view %.1f MB working set, %.1f MB private; "
      "shown view %.1f MB, %.1f MB (+%.1f MB, +%.1f MB)\n",
      plain.workingSet / kMegabyte, plain.privateBytes / kMegabyte, views.workingSet / kMegabyte,
      views.privateBytes / kMegabyte, (views.workingSet - plain.workingSet) / kMegabyte,
      (views.privateBytes - plain.privateBytes) / kMegabyte);
  figures.push_back({"working set, with view", views.workingSet / kMegabyte, "MB", "no view",
                     plain.workingSet / kMegabyte, 1.1});
  figures.push_back({"private bytes, with view", views.privateBytes / kMegabyte, "MB", "no view",
                     plain.privateBytes / kMegabyte, 1.1});

  std::printf("\n");
  Report(figures, options.jsonPath);
  std::fflush(stdout);
  if (!options.keep) {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  return 0;
}

}  // namespace
}  // namespace vellumio::bench

int main(int argc, char** argv) {
  using namespace vellumio::bench;
  if (argc >= 2 && std::strcmp(argv[1], kMemoryChild) == 0) return MemoryChild();
  return BenchMain(argc, argv, {"noteview_bench_win", "--notes", 100000, 50}, Run);
}

// One keystroke in the search panel's filter field with 100,000 notes in
// five lists, against a fresh scan of the same notes with the live
// filter's test in the same run. The keystroke does what the main window
// does for it: keep the selection, set the filter on every list (which
// rebuilds their views), build the tab captions and colours into the real
// tab strip, restore the selection, and repaint view and strip. Prints a table; `--json FILE`
// also writes the figures. Never fails on speed.
//
//   filter_bench_win [--json FILE] [--notes N]
//
// A Windows console program (runs under wine64).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/TabStrip_win.h"
#include "base/Stream.h"
#include "bench/BenchDatabase.h"
#include "bench/BenchReport.h"
#include "bench/BenchWindows_win.h"
#include "bench/Measure.h"
#include "noteview/NoteListBox_win.h"
#include "noteview/NoteView_win.h"
#include "store/uNotesList.h"
#include "tests/support/RecordWriter.h"

namespace vellumio::bench {
namespace {

using noteview::TNoteView;

constexpr int kWidth = 320, kHeight = 600, kStripHeight = 24;
constexpr int kLists = 5;

// Filters as typed one character at a time ("r", "re", "rev", "revi")
// into words of the generator's texts, from one that nearly every note
// holds to a few that none does.
const std::vector<std::u16string> kFilters = {u"e",  u"r",   u"re", u"rev", u"revi", u"d",
                                              u"dr", u"dra", u"q",  u"qua", u"zz",   u"xyz"};

// Every note tested against the filter afresh, as the lists do when it
// changes; the count keeps the compiler from dropping the loop.
int Scan(TNoteListCollection& db, const std::u16string& filter) {
  int matches = 0;
  for (int l = 0; l < db.ListCount(); ++l) {
    TNotesList& list = *db.List(l);
    for (int i = 0; i < list.Count(); ++i) matches += list.Item(i)->MatchesFilter(filter) ? 1 : 0;
  }
  return matches;
}

struct Keystroke {
  double ms = 0;
  int visible = 0;
};

Keystroke Type(TNoteListCollection& db, TNoteView& view, app::TTabStrip& strip,
               const std::u16string& filter) {
  view.SaveSelection();
  db.SetFilter(filter);
  std::vector<TabInfo> tabs;
  db.FillTabs(tabs, true);
  strip.SetTabs(std::move(tabs));
  strip.SetSelected(db.CurrentList());
  view.RestoreSelection();
  RedrawWindow(view.ListBox().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RedrawWindow(strip.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return {0, db.Current()->VisibleCount()};
}

int Run(const BenchOptions& options) {
  const HWND parent = MakeParent(kWidth, kHeight + kStripHeight);
  Pump();
  TBenchHost host;
  noteview::TNoteViewFactory factory(parent, GetModuleHandleW(nullptr), host);
  SetNoteViewFactory(&factory);
  std::vector<Figure> figures;
  {
    TNoteListCollection db;
    {
      TMemoryStream stream(testdata::WriteDatabase(BenchDatabaseImage(options.count, kLists)));
      db.LoadFromStream(stream);
    }
    std::printf("%d notes in %d lists\n", options.count, db.ListCount());
    auto* view = dynamic_cast<TNoteView*>(db.Current()->View());
    if (!view) throw std::runtime_error("the current list has no view");
    MoveWindow(view->Handle(), 0, 0, kWidth, kHeight, FALSE);
    view->SetVisible(true);
    app::TTabStrip strip(parent, GetModuleHandleW(nullptr));
    MoveWindow(strip.Handle(), 0, kHeight, kWidth, kStripHeight, FALSE);
    ShowWindow(strip.Handle(), SW_SHOWNA);
    view->NotesChanged();
    Pump();
    UpdateWindow(view->ListBox().Handle());

    // Each filter is scanned first, then the notes' cached answers are
    // spent on another text, then the same filter is typed: both pay for
    // testing every note afresh.
    std::vector<double> scans, keys;
    long long scanned = 0, shown = 0;
    for (int round = 0; round < 2; ++round) {
      for (const std::u16string& filter : kFilters) {
        scans.push_back(MedianMs(1, [&](int) { scanned += Scan(db, filter); }));
        Scan(db, u"\u0001");
        keys.push_back(MedianMs(1, [&](int) { shown += Type(db, *view, strip, filter).visible; }));
        Pump();
      }
    }
    std::sort(scans.begin(), scans.end());
    std::sort(keys.begin(), keys.end());
    const double scanMs = scans[scans.size() / 2], keyMs = keys[keys.size() / 2];
    std::printf("%zu keystrokes: %lld notes shown in the current list, %lld matches in all lists\n",
                keys.size(), shown, scanned);
    std::printf("keystroke median %.2f ms (min %.2f, max %.2f), scan median %.2f ms (min %.2f, max %.2f)\n",
                keyMs, keys.front(), keys.back(), scanMs, scans.front(), scans.back());
    figures.push_back({"filter keystroke", keyMs, "ms",
                       "MatchesFilter scan", scanMs, 2.0});
    db.Clear();
  }
  SetNoteViewFactory(nullptr);
  DestroyWindow(parent);
  Pump();
  std::printf("\n");
  Report(figures, options.jsonPath);
  std::fflush(stdout);
  return 0;
}

}  // namespace
}  // namespace vellumio::bench

int main(int argc, char** argv) {
  using namespace vellumio::bench;
  return BenchMain(argc, argv, {"filter_bench_win", "--notes", 100000, 50}, Run);
}

// The list tabs on a real window: tabs that do not fit share the width
// with the short ones kept whole, clicks select (or are refused), and the
// right button reports the tab under it.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/TabStrip_win.h"

namespace vellumio::app {
namespace {

struct TabStripWin : ::testing::Test {
  HWND parent = CreateWindowExW(0, L"STATIC", L"TabStripWinTest", WS_POPUP | WS_VISIBLE, 0, 0, 400,
                                60, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  TTabStrip strip{parent, GetModuleHandleW(nullptr)};

  ~TabStripWin() override { DestroyWindow(parent); }

  void Place(int width) {
    MoveWindow(strip.Handle(), 0, 0, width, strip.Height(), FALSE);
    ShowWindow(strip.Handle(), SW_SHOW);
  }
  // The left edge of every tab, found by walking the strip's middle row.
  std::vector<int> Lefts(int width) {
    std::vector<int> lefts;
    int last = -1;
    for (int x = 0; x < width; ++x) {
      const int tab = strip.TabAt(POINT{x, strip.Height() / 2});
      if (tab != last && tab >= 0) lefts.push_back(x);
      last = tab;
    }
    return lefts;
  }
  static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
};

TEST_F(TabStripWin, NarrowStripsCutOnlyTheWidestTabs) {
  std::vector<TabInfo> tabs = {{u"A"}, {u"A rather long list name"}, {u"B"}, {u"Another long one here"}};
  strip.SetTabs(tabs);
  Place(1000);
  const std::vector<int> wide = Lefts(1000);
  ASSERT_EQ(wide.size(), 4u);
  Place(200);
  const std::vector<int> narrow = Lefts(200);
  ASSERT_EQ(narrow.size(), 4u);  // every tab still reachable
  EXPECT_EQ(narrow[1] - narrow[0], wide[1] - wide[0]);  // "A" is kept whole
  EXPECT_LT(narrow[2] - narrow[1], wide[2] - wide[1]);  // the long name is cut
  EXPECT_EQ(strip.TabAt(POINT{199, strip.Height() / 2}), -1);  // all inside the strip
}

TEST_F(TabStripWin, ClicksSelectUnlessRefusedAndTheRightButtonNamesTheTab) {
  strip.SetTabs({{u"One"}, {u"Two"}, {u"New list"}});
  Place(400);
  strip.SetSelected(0);
  const std::vector<int> lefts = Lefts(400);
  ASSERT_EQ(lefts.size(), 3u);
  std::vector<int> asked, right;
  strip.OnChanging = [&](int index) {
    asked.push_back(index);
    return index != 2;  // the new-list tab is not selected
  };
  strip.OnRightClick = [&](int index, POINT) { right.push_back(index); };
  const int y = strip.Height() / 2;
  for (int i : {1, 2}) {
    SendMessageW(strip.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(lefts[i] + 3, y));
    SendMessageW(strip.Handle(), WM_LBUTTONUP, 0, At(lefts[i] + 3, y));
  }
  EXPECT_EQ(asked, (std::vector<int>{1, 2}));
  EXPECT_EQ(strip.Selected(), 1);
  SendMessageW(strip.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(lefts[0] + 3, y));
  SendMessageW(strip.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(390, y));
  EXPECT_EQ(right, (std::vector<int>{0, -1}));
}

}  // namespace
}  // namespace vellumio::app

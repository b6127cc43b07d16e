#include "app/ErrorBarLayout.h"

#include <algorithm>

namespace vellumio::app {

namespace {
constexpr int32_t kMinBarWidth = 220;
constexpr int32_t kFirstWidth = 125, kSecondWidth = 75, kButtonHeight = 25, kButtonGap = 5;

int32_t BarWidth(int32_t boxWidth) { return std::max(boxWidth - 100, kMinBarWidth); }
}  // namespace

int32_t ErrorBarLabelWidth(int32_t boxWidth) { return BarWidth(boxWidth) - 40; }

TErrorBarLayout LayOutErrorBar(int32_t boxWidth, int32_t boxHeight, int32_t labelHeight) {
  TErrorBarLayout l;
  l.bar.width = BarWidth(boxWidth);
  l.bar.height = labelHeight + 90;
  l.bar.x = (boxWidth - l.bar.width) / 2;
  l.bar.y = (boxHeight - l.bar.height) / 2;
  l.label = {20, 20, l.bar.width - 40, labelHeight};
  const int32_t buttonsLeft = (l.bar.width - (kFirstWidth + kButtonGap + kSecondWidth)) / 2;
  const int32_t buttonsTop = l.bar.height - 40;
  l.first = {buttonsLeft, buttonsTop, kFirstWidth, kButtonHeight};
  l.second = {buttonsLeft + kFirstWidth + kButtonGap, buttonsTop, kSecondWidth, kButtonHeight};
  return l;
}

}  // namespace vellumio::app

#include "app/ErrorBarLayout.h"

#include <algorithm>

namespace vellumio::app {

namespace {
constexpr int32_t kMinBarWidth = 220;
constexpr int32_t kFirstWidth = 125, kSecondWidth = 75, kButtonHeight = 25, kButtonGap = 5;

int32_t BarWidth(int32_t boxWidth) { return std::max(boxWidth - 100, kMinBarWidth); }
}  // namespace

int32_t ErrorBarLabelWidth(int32_t boxWidth) { return BarWidth(boxWidth) - 40; }

TErrorBarLayout LayOutErrorBar(int32_t boxWidth, int32_t boxHeight, int32_t labelHeight,
                               int32_t firstCaption, int32_t secondCaption) {
  // Room around a caption, as the system's push buttons leave it.
  constexpr int32_t kCaptionPadding = 16;
  const int32_t firstWidth = std::max(kFirstWidth, firstCaption + kCaptionPadding);
  const int32_t secondWidth = std::max(kSecondWidth, secondCaption + kCaptionPadding);
  TErrorBarLayout l;
  // Wide enough for the buttons too, with the margin the design leaves them.
  l.bar.width = std::max(BarWidth(boxWidth), firstWidth + kButtonGap + secondWidth + 2 * 7);
  l.bar.height = labelHeight + 90;
  l.bar.x = (boxWidth - l.bar.width) / 2;
  l.bar.y = (boxHeight - l.bar.height) / 2;
  l.label = {20, 20, l.bar.width - 40, labelHeight};
  const int32_t buttonsLeft = (l.bar.width - (firstWidth + kButtonGap + secondWidth)) / 2;
  const int32_t buttonsTop = l.bar.height - 40;
  l.first = {buttonsLeft, buttonsTop, firstWidth, kButtonHeight};
  l.second = {buttonsLeft + firstWidth + kButtonGap, buttonsTop, secondWidth, kButtonHeight};
  return l;
}

}  // namespace vellumio::app

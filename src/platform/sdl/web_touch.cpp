#include "platform/sdl/web_touch.h"

#include <array>
#include <vector>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace platform {

#ifdef __EMSCRIPTEN__

namespace {

// What web/touch.js queues, seven numbers a record: the kind, then its values.
enum RecordKind : int {
  kPage = 1,     // page width, height, the picture's left, top, width, height
  kTouched = 2,  // a touch anywhere
  kDown = 3,     // finger, x, y
  kMove = 4,     // finger, x, y
  kUp = 5,       // finger
  kTurned = 6,   // 1: the page stands on end and asks to be turned, 0: turned back
};
constexpr int kRecordSize = 7;
constexpr int kRecordsAtOnce = 64;

// clang-format off
EM_JS(int, SkTouchTake, (double* out, int capacity), {
  return Module.skTouch ? Module.skTouch.take(out >> 3, capacity) : 0;
});

EM_JS(void, SkTouchStart, (), {
  if (Module.skTouch) Module.skTouch.start();
});

EM_JS(void, SkTouchPaint, (const float* look, int count), {
  if (Module.skTouch) Module.skTouch.paint(HEAPF32.subarray(look >> 2, (look >> 2) + count));
});
// clang-format on

}  // namespace

WebTouch::WebTouch() {
  SkTouchStart();
}

void WebTouch::Pump() {
  std::array<double, kRecordSize * kRecordsAtOnce> records{};
  for (int round = 0; round < 16; ++round) {
    const int n = SkTouchTake(records.data(), kRecordsAtOnce);
    for (int i = 0; i < n; ++i) {
      const double* r = &records[static_cast<size_t>(i * kRecordSize)];
      const auto finger = static_cast<int64_t>(r[1]);
      const TouchPoint at{static_cast<float>(r[2]), static_cast<float>(r[3])};
      switch (static_cast<int>(r[0])) {
        case kPage:
          controls_.SetPage(static_cast<float>(r[1]), static_cast<float>(r[2]),
                            {static_cast<float>(r[3]), static_cast<float>(r[4]),
                             static_cast<float>(r[5]), static_cast<float>(r[6])});
          break;
        case kTouched:
          controls_.Touched();
          break;
        case kDown:
          controls_.Down(finger, at);
          break;
        case kMove:
          controls_.Move(finger, at);
          break;
        case kUp:
          controls_.Up(finger);
          break;
        case kTurned:
          if (r[1] != 0) turnedAway_ = true;
          break;
        default:
          break;
      }
    }
    if (n < kRecordsAtOnce) break;
  }
  if (controls_.TakeChanged()) Paint();
}

void WebTouch::Paint() {
  // flying, visible, stick base x y, knob x y, radius, held, pressed; then each button's
  // kind, x, y, radius.
  const TouchLayout& l = controls_.Layout();
  std::vector<float> look = {controls_.Flying() ? 1.0F : 0.0F,
                             controls_.Visible() ? 1.0F : 0.0F,
                             controls_.StickBase().X,
                             controls_.StickBase().Y,
                             controls_.StickKnob().X,
                             controls_.StickKnob().Y,
                             l.StickRadius,
                             controls_.StickHeld() ? 1.0F : 0.0F,
                             static_cast<float>(controls_.Pressed())};
  for (const TouchLayout::Button& b : l.Buttons) {
    look.insert(look.end(), {static_cast<float>(b.Which), b.Centre.X, b.Centre.Y, b.Radius});
  }
  SkTouchPaint(look.data(), static_cast<int>(look.size()));
}

#else

WebTouch::WebTouch() = default;
void WebTouch::Pump() {}
void WebTouch::Paint() {}

#endif

void WebTouch::SetFlying(bool flying) {
  controls_.SetFlying(flying);
  Pump();
}

void WebTouch::KeyOrPadUsed() {
  controls_.KeyOrPadUsed();
  Pump();
}

bool WebTouch::TakeTurnedAway() {
  const bool turned = turnedAway_;
  turnedAway_ = false;
  return turned;
}

}  // namespace platform

// The flight's controls on a touch screen: a stick where the left thumb lands and five buttons
// (cannon, weapon, next weapon, repair, pause), laid out around the picture in the page's own
// pixels, followed finger by finger and read once a tick as the input states the keys and the
// pad give. Plain arithmetic and bookkeeping: a page feeds it the touches and draws what it
// shows, a test feeds it by hand.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/backend.h"

namespace platform {

struct TouchPoint {
  float X = 0;
  float Y = 0;
};

struct TouchRect {
  float Left = 0;
  float Top = 0;
  float Width = 0;
  float Height = 0;
};

struct TouchLayout {
  struct Button {
    TouchButton Which = TouchButton::Cannon;
    TouchPoint Centre;
    float Radius = 0;
  };
  float PageWidth = 0;
  float PageHeight = 0;
  // The controls lie in the bars beside the picture (a phone held across), not over it.
  bool Beside = false;
  // Where the stick rests while no thumb holds it, and how far it travels.
  TouchPoint StickHome;
  float StickRadius = 0;
  std::array<Button, kTouchButtonCount> Buttons{};
};

// The controls for a page of that size in which the picture takes `picture`. Where the bars
// beside the picture can hold the buttons they go there, the stick's resting place in the
// left bar; otherwise the buttons gather in the lower right corner over the picture and the
// pause below the status bar's right end, the stick rests in the lower left.
TouchLayout LayOutTouchControls(float pageWidth, float pageHeight, const TouchRect& picture);

class TouchControls {
 public:
  // The stick's dead centre and the push that counts as all the way, as shares of its radius.
  static constexpr float kDeadZone = 0.2F;
  static constexpr float kFullPush = 0.8F;
  // A finger this much beyond a button's radius still presses it.
  static constexpr float kReach = 1.15F;

  TouchControls();

  void SetPage(float width, float height, const TouchRect& picture);
  const TouchLayout& Layout() const { return layout_; }

  // A flight is running: the controls take the page's touches. Ending it lets go of all.
  void SetFlying(bool flying);
  bool Flying() const { return flying_; }
  // A touch anywhere, in a menu too: from now on a flight shows its controls.
  void Touched();
  // A key or the pad was used: the controls hide until the next touch.
  void KeyOrPadUsed();
  bool Visible() const { return flying_ && shown_; }

  // Fingers in the page's pixels, each known by the page's number for it.
  void Down(int64_t finger, TouchPoint at);
  void Move(int64_t finger, TouchPoint at);
  void Up(int64_t finger);
  void LetGoOfAll();

  // Once a tick: where the stick points and the buttons held. A stick pushed part of the way
  // holds its direction that share of the ticks, spread evenly, so the aircraft drifts slowly
  // under a light thumb and flies flat out under a full one. A button tapped between two ticks
  // still counts in the next.
  TouchState Read();

  // What the page draws.
  TouchPoint StickBase() const { return stickBase_; }
  TouchPoint StickKnob() const { return stickKnob_; }
  bool StickHeld() const { return stickHeld_; }
  uint8_t Pressed() const;
  // Whether anything drawn changed since the last call.
  bool TakeChanged();

 private:
  struct Finger {
    int64_t Id = 0;
    int Button = -1;  // the index in the layout's buttons it presses, or -1
  };
  int ButtonAt(TouchPoint at) const;
  Finger* Find(int64_t id);
  void MoveKnob(TouchPoint at);
  void RestStick();
  int8_t Axis(size_t axis, float push);

  TouchLayout layout_;
  bool flying_ = false;
  bool shown_ = false;
  bool changed_ = true;
  std::vector<Finger> fingers_;
  bool stickHeld_ = false;
  int64_t stickFinger_ = 0;
  TouchPoint stickBase_;
  TouchPoint stickKnob_;
  uint8_t tapped_ = 0;  // pressed since the last read
  // Each axis: the side it was last pushed to and the share of ticks it is owed there.
  std::array<int8_t, 2> side_{};
  std::array<float, 2> owed_{};
};

}  // namespace platform

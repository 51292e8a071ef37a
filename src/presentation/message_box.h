// The modal message box, drawn by the game over its window like a desktop dialog: a title
// bar, an icon, the text wrapped to fit, and one OK button.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "presentation/window.h"

class TMessageBoxLayer : public TWindowLayer {
 public:
  TMessageBoxLayer(std::string caption, std::string text, bool error);

  // Places the box in the middle of a client area of that size.
  void Layout(int32_t clientWidth, int32_t clientHeight);
  // The size the box needs (after Layout).
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool Answered() const { return answered_; }
  // The OK button's rectangle in window pixels.
  int32_t ButtonX() const { return x_ + buttonX_; }
  int32_t ButtonY() const { return y_ + buttonY_; }
  static constexpr int32_t kButtonWidth = 75;
  static constexpr int32_t kButtonHeight = 23;

  bool Visible() const override { return !answered_; }
  void Paint(TDirectDrawSurface& picture) override;
  bool HandleEvent(const platform::Event& e) override;

 private:
  bool OnButton(int32_t x, int32_t y) const;

  std::string caption_;
  std::string text_;
  bool error_;
  std::vector<std::string> lines_;
  int32_t x_ = 0, y_ = 0, width_ = 0, height_ = 0;
  int32_t buttonX_ = 0, buttonY_ = 0;
  int32_t lineHeight_ = 0;
  bool pressed_ = false;    // the mouse went down on the button
  bool pressSeen_ = false;  // a press began while the box was open
  bool answered_ = false;
};

// The window's controls: buttons, memos, a one-line edit and a radio group, drawn by the game
// over the presented picture (never into the back buffer) the way a desktop form's controls
// lie over its drawing surface. They behave like desktop controls: hover, pressed and focus
// states, Tab order, Enter/Space on the focused button, arrows in a radio group, wheel and
// keys in a long memo, and a gamepad moving the focus. A key or pad button already held when
// a screen appears clicks nothing until it is released and pressed again.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "presentation/color.h"
#include "presentation/window.h"

class TControls;

struct TControlFont {
  int32_t Points = 8;  // the form's "MS Sans Serif" 8 pt
  TColor Color = clBlack;
};

class TControl {
 public:
  explicit TControl(std::string name) : Name(std::move(name)) {}
  virtual ~TControl() = default;
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  const std::string Name;  // the form name: "Button2", "Memo7", "Edit1"...

  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  void SetLeft(int32_t left) { SetBounds(left, top_, width_, height_); }
  void SetTop(int32_t top) { SetBounds(left_, top, width_, height_); }
  void SetHeight(int32_t height) { SetBounds(left_, top_, width_, height); }

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  TControlFont Font() const { return font_; }
  void SetFont(TControlFont font);
  // Background; only memos, edits and the radio group paint one.
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  // The click action; it receives the control clicked. Reassigned freely by the screens.
  std::function<void(TControl& sender)> OnClick;

  // Whether Tab can stop here (visible, enabled, a kind that takes focus).
  virtual bool CanFocus() const { return visible_ && enabled_; }
  // What a script's `expect` may find: a button's caption, a memo's lines, an edit's text.
  virtual std::vector<std::string> VisibleTexts() const { return {}; }

  // Painting and input, called by TControls.
  virtual void Paint(TDirectDrawSurface& picture, bool focused) = 0;
  // Whether (x, y) in window pixels lies on the control.
  bool Contains(int32_t x, int32_t y) const;

 protected:
  friend class TControls;
  void Changed();  // asks the window for a repaint

  TControls* owner_ = nullptr;
  int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  TControlFont font_;
  TColor color_ = 0xF0F0F0;
  bool hover_ = false;
  bool pressed_ = false;
};

class TButton : public TControl {
 public:
  using TControl::TControl;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  std::vector<std::string> VisibleTexts() const override { return {caption_}; }
  void Paint(TDirectDrawSurface& picture, bool focused) override;

 private:
  std::string caption_;
};

// A multi-line text box. Each line is a paragraph that the memo wraps at its width; when the
// wrapped text is taller than the memo a scroll bar appears and the wheel and keys scroll.
class TMemo : public TControl {
 public:
  using TControl::TControl;
  const std::vector<std::string>& Lines() const { return lines_; }
  void Clear();
  void Add(const std::string& line);
  bool ReadOnly = true;
  // A disabled memo cannot take the focus; a read-only enabled one can (to scroll it).
  bool CanFocus() const override;
  // The first wrapped row shown.
  int32_t TopRow() const { return topRow_; }
  void ScrollBy(int32_t rows);
  std::vector<std::string> VisibleTexts() const override { return lines_; }
  void Paint(TDirectDrawSurface& picture, bool focused) override;

 private:
  std::vector<std::string> lines_;
  int32_t topRow_ = 0;
};

class TEdit : public TControl {
 public:
  using TControl::TControl;
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  bool ReadOnly = true;
  std::vector<std::string> VisibleTexts() const override { return {text_}; }
  void Paint(TDirectDrawSurface& picture, bool focused) override;

 private:
  std::string text_;
};

class TRadioGroup : public TControl {
 public:
  using TControl::TControl;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  int32_t ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int32_t index);
  // The middle of an item's button in window pixels; false for no such item.
  bool ItemCenter(int32_t index, int32_t& x, int32_t& y) const;
  std::vector<std::string> VisibleTexts() const override { return items_; }
  void Paint(TDirectDrawSurface& picture, bool focused) override;

 private:
  std::string caption_;
  std::vector<std::string> items_;
  int32_t itemIndex_ = -1;
};

// The form's controls as one window layer, in form order (the order they were added), which
// is the Tab order and the order a script counts captions in.
class TControls : public TWindowLayer {
 public:
  explicit TControls(TWindow& window);
  ~TControls() override;
  TControls(const TControls&) = delete;
  TControls& operator=(const TControls&) = delete;

  void Add(TControl& control);
  const std::vector<TControl*>& All() const { return controls_; }

  TControl* Focused() const { return focused_; }
  void SetFocus(TControl* control);
  // A screen has changed: the first focusable button takes the focus, and keys and pad
  // buttons held now click nothing until released.
  void ScreenChanged();

  // Clicks a control as the mouse would (the driver's `click`): nothing for a hidden or
  // disabled one. Returns whether it clicked.
  bool Click(TControl& control);

  bool Visible() const override;
  void Paint(TDirectDrawSurface& picture) override;
  bool HandleEvent(const platform::Event& e) override;

  TWindow& Window() { return window_; }

 private:
  friend class TControl;
  TWindow& window_;
  std::vector<TControl*> controls_;
  TControl* focused_ = nullptr;
  TControl* pressed_ = nullptr;     // the mouse went down on it
  std::vector<uint8_t> staleKeys_;  // held when the screen changed
};

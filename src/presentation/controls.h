// The window's controls: buttons, memos, a one-line edit and a radio group, drawn by the game
// over the presented picture (never into the back buffer) the way a desktop form's controls
// lie over its drawing surface. They behave like desktop controls: hover, pressed and focus
// states, Tab order, Enter/Space on the focused button, arrows in a radio group, wheel and
// keys in a long memo, and a gamepad moving the focus. A key or pad button already held when
// a screen appears clicks nothing until it is released and pressed again, and the second press
// of a double-click acts only on a control that is still what the first press found.
#pragma once

#include <bitset>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "presentation/color.h"
#include "presentation/window.h"

class TControl;
class TControls;

struct TControlFont {
  int32_t Points = 8;  // the form's "MS Sans Serif" 8 pt
  TColor Color = clBlack;
};

// A control's click action. Reassigning it counts as a change of the control: a double-click
// whose first press found the old action does not complete on the new one.
class TClickAction {
 public:
  using Handler = std::function<void(TControl& sender)>;
  TClickAction& operator=(Handler handler) {
    handler_ = std::move(handler);
    ++revision_;
    return *this;
  }
  explicit operator bool() const { return static_cast<bool>(handler_); }
  void operator()(TControl& sender) const { handler_(sender); }
  uint64_t Revision() const { return revision_; }

 private:
  Handler handler_;
  uint64_t revision_ = 0;
};

class TControl {
 public:
  explicit TControl(std::string name) : Name(std::move(name)) {}
  // Leaves its TControls, whichever of the two goes first.
  virtual ~TControl();
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
  TClickAction OnClick;
  // Counts every change a player could notice on the control: shown or hidden, enabled or
  // disabled, another caption or items, another click action.
  uint64_t Revision() const { return revision_ + OnClick.Revision(); }

  // Whether Tab can stop here (visible, enabled, a kind that takes focus).
  virtual bool CanFocus() const { return visible_ && enabled_; }
  // What a script's `expect` may find: a button's caption, a memo's lines, an edit's text.
  virtual std::vector<std::string> VisibleTexts() const { return {}; }

  // Painting and input, called by TControls.
  virtual void Paint(TDirectDrawSurface& picture, bool focused) = 0;
  // Whether (x, y) in window pixels lies on the control.
  bool Contains(int32_t x, int32_t y) const;
  // The mouse is over it (topmost under the pointer) / went down on it and is still over it.
  bool Hovered() const { return hover_; }
  bool Pressed() const { return pressed_ && hover_; }

 protected:
  friend class TControls;
  void Changed();                  // asks the window for a repaint
  void Revised() { ++revision_; }  // the control is not what it was (see Revision)

  // Input the control handles itself, routed by TControls; (x, y) in window pixels.
  virtual void MouseDown(int32_t /*x*/, int32_t /*y*/) {}
  virtual void MouseDrag(int32_t /*x*/, int32_t /*y*/) {}
  // The press ended over the control; true when the release is a click.
  virtual bool MouseUp(int32_t /*x*/, int32_t /*y*/) { return true; }
  // True when the control used it. The wheel reaches a disabled control too.
  virtual bool Wheel(int32_t /*notches*/) { return false; }
  virtual bool KeyDown(uint8_t /*key*/) { return false; }
  virtual bool TypeText(const std::string& /*text*/) { return false; }
  // A pad's Up (-1) or Down (1) while focused: true when used inside (a selection or a scroll
  // that has room); otherwise the focus moves on.
  virtual bool PadStep(int /*step*/) { return false; }
  // Whether the gamepad's focus stops here: something it can act on.
  virtual bool PadStop() const { return CanFocus(); }

  TControls* owner_ = nullptr;
  int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  TControlFont font_;
  TColor color_ = 0xF0F0F0;
  bool hover_ = false;
  bool pressed_ = false;
  uint64_t revision_ = 0;
};

class TButton : public TControl {
 public:
  using TControl::TControl;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  // Without columns the caption is centred. With them, a caption of tab-separated parts is a
  // row of a table: each part starts at its column, in pixels from the button's left edge.
  const std::vector<int32_t>& Columns() const { return columns_; }
  void SetColumns(std::vector<int32_t> columns);
  std::vector<std::string> VisibleTexts() const override { return {caption_}; }
  void Paint(TDirectDrawSurface& picture, bool focused) override;

 private:
  std::string caption_;
  std::vector<int32_t> columns_;
};

// A multi-line text box. Each line is a paragraph that the memo wraps at its width, its leading
// spaces kept; when the wrapped text is taller than the memo a scroll bar appears and the wheel
// (also while the memo is disabled) and keys scroll.
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
  // Scrolls within the text: the top row stays between 0 and the last full page.
  void ScrollBy(int32_t rows);
  void ScrollTo(int32_t row);
  // The lines wrapped at the memo's width, how many rows fit, and whether they overflow
  // (then a scroll bar takes the right edge).
  const std::vector<std::string>& Rows() const;
  int32_t PageRows() const;
  bool ScrollBarShown() const;
  std::vector<std::string> VisibleTexts() const override { return lines_; }
  void Paint(TDirectDrawSurface& picture, bool focused) override;

  static constexpr int32_t kScrollBarWidth = 17;

 protected:
  void MouseDown(int32_t x, int32_t y) override;
  void MouseDrag(int32_t x, int32_t y) override;
  bool MouseUp(int32_t x, int32_t y) override;
  bool Wheel(int32_t notches) override;
  bool KeyDown(uint8_t key) override;
  bool PadStep(int step) override;
  bool PadStop() const override { return CanFocus() && ScrollBarShown(); }

 private:
  struct Layout {
    std::vector<std::string> rows;
    int32_t lineHeight = 1;
    int32_t pageRows = 1;
    bool scrollBar = false;
  };
  const Layout& Wrapped() const;
  int32_t MaxTopRow() const;
  void ThumbGeometry(int32_t& trackTop, int32_t& trackLength, int32_t& thumbTop,
                     int32_t& thumbLength) const;

  std::vector<std::string> lines_;
  int32_t topRow_ = 0;
  mutable Layout layout_;
  mutable bool layoutValid_ = false;
  mutable int32_t layoutFor_[3] = {0, 0, 0};  // width, height, points it was made for
  int32_t dragOffset_ = -1;                   // where in the thumb the mouse holds it
};

class TEdit : public TControl {
 public:
  using TControl::TControl;
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  bool ReadOnly = true;
  std::vector<std::string> VisibleTexts() const override { return {text_}; }
  void Paint(TDirectDrawSurface& picture, bool focused) override;

 protected:
  bool KeyDown(uint8_t key) override;
  bool TypeText(const std::string& text) override;
  bool PadStop() const override { return CanFocus() && !ReadOnly; }

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
  std::vector<std::string> VisibleTexts() const override { return items_; }
  void Paint(TDirectDrawSurface& picture, bool focused) override;
  // The item row at (x, y) in window pixels, or -1.
  int32_t ItemAt(int32_t x, int32_t y) const;
  // The middle of an item's button in window pixels; false for no such item.
  bool ItemCenter(int32_t index, int32_t& x, int32_t& y) const;

 protected:
  bool MouseUp(int32_t x, int32_t y) override;
  bool KeyDown(uint8_t key) override;
  bool PadStep(int step) override;

 private:
  int32_t ItemTop(int32_t index) const;
  int32_t ItemHeight() const;
  bool Step(int step);  // moves the selection; false at the end

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
  // Tab and Shift+Tab: the next (previous) control that can take the focus, wrapping round.
  void FocusNext(bool backwards);
  TControl* Hovered() const { return hovered_; }
  // A screen has changed: the first focusable button takes the focus, and keys and pad
  // buttons held now click nothing until released.
  void ScreenChanged();
  // Keys and pad buttons held now act on no control until released and pressed again. A
  // screen change does it, every click does it (the click may have changed the screen), and
  // so does a message box closing (it took the releases and presses made while it was open).
  void IgnoreHeldInput();

  // Clicks a control as the mouse would (the driver's `click`): nothing for a hidden or
  // disabled one. Returns whether it clicked.
  bool Click(TControl& control);

  // The control the pad's Back button clicks, as a desktop form's Cancel button (none: Back
  // does nothing); the screens change it, so it is asked for at each press.
  std::function<TControl*()> BackControl;

  bool Visible() const override;
  void Paint(TDirectDrawSurface& picture) override;
  bool HandleEvent(const platform::Event& e) override;
  void Uncovered() override { IgnoreHeldInput(); }

  TWindow& Window() { return window_; }

 private:
  friend class TControl;
  TWindow& window_;
  std::vector<TControl*> controls_;

  void Forget(TControl& control);  // it went hidden or disabled
  void Remove(TControl& control);  // it is being destroyed
  TControl* HitTest(int32_t x, int32_t y) const;
  void SetHovered(TControl* control);
  void MoveFocus(bool backwards, bool padOnly);
  bool MouseDown(const platform::Event& e);
  bool KeyDown(const platform::Event& e);
  bool PadDown(platform::PadButton button);

  TControl* focused_ = nullptr;
  TControl* hovered_ = nullptr;
  TControl* pressed_ = nullptr;  // the mouse went down on it and holds it
  int32_t mouseX_ = -1, mouseY_ = -1;
  // What the last press that counted found: the control under it (or none) and its revision.
  // A double-click's later presses count only where they find the same.
  TControl* lastPress_ = nullptr;
  uint64_t lastPressRevision_ = 0;
  // Keys and pad buttons held when the screen changed: they act only after a release.
  std::bitset<256> staleKeys_;
  uint8_t stalePad_ = 0;
};

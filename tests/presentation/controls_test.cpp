// The window's controls driven through the real message loop on the headless backend: focus
// order, keys, the held-key and repeat rules, the gamepad, the mouse, memo wrapping and
// scrolling, and what is repainted when.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/text.h"
#include "presentation/application.h"
#include "presentation/controls.h"
#include "presentation/message_box.h"
#include "presentation/text_wrap.h"

namespace {

namespace vk = platform::vk;
using platform::EventKind;
using platform::PadButton;

const std::string kLong =
    "Nad horami se stahují mraky a nepřátelské letouny se shromažďují u řeky. Vaším úkolem je "
    "proletět údolím, zničit jejich zásobovací kolony a vrátit se dřív, než se setmí. Počítejte "
    "s protiletadlovou palbou z obou břehů a s hlídkami stíhaček nad průsmykem.";

struct ControlsTest : ::testing::Test {
  platform::HeadlessBackend backend;
  TWindow window{backend};
  TApplication app{backend, window};
  TControls controls{window};
  TRadioGroup radio{"Radio"};
  TButton a{"A"}, b{"B"}, c{"C"};
  TMemo memo{"Memo"};
  TEdit edit{"Edit"};
  std::vector<std::string> clicks;

  void SetUp() override {
    window.SetBounds(0, 0, 640, 480);
    window.Show();
    radio.SetBounds(10, 0, 121, 57);
    radio.SetCaption("Zobrazovani");
    radio.SetItems({"V okne", "Fullscreen"});
    radio.SetItemIndex(1);
    a.SetBounds(200, 20, 130, 30);
    b.SetBounds(200, 60, 130, 30);
    c.SetBounds(200, 100, 130, 30);
    memo.SetBounds(350, 20, 189, 120);
    memo.SetFont({8, clGreen});
    memo.SetColor(clBlack);
    edit.SetBounds(350, 200, 177, 32);
    for (TButton* button : {&a, &b, &c}) button->SetCaption(button->Name);
    for (TControl* control : std::vector<TControl*>{&radio, &a, &memo, &b, &c, &edit}) {
      controls.Add(*control);
      control->OnClick = [this](TControl& sender) { clicks.push_back(sender.Name); };
    }
    controls.ScreenChanged();
    Run();
  }

  void Run() { app.ProcessMessages(); }
  void Push(EventKind kind, uint8_t key, bool repeat = false) {
    platform::Event e;
    e.Kind = kind;
    e.Key = key;
    e.Repeat = repeat;
    backend.PushEvent(e);
    Run();
  }
  void Press(uint8_t key) {
    Push(EventKind::KeyDown, key);
    Push(EventKind::KeyUp, key);
  }
  void Pad(EventKind kind, PadButton button) {
    platform::Event e;
    e.Kind = kind;
    e.Pad = button;
    backend.PushEvent(e);
    Run();
  }
  void PadPress(PadButton button) {
    Pad(EventKind::PadDown, button);
    Pad(EventKind::PadUp, button);
  }
  void Mouse(EventKind kind, int32_t x, int32_t y) {
    platform::Event e;
    e.Kind = kind;
    e.X = x;
    e.Y = y;
    e.Button = 1;
    backend.PushEvent(e);
    Run();
  }
  void Wheel(int32_t x, int32_t y, int32_t notches) {
    platform::Event e;
    e.Kind = EventKind::MouseWheel;
    e.X = x;
    e.Y = y;
    e.Wheel = notches;
    backend.PushEvent(e);
    Run();
  }
  void FillMemo(int paragraphs) {
    memo.Clear();
    for (int i = 0; i < paragraphs; ++i) memo.Add(kLong);
  }
  std::string FocusName() const { return controls.Focused() ? controls.Focused()->Name : "-"; }
};

TEST_F(ControlsTest, TabWalksVisibleEnabledControlsInFormOrderAndShiftTabWalksBack) {
  EXPECT_EQ(FocusName(), "A");  // the screen's first button, not the radio group before it
  std::vector<std::string> order;
  for (int i = 0; i < 6; ++i) {
    Press(vk::Tab);
    order.push_back(FocusName());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"Memo", "B", "C", "Edit", "Radio", "A"}));

  b.SetVisible(false);
  memo.SetEnabled(false);  // like the shop's description memo: shown, never focused
  edit.SetEnabled(false);
  order.clear();
  for (int i = 0; i < 3; ++i) {
    Press(vk::Tab);
    order.push_back(FocusName());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"C", "Radio", "A"}));

  backend.SetKey(vk::Shift, true);
  order.clear();
  for (int i = 0; i < 3; ++i) {
    Press(vk::Tab);
    order.push_back(FocusName());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"Radio", "C", "A"}));

  // With every button hidden or disabled a new screen has no focus, and keys click nothing.
  a.SetEnabled(false);
  c.SetVisible(false);
  controls.ScreenChanged();
  EXPECT_EQ(controls.Focused(), nullptr);
  Press(vk::Return);
  EXPECT_TRUE(clicks.empty());
}

TEST_F(ControlsTest, EnterAndSpaceClickTheFocusedButtonButRepeatsNever) {
  Press(vk::Return);
  Press(vk::Tab);
  Press(vk::Tab);
  Press(vk::Space);
  EXPECT_EQ(clicks, (std::vector<std::string>{"A", "B"}));
  // Held down: one click, however long it repeats.
  Push(EventKind::KeyDown, vk::Space);
  for (int i = 0; i < 5; ++i) Push(EventKind::KeyDown, vk::Space, true);
  Push(EventKind::KeyUp, vk::Space);
  EXPECT_EQ(clicks, (std::vector<std::string>{"A", "B", "B"}));
  // Enter on the memo or the radio group clicks nothing.
  controls.SetFocus(&memo);
  Press(vk::Return);
  controls.SetFocus(&radio);
  Press(vk::Space);
  EXPECT_EQ(clicks.size(), 3u);
}

TEST_F(ControlsTest, AKeyHeldWhenTheScreenAppearsClicksOnlyAfterReleaseAndAFreshPress) {
  // The player fires with Space; a tick opens the pause screen with Space still down, and its
  // KeyDown may even still be waiting in the queue.
  backend.SetKey(vk::Space, true);
  backend.SetKey(vk::Return, true);
  controls.ScreenChanged();
  Push(EventKind::KeyDown, vk::Space);
  for (int i = 0; i < 3; ++i) Push(EventKind::KeyDown, vk::Space, true);
  Push(EventKind::KeyDown, vk::Return, true);
  EXPECT_TRUE(clicks.empty());
  // Keys not held then work at once.
  Press(vk::Tab);
  Press(vk::Tab);
  EXPECT_EQ(FocusName(), "B");
  backend.SetKey(vk::Space, false);
  Push(EventKind::KeyUp, vk::Space);
  EXPECT_TRUE(clicks.empty());
  Push(EventKind::KeyDown, vk::Space);
  EXPECT_EQ(clicks, std::vector<std::string>{"B"});
  // Enter is still stale; releasing it frees it.
  Push(EventKind::KeyDown, vk::Return, true);
  EXPECT_EQ(clicks.size(), 1u);
  Push(EventKind::KeyUp, vk::Return);
  Push(EventKind::KeyDown, vk::Return);
  EXPECT_EQ(clicks.size(), 2u);
  // A click may change the screen without saying so: an arrow held through it walks nothing.
  backend.SetKey(vk::Down, true);
  backend.PushClick(210, 30);
  Run();
  Push(EventKind::KeyDown, vk::Down, true);
  EXPECT_EQ(FocusName(), "A");
}

TEST_F(ControlsTest, ThePadMovesTheFocusAndItsFirstButtonClicks) {
  PadPress(PadButton::Accept);
  EXPECT_EQ(clicks, std::vector<std::string>{"A"});
  // Down and Right go on, Up and Left back, over what a pad can act on: a memo with nothing
  // to scroll and a read-only edit are passed by.
  PadPress(PadButton::Down);
  EXPECT_EQ(FocusName(), "B");
  PadPress(PadButton::Right);
  EXPECT_EQ(FocusName(), "C");
  PadPress(PadButton::Down);
  EXPECT_EQ(FocusName(), "Radio");
  PadPress(PadButton::Left);
  EXPECT_EQ(FocusName(), "C");
  PadPress(PadButton::Up);
  PadPress(PadButton::Up);
  EXPECT_EQ(FocusName(), "A");
  // On the radio group Up and Down choose until the end of its items, then move on.
  PadPress(PadButton::Left);
  ASSERT_EQ(FocusName(), "Radio");
  PadPress(PadButton::Up);
  EXPECT_EQ(radio.ItemIndex(), 0);
  EXPECT_EQ(FocusName(), "Radio");
  PadPress(PadButton::Up);
  EXPECT_EQ(FocusName(), "C");
  // Accept on the radio group clicks nothing.
  PadPress(PadButton::Down);
  PadPress(PadButton::Accept);
  EXPECT_EQ(clicks, (std::vector<std::string>{"A", "Radio"}));
}

TEST_F(ControlsTest, APadButtonHeldWhenTheScreenAppearsWaitsForItsRelease) {
  platform::JoystickState stick;
  stick.Present = true;
  stick.X = stick.Y = 32768;
  stick.Buttons = 1;  // firing with button 1
  backend.SetJoystick(stick);
  controls.ScreenChanged();
  Pad(EventKind::PadDown, PadButton::Accept);
  EXPECT_TRUE(clicks.empty());
  Pad(EventKind::PadUp, PadButton::Accept);
  Pad(EventKind::PadDown, PadButton::Accept);
  EXPECT_EQ(clicks, std::vector<std::string>{"A"});

  // The stick held down (steering) moves nothing until it comes back.
  stick.Buttons = 0;
  stick.Y = 65535;
  backend.SetJoystick(stick);
  controls.ScreenChanged();
  Pad(EventKind::PadDown, PadButton::Down);
  EXPECT_EQ(FocusName(), "A");
  Pad(EventKind::PadUp, PadButton::Down);
  PadPress(PadButton::Down);
  EXPECT_EQ(FocusName(), "B");
}

TEST_F(ControlsTest, ArrowsChooseInTheRadioGroupAndTheMouseChoosesAnItem) {
  controls.SetFocus(&radio);
  Press(vk::Up);
  EXPECT_EQ(radio.ItemIndex(), 0);
  Press(vk::Up);  // the first item stays chosen
  EXPECT_EQ(radio.ItemIndex(), 0);
  Press(vk::Down);
  Press(vk::Down);
  EXPECT_EQ(radio.ItemIndex(), 1);
  EXPECT_EQ(clicks, (std::vector<std::string>{"Radio", "Radio"}));  // real changes only

  // Arrows on a button walk the menu.
  controls.SetFocus(&a);
  Press(vk::Down);
  EXPECT_EQ(FocusName(), "B");

  // A click on the first item's row chooses it.
  int32_t y0 = -1;
  for (int32_t y = 0; y < 57 && y0 < 0; ++y) {
    if (radio.ItemAt(40, y) == 0) y0 = y;
  }
  ASSERT_GE(y0, 0);
  Mouse(EventKind::MouseDown, 40, y0 + 2);
  Mouse(EventKind::MouseUp, 40, y0 + 2);
  EXPECT_EQ(radio.ItemIndex(), 0);
  EXPECT_EQ(FocusName(), "Radio");
}

TEST_F(ControlsTest, AMouseClickIsPressAndReleaseOnTheSameEnabledControl) {
  Mouse(EventKind::MouseDown, 210, 30);
  Mouse(EventKind::MouseMove, 210, 70);
  Mouse(EventKind::MouseUp, 210, 70);  // released on B
  EXPECT_TRUE(clicks.empty());
  // Out and back in before the release still clicks, as on a desktop.
  Mouse(EventKind::MouseDown, 210, 30);
  Mouse(EventKind::MouseMove, 500, 400);
  EXPECT_FALSE(a.Pressed());
  Mouse(EventKind::MouseMove, 210, 30);
  EXPECT_TRUE(a.Pressed());
  Mouse(EventKind::MouseUp, 210, 30);
  EXPECT_EQ(clicks, std::vector<std::string>{"A"});
  EXPECT_EQ(FocusName(), "A");

  b.SetEnabled(false);
  backend.PushClick(210, 70);
  Run();
  EXPECT_EQ(clicks.size(), 1u);
  EXPECT_FALSE(controls.Click(b));  // the driver's click obeys the same rule

  // A press begun on one screen never clicks on the next.
  Mouse(EventKind::MouseDown, 210, 30);
  controls.ScreenChanged();
  Mouse(EventKind::MouseUp, 210, 30);
  EXPECT_EQ(clicks.size(), 1u);
  // Neither does one on a control hidden meanwhile.
  Mouse(EventKind::MouseDown, 210, 110);
  c.SetVisible(false);
  c.SetVisible(true);
  Mouse(EventKind::MouseUp, 210, 110);
  EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(ControlsTest, ADoubleClickCompletesOnlyOnTheControlItsFirstPressFound) {
  // Presses at A's place, the n-th of a quick succession.
  auto clickAt = [this](uint8_t n) {
    platform::Event e;
    e.X = 210;
    e.Y = 30;
    e.Button = 1;
    e.Clicks = n;
    for (EventKind kind : {EventKind::MouseDown, EventKind::MouseUp}) {
      e.Kind = kind;
      backend.PushEvent(e);
    }
    Run();
  };
  // A button that stays what it was counts every press.
  for (uint8_t n : {1, 2, 3}) clickAt(n);
  EXPECT_EQ(clicks, (std::vector<std::string>{"A", "A", "A"}));
  // The first click changes what lies under the pointer; the rest of the double-click is lost.
  const std::vector<std::function<void()>> changes = {
      [this] { a.SetCaption("Prodat"); },
      [this] { a.OnClick = [this](TControl&) { clicks.push_back("other"); }; },
      [this] {
        a.SetVisible(false);
        b.SetBounds(200, 20, 130, 30);
      },
  };
  for (const auto& change : changes) {
    clicks.clear();
    a.OnClick = [this, change](TControl& sender) {
      clicks.push_back(sender.Name);
      change();
    };
    for (uint8_t n : {1, 2, 3}) clickAt(n);
    EXPECT_EQ(clicks, std::vector<std::string>{"A"});
    a.SetCaption("A");
    a.SetVisible(true);
    b.SetBounds(200, 60, 130, 30);
  }
}

TEST_F(ControlsTest, AMessageBoxTakesNoDoubleClickItDidNotSeeBeginAndLeavesNoKeyStale) {
  // Answers the box with a click on OK after the given events.
  auto answerAfter = [this](std::function<void(platform::HeadlessBackend&, int32_t, int32_t)> f) {
    backend.SetMessageScript([this, f](platform::HeadlessBackend& bk, const auto&) {
      const auto* box = dynamic_cast<const TMessageBoxLayer*>(window.Layers().back());
      ASSERT_NE(box, nullptr);
      const int32_t x = box->ButtonX() + 5, y = box->ButtonY() + 5;
      f(bk, x, y);
      bk.PushClick(x, y);
    });
  };
  // The rest of the double-click that opened the box lands on its OK: no answer, so the Tab
  // after it still reaches the box, not the controls.
  a.OnClick = [this](TControl& sender) {
    clicks.push_back(sender.Name);
    app.ShowMessage("Nemáte dostatek kreditů!");
  };
  answerAfter([](platform::HeadlessBackend& bk, int32_t x, int32_t y) {
    platform::Event e;
    e.X = x;
    e.Y = y;
    e.Button = 1;
    e.Clicks = 2;
    for (EventKind kind : {EventKind::MouseDown, EventKind::MouseUp}) {
      e.Kind = kind;
      bk.PushEvent(e);
    }
    bk.PushKeyPress(vk::Tab);
  });
  backend.PushDoubleClick(210, 30);
  Run();
  EXPECT_EQ(clicks, std::vector<std::string>{"A"});
  EXPECT_EQ(FocusName(), "A");
  EXPECT_EQ(backend.Messages().size(), 1u);
  EXPECT_EQ(backend.PendingEvents(), 0u);

  // An Enter held from before the screen is released while a box (an error from a tick) is
  // open; the box takes the release. Afterwards a fresh Enter clicks.
  a.OnClick = [this](TControl& sender) { clicks.push_back(sender.Name); };
  backend.SetKey(vk::Return, true);
  controls.ScreenChanged();
  answerAfter([](platform::HeadlessBackend& bk, int32_t, int32_t) {
    bk.SetKey(vk::Return, false);
    platform::Event up;
    up.Kind = EventKind::KeyUp;
    up.Key = vk::Return;
    bk.PushEvent(up);
  });
  app.ShowMessage("Soubor nelze číst");
  Push(EventKind::KeyDown, vk::Return);
  EXPECT_EQ(clicks, (std::vector<std::string>{"A", "A"}));
}

TEST_F(ControlsTest, AMemoWrapsItsLinesAtItsWidthAndScrollsWithinItsText) {
  if (!platform::TextRasterizer::Shared().Available()) GTEST_SKIP() << "no font";
  memo.Add("Krátká řádka.");
  EXPECT_EQ(memo.Rows().size(), 1u);
  EXPECT_FALSE(memo.ScrollBarShown());

  memo.Add(kLong);
  EXPECT_GT(memo.Rows().size(), 3u);
  for (const auto& row : memo.Rows()) {
    int32_t w = 0, h = 0;
    platform::TextRasterizer::Shared().Measure(row, 8, w, h);
    EXPECT_LE(w, memo.Width() - 5) << row;
  }
  EXPECT_EQ(memo.Rows().front(), "Krátká řádka.");  // each line starts a row of its own
  // Every word of the paragraph is still there, in order.
  std::string joined;
  for (size_t i = 1; i < memo.Rows().size(); ++i) {
    joined += (i > 1 ? " " : "") + memo.Rows()[i];
  }
  EXPECT_EQ(joined, kLong);

  FillMemo(4);
  ASSERT_TRUE(memo.ScrollBarShown());
  const auto rows = static_cast<int32_t>(memo.Rows().size());
  const int32_t last = rows - memo.PageRows();
  ASSERT_GT(last, 3);
  memo.ScrollBy(-5);
  EXPECT_EQ(memo.TopRow(), 0);
  memo.ScrollBy(1000);
  EXPECT_EQ(memo.TopRow(), last);

  // Keys while it has the focus, the wheel over it (a notch is three rows).
  controls.SetFocus(&memo);
  Press(vk::Home);
  EXPECT_EQ(memo.TopRow(), 0);
  Press(vk::Down);
  EXPECT_EQ(memo.TopRow(), 1);
  Press(vk::Next);
  EXPECT_EQ(memo.TopRow(), std::min(1 + memo.PageRows(), last));
  Press(vk::End);
  EXPECT_EQ(memo.TopRow(), last);
  Press(vk::Prior);
  EXPECT_EQ(memo.TopRow(), last - memo.PageRows());
  Wheel(400, 60, 1);
  EXPECT_EQ(memo.TopRow(), std::max(last - memo.PageRows() - 3, 0));
  Wheel(400, 60, -100);
  EXPECT_EQ(memo.TopRow(), last);
  Wheel(10, 300, 5);  // not over the memo
  EXPECT_EQ(memo.TopRow(), last);

  // The scroll bar: a click on its up arrow and in the track above the thumb.
  const int32_t barX = memo.Left() + memo.Width() - 5;
  Mouse(EventKind::MouseDown, barX, memo.Top() + 3);
  Mouse(EventKind::MouseUp, barX, memo.Top() + 3);
  EXPECT_EQ(memo.TopRow(), last - 1);
  Mouse(EventKind::MouseDown, barX, memo.Top() + TMemo::kScrollBarWidth + 2);
  Mouse(EventKind::MouseUp, barX, memo.Top() + TMemo::kScrollBarWidth + 2);
  EXPECT_EQ(memo.TopRow(), std::max(last - 1 - memo.PageRows(), 0));

  // Less text brings the top row back within it, and the bar goes.
  memo.Clear();
  memo.Add("Jedna řádka.");
  EXPECT_EQ(memo.TopRow(), 0);
  EXPECT_FALSE(memo.ScrollBarShown());
  memo.ScrollBy(3);
  EXPECT_EQ(memo.TopRow(), 0);
}

TEST_F(ControlsTest, ThePadScrollsAFocusedMemoUntilItsEndThenMovesOn) {
  if (!platform::TextRasterizer::Shared().Available()) GTEST_SKIP() << "no font";
  FillMemo(3);
  const int32_t last = static_cast<int32_t>(memo.Rows().size()) - memo.PageRows();
  PadPress(PadButton::Down);  // A -> the memo, which now has something to scroll
  ASSERT_EQ(FocusName(), "Memo");
  for (int i = 0; i < last; ++i) PadPress(PadButton::Down);
  EXPECT_EQ(memo.TopRow(), last);
  EXPECT_EQ(FocusName(), "Memo");
  PadPress(PadButton::Down);
  EXPECT_EQ(FocusName(), "B");
}

TEST_F(ControlsTest, ADisabledMemoShowsItsTextTakesNoFocusButScrollsWithTheWheel) {
  if (!platform::TextRasterizer::Shared().Available()) GTEST_SKIP() << "no font";
  memo.Add("Plasmové dělo.");
  memo.SetEnabled(false);
  Press(vk::Tab);
  EXPECT_EQ(FocusName(), "B");
  // Text longer than the memo stays within reach of the wheel, though not of keys or clicks.
  FillMemo(4);
  ASSERT_TRUE(memo.ScrollBarShown());
  Wheel(400, 60, -1);
  EXPECT_EQ(memo.TopRow(), 3);
  Press(vk::Down);
  EXPECT_EQ(memo.TopRow(), 3);
  Wheel(400, 60, 1);
  EXPECT_EQ(memo.TopRow(), 0);
  memo.Clear();
  memo.Add("Plasmové dělo.");
  window.Present(false);
  int green = 0;
  for (int32_t y = memo.Top(); y < memo.Top() + 20; ++y) {
    for (int32_t x = memo.Left(); x < memo.Left() + 100; ++x) {
      const uint32_t p = backend.PixelAt(x, y);
      green += ((p >> 8) & 0xFF) > 0x60 && ((p >> 16) & 0xFF) < 0x20;
    }
  }
  EXPECT_GT(green, 20);
}

TEST_F(ControlsTest, NormalHoverPressedFocusedAndDisabledButtonsLookDifferent) {
  controls.SetFocus(&b);
  auto face = [&](const TButton& button) {
    window.Present(false);
    return backend.PixelAt(button.Left() + 5, button.Top() + button.Height() / 2);
  };
  auto border = [&](const TButton& button) {
    window.Present(false);
    return backend.PixelAt(button.Left() + button.Width() / 2, button.Top());
  };
  const uint32_t normal = face(a), normalBorder = border(a);
  EXPECT_NE(border(b), normalBorder);  // the focused one has a blue outline
  Mouse(EventKind::MouseMove, 210, 30);
  const uint32_t hover = face(a);
  Mouse(EventKind::MouseDown, 210, 30);
  const uint32_t pressed = face(a);
  Mouse(EventKind::MouseMove, 600, 400);
  EXPECT_EQ(face(a), normal);
  Mouse(EventKind::MouseUp, 600, 400);
  c.SetEnabled(false);
  const uint32_t disabled = face(c);
  EXPECT_NE(hover, normal);
  EXPECT_NE(pressed, normal);
  EXPECT_NE(pressed, hover);
  EXPECT_NE(disabled, normal);
}

TEST_F(ControlsTest, OnlyRealChangesAskForARepaint) {
  window.Present(false);
  ASSERT_FALSE(window.Invalid());
  // Moving within one control, or over no control, paints nothing.
  Mouse(EventKind::MouseMove, 210, 30);
  EXPECT_TRUE(window.Invalid());
  window.Present(false);
  Mouse(EventKind::MouseMove, 220, 35);
  Mouse(EventKind::MouseMove, 300, 40);
  EXPECT_FALSE(window.Invalid());
  Mouse(EventKind::MouseMove, 600, 400);
  window.Present(false);
  Mouse(EventKind::MouseMove, 610, 410);
  EXPECT_FALSE(window.Invalid());
  // Setting what is already set changes nothing.
  a.SetCaption("A");
  a.SetBounds(200, 20, 130, 30);
  a.SetVisible(true);
  a.SetEnabled(true);
  a.SetFont(a.Font());
  radio.SetItemIndex(1);
  radio.SetItems({"V okne", "Fullscreen"});
  controls.SetFocus(&a);
  memo.ScrollBy(1);  // nothing to scroll
  EXPECT_FALSE(window.Invalid());
  // An idle loop presents nothing.
  const int64_t presents = backend.PresentCount();
  app.RunFor(1000);
  EXPECT_EQ(backend.PresentCount(), presents);
  a.SetCaption("Nová hra");
  EXPECT_TRUE(window.Invalid());
}

TEST_F(ControlsTest, AnEditTakesTypingOnlyWhenNotReadOnly) {
  controls.SetFocus(&edit);
  platform::Event text;
  text.Kind = EventKind::TextInput;
  text.Text = "ž1";
  backend.PushEvent(text);
  Run();
  EXPECT_EQ(edit.Text(), "");
  edit.ReadOnly = false;
  backend.PushEvent(text);
  Run();
  EXPECT_EQ(edit.Text(), "ž1");
  Press(vk::Back);
  Press(vk::Back);
  EXPECT_EQ(edit.Text(), "");
}

TEST(WrapParagraph, BreaksAtSpacesAndCutsOnlyWordsTooLongForARow) {
  // Every character four pixels wide; UTF-8 letters count once.
  auto measure = [](const std::string& s) {
    int32_t n = 0;
    for (unsigned char ch : s) n += (ch & 0xC0) != 0x80;
    return n * 4;
  };
  EXPECT_EQ(WrapParagraph("", 40, measure), std::vector<std::string>{""});
  EXPECT_EQ(WrapParagraph("jedna dva tri ctyri", 40, measure),
            (std::vector<std::string>{"jedna dva", "tri ctyri"}));
  EXPECT_EQ(WrapParagraph("a žluťoučkýkůň b", 20, measure),
            (std::vector<std::string>{"a", "žluťo", "učkýk", "ůň b"}));
  // Narrower than one character: one character a row, never an endless loop.
  EXPECT_EQ(WrapParagraph("ab", 1, measure), (std::vector<std::string>{"a", "b"}));
}

TEST(WrapParagraph, KeepsIndentsAndSpacingAndHangsSpacesAtTheEdge) {
  auto measure = [](const std::string& s) { return static_cast<int32_t>(s.size()) * 4; };
  // The indent stays on the first row only; runs of spaces inside and at the end are kept, and
  // spaces at the end of a row do not push its last word down.
  EXPECT_EQ(WrapParagraph("   jedna dva  tri ", 40, measure),
            (std::vector<std::string>{"   jedna", "dva  tri "}));
  EXPECT_EQ(WrapParagraph("jedna dva ", 36, measure), std::vector<std::string>{"jedna dva "});
  // An indent that leaves no room for the first word gives way to it.
  EXPECT_EQ(WrapParagraph("     dlouhe", 28, measure), (std::vector<std::string>{"dlouhe"}));
  EXPECT_EQ(WrapParagraph("  ", 40, measure), std::vector<std::string>{"  "});
}

TEST(WrapParagraph, AFreeStandingColonTiesALabelToItsValue) {
  auto measure = [](const std::string& s) { return static_cast<int32_t>(s.size()) * 4; };
  // "Cena : 5000" moves down whole rather than leaving the figure (or the colon) alone.
  EXPECT_EQ(WrapParagraph("za sekundu. Cena : 5000", 76, measure),
            (std::vector<std::string>{"za sekundu.", "Cena : 5000"}));
  EXPECT_EQ(WrapParagraph("za sekundu Cena : 5000", 60, measure),
            (std::vector<std::string>{"za sekundu", "Cena : 5000"}));
  // A colon joined to a word is an ordinary word; one at the start ties nothing.
  EXPECT_EQ(WrapParagraph("cena :5000 x", 36, measure),
            (std::vector<std::string>{"cena", ":5000 x"}));
  EXPECT_EQ(WrapParagraph(": a", 4, measure), (std::vector<std::string>{":", "a"}));
}

}  // namespace

namespace {

// The form declares its TControls before its controls, so the controls go first; either
// order must leave nothing pointing at what is gone (the sanitizer build checks).
TEST(ControlsLifetime, ControlsAndTheirContainerMayGoInEitherOrder) {
  platform::HeadlessBackend backend;
  TWindow window{backend};
  TButton early{"Early"};
  {
    TControls controls{window};
    TButton late{"Late"};
    controls.Add(early);
    controls.Add(late);
    controls.ScreenChanged();
    controls.SetFocus(&late);
    {
      TButton brief{"Brief"};
      controls.Add(brief);
      controls.SetFocus(&brief);
    }
    EXPECT_EQ(controls.Focused(), nullptr);
    EXPECT_EQ(controls.All().size(), 2u);
  }
  early.SetCaption("Pokracovat");  // its container is gone; nothing to tell
  EXPECT_EQ(early.Caption(), "Pokracovat");
}

}  // namespace

#include "ui_driver.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "held_input.h"
#include "json.h"

namespace {

constexpr int64_t kTickMillis = 10;

}  // namespace

TUiDriver::TUiDriver(const std::string& dataDir, uint64_t seed)
    : previousDir_(std::filesystem::current_path()), seed_(seed) {
  std::filesystem::current_path(dataDir);
  media_ = std::make_unique<TFormComponents>(backend_);
  app_ = std::make_unique<TApplication>(backend_, media_->Window);
  form_ = std::make_unique<TForm1>(*media_, *app_, seed);
  backend_.SetMessageScript([this](platform::HeadlessBackend&,
                                   const platform::HeadlessBackend::Message& m) { OnMessage(m); });
  form_->WallClock = [this] {
    return kEpoch + static_cast<std::time_t>(backend_.NowMicros() / 1000000);
  };
  form_->FormCreate();
  app_->ProcessMessages();
  // The pilot presses its keys just before the tick polls them, as a player's would be down.
  auto tick = std::move(form_->UpdateTimer.OnTimer);
  form_->UpdateTimer.OnTimer = [this, tick = std::move(tick)] {
    if (pilot_) Fly();
    tick();
    ++ticks_;
    tally_.AfterTick(GameWorld());
  };
  auto frame = std::move(form_->DrawTimer.OnTimer);
  form_->DrawTimer.OnTimer = [this, frame = std::move(frame)](int32_t lag) {
    if (drawFrames_) frame(lag);
  };
}

TUiDriver::~TUiDriver() {
  backend_.SetMessageScript(nullptr);
  form_.reset();
  app_.reset();
  media_.reset();
  std::error_code ec;
  std::filesystem::current_path(previousDir_, ec);
}

void TUiDriver::KeepPlayerFiles(const std::filesystem::path& folder) {
  form_->RecordsPath = folder / "records.dat";
  form_->ReplayFolder = folder / "replays";
}

void TUiDriver::RunText(const std::string& script) {
  std::istringstream in(script);
  std::string error;
  auto commands = ParseUiScript(in, error);
  if (!commands) throw EUiFailure(error);
  Run(*commands);
}

void TUiDriver::Run(const std::vector<TUiCommand>& commands) {
  commands_ = &commands;
  next_ = 0;
  failure_.clear();
  while (next_ < commands.size()) {
    const TUiCommand& c = commands[next_++];
    Execute(c);
    if (!failure_.empty()) break;
  }
  commands_ = nullptr;
  if (!failure_.empty()) throw EUiFailure(failure_);
}

void TUiDriver::Fail(const TUiCommand& c, const std::string& what) {
  if (!failure_.empty()) return;
  failure_ = "line " + std::to_string(c.Line) + ": " + c.Source + "\n  " + what;
  // Unwind whatever loop is running (a message box's, say): the run is over.
  app_->Terminate();
}

void TUiDriver::Execute(const TUiCommand& c) {
  using TKind = TUiCommand::TKind;
  const bool modal = openMessage_.has_value();
  if (app_->Terminated() && failure_.empty()) {
    Fail(c, "the program has ended");
    return;
  }
  switch (c.Kind) {
    case TKind::Choose:
    case TKind::Click:
    case TKind::DoubleClick:
    case TKind::Key:
    case TKind::Hold:
      if (modal) {
        Fail(c, "a message box is open: \"" + *openMessage_ + "\"");
      } else if (c.Kind == TKind::Choose) {
        Choose(c);
      } else if (c.Kind == TKind::Click || c.Kind == TKind::DoubleClick) {
        Click(c);
      } else {
        PressKey(VirtualKeyFromName(c.Text), c.Kind == TKind::Hold ? c.Number : 1);
      }
      return;
    case TKind::Wait:
      // Inside a message box time passes too; its own loop runs the timers once answered.
      if (modal) {
        backend_.AdvanceMillis(static_cast<uint64_t>(c.Number));
      } else {
        app_->RunFor(static_cast<uint64_t>(c.Number));
      }
      return;
    case TKind::Screenshot:
      Screenshot(c);
      return;
    case TKind::ExpectMessage:
      if (!modal) {
        Fail(c, "expected the message \"" + c.Text + "\" but no message box is open");
      } else if (*openMessage_ != c.Text) {
        Fail(c, "expected the message \"" + c.Text + "\" but it says \"" + *openMessage_ + "\"");
      }
      return;
    case TKind::Ok:
      if (!modal) Fail(c, "no message box is open");
      return;  // answering is OnMessage's
    case TKind::Expect:
      Expect(c);
      return;
    case TKind::Locate:
      Locate(c);
      return;
    case TKind::Autopilot:
      // Switching on again keeps the pilot that flies.
      if (c.Number == 0 || !pilot_) SetAutopilot(c.Number == 1, seed_);
      return;
  }
}

// A message box waits for its answer: the script goes on from inside it until `ok`.
void TUiDriver::OnMessage(const platform::HeadlessBackend::Message& m) {
  if (!commands_ || !failure_.empty()) return;  // answered with OK by the backend
  const std::optional<std::string> outer = openMessage_;
  openMessage_ = m.Text;
  bool answered = false;
  while (next_ < commands_->size() && failure_.empty()) {
    const TUiCommand& c = (*commands_)[next_++];
    Execute(c);
    if (c.Kind == TUiCommand::TKind::Ok) {
      answered = true;
      break;
    }
  }
  if (!answered && failure_.empty()) {
    TUiCommand end;
    end.Line = static_cast<int32_t>(commands_->empty() ? 0 : commands_->back().Line);
    end.Source = "(end of script)";
    Fail(end, "the script ended with a message box open: \"" + m.Text + "\"");
  }
  openMessage_ = outer;
  backend_.PushKeyPress(platform::vk::Return);
}

std::vector<TControl*> TUiDriver::ControlsInScriptOrder() const {
  std::vector<TControl*> order;
  for (TControl* c : form_->MenuControls) {
    if (c) order.push_back(c);
  }
  for (TControl* c : form_->Controls.All()) {
    if (std::find(order.begin(), order.end(), c) == order.end()) order.push_back(c);
  }
  order.erase(std::remove_if(order.begin(), order.end(), [](TControl* c) { return !c->Visible(); }),
              order.end());
  return order;
}

TControl* TUiDriver::FindButton(const std::string& caption, int64_t number,
                                std::string& why) const {
  int64_t seen = 0;
  for (TControl* control : ControlsInScriptOrder()) {
    const auto* button = dynamic_cast<const TButton*>(control);
    if (!button || button->Caption() != caption || ++seen < number) continue;
    if (!control->Enabled()) {
      why = "the button \"" + caption + "\" is disabled";
      return nullptr;
    }
    return control;
  }
  why = "no visible button \"" + caption + "\" (number " + std::to_string(number) +
        "); visible: " + VisibleTextList();
  return nullptr;
}

bool TUiDriver::FindItem(const std::string& item, int32_t& x, int32_t& y) const {
  for (TControl* control : ControlsInScriptOrder()) {
    auto* radio = dynamic_cast<TRadioGroup*>(control);
    if (!radio) continue;
    const auto& items = radio->Items();
    const auto it = std::find(items.begin(), items.end(), item);
    if (it != items.end() && radio->ItemCenter(static_cast<int32_t>(it - items.begin()), x, y)) {
      return true;
    }
  }
  return false;
}

void TUiDriver::PushClickAt(int32_t x, int32_t y) {
  backend_.PushClick(x, y);
  app_->ProcessMessages();
}

void TUiDriver::PushClickOn(const TControl& control) {
  PushClickAt(control.Left() + control.Width() / 2, control.Top() + control.Height() / 2);
}

void TUiDriver::Click(const TUiCommand& c) {
  std::string why;
  TControl* control = FindButton(c.Text, c.Number, why);
  if (!control) {
    Fail(c, why);
    return;
  }
  if (c.Kind == TUiCommand::TKind::DoubleClick) {
    backend_.PushDoubleClick(control->Left() + control->Width() / 2,
                             control->Top() + control->Height() / 2);
    app_->ProcessMessages();
  } else {
    PushClickOn(*control);
  }
}

void TUiDriver::Locate(const TUiCommand& c) {
  int32_t x = 0, y = 0;
  std::string why;
  if (const TControl* control = FindButton(c.Text, c.Number, why)) {
    x = control->Left() + control->Width() / 2;
    y = control->Top() + control->Height() / 2;
  } else if (c.Number != 1 || !FindItem(c.Text, x, y)) {
    Fail(c, why);
    return;
  }
  std::printf("at %d %d\n", static_cast<int>(x), static_cast<int>(y));
  std::fflush(stdout);
}

void TUiDriver::Choose(const TUiCommand& c) {
  int32_t x = 0, y = 0;
  if (!FindItem(c.Text, x, y)) {
    Fail(c, "no visible radio item \"" + c.Text + "\"; visible: " + VisibleTextList());
    return;
  }
  PushClickAt(x, y);
}

void TUiDriver::ClickButton(const std::string& caption, int64_t number) {
  std::string why;
  TControl* control = FindButton(caption, number, why);
  if (!control) throw EUiFailure(why);
  const size_t boxes = backend_.Messages().size();
  PushClickOn(*control);
  if (backend_.Messages().size() != boxes) {
    throw EUiFailure("\"" + caption + "\" was answered with \"" + backend_.Messages().back().Text +
                     "\"");
  }
}

void TUiDriver::ExpectScreen(TForm1::TScreen screen) const {
  if (form_->Screen() != screen) {
    throw EUiFailure(std::string("expected the ") + TForm1::ScreenName(screen) + " screen, but " +
                     TForm1::ScreenName(form_->Screen()) + " is open");
  }
}

void TUiDriver::ChooseItem(const std::string& item) {
  int32_t x = 0, y = 0;
  if (!FindItem(item, x, y)) {
    throw EUiFailure("no visible radio item \"" + item + "\"; visible: " + VisibleTextList());
  }
  PushClickAt(x, y);
}

void TUiDriver::SetAutopilot(bool on, uint64_t seed) {
  if (on) {
    pilot_.emplace(seed);
  } else if (pilot_) {
    pilot_.reset();
    HandBack();
  }
}

void TUiDriver::Expect(const TUiCommand& c) {
  for (TControl* control : ControlsInScriptOrder()) {
    for (const std::string& text : control->VisibleTexts()) {
      if (text.find(c.Text) != std::string::npos) return;
    }
  }
  Fail(c, "expected to see \"" + c.Text + "\"; visible: " + VisibleTextList());
}

// The key is held on the keyboard state the game polls and reported as events to the
// window's controls; a press lasts one tick, so the tick that polls sees it.
void TUiDriver::PressKey(uint8_t key, int64_t ticks) {
  platform::Event e;
  e.Kind = platform::EventKind::KeyDown;
  e.Key = key;
  backend_.SetKey(key, true);
  backend_.PushEvent(e);
  app_->RunFor(static_cast<uint64_t>(std::max<int64_t>(ticks, 1) * kTickMillis));
  backend_.SetKey(key, false);
  e.Kind = platform::EventKind::KeyUp;
  backend_.PushEvent(e);
  app_->ProcessMessages();
}

void TUiDriver::Fly() {
  const TDXInputStates held = pilot_->Next(GameWorld());
  HoldInputStates(backend_, held);
}

void TUiDriver::HandBack() {
  for (uint8_t key :
       {platform::vk::Up, platform::vk::Down, platform::vk::Left, platform::vk::Right}) {
    backend_.SetKey(key, false);
  }
  backend_.SetJoystick(platform::JoystickState{});
}

void TUiDriver::Screenshot(const TUiCommand& c) {
  if (media_->Window.Invalid()) media_->Window.Present(false);
  const std::filesystem::path file = previousDir_ / c.Text;
  if (!backend_.SavePng(file.string())) Fail(c, "cannot write " + file.string());
}

std::string TUiDriver::VisibleTextList() const {
  std::string list;
  for (TControl* control : ControlsInScriptOrder()) {
    for (const std::string& text : control->VisibleTexts()) {
      if (text.empty()) continue;
      list += (list.empty() ? "\"" : ", \"") + text + "\"";
    }
  }
  return list.empty() ? "nothing" : list;
}

std::string TUiDriver::SummaryLine() const {
  TForm1& f = *form_;
  const GameState& s = f.State();
  TJson j;
  j.Open('{');
  j.Field("screen", std::string(TForm1::ScreenName(f.Screen())));
  j.Field("credits", s.Credits);
  j.Field("mission", s.Mission);
  j.Field("difficulty", s.Difficulty);
  j.Field("aircraftKind", s.AircraftKind);
  j.Key("slotKinds").Open('[');
  for (uint8_t k : s.SlotKinds) j.Value(static_cast<int32_t>(k));
  j.Close(']');
  j.Field("cannonKind", s.CannonKind);
  j.Field("gameOver", s.GameOver);
  j.Field("music", f.Media.DXSound1.MusicPlaying());
  j.Key("messages").Open('[');
  for (const auto& m : backend_.Messages()) j.Value(m.Text);
  j.Close(']');
  j.Close('}');
  return j.Text();
}

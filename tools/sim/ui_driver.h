// The whole program on the headless backend, driven by a ui-script from start-up: the main
// window is created as the game creates it, and every click and key reaches it through the
// backend's event queue, the same path the mouse and keyboard take.
#pragma once

#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "autopilot/autopilot.h"
#include "platform/headless/headless_backend.h"
#include "presentation/application.h"
#include "presentation/form_components.h"
#include "replay/flight_tally.h"
#include "shell/form1.h"
#include "ui_script.h"

// An expectation of the script that the program did not meet.
class EUiFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TUiDriver {
 public:
  // Changes into the data directory (restored on destruction) and runs the window's creation
  // handler; the display-mode choice is then on screen. Files named by later commands are
  // relative to the directory the driver was started in.
  TUiDriver(const std::string& dataDir, uint64_t seed);
  ~TUiDriver();
  TUiDriver(const TUiDriver&) = delete;
  TUiDriver& operator=(const TUiDriver&) = delete;

  // Runs the commands in order; throws EUiFailure at the first one not met.
  void Run(const std::vector<TUiCommand>& commands);
  // Parses and runs script text (for tests); a malformed script throws EUiFailure too.
  void RunText(const std::string& script);

  std::string SummaryLine() const;

  // The player's records and recorded flights are kept in this folder, as the game keeps
  // them beside its save; by default the driver keeps neither.
  void KeepPlayerFiles(const std::filesystem::path& folder);
  // The date the driver's game gives its flights: a fixed moment (14 March 2027, 10:00 UTC)
  // and the program's clock since it started, so every run writes the same files.
  static constexpr std::time_t kEpoch = 1805018400;

  // The same actions for a program that drives the form itself (the campaign runner). Each
  // goes through the event queue as its script command does and throws EUiFailure when the
  // program cannot take it. A message box opened meanwhile is answered with OK; after a
  // click it fails the click too, naming the box's text (a refusal, an error).
  void ClickButton(const std::string& caption, int64_t number = 1);
  // Throws EUiFailure unless the form shows this screen.
  void ExpectScreen(TForm1::TScreen screen) const;
  void ChooseItem(const std::string& item);
  void PressKey(uint8_t key, int64_t ticks);
  void Wait(uint64_t ms) { app_->RunFor(ms); }
  // The pilot takes over (seeded) or hands the controls back.
  void SetAutopilot(bool on, uint64_t seed);
  // Whether the mission's frames are drawn; they change nothing in play, and a run that
  // nobody watches goes faster without them. Menus are drawn either way.
  void SetMissionFrames(bool draw) { drawFrames_ = draw; }

  // Logic ticks run since the driver started, and what the flights in them destroyed and
  // cost.
  int64_t TicksRun() const { return ticks_; }
  const TFlightTally& Tally() const { return tally_; }

  TForm1& Form() { return *form_; }
  World& GameWorld() { return form_->GameWorld(); }
  platform::HeadlessBackend& Backend() { return backend_; }
  TApplication& App() { return *app_; }

  // Visible controls in the script's counting order: MenuControls first, then the others.
  std::vector<TControl*> ControlsInScriptOrder() const;

 private:
  void Execute(const TUiCommand& c);
  void OnMessage(const platform::HeadlessBackend::Message& m);
  void Fail(const TUiCommand& c, const std::string& what);
  void Click(const TUiCommand& c);
  void Choose(const TUiCommand& c);
  void Locate(const TUiCommand& c);
  void Expect(const TUiCommand& c);
  void Screenshot(const TUiCommand& c);
  // Before each logic tick while the pilot flies: its states onto the keys and the stick.
  void Fly();
  void HandBack();
  std::string VisibleTextList() const;
  // The button ClickButton and `click` mean, or why there is none.
  TControl* FindButton(const std::string& caption, int64_t number, std::string& why) const;
  // The radio item's place for ChooseItem and `choose`; false when no visible group has it.
  bool FindItem(const std::string& item, int32_t& x, int32_t& y) const;
  void PushClickAt(int32_t x, int32_t y);
  void PushClickOn(const TControl& control);  // at its middle

  std::filesystem::path previousDir_;
  platform::HeadlessBackend backend_;
  std::unique_ptr<TFormComponents> media_;
  std::unique_ptr<TApplication> app_;
  std::unique_ptr<TForm1> form_;
  uint64_t seed_;
  std::optional<TAutopilot> pilot_;
  bool drawFrames_ = true;
  int64_t ticks_ = 0;
  TFlightTally tally_;

  const std::vector<TUiCommand>* commands_ = nullptr;
  size_t next_ = 0;
  // The open message box's text, kept as a copy: a box opened inside it (an error) adds to
  // the backend's list and may move the one it was read from.
  std::optional<std::string> openMessage_;
  std::string failure_;
};

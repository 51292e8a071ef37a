// The application: the window's message loop on one thread, its timers and the modal message
// box. Everything the program does runs from here: window events, timer events, and the frame
// timer whenever the loop has nothing else to do.
//
// One pass of the loop handles every waiting event, then every due timer, then (only in the
// main loop, not inside a message box) the frame timer; then it presents the window if
// something marked it invalid and sleeps until the next timer is due, the next frame may
// start, or an event arrives. With only window timers on (menus, the shop) the loop sleeps
// between their events; with no timer at all it sleeps until an event.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "platform/backend.h"

class TWindow;
class TApplication;

// A window timer: OnTimer every Interval milliseconds while Enabled. A late event is not made
// up unless MaxCatchUp allows it: then up to that many due events run back to back in one pass
// and any further backlog is dropped, so a stall never spirals. A timer never fires while its
// own handler is still running (inside a message box that handler opened, say).
class TTimer {
 public:
  explicit TTimer(TApplication& app, uint32_t intervalMs = 1000, bool enabled = true);
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  std::function<void()> OnTimer;
  int32_t MaxCatchUp = 1;

  bool Enabled() const { return enabled_; }
  // Switching on starts a fresh interval from now.
  void SetEnabled(bool enabled);
  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t ms);
  // How far the clock has come from the time the last event was due (or the timer was
  // switched on) towards the next, 0..1 (1 while off). Counted from the schedule, not from
  // when a handler happened to run, so pictures timed by it come out evenly.
  double Phase() const;

 private:
  friend class TApplication;
  TApplication& app_;
  uint32_t interval_;
  bool enabled_ = false;
  bool running_ = false;
  uint64_t due_ = 0;  // microseconds
};

// The frame timer: OnTimer(lagCount) each time the main loop is idle, paced by the display's
// retrace where presenting waits for it and otherwise capped at the display's refresh rate,
// so it never spins. LagCount = milliseconds since the previous event div max(Interval, 1),
// at least 1. With ActiveOnly false it runs in the background too.
class TDXTimer {
 public:
  explicit TDXTimer(TApplication& app);
  ~TDXTimer();
  TDXTimer(const TDXTimer&) = delete;
  TDXTimer& operator=(const TDXTimer&) = delete;

  std::function<void(int32_t lagCount)> OnTimer;
  uint32_t Interval = 0;
  bool ActiveOnly = false;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

 private:
  friend class TApplication;
  TApplication& app_;
  bool enabled_ = false;
  bool running_ = false;
  uint64_t last_ = 0;
};

class TApplication {
 public:
  TApplication(platform::Backend& backend, TWindow& window);
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  std::string Title = "Starvelkhorn";

  // Window input the window's layers did not take (after the message box and controls).
  std::function<void(const platform::Event&)> OnUnhandledEvent;
  // The window lost the keyboard to another window.
  std::function<void()> OnDeactivate;
  // The pad the game reads was pulled out.
  std::function<void()> OnPadLost;
  // The full screen was left without the program asking.
  std::function<void()> OnFullScreenLeft;
  // Sees window input before the window's layers (the form's own shortcuts, like a desktop
  // form's key preview); true when it took the event, which then goes nowhere else.
  std::function<bool(const platform::Event&)> OnPreview;

  // Runs the loop until the window closes or Terminate is called.
  void Run();
  // Runs the loop for that many milliseconds of the backend's clock (or until it ends): the
  // headless driver's way of letting time pass with everything on schedule.
  void RunFor(uint64_t ms);
  // Handles what is waiting and due now, without sleeping.
  void ProcessMessages();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }

  // A modal message box with the text and one OK button, drawn over the window; returns when
  // it is answered (OK clicked, Enter, Space or Esc) or the window closes.
  void ShowMessage(const std::string& text);
  // The standard error message box for an error that escaped a handler.
  void ShowException(const std::exception& e);
  // Runs a handler; an exception escaping it is shown in the error box and the program goes
  // on.
  void Guard(const std::function<void()>& handler);

  platform::Backend& Backend() { return backend_; }
  TWindow& Window() { return window_; }
  int32_t ModalDepth() const { return modalDepth_; }

 private:
  friend class TTimer;
  friend class TDXTimer;
  void ShowBox(const std::string& text, bool error);
  // One pass, returning when the loop should wake next; inModal leaves the frame timer out,
  // as a desktop message box's loop does.
  uint64_t Pass(uint64_t deadline, bool inModal);
  void Sleep(uint64_t wake);
  void DrainEvents();
  void FireDueTimers();
  bool FireFrame();  // true when it presented with the retrace paced wait
  uint64_t NextTimerDue() const;

  platform::Backend& backend_;
  TWindow& window_;
  std::vector<TTimer*> timers_;
  std::vector<TDXTimer*> frameTimers_;
  bool terminated_ = false;
  int32_t modalDepth_ = 0;
  uint64_t nextFrame_ = 0;
};

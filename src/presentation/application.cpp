#include "presentation/application.h"

#include <algorithm>

#include "presentation/message_box.h"
#include "presentation/window.h"

namespace {

constexpr uint64_t kMicrosPerMilli = 1000;

}  // namespace

// --- TTimer ---------------------------------------------------------------------------------

TTimer::TTimer(TApplication& app, uint32_t intervalMs, bool enabled)
    : app_(app), interval_(intervalMs) {
  app_.timers_.push_back(this);
  SetEnabled(enabled);
}

TTimer::~TTimer() {
  auto& t = app_.timers_;
  t.erase(std::remove(t.begin(), t.end(), this), t.end());
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled && !enabled_) {
    due_ = app_.backend_.NowMicros() + std::max<uint64_t>(interval_, 1) * kMicrosPerMilli;
  }
  enabled_ = enabled;
}

void TTimer::SetInterval(uint32_t ms) {
  interval_ = ms;
  if (enabled_) due_ = app_.backend_.NowMicros() + std::max<uint64_t>(ms, 1) * kMicrosPerMilli;
}

double TTimer::Phase() const {
  const uint64_t interval = std::max<uint64_t>(interval_, 1) * kMicrosPerMilli;
  const uint64_t now = app_.backend_.NowMicros();
  const uint64_t last = due_ - std::min(due_, interval);
  if (!enabled_) return 1;  // no tick is coming: the last one stands
  if (now <= last) return 0;
  return std::min(1.0, static_cast<double>(now - last) / static_cast<double>(interval));
}

// --- TDXTimer -------------------------------------------------------------------------------

TDXTimer::TDXTimer(TApplication& app) : app_(app) {
  app_.frameTimers_.push_back(this);
}

TDXTimer::~TDXTimer() {
  auto& t = app_.frameTimers_;
  t.erase(std::remove(t.begin(), t.end(), this), t.end());
}

void TDXTimer::SetEnabled(bool enabled) {
  if (enabled && !enabled_) last_ = app_.backend_.NowMicros();
  enabled_ = enabled;
}

// --- TApplication ---------------------------------------------------------------------------

TApplication::TApplication(platform::Backend& backend, TWindow& window)
    : backend_(backend), window_(window) {}

void TApplication::Guard(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ShowException(e);
  } catch (...) {
    ShowBox("Unknown error", true);
  }
}

void TApplication::ShowMessage(const std::string& text) {
  ShowBox(text, false);
}

void TApplication::ShowException(const std::exception& e) {
  ShowBox(e.what(), true);
}

void TApplication::ShowBox(const std::string& text, bool error) {
  if (terminated_) return;
  TMessageBoxLayer box(Title, text, error);
  // The box lies over the window; a window too small for it (the start-up choice) grows
  // while the box is up and gets its size back afterwards.
  const TWindow::TPlacement old = window_.Placement();
  const int32_t oldWidth = window_.ClientWidth(), oldHeight = window_.ClientHeight();
  box.Layout(oldWidth, oldHeight);
  const bool grow = box.Width() + 20 > oldWidth || box.Height() + 20 > oldHeight;
  if (grow) {
    window_.SetBounds(window_.Left(), window_.Top(), std::max(oldWidth, box.Width() + 20),
                      std::max(oldHeight, box.Height() + 20));
    box.Layout(window_.ClientWidth(), window_.ClientHeight());
  }
  window_.AddLayer(box);
  window_.Show();
  window_.Present(false);
  backend_.MessageShown(Title, text);
  ++modalDepth_;
  while (!box.Answered() && !terminated_) {
    const uint64_t wake = Pass(platform::kForever, true);
    if (box.Answered() || terminated_) break;
    Sleep(wake);
  }
  --modalDepth_;
  window_.RemoveLayer(box);
  if (grow) window_.SetPlacement(old);
  window_.Invalidate();
}

void TApplication::Run() {
  while (!terminated_) Sleep(Pass(platform::kForever, false));
}

void TApplication::RunFor(uint64_t ms) {
  // Everything due up to and including the deadline runs.
  const uint64_t deadline = backend_.NowMicros() + ms * kMicrosPerMilli;
  while (!terminated_) {
    const uint64_t wake = Pass(deadline, false);
    if (terminated_ || backend_.NowMicros() >= deadline) break;
    Sleep(wake);
  }
}

void TApplication::Sleep(uint64_t wake) {
  if (!terminated_ && wake > backend_.NowMicros()) backend_.WaitUntil(wake);
}

void TApplication::ProcessMessages() {
  DrainEvents();
  if (!terminated_) FireDueTimers();
}

void TApplication::DrainEvents() {
  platform::Event e;
  while (!terminated_ && backend_.PollEvent(e)) {
    switch (e.Kind) {
      case platform::EventKind::Quit:
        terminated_ = true;  // closing the window ends the program
        break;
      case platform::EventKind::Expose:
      case platform::EventKind::FocusGained:
        window_.Invalidate();
        break;
      case platform::EventKind::FrameChanged:
        window_.FrameChanged();
        break;
      case platform::EventKind::FocusLost:
        if (OnDeactivate) Guard(OnDeactivate);
        break;
      case platform::EventKind::PadLost:
        if (OnPadLost) Guard(OnPadLost);
        break;
      case platform::EventKind::FullScreenLeft:
        window_.Invalidate();
        if (OnFullScreenLeft) Guard(OnFullScreenLeft);
        break;
      case platform::EventKind::None:
        break;
      default:
        Guard([&] {
          if (OnPreview && OnPreview(e)) return;
          if (!window_.DispatchToLayers(e) && OnUnhandledEvent) OnUnhandledEvent(e);
        });
        break;
    }
  }
}

void TApplication::FireDueTimers() {
  // A copy: a handler may create or destroy timers.
  const std::vector<TTimer*> timers = timers_;
  for (TTimer* t : timers) {
    if (std::find(timers_.begin(), timers_.end(), t) == timers_.end()) continue;
    if (!t->enabled_ || t->running_) continue;
    const uint64_t interval = std::max<uint64_t>(t->interval_, 1) * kMicrosPerMilli;
    const uint64_t now = backend_.NowMicros();
    int32_t fired = 0;
    while (t->enabled_ && t->due_ <= now && fired < std::max(t->MaxCatchUp, 1)) {
      t->due_ += interval;
      ++fired;
      t->running_ = true;
      if (t->OnTimer) Guard(t->OnTimer);
      // The timer may have been destroyed by its own handler.
      if (std::find(timers_.begin(), timers_.end(), t) == timers_.end()) break;
      t->running_ = false;
    }
    if (std::find(timers_.begin(), timers_.end(), t) == timers_.end()) continue;
    // A backlog beyond what may be made up is dropped, keeping the timer's phase.
    if (t->enabled_ && t->due_ <= now) t->due_ += ((now - t->due_) / interval + 1) * interval;
  }
}

uint64_t TApplication::NextTimerDue() const {
  uint64_t next = platform::kForever;
  for (const TTimer* t : timers_) {
    if (t->enabled_ && !t->running_) next = std::min(next, t->due_);
  }
  return next;
}

bool TApplication::FireFrame() {
  const int64_t paced = window_.PacedPresents();
  const std::vector<TDXTimer*> timers = frameTimers_;
  for (TDXTimer* t : timers) {
    if (std::find(frameTimers_.begin(), frameTimers_.end(), t) == frameTimers_.end()) continue;
    if (!t->enabled_ || t->running_) continue;
    if (t->ActiveOnly && !backend_.Foreground()) continue;
    const uint64_t now = backend_.NowMicros();
    const uint64_t elapsedMs = (now - std::min(now, t->last_)) / kMicrosPerMilli;
    const auto lag =
        static_cast<int32_t>(std::max<uint64_t>(elapsedMs / std::max<uint32_t>(t->Interval, 1), 1));
    t->last_ = now;
    t->running_ = true;
    if (t->OnTimer) Guard([&] { t->OnTimer(lag); });
    if (std::find(frameTimers_.begin(), frameTimers_.end(), t) != frameTimers_.end()) {
      t->running_ = false;
    }
  }
  return window_.PacedPresents() != paced;
}

uint64_t TApplication::Pass(uint64_t deadline, bool inModal) {
  DrainEvents();
  if (terminated_) return 0;
  FireDueTimers();
  if (terminated_) return 0;

  uint64_t wake = std::min(NextTimerDue(), deadline);
  const bool framing =
      !inModal && std::any_of(frameTimers_.begin(), frameTimers_.end(),
                              [](const TDXTimer* t) { return t->enabled_ && !t->running_; });
  if (framing) {
    const uint64_t now = backend_.NowMicros();
    if (now >= nextFrame_) {
      const uint64_t period = backend_.RefreshPeriodMicros();
      // Where the retrace paced the frame, the next may start at once; otherwise frames are
      // capped at the refresh rate, keeping their phase unless the loop fell far behind.
      const bool paced = FireFrame();
      if (terminated_) return 0;
      if (paced) {
        nextFrame_ = 0;
      } else {
        nextFrame_ = nextFrame_ + period > now ? nextFrame_ + period : now + period;
      }
    }
    wake = std::min(wake, nextFrame_);
  }
  if (window_.Invalid()) window_.Present(false);
  return wake;
}

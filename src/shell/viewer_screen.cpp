// Watching a recorded flight in the play area: the viewer's ticks and frames on the game's
// two timers, its bar over the picture, and its keys, pad buttons and the bar's clicks. The
// timers run only while the flight moves; paused or at its end a change is drawn once.
#include <cstdio>

#include "presentation/form_components.h"
#include "shell/form1.h"
#include "shell/replay_viewer.h"

namespace {

bool ShiftHeld(platform::Backend& backend) {
  platform::KeyboardState keys{};
  backend.ReadKeyboard(keys);
  return keys[platform::vk::Shift];
}

}  // namespace

uint64_t TForm1::Now() {
  return App.Backend().NowMicros();
}

void TForm1::OpenViewer(TReplay replay, const std::string& title, std::function<void()> back,
                        bool titleFlight) {
  auto viewer = std::make_unique<TReplayViewer>(Media, std::move(replay), Now());
  HideButtons(0, kMenuControlCount - 1);
  HideListButtons();
  Memo7.SetVisible(false);
  Edit1.SetVisible(false);
  viewer_ = std::move(viewer);
  viewerBack_ = std::move(back);
  ViewerHud.Viewer = viewer_.get();
  ViewerHud.Title = title;
  ViewerHud.TitleFlight = titleFlight;
  viewer_->SetSilent(titleFlight);
  FrameStats.FlightStarted();
  EnterScreen(titleFlight ? TScreen::TitleFlight : TScreen::Viewer);
  ViewerChanged();
}

void TForm1::LeaveViewer() {
  UpdateTimer.SetEnabled(false);
  DrawTimer.SetEnabled(false);
  ViewerHud.Viewer = nullptr;
  viewer_.reset();
  Media.Window.Invalidate();
  const std::function<void()> back = std::move(viewerBack_);
  viewerBack_ = nullptr;
  if (back) back();
}

void TForm1::RunViewerTimers() {
  const bool moving = viewer_ && !viewer_->Paused() && !viewer_->AtEnd();
  if (moving && !UpdateTimer.Enabled()) {
    FrameStats.StretchStarted();
    DrawTimer.SetEnabled(true);
    UpdateTimer.SetEnabled(true);
  } else if (!moving) {
    DrawTimer.SetEnabled(false);
    UpdateTimer.SetEnabled(false);
  }
}

void TForm1::ViewerChanged() {
  if (!viewer_) return;
  // A seek may go back before the mother ship came, a pause lowers the music.
  if (screen_ == TScreen::Viewer) CueMusic();
  // Still, the picture is drawn once for the change; moving, the next frame shows it.
  if (viewer_->Paused() || viewer_->AtEnd()) viewer_->Draw({SmoothMotion, 1.0});
  RunViewerTimers();
  Media.Window.Invalidate();
}

void TForm1::ViewerTimer() {
  TReplayViewer& v = *viewer_;
  const int64_t before = v.Position();
  const bool bossBefore = v.BossCame();
  // A developer's picture after a chosen tick: the flight stops there first.
  if (TickShot.Tick > before) {
    v.RunDue(Now(), TickShot.Tick);
    if (v.Position() == TickShot.Tick) ShootTick(v.Flight(), v.Position());
  } else {
    v.RunDue(Now());
  }
  if (screen_ == TScreen::Viewer && v.BossCame() != bossBefore) CueMusic();
  if (!v.AtEnd()) return;
  if (const auto drift = v.Drift()) {
    std::fprintf(stderr, "starvelkhorn: the replay differs from its recording at tick %lld: %s\n",
                 static_cast<long long>(drift->Tick), drift->What.c_str());
  }
  if (screen_ == TScreen::TitleFlight) {
    LeaveViewer();
    return;
  }
  ViewerChanged();
}

void TForm1::ViewerFrame() {
  TReplayViewer& v = *viewer_;
  if (v.Paused() || v.AtEnd()) return;
  const uint64_t now = Now();
  const TFramePhase phase{SmoothMotion, SmoothMotion ? v.Phase(now) : 1.0};
  const TFrameDrawn drawn = v.Draw(phase);
  if (drawn.Drawn) FrameStats.Presented(now, drawn.Terrain);
}

bool TForm1::ViewerInput(const platform::Event& e) {
  using platform::EventKind;
  using platform::PadButton;
  namespace vk = platform::vk;
  TReplayViewer& v = *viewer_;
  const uint64_t now = Now();
  if (e.Kind == EventKind::KeyDown) {
    const bool shift = ShiftHeld(App.Backend());
    switch (e.Key) {
      case vk::Space:
      case 'P':
        if (!e.Repeat) v.SetPaused(!v.Paused(), now);
        break;
      case vk::Left:
      case vk::Right: {
        const int64_t step = shift ? 1 : TReplayViewer::kSeekTicks;
        if (shift) v.SetPaused(true, now);
        v.SeekBy(e.Key == vk::Left ? -step : step, now);
        break;
      }
      case vk::Home:
        v.SeekTo(0, now);
        break;
      case vk::End:
        v.SeekTo(v.Length(), now);
        break;
      case vk::Up:
      case vk::Add:
        v.Faster(now);
        break;
      case vk::Down:
      case vk::Subtract:
        v.Slower(now);
        break;
      case vk::Escape:
      case vk::Back:
        if (!e.Repeat) LeaveViewer();
        return true;
      default:
        return false;
    }
  } else if (e.Kind == EventKind::PadDown) {
    switch (e.Pad) {
      case PadButton::Accept:
        v.SetPaused(!v.Paused(), now);
        break;
      case PadButton::Left:
      case PadButton::Right: {
        // Paused, the pad steps through the flight a tick at a time.
        const int64_t step = v.Paused() ? 1 : TReplayViewer::kSeekTicks;
        v.SeekBy(e.Pad == PadButton::Left ? -step : step, now);
        break;
      }
      case PadButton::Up:
        v.Faster(now);
        break;
      case PadButton::Down:
        v.Slower(now);
        break;
      case PadButton::Start:
        v.SeekTo(0, now);
        break;
      case PadButton::Back:
        LeaveViewer();
        return true;
    }
  } else if (e.Kind == EventKind::MouseDown && e.Button == 1) {
    const int64_t tick = TViewerHud::TickAt(e.X, e.Y, v.Length());
    if (tick < 0) return false;
    v.SeekTo(tick, now);
  } else {
    return false;
  }
  ViewerChanged();
  return true;
}

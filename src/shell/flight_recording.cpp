// Recording every mission flown, and showing a recorded one. A recorder sits on the world's
// tick from the mission's first tick; the flight's end (won, lost, or left from the pause
// screen) writes its replay beside the saved game. Nothing about a replay may disturb the
// game: a replay that cannot be written is reported on stderr and play goes on.
#include <cstdio>
#include <ctime>
#include <exception>

#include "base/error.h"
#include "core/tick.h"
#include "platform/png.h"
#include "replay/flight_check.h"
#include "replay/flight_recorder.h"
#include "replay/game_version.h"
#include "shell/form1.h"
#include "shell/replay_store.h"
#include "shell/replayed_flight.h"

void TForm1::UpdateTimerTimer() {
  Tick(world_);
  const int64_t flown = recorder_ ? recorder_->Ticks() : replayCheck_ ? replayCheck_->Ticks() : -1;
  if (flown >= 0 && flown == TickShot.Tick) {
    TickShot.Tick = -1;
    // The terrain's scroll follows the frames actually drawn, which differ from run to run;
    // the picture is drawn with the scroll the ticks alone would give, so two runs of the same
    // flight give the same picture, then the real scroll is put back.
    const int64_t row = world_.Level.ScrollRow;
    const int32_t scrollTicks = world_.ScrollTicks;
    world_.Level.ScrollRow = (flown / 16) % TLevel::kRows;
    world_.ScrollTicks = static_cast<int32_t>(flown % 16);
    DrawFrame(world_);
    world_.Level.ScrollRow = row;
    world_.ScrollTicks = scrollTicks;
    const TDirectDrawSurface& picture = Media.DXDraw1.Surface();
    const platform::PixelView view{picture.Pixels(), picture.Width(), picture.Height(),
                                   picture.Width()};
    if (!platform::WritePng(TickShot.File, view))
      std::fprintf(stderr, "starvelkhorn: cannot write %s\n", TickShot.File.c_str());
  }
  if (recorder_ && recorder_->Finished()) StoreRecording();
  if (replayCheck_ && replayCheck_->Done() && !replayEnded_) {
    replayEnded_ = true;
    RunGameTimers(false);
    StopEngineSound();
    if (const auto& m = replayCheck_->Mismatch()) {
      std::fprintf(stderr, "starvelkhorn: the replay differs from its recording at tick %lld: %s\n",
                   static_cast<long long>(m->Tick), m->What.c_str());
    }
  }
}

void TForm1::BeginRecording() {
  if (ReplayFolder.empty() || Replaying() || recorder_) return;
  recorder_ = std::make_unique<TFlightRecorder>(world_, GameVersion());
  world_.Tap = recorder_.get();
}

void TForm1::NoteFlightOutcome(bool won) {
  const TFlightOutcome outcome = won ? TFlightOutcome::Won : TFlightOutcome::Lost;
  if (recorder_) recorder_->NoteOutcome(outcome);
  if (replayCheck_) replayCheck_->NoteOutcome(outcome);
}

void TForm1::QuitRecording() {
  if (!recorder_) return;
  recorder_->Quit(world_);
  StoreRecording();
}

void TForm1::StoreRecording() {
  if (world_.Tap == recorder_.get()) world_.Tap = nullptr;
  const std::unique_ptr<TFlightRecorder> recorder = std::move(recorder_);
  try {
    StoreReplay(recorder->Replay(), ReplayFolder, std::time(nullptr));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "starvelkhorn: the flight's replay was not saved: %s\n", e.what());
  }
}

void TForm1::PlayReplay(const TReplay& replay) {
  MenuTimer.SetEnabled(false);
  replay_ = std::make_unique<TReplay>(replay);
  replayCheck_ = std::make_unique<TFlightCheck>(*replay_);
  if (!StartReplayedFlight(world_, replay_->Start)) throw EGameError("no aircraft of that kind");
  // Every mission is flown from the hangar, whose blank picture leaves the canvas's brush
  // solid black: the status bar's credits are written on it.
  BlankSurface();
  world_.Tap = replayCheck_.get();
  HideButtons(0, kMenuControlCount - 1);
  Memo7.SetVisible(false);
  Edit1.SetVisible(false);
  RunGameTimers(true);
  FrameStats.FlightStarted();
  if (Media.DXEnginesWaveList.Items.Count() > 0) Media.DXEnginesWaveList.Items[0].Play(false);
  Media.Window.SetCursorVisible(false);
  bossAppeared_ = false;
  EnterScreen(TScreen::Mission);
}

bool TForm1::ReplayDone() const {
  return replayCheck_ && replayCheck_->Done();
}

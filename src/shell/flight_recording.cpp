// Recording every mission flown and keeping the player's records. A recorder sits on the
// world's tick from the mission's first tick; the flight's end (won, lost, or left from the
// pause screen) writes its replay beside the saved game, and a won flight that beats the
// mission's record at its difficulty takes its place. Nothing about a replay may disturb the
// game: a replay that cannot be written is reported on stderr and play goes on; records that
// cannot be written are reported in the error box, since the player would miss them.
#include <cstdio>
#include <exception>

#include "base/error.h"
#include "core/tick.h"
#include "platform/png.h"
#include "replay/flight_recorder.h"
#include "replay/game_version.h"
#include "shell/flight_texts.h"
#include "shell/form1.h"
#include "shell/record_store.h"
#include "shell/replay_store.h"
#include "shell/replay_viewer.h"

namespace {

constexpr const char* kNewRecordText = "Nový rekord mise!";

}  // namespace

void TForm1::UpdateTimerTimer() {
  if (viewer_) {
    ViewerTimer();
    return;
  }
  Tick(world_);
  if (recorder_) {
    tally_.AfterTick(world_);
    if (recorder_->Ticks() == TickShot.Tick) ShootTick(world_, recorder_->Ticks());
    if (recorder_->Finished()) StoreRecording();
  }
}

void TForm1::ShootTick(World& w, int64_t flown) {
  TickShot.Tick = -1;
  // The terrain's scroll follows the frames actually drawn, which differ from run to run; the
  // picture is drawn with the scroll the ticks alone would give, so two runs of the same
  // flight give the same picture, then the real scroll is put back.
  const int64_t row = w.Level.ScrollRow;
  const int32_t scrollTicks = w.ScrollTicks;
  w.Level.ScrollRow = (flown / 16) % TLevel::kRows;
  w.ScrollTicks = static_cast<int32_t>(flown % 16);
  DrawFrame(w);
  w.Level.ScrollRow = row;
  w.ScrollTicks = scrollTicks;
  const TDirectDrawSurface& picture = Media.DXDraw1.Surface();
  const platform::PixelView view{picture.Pixels(), picture.Width(), picture.Height(),
                                 picture.Width()};
  if (!platform::WritePng(TickShot.File, view))
    std::fprintf(stderr, "starvelkhorn: cannot write %s\n", TickShot.File.c_str());
}

void TForm1::BeginRecording() {
  newRecord_ = false;
  if ((ReplayFolder.empty() && RecordsPath.empty()) || recorder_) return;
  recorder_ = std::make_unique<TFlightRecorder>(world_, GameVersion());
  tally_ = {};
  world_.Tap = recorder_.get();
}

void TForm1::NoteFlightOutcome(bool won) {
  if (recorder_) recorder_->NoteOutcome(won ? TFlightOutcome::Won : TFlightOutcome::Lost);
}

void TForm1::QuitRecording() {
  if (!recorder_) return;
  recorder_->Quit(world_);
  StoreRecording();
}

void TForm1::StoreRecording() {
  if (world_.Tap == recorder_.get()) world_.Tap = nullptr;
  const std::unique_ptr<TFlightRecorder> recorder = std::move(recorder_);
  if (!ReplayFolder.empty()) {
    try {
      StoreReplay(recorder->Replay(), ReplayFolder, WallClock());
    } catch (const std::exception& e) {
      std::fprintf(stderr, "starvelkhorn: the flight's replay was not saved: %s\n", e.what());
    }
  }
  if (recorder->Replay().End.Outcome == TFlightOutcome::Won) OfferFlightRecord(recorder->Replay());
}

const TRecordBook& TForm1::Records() {
  if (records_) return *records_;
  records_.emplace();
  if (RecordsPath.empty()) return *records_;
  TRecordsLoad load = LoadRecords(RecordsPath);
  *records_ = std::move(load.Book);
  recordsWritable_ = load.Writable;
  if (!load.Problem.empty()) std::fprintf(stderr, "starvelkhorn: %s\n", load.Problem.c_str());
  if (!load.Message.empty()) App.ShowMessage(load.Message);
  return *records_;
}

void TForm1::OfferFlightRecord(const TReplay& replay) {
  if (RecordsPath.empty()) return;
  const GameState& g = replay.Start.Campaign;
  const std::optional<size_t> slot = RecordSlot(g.Mission, g.Difficulty);
  if (!slot) return;
  Records();
  TRecord flight = RecordOfFlight(replay, tally_.Kills, tally_.Damage, WallClock());
  if (!OfferRecord(*records_, *slot, std::move(flight))) return;
  newRecord_ = true;
  // Under the victory message, which the tick that ended the flight has just shown.
  if (screen_ == TScreen::Won) {
    Media.DXDraw1.Surface().Canvas().TextOut(400, 330, kNewRecordText);
    Present();
  }
  if (!recordsWritable_) return;
  App.Guard([this] { SaveRecords(RecordsPath, *records_); });
}

void TForm1::PlayReplay(const TReplay& replay) {
  MenuTimer.SetEnabled(false);
  const GameState& g = replay.Start.Campaign;
  OpenViewer(replay, MissionText(g.Mission, g.Difficulty) + " · " + AircraftText(g.AircraftKind),
             [this] { App.Terminate(); });
}

bool TForm1::ReplayDone() const {
  return viewer_ && viewer_->AtEnd();
}

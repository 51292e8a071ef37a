// The title that flies by itself: after a while without input on the main menu, a recorded
// flight plays behind a line saying what it is, the player's best record or else the flight
// shipped with the game's data. Any key, click or pad button returns to the title at once,
// and does nothing else there.
#include "base/error.h"
#include "replay/game_version.h"
#include "shell/flight_texts.h"
#include "shell/form1.h"
#include "shell/replay_viewer.h"

namespace {

bool IsInput(platform::EventKind kind) {
  using platform::EventKind;
  switch (kind) {
    case EventKind::KeyDown:
    case EventKind::KeyUp:
    case EventKind::TextInput:
    case EventKind::MouseMove:
    case EventKind::MouseDown:
    case EventKind::MouseUp:
    case EventKind::MouseWheel:
    case EventKind::PadDown:
    case EventKind::PadUp:
      return true;
    default:
      return false;
  }
}

// The record the player would most like to see again: the one that earned the most.
std::optional<size_t> BestRecord(const TRecordBook& book) {
  std::optional<size_t> best;
  for (size_t slot = 0; slot < book.Slots.size(); ++slot) {
    if (book.Slots[slot] && (!best || book.Slots[slot]->Credits >= book.Slots[*best]->Credits))
      best = slot;
  }
  return best;
}

}  // namespace

void TForm1::NoteInput(const platform::Event& e) {
  // The wait starts again with every touch of the keys, the mouse or the pad.
  if (screen_ == TScreen::MainMenu && TitleFlightAfterMs > 0 && IsInput(e.Kind)) {
    IdleTimer.SetEnabled(false);
    IdleTimer.SetEnabled(true);
  }
}

void TForm1::StartTitleFlight() {
  IdleTimer.SetEnabled(false);
  if (screen_ != TScreen::MainMenu || viewer_) return;
  // A message box is waiting for the player: the title waits with it, and goes on waiting.
  if (App.ModalDepth() > 0) {
    IdleTimer.SetEnabled(true);
    return;
  }
  std::optional<TReplay> flight;
  std::string title;
  if (const auto slot = BestRecord(Records())) {
    const std::vector<uint8_t>& bytes = Records().Slots[*slot]->Replay;
    try {
      flight = DecodeReplay(bytes.data(), bytes.size(), RecordsPath.string());
      title = "Váš rekord: ";
    } catch (const EGameError&) {
      flight.reset();
    }
    if (flight && flight->GameVersion != GameVersion()) flight.reset();
  }
  if (!flight) {
    try {
      flight = ReadReplayFile(ShippedFlight.string());
      title = "Ukázkový let: ";
    } catch (const EGameError&) {
      return;  // no flight to show: the title simply stays
    }
  }
  const GameState& g = flight->Start.Campaign;
  std::string what = MissionText(g.Mission, g.Difficulty);
  what[0] = 'm';  // "mise 1, ..." inside the line
  App.Guard([&] {
    OpenViewer(
        std::move(*flight), title + what, [this] { ShowMainMenu(); }, true);
  });
}

bool TForm1::TitleFlightInput(const platform::Event& e) {
  using platform::EventKind;
  const bool leaves = (e.Kind == EventKind::KeyDown && !e.Repeat) ||
                      e.Kind == EventKind::MouseDown || e.Kind == EventKind::PadDown;
  if (leaves) LeaveViewer();
  // Whatever else the input was, it was the player's, and only brings the title back.
  return IsInput(e.Kind) && e.Kind != EventKind::MouseMove;
}

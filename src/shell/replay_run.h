// A recorded flight flown again on a world of its own: the replay's start set up, then its
// input states in place of the polled ones tick by tick, every checkpoint and the end compared
// with the record. Nothing is drawn here; the world uses the form's components, so whoever
// flies it decides what is shown and heard. The game's own world is never touched.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/world.h"
#include "replay/flight_check.h"

class TReplayRun final : public TMissionEvents {
 public:
  // The replay must outlive the run. Throws EGameError for content that cannot be read and
  // for an aircraft kind that has no aircraft.
  TReplayRun(TFormComponents& media, const TReplay& replay);
  ~TReplayRun() override;
  TReplayRun(const TReplayRun&) = delete;
  TReplayRun& operator=(const TReplayRun&) = delete;

  World& Flight() { return *world_; }
  const World& Flight() const { return *world_; }
  const TFlightCheck& Check() const { return check_; }
  int64_t Ticks() const { return check_.Ticks(); }
  // The recorded end is reached, or the flight went another way than its record (then
  // Drift() says where and how): beyond that it would show a flight that never happened.
  bool Done() const { return check_.Done() || stalled_ || check_.Mismatch().has_value(); }
  // Where and how the flight first differed from its record, if it has.
  std::optional<TReplayMismatch> Drift() const;
  // How the flight ended while flown again, if it has.
  std::optional<TFlightOutcome> Outcome() const { return outcome_; }
  // The mission's mother ship has come in the flight so far.
  bool BossCame() const { return bossCame_; }

  // One tick of the flight.
  void Step();

  // A failure the player did not cause during a tick (a broken file); ignored when unset.
  std::function<void(const std::string&)> OnError;

 private:
  void ShowDefeat() override;
  void ShowVictory() override;
  void ReportError(const std::string& message) override;
  void BossAppeared() override { bossCame_ = true; }

  TFlightCheck check_;
  std::optional<TFlightOutcome> outcome_;
  bool stalled_ = false;  // a tick ran and the flight did not go on
  bool bossCame_ = false;
  std::unique_ptr<World> world_;  // after the check: it lets go of it first
};

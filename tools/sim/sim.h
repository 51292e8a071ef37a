// The headless driver: the real game code on the headless backend. It sets up a world as a
// new game does, starts the mission directly with the aircraft where a bought one starts,
// then runs ticks on the virtual clock, a frame after each (or, on a virtual display, frames
// at its refresh rate), with scripted input.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "autopilot/autopilot.h"
#include "core/tick.h"
#include "core/world.h"
#include "input_script.h"
#include "options.h"
#include "pacing.h"
#include "platform/headless/headless_backend.h"
#include "presentation/form_components.h"
#include "replay/flight_check.h"
#include "replay/flight_recorder.h"
#include "replay/flight_tally.h"
#include "virtual_display.h"

// A mistake on the command line or in the input script.
class ESimUsage : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TSimulation {
 public:
  // Changes into the data directory (restored on destruction), loads the asset catalog and
  // the mission, and puts the aircraft in flight. Throws EGameError for content that cannot
  // be read, ESimUsage for an input script that cannot be read or understood, and
  // std::runtime_error for an output file that cannot be written.
  explicit TSimulation(const TSimOptions& options);
  ~TSimulation();
  TSimulation(const TSimulation&) = delete;
  TSimulation& operator=(const TSimulation&) = delete;

  // One tick, numbered from 1, then a frame; writes the trace line and any screenshot due.
  // Returns false once the mission's timers are off (shot down, or the victory shown).
  bool RunTick();
  // Runs the ticks the options ask for (fewer if the mission ends first).
  void Run();

  int64_t TicksRun() const { return tick_; }
  // "running", "won" or "lost".
  std::string Outcome() const;
  // Craft destroyed, health lost and repairs bought so far.
  const TFlightTally& Tally() const { return tally_; }
  const std::vector<std::string>& MessagesShown() const { return messages_; }

  std::string TraceLine() const;
  // With --pacing: how evenly the virtual display showed the flight, a Markdown table row.
  std::string PacingRow() const;
  // The trace's line for a frame presented on the virtual display: its number, the last tick
  // before it and the fraction of a tick since, where it drew the terrain, the aircraft and
  // each enemy craft and boss (with a number that stays the craft's while it lives).
  std::string FrameLine(int64_t frame, double fraction, const TFramePhase& phase,
                        const TFrameDrawn& drawn) const;
  std::string SummaryLine() const;

  World& GameWorld() { return *world_; }
  platform::HeadlessBackend& Backend() { return backend_; }
  TFormComponents& Media() { return *media_; }

 private:
  class TEvents;
  void ApplyInput();
  void WriteRecord();
  // The frames the virtual display presents from this tick until the next.
  void PresentFrames();
  void NumberCraft();
  void Pace(const TFramePhase& phase, const TFrameDrawn& drawn);
  void ReadReplay();
  void StartReplay();

  TSimOptions options_;
  std::filesystem::path previousDir_;
  std::optional<TInputScript> input_;
  std::optional<TAutopilot> autopilot_;
  std::ofstream trace_;
  platform::HeadlessBackend backend_;
  std::unique_ptr<TFormComponents> media_;
  std::unique_ptr<TEvents> events_;
  std::unique_ptr<World> world_;
  std::unique_ptr<TFlightRecorder> recorder_;
  std::optional<TReplay> replay_;        // --replay: the flight flown again
  std::unique_ptr<TFlightCheck> check_;  // feeds its input states
  std::filesystem::path recordFile_;
  int64_t tick_ = 0;
  std::optional<TVirtualDisplay> display_;  // frames at a refresh rate instead of per tick
  std::optional<TPacing> pacing_;
  std::unordered_map<const TFlyer*, int64_t> craftNumbers_;
  int64_t lastCraftNumber_ = 0;
  TFlightTally tally_;
  bool timersOn_ = true;
  bool won_ = false;
  bool lost_ = false;
  std::vector<std::string> messages_;
};

// The whole program: parses arguments, runs, writes the summary. Returns the exit status.
int SimMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

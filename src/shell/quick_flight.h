// The game as it runs before its screens exist: straight into mission 1 with a fitted
// Jaguar, one mission after another. A won mission moves on to the next with the aircraft
// repaired; being shot down starts the campaign over; Esc pauses.
#pragma once

#include <memory>
#include <string>

#include "core/world.h"
#include "presentation/application.h"
#include "presentation/form_components.h"
#include "shell/flight_setup.h"

class TQuickFlight final : public TMissionEvents {
 public:
  TQuickFlight(TFormComponents& media, TApplication& app, uint64_t seed);

  // Loads the catalog, opens the window (fullscreen or not), starts the first mission.
  // Errors reach the standard error message box; the program goes on where it can.
  void Start(bool fullscreen);

  World& GameWorld() { return world_; }

  void StopTimers() override;
  void ShowDefeat() override;
  void ShowVictory() override;
  void PauseScreen() override;
  void StopEngineSound() override;
  void ReportError(const std::string& message) override;

 private:
  enum class TPending { None, Pause, Defeat, Victory };
  void StartMission(uint8_t mission);
  void RunTimers(bool on);
  void AfterTick();

  TFormComponents& media_;
  TApplication& app_;
  World world_;
  TTimer updateTimer_;
  TDXTimer drawTimer_;
  TFlightSetup setup_;
  TPending pending_ = TPending::None;
};

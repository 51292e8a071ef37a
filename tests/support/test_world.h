// A fresh world on the headless backend, in one line: TestWorld t; t.world...
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "core/world.h"
#include "flyers/flyer.h"
#include "platform/headless/headless_backend.h"
#include "presentation/form_components.h"

struct TestWorld {
  explicit TestWorld(uint64_t seed = 1) : world(media, seed) {}
  platform::HeadlessBackend backend;
  TFormComponents media{backend};
  World world;
};

// A flyer whose behaviour a test scripts.
class TProbe : public TFlyer {
 public:
  TProbe(World& w, int id) : TFlyer(w), Id(id) {}
  void Move() override {
    ++Moves;
    if (OnMove) OnMove(*this);
  }
  void Draw(const TDrawTime&) override { ++Draws; }
  void Done() override {
    ++*DoneCount;
    TFlyer::Done();
  }
  int Id;
  int Moves = 0;
  int Draws = 0;
  std::shared_ptr<int> DoneCount = std::make_shared<int>(0);
  std::function<void(TProbe&)> OnMove;
};

// Records what a mission tells its screens.
struct RecordingEvents : TMissionEvents {
  int timersStopped = 0, defeats = 0, victories = 0, pauses = 0, engineStops = 0, errors = 0;
  void StopTimers() override { ++timersStopped; }
  void ShowDefeat() override { ++defeats; }
  void ShowVictory() override { ++victories; }
  void PauseScreen() override { ++pauses; }
  void StopEngineSound() override { ++engineStops; }
  void ReportError(const std::string&) override { ++errors; }
};

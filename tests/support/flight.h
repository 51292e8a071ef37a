// A world with the player's aircraft in flight, for tests that fly over real ticks. Works in
// a temporary directory holding the aircraft's sprite and engine files.
#pragma once

#include <initializer_list>
#include <memory>

#include "core/player_control.h"
#include "core/tick.h"
#include "flyers/aircraft.h"
#include "support/content_files.h"
#include "support/temp_dir.h"
#include "support/test_world.h"

inline void WriteAircraftFiles() {
  for (const auto& a : catalog::kAircraft) {
    testcontent::WriteBmp(
        a.Sprite, testcontent::Cells(catalog::kAircraftFrameWidth, catalog::kAircraftFrameHeight,
                                     catalog::kAircraftFrames, 0x406080, a.Key));
    testcontent::WriteWav(a.Engine, 4410);
  }
}

inline TDXInputStates StatesOf(std::initializer_list<TDXInputState> held) {
  TDXInputStates s;
  for (TDXInputState h : held) s.set(h);
  return s;
}

struct FlightWorld {
  explicit FlightWorld(uint8_t kind = akJaguar, int32_t x = 500, int32_t y = 650) {
    WriteAircraftFiles();
    world.Events = &events;
    world.SetPlayer(std::make_unique<TAircraft>(world, kind, x, y));
    world.PushPlayer();
  }
  ScopedTempDir dir;
  TestWorld t;
  World& world = t.world;
  RecordingEvents events;
  TAircraft& Aircraft() { return *world.Player; }

  // One tick in which exactly the given states are held, pressed as the player would on
  // the keyboard (the tick polls them through the game's own key bindings).
  void TickWith(const TDXInputStates& held) {
    namespace vk = platform::vk;
    const std::pair<TDXInputState, uint8_t> keys[] = {
        {InputUp, vk::Up},         {InputDown, vk::Down},     {InputLeft, vk::Left},
        {InputRight, vk::Right},   {InputButton1, vk::Space}, {InputButton2, vk::Return},
        {InputButton3, vk::Shift}, {InputButton31, vk::Tab},  {InputButton32, vk::Escape},
    };
    t.backend.ReleaseAllKeys();
    for (auto [state, key] : keys) {
      if (held[state]) t.backend.SetKey(key, true);
    }
    Tick(world);
  }
  void TickWith(std::initializer_list<TDXInputState> held) { TickWith(StatesOf(held)); }
};

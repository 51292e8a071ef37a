// Turns the input states of a tick into operations of the player's aircraft: pause, repair,
// steering, the two kinds of fire and weapon switching, in that order.
#pragma once

#include <cstdint>

#include "presentation/dxinput.h"

class World;

constexpr int64_t kRepairPrice = 50000;
constexpr int32_t kSteer = 2;
constexpr int32_t kSwitchRepeatTicks = 16;

// The states that command rather than steer: fire, weapon switch, repair and pause. When a
// menu button starts or resumes a flight, whichever of them is held then (the Enter, Space or
// pad button that pressed it) acts only after a release; steering held through a pause steers
// on.
TDXInputStates CommandStates();

// Reads the states of the last input poll.
void PlayerControl(World& w);
void PlayerControl(World& w, const TDXInputStates& states);

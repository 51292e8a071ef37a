// A gamepad's buttons by number, as the game reads them (bit k - 1 of JoystickState::Buttons
// is button k): a plain joystick numbers its own, and a game controller's are numbered in the
// order below, under the names SDL gives them, so a player may name them either way.
#pragma once

#include <array>
#include <string_view>

namespace platform {

inline constexpr int kJoystickButtons = 32;
inline constexpr std::array<std::string_view, 11> kControllerButtonNames = {
    "a",    "b",     "x",         "y",          "leftshoulder", "rightshoulder",
    "back", "start", "leftstick", "rightstick", "guide"};

}  // namespace platform

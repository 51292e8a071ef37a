// Keys by name, for the player's settings: the names SDL gives keys ("Space", "Left Ctrl",
// "Keypad 8", "K"; any case), translated to and from the virtual key codes the game binds.
// Works before and without a window.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct KeyLookup {
  bool Known = false;  // SDL knows a key of that name
  uint8_t Code = 0;    // its virtual key code; 0 when the game cannot read that key
};

KeyLookup LookUpKeyName(const std::string& name);

// The name a virtual key code is written as (the first SDL name that reads as it: "Left Shift"
// for either Shift), or "" for a code no key gives.
std::string KeyNameOf(uint8_t code);

}  // namespace platform

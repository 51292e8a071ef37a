// The keyboard as the game names its keys: SDL's scancodes turned into virtual key codes.
#pragma once

#include <cstdint>

namespace platform {

// The virtual key code of an SDL scancode (both Enters, both Shifts, keypad digits whatever
// the lock), or 0. Letters follow the keyboard's layout.
uint8_t VirtualKeyOfScancode(int scancode);

}  // namespace platform

// The narrow interface between the presentation services and the machine: window and
// presenting, keyboard and joystick, audio device, clock and event loop. Two backends
// implement it: sdl (a real window) and headless (virtual clock, scripted input, null audio
// that still tracks voices, frames saved as PNG).
#pragma once

namespace platform {

class Backend {
 public:
  virtual ~Backend() = default;
};

}  // namespace platform

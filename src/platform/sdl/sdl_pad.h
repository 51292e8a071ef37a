// The first game controller or plain joystick, plugged in or out at any time: read as the
// flight's joystick state and, through PadTracker, as the menus' pad events.
#pragma once

#include <SDL.h>

#include "platform/backend.h"
#include "platform/pad.h"

namespace platform {

class SdlPad {
 public:
  SdlPad() = default;
  ~SdlPad();
  SdlPad(const SdlPad&) = delete;
  SdlPad& operator=(const SdlPad&) = delete;

  // Opens the first stick, a game controller where SDL knows one, unless one is open already.
  void OpenFirst();
  void Close();
  // Feeds the menus' view from a stick event; true when the event was one of the open stick's.
  bool Handle(const SDL_Event& e);
  // A stick went away: when it was the open one, what it held is released, the next stick is
  // opened and PadLost follows the releases.
  void Removed(SDL_JoystickID which);
  // The next menu event waiting: releases and presses, then PadLost.
  bool Pop(Event& out);
  // The flight's view: axes, buttons (a game controller's in a plain joystick's order) and
  // the cross, which steers like the stick pushed all the way.
  void Read(JoystickState& js) const;

 private:
  bool HandleController(const SDL_Event& e);
  bool HandleJoystick(const SDL_Event& e);
  void ReadController(JoystickState& js, int32_t& hatX, int32_t& hatY) const;
  void ReadJoystick(JoystickState& js, int32_t& hatX, int32_t& hatY) const;

  SDL_GameController* controller_ = nullptr;
  SDL_Joystick* joystick_ = nullptr;  // the controller's, or a plain joystick's
  SDL_JoystickID joystickId_ = -1;
  PadTracker tracker_;  // the menus' view of it
  bool lost_ = false;   // it was pulled out: told after the releases of what it held
};

}  // namespace platform

#include "platform/sdl/sdl_pad.h"

#include <algorithm>
#include <iterator>

#include "platform/pad_buttons.h"

namespace platform {

SdlPad::~SdlPad() {
  Close();
}

void SdlPad::OpenFirst() {
  if (joystick_) return;
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (SDL_IsGameController(i)) {
      controller_ = SDL_GameControllerOpen(i);
      if (controller_) {
        joystick_ = SDL_GameControllerGetJoystick(controller_);
        joystickId_ = SDL_JoystickInstanceID(joystick_);
        return;
      }
    }
  }
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    joystick_ = SDL_JoystickOpen(i);
    if (joystick_) {
      joystickId_ = SDL_JoystickInstanceID(joystick_);
      return;
    }
  }
}

void SdlPad::Close() {
  tracker_.Clear();
  if (controller_) {
    SDL_GameControllerClose(controller_);
  } else if (joystick_) {
    SDL_JoystickClose(joystick_);
  }
  controller_ = nullptr;
  joystick_ = nullptr;
  joystickId_ = -1;
}

void SdlPad::Removed(SDL_JoystickID which) {
  if (which != joystickId_) return;
  Close();
  OpenFirst();
  lost_ = true;
}

bool SdlPad::Pop(Event& out) {
  if (tracker_.Pop(out)) return true;
  if (!lost_) return false;
  lost_ = false;
  out = Event{};
  out.Kind = EventKind::PadLost;
  return true;
}

bool SdlPad::Handle(const SDL_Event& e) {
  return HandleController(e) || HandleJoystick(e);
}

bool SdlPad::HandleController(const SDL_Event& e) {
  switch (e.type) {
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      if (!controller_ || e.cbutton.which != joystickId_) return false;
      const bool down = e.type == SDL_CONTROLLERBUTTONDOWN;
      switch (e.cbutton.button) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
          tracker_.SetButton(PadButton::Up, down);
          break;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
          tracker_.SetButton(PadButton::Down, down);
          break;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
          tracker_.SetButton(PadButton::Left, down);
          break;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
          tracker_.SetButton(PadButton::Right, down);
          break;
        case SDL_CONTROLLER_BUTTON_A:
          tracker_.SetButton(PadButton::Accept, down);
          break;
        case SDL_CONTROLLER_BUTTON_B:
          tracker_.SetButton(PadButton::Back, down);
          break;
        case SDL_CONTROLLER_BUTTON_START:
          tracker_.SetButton(PadButton::Start, down);
          break;
        default:
          break;
      }
      return true;
    }
    case SDL_CONTROLLERAXISMOTION:
      if (!controller_ || e.caxis.which != joystickId_) return false;
      if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) tracker_.SetStickAxis(0, e.caxis.value);
      if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) tracker_.SetStickAxis(1, e.caxis.value);
      return true;
    default:
      return false;
  }
}

// A plain joystick; a game controller's own joystick events are left to its mapping.
bool SdlPad::HandleJoystick(const SDL_Event& e) {
  switch (e.type) {
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      if (controller_ || e.jbutton.which != joystickId_) return false;
      if (e.jbutton.button == 0) tracker_.SetButton(PadButton::Accept, e.jbutton.state != 0);
      if (e.jbutton.button == 1) tracker_.SetButton(PadButton::Back, e.jbutton.state != 0);
      if (e.jbutton.button == 7) tracker_.SetButton(PadButton::Start, e.jbutton.state != 0);
      return true;
    case SDL_JOYAXISMOTION:
      if (controller_ || e.jaxis.which != joystickId_) return false;
      tracker_.SetStickAxis(e.jaxis.axis, e.jaxis.value);
      return true;
    case SDL_JOYHATMOTION: {
      if (controller_ || e.jhat.which != joystickId_ || e.jhat.hat != 0) return false;
      uint8_t dirs = 0;
      if (e.jhat.value & SDL_HAT_UP) dirs |= PadBit(PadButton::Up);
      if (e.jhat.value & SDL_HAT_DOWN) dirs |= PadBit(PadButton::Down);
      if (e.jhat.value & SDL_HAT_LEFT) dirs |= PadBit(PadButton::Left);
      if (e.jhat.value & SDL_HAT_RIGHT) dirs |= PadBit(PadButton::Right);
      tracker_.SetHat(dirs);
      return true;
    }
    default:
      return false;
  }
}

namespace {

int32_t Raw(Sint16 v) {
  return static_cast<int32_t>(v) + 32768;
}

}  // namespace

void SdlPad::ReadController(JoystickState& js, int32_t& hatX, int32_t& hatY) const {
  SDL_GameController* c = controller_;
  js.X = Raw(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX));
  js.Y = Raw(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY));
  js.Z = Raw(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_RIGHTX));
  // Buttons in the order a pad reports them as a plain joystick: 1 A, 2 B, 3 X, 4 Y, ...
  static constexpr SDL_GameControllerButton kOrder[] = {SDL_CONTROLLER_BUTTON_A,
                                                        SDL_CONTROLLER_BUTTON_B,
                                                        SDL_CONTROLLER_BUTTON_X,
                                                        SDL_CONTROLLER_BUTTON_Y,
                                                        SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
                                                        SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
                                                        SDL_CONTROLLER_BUTTON_BACK,
                                                        SDL_CONTROLLER_BUTTON_START,
                                                        SDL_CONTROLLER_BUTTON_LEFTSTICK,
                                                        SDL_CONTROLLER_BUTTON_RIGHTSTICK,
                                                        SDL_CONTROLLER_BUTTON_GUIDE};
  static_assert(std::size(kOrder) == kControllerButtonNames.size());
  for (size_t i = 0; i < std::size(kOrder); ++i) {
    if (SDL_GameControllerGetButton(c, kOrder[i])) js.Buttons |= 1u << i;
  }
  hatX = SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) -
         SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  hatY = SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN) -
         SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_UP);
}

void SdlPad::ReadJoystick(JoystickState& js, int32_t& hatX, int32_t& hatY) const {
  SDL_Joystick* j = joystick_;
  const int axes = SDL_JoystickNumAxes(j);
  js.X = axes > 0 ? Raw(SDL_JoystickGetAxis(j, 0)) : 32768;
  js.Y = axes > 1 ? Raw(SDL_JoystickGetAxis(j, 1)) : 32768;
  js.Z = axes > 2 ? Raw(SDL_JoystickGetAxis(j, 2)) : 32768;
  const int buttons = std::min(SDL_JoystickNumButtons(j), 32);
  for (int i = 0; i < buttons; ++i) {
    if (SDL_JoystickGetButton(j, i)) js.Buttons |= 1u << i;
  }
  if (SDL_JoystickNumHats(j) > 0) {
    const Uint8 hat = SDL_JoystickGetHat(j, 0);
    hatX = ((hat & SDL_HAT_RIGHT) ? 1 : 0) - ((hat & SDL_HAT_LEFT) ? 1 : 0);
    hatY = ((hat & SDL_HAT_DOWN) ? 1 : 0) - ((hat & SDL_HAT_UP) ? 1 : 0);
  }
}

void SdlPad::Read(JoystickState& js) const {
  js = JoystickState{};
  if (!joystick_) return;
  js.Present = true;
  js.RawMin = 0;
  js.RawMax = 65535;
  int32_t hatX = 0, hatY = 0;
  if (controller_) {
    ReadController(js, hatX, hatY);
  } else {
    ReadJoystick(js, hatX, hatY);
  }
  if (hatX != 0) js.X = hatX < 0 ? 0 : 65535;
  if (hatY != 0) js.Y = hatY < 0 ? 0 : 65535;
}

}  // namespace platform

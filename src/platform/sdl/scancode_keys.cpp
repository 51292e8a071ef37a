#include "platform/sdl/scancode_keys.h"

#include <SDL.h>

#include "platform/backend.h"

namespace platform {

uint8_t VirtualKeyOfScancode(int scancode) {
  const auto sc = static_cast<SDL_Scancode>(scancode);
  // Letters by the layout's meaning (a Czech QWERTZ keyboard swaps Y and Z).
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) {
    const SDL_Keycode key = SDL_GetKeyFromScancode(sc);
    if (key >= 'a' && key <= 'z') return static_cast<uint8_t>(key - 'a' + 'A');
    return static_cast<uint8_t>('A' + (sc - SDL_SCANCODE_A));
  }
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9)
    return static_cast<uint8_t>('1' + (sc - SDL_SCANCODE_1));
  if (sc == SDL_SCANCODE_0) return '0';
  // The keypad by position, so the digits count whatever NumLock says.
  if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) {
    return static_cast<uint8_t>(vk::Numpad0 + 1 + (sc - SDL_SCANCODE_KP_1));
  }
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) {
    return static_cast<uint8_t>(vk::F1 + (sc - SDL_SCANCODE_F1));
  }
  switch (sc) {
    case SDL_SCANCODE_KP_0:
      return vk::Numpad0;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER:
    case SDL_SCANCODE_RETURN2:
      return vk::Return;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
      return vk::Shift;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
      return vk::Control;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
      return vk::Menu;
    case SDL_SCANCODE_SPACE:
      return vk::Space;
    case SDL_SCANCODE_TAB:
      return vk::Tab;
    case SDL_SCANCODE_ESCAPE:
      return vk::Escape;
    case SDL_SCANCODE_BACKSPACE:
      return vk::Back;
    case SDL_SCANCODE_LEFT:
      return vk::Left;
    case SDL_SCANCODE_UP:
      return vk::Up;
    case SDL_SCANCODE_RIGHT:
      return vk::Right;
    case SDL_SCANCODE_DOWN:
      return vk::Down;
    case SDL_SCANCODE_INSERT:
      return vk::Insert;
    case SDL_SCANCODE_DELETE:
      return vk::Delete;
    case SDL_SCANCODE_HOME:
      return vk::Home;
    case SDL_SCANCODE_END:
      return vk::End;
    case SDL_SCANCODE_PAGEUP:
      return vk::Prior;
    case SDL_SCANCODE_PAGEDOWN:
      return vk::Next;
    case SDL_SCANCODE_PAUSE:
      return vk::Pause;
    case SDL_SCANCODE_CAPSLOCK:
      return vk::Capital;
    case SDL_SCANCODE_NUMLOCKCLEAR:
      return vk::NumLock;
    case SDL_SCANCODE_SCROLLLOCK:
      return vk::Scroll;
    case SDL_SCANCODE_KP_MULTIPLY:
      return vk::Multiply;
    case SDL_SCANCODE_KP_PLUS:
      return vk::Add;
    case SDL_SCANCODE_KP_MINUS:
      return vk::Subtract;
    case SDL_SCANCODE_KP_PERIOD:
      return vk::Decimal;
    case SDL_SCANCODE_KP_DIVIDE:
      return vk::Divide;
    default:
      return 0;
  }
}

}  // namespace platform

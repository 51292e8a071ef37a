#include "platform/key_names.h"

#include <SDL.h>

#include "platform/sdl/scancode_keys.h"

namespace platform {

KeyLookup LookUpKeyName(const std::string& name) {
  const SDL_Keycode key = SDL_GetKeyFromName(name.c_str());
  if (key == SDLK_UNKNOWN) return {};
  // Letters and digits by their meaning, as the keyboard state reads them.
  if (key >= 'a' && key <= 'z') return {true, static_cast<uint8_t>(key - 'a' + 'A')};
  if (key >= '0' && key <= '9') return {true, static_cast<uint8_t>(key)};
  // Every other key the game reads has a scancode of the same name; SDL's name tables need
  // no initialised video, unlike its keymap.
  const SDL_Scancode sc = SDL_GetScancodeFromName(SDL_GetKeyName(key));
  if (sc == SDL_SCANCODE_UNKNOWN) return {true, 0};
  return {true, VirtualKeyOfScancode(sc)};
}

std::string KeyNameOf(uint8_t code) {
  if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) return std::string(1, code);
  if (code == 0) return "";
  for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
    const auto s = static_cast<SDL_Scancode>(sc);
    if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_0) continue;  // letters and digits above
    if (VirtualKeyOfScancode(sc) == code) return SDL_GetScancodeName(s);
  }
  return "";
}

}  // namespace platform

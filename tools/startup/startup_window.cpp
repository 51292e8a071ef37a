// The platform's own start, for comparison with the game's: SDL's video, events and joysticks,
// a hidden 1024 x 768 window with a vsync renderer, then the 141 x 127 choice window at
// (158, 95) in the window face colour, shown and presented. It waits for the end (SIGTERM or
// the window's close button) and draws nothing more.
#include <SDL.h>

#include <cstdio>

int main(int, char**) {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "0");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, "startup-window: %s\n", SDL_GetError());
    return 1;
  }
  SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  SDL_Window* window = SDL_CreateWindow("Starvelkhorn", SDL_WINDOWPOS_UNDEFINED,
                                        SDL_WINDOWPOS_UNDEFINED, 1024, 768, SDL_WINDOW_HIDDEN);
  if (!window) return 1;
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
  if (!renderer) renderer = SDL_CreateRenderer(window, -1, 0);
  if (!renderer) return 1;
  SDL_SetWindowSize(window, 141, 127);
  SDL_SetWindowPosition(window, 158, 95);
  SDL_ShowWindow(window);
  SDL_Texture* texture =
      SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, 141, 127);
  static Uint32 face[141 * 127];
  for (Uint32& p : face) p = 0xF0F0F0;
  SDL_UpdateTexture(texture, nullptr, face, 141 * 4);
  for (bool running = true; running;) {
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
    SDL_Event e;
    if (SDL_WaitEvent(&e) && (e.type == SDL_QUIT)) running = false;
  }
  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}

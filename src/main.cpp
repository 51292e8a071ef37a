// The game's entry: opens the window and runs its message loop until it closes.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>

#include "data_startup.h"
#include "platform/sdl/sdl_backend.h"
#include "presentation/application.h"
#include "presentation/form_components.h"
#include "shell/quick_flight.h"

int main(int argc, char** argv) {
  // Every file name is relative to the content tree: work there, or end with a clear word.
  if (const auto status = EnterDataDir(argc, argv)) return *status;
  const bool fullscreen = argc > 1 && std::strcmp(argv[1], "--fullscreen") == 0;
  try {
    platform::SdlBackend backend;
    TFormComponents media(backend);
    TApplication app(backend, media.Window);
    media.Window.SetCaption("Starvelkhorn");
    const auto seed =
        static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    TQuickFlight flight(media, app, seed);
    flight.Start(fullscreen);
    app.Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "starvelkhorn: %s\n", e.what());
    return 1;
  }
  return 0;
}

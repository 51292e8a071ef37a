// The game's entry: creates the application and the main window, runs its message loop until
// the window closes.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>

#include "platform/sdl/sdl_backend.h"
#include "presentation/application.h"
#include "presentation/form_components.h"
#include "shell/form1.h"

namespace {

// Launchers may choose the display mode up front; the player is asked otherwise.
int DisplayChoiceFromArgs(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--windowed") == 0) return 0;
    if (std::strcmp(argv[i], "--fullscreen") == 0) return 1;
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  const int choice = DisplayChoiceFromArgs(argc, argv);
  try {
    platform::SdlBackend backend;
    TFormComponents media(backend);
    TApplication app(backend, media.Window);
    const auto seed =
        static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    TForm1 form(media, app, seed);
    form.FormCreate();
    if (choice >= 0) {
      form.Zobrazovani.SetItemIndex(choice);
      app.Guard([&] { form.FirstButtonClick(); });
    }
    app.Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "starvelkhorn: %s\n", e.what());
    return 1;
  }
  return 0;
}

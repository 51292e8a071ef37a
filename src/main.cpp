// The game's entry: creates the application and the main window, runs its message loop until
// the window closes.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include <filesystem>
#include <optional>
#include <string>

#include "base/error.h"
#include "data_startup.h"
#include "platform/sdl/sdl_backend.h"
#include "presentation/application.h"
#include "presentation/form_components.h"
#include "replay/replay_file.h"
#include "shell/form1.h"
#include "shell/replay_store.h"

namespace {

// Launchers may choose the display mode up front; the player is asked otherwise.
int DisplayChoiceFromArgs(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--windowed") == 0) return 0;
    if (std::strcmp(argv[i], "--fullscreen") == 0) return 1;
  }
  return -1;
}

// --replay FILE: the recorded flight to show instead of the game; its name as given.
std::optional<std::string> ReplayFromArgs(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--replay") == 0) return std::string(argv[i + 1]);
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  // The replay is read before the working directory changes, so a relative name works; a
  // file that is no replay ends the program before a window opens.
  std::optional<TReplay> replay;
  if (const auto file = ReplayFromArgs(argc, argv)) {
    try {
      replay = ReadReplayFile(std::filesystem::absolute(*file).string());
    } catch (const EGameError& e) {
      std::fprintf(stderr, "starvelkhorn: %s\n", e.what());
      return 2;
    }
  }
  // Every file name is relative to the content tree: work there, or end with a clear word.
  if (const auto status = EnterDataDir(argc, argv)) return *status;
  int choice = DisplayChoiceFromArgs(argc, argv);
  if (replay && choice < 0) choice = 0;  // a replay opens its window at once
  try {
    platform::SdlBackend backend;
    TFormComponents media(backend);
    TApplication app(backend, media.Window);
    const auto seed =
        static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    TForm1 form(media, app, seed);
    if (!replay) form.ReplayFolder = ReplayDirectory();
    // STARVELKHORN_SHOT_AT=TICK:FILE saves the picture after a mission's tick (for comparing
    // a flight with its replay); not an option players need.
    if (const char* shot = std::getenv("STARVELKHORN_SHOT_AT")) {
      const char* colon = std::strchr(shot, ':');
      if (colon) form.TickShot = {std::atoll(shot), std::string(colon + 1)};
    }
    form.FormCreate();
    if (choice >= 0) {
      form.Zobrazovani.SetItemIndex(choice);
      app.Guard([&] { form.FirstButtonClick(); });
    }
    if (replay) {
      // Esc leaves the replay, whether it still flies or has come to its end.
      app.OnUnhandledEvent = [&app](const platform::Event& e) {
        if (e.Kind == platform::EventKind::KeyDown && e.Key == platform::vk::Escape)
          app.Terminate();
      };
      app.Guard([&] { form.PlayReplay(*replay); });
    }
    app.Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "starvelkhorn: %s\n", e.what());
    return 1;
  }
  return 0;
}

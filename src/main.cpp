// The game's entry: reads the command line and the player's settings, creates the application
// and the main window, runs its message loop until the window closes.
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "command_line.h"
#include "data_startup.h"
#include "platform/sdl/sdl_backend.h"
#include "presentation/application.h"
#include "presentation/form_components.h"
#include "shell/apply_settings.h"
#include "shell/form1.h"
#include "shell/game_paths.h"
#include "shell/settings.h"

namespace {

// The settings file's bad lines are reported and skipped; the game never needs the file.
TSettings ReadPlayerSettings() {
  const auto path = SettingsPath();
  TSettings settings = TSettings::Defaults();
  settings.File = "settings.ini";
  if (path) settings = LoadSettings(std::filesystem::absolute(*path));
  for (const std::string& message : settings.Messages)
    std::fprintf(stderr, "starvelkhorn: %s\n", message.c_str());
  return settings;
}

}  // namespace

int main(int argc, char** argv) {
  const TCommandLineRead read = ReadCommandLine(argc, argv);
  if (!read.Error.empty()) {
    std::fprintf(stderr, "starvelkhorn: %s\n\n%s", read.Error.c_str(), Usage().c_str());
    return 2;
  }
  const TCommandLine& line = read.Line;
  if (line.Help) {
    std::fputs(Usage().c_str(), stdout);
    return 0;
  }
  if (line.Version) {
    std::printf("starvelkhorn %s\n", SK_VERSION);
    return 0;
  }
  // Every file name is relative to the content tree: work there, or end with a clear word.
  if (const auto status = EnterDataDir(line.CheckData)) return *status;
  const TSettings settings = ReadPlayerSettings();
  if (line.PrintSettings) {
    std::fputs(FormatSettings(settings).c_str(), stdout);
    return 0;
  }
  if (line.Replay) {
    // The replay player takes over here once it exists; until then say so plainly.
    std::fprintf(stderr, "starvelkhorn: --replay: this build cannot play replays yet\n");
    return 1;
  }
  try {
    platform::SdlBackend backend;
    TFormComponents media(backend);
    TApplication app(backend, media.Window);
    const auto seed =
        static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    TForm1 form(media, app, seed);
    ApplySettings(settings, form);
    form.FormCreate();
    if (line.DisplayChoice >= 0) {
      form.Zobrazovani.SetItemIndex(line.DisplayChoice);
      app.Guard([&] { form.FirstButtonClick(); });
    }
    app.Run();
  } catch (const std::exception& e) {
    // No display, no window: said on standard error, the only place left to say it.
    std::fprintf(stderr, "starvelkhorn: %s\n", e.what());
    return 1;
  }
  return 0;
}

// The game's entry: reads the command line and the player's settings, creates the application
// and the main window, runs its message loop until the window closes.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "base/error.h"
#include "command_line.h"
#include "data_startup.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/web_page.h"
#include "presentation/application.h"
#include "presentation/form_components.h"
#include "replay/replay_file.h"
#include "shell/apply_settings.h"
#include "shell/form1.h"
#include "shell/game_paths.h"
#include "shell/replay_store.h"
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

// A page outlives its program: there the end is said on the page, which offers to play again.
int Ended(int status) {
#ifdef __EMSCRIPTEN__
  platform::web::ProgramEnded();
#endif
  return status;
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
  // The replay is read before the working directory changes, so a relative name works; a
  // file that is no replay ends the program before a window opens.
  std::optional<TReplay> replay;
  if (line.Replay) {
    try {
      replay = ReadReplayFile(std::filesystem::absolute(*line.Replay).string());
    } catch (const EGameError& e) {
      std::fprintf(stderr, "starvelkhorn: %s\n", e.what());
      return 2;
    }
  }
  // Every file name is relative to the content tree: work there, or end with a clear word.
  if (const auto status = EnterDataDir(line.CheckData)) return *status;
  const TSettings settings = ReadPlayerSettings();
  if (line.PrintSettings) {
    std::fputs(FormatSettings(settings).c_str(), stdout);
    return 0;
  }
  int choice = line.DisplayChoice;
  if (replay && choice < 0) choice = 0;  // a replay opens its window at once
  try {
    platform::SdlBackend backend;
    TFormComponents media(backend);
    TApplication app(backend, media.Window);
    const auto seed =
        static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    TForm1 form(media, app, seed);
    ApplySettings(settings, form);
    // A replay plays its recorded input states whatever the window's focus.
    if (replay) form.PauseOnFocusLoss = false;
    if (!replay) {
      form.ReplayFolder = ReplayDirectory();
      form.RecordsPath = RecordsPath();
    }
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
    // The viewer's way back (Esc, the pad's B) ends the program.
    if (replay) app.Guard([&] { form.PlayReplay(*replay); });
    app.Run();
    if (line.FrameStats) std::fputs(form.FrameStats.Report().c_str(), stdout);
  } catch (const std::exception& e) {
    // No display, no window: said on standard error, the only place left to say it.
    std::fprintf(stderr, "starvelkhorn: %s\n", e.what());
    return Ended(1);
  }
  return Ended(0);
}

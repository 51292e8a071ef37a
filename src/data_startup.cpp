#include "data_startup.h"

#include <cstdio>
#include <exception>
#include <filesystem>

#include "platform/sdl/sdl_backend.h"
#include "shell/data_dir.h"
#include "shell/game_paths.h"
#include "shell/missing_data_box.h"

namespace {

int PrintDataCheck(const ProcessPlaces& places, const DataSearch& search) {
  if (!search.Tree) {
    std::fprintf(stderr, "%s\n", MissingDataMessage(search).c_str());
    return 1;
  }
  const auto prefix = InstalledPrefix(places);
  std::printf("data: %s\n", search.Tree->c_str());
  std::printf("installed: %s\n", prefix ? prefix->c_str() : "no");
  try {
    std::printf("save: %s\n", (*search.Tree / SaveGamePath(places)).c_str());
  } catch (const std::exception& e) {
    std::printf("save: none (%s)\n", e.what());
  }
  const auto settings = SettingsPath(places);
  if (settings) {
    std::printf("settings: %s\n", (*search.Tree / *settings).c_str());
  } else {
    std::printf("settings: none (XDG_CONFIG_HOME and HOME are unset)\n");
  }
  return 0;
}

}  // namespace

std::optional<int> EnterDataDir(bool checkData) {
  const ProcessPlaces places = ProcessPlaces::Current();
  const DataSearch search = FindDataDir(places);
  if (checkData) return PrintDataCheck(places, search);
  if (!search.Tree) {
    // The box's text also reaches standard error; without a display, only that does.
    try {
      platform::SdlBackend backend;
      ShowMissingDataBox(backend, search);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "starvelkhorn: %s\n%s\n", e.what(), MissingDataMessage(search).c_str());
    }
    return 1;
  }
  std::error_code ec;
  std::filesystem::current_path(*search.Tree, ec);
  if (ec) {
    std::fprintf(stderr, "starvelkhorn: cannot enter %s: %s\n", search.Tree->c_str(),
                 ec.message().c_str());
    return 1;
  }
  return std::nullopt;
}

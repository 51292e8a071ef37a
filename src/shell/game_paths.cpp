#include "shell/game_paths.h"

std::filesystem::path SaveGamePath() {
  return "game.sav";
}

#include "replay/game_version.h"

const char* GameVersion() {
  return SK_GAME_VERSION;
}

// The game's version as the build states it ("0.1.0"), written into every replay.
#pragma once

const char* GameVersion();

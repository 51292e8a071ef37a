// Which theme of the soundtrack each screen plays: the one table to extend for a new screen.
#pragma once

#include "shell/form1.h"

// The theme's name; nullptr keeps whatever plays (the pause lowers it instead). A mission
// plays its land's theme until its mother ship appears, then the mother ship's.
const char* ThemeForScreen(TForm1::TScreen screen, int mission, bool bossAppeared);

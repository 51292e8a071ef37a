// The one thing the game can say when it has no content tree: which places it looked in. The
// box is the game's own standard error box, on a window of its own, because nothing else of
// the game can start without its pictures.
#pragma once

#include "platform/backend.h"
#include "shell/data_dir.h"

// Shows the error box and returns when the player answers it or closes the window.
void ShowMissingDataBox(platform::Backend& backend, const DataSearch& search);

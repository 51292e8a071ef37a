// What the SDL backend needs of a browser page beyond SDL (the browser build only): waiting
// that gives the page back to the browser instead of blocking it, the picture put on the
// canvas directly, and the full screen, which a page may only ask for while the player clicks
// or presses a key and the browser may leave on its own.
#pragma once

#ifdef __EMSCRIPTEN__

#include <cstdint>

namespace platform::web {

// Sleeps until `millis` have passed (negative: no limit) or the page receives input, a change
// of focus or size; the browser runs meanwhile (SDL's event handlers, sound, drawing).
void SleepUntilInput(double millis);

// Waits for the browser's next frame callback: the frame pacing of a page.
void WaitForNextFrame();

// Lets the browser run its pending work (show what was drawn, handle input) and comes back.
void GiveTurn();

// Puts a picture of the canvas's own size (pixels in the canvas's byte order, see
// canvas_pixels.h) on the canvas; false when the canvas has another size or no 2D context.
bool PutCanvasPicture(const uint32_t* rgba, int width, int height);

// Asks for the full screen (or leaves it); the page grants it at the player's next click or
// key, the earliest a browser allows.
void RequestFullscreen(bool fullscreen);

// Whether the page left the full screen since the last call without the game asking (the
// browser's Esc, its own controls).
bool TakeFullScreenLeft();

// The program has ended: the page stores the player's files, says that the game has ended and
// offers to play again.
void ProgramEnded();

}  // namespace platform::web

#endif

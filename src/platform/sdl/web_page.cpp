#include "platform/sdl/web_page.h"

#ifdef __EMSCRIPTEN__

#include <emscripten.h>

namespace {

// The bodies below are JavaScript, which clang-format would take for C++ and break.
// clang-format off

// The page's input listeners (web/pre.js) call Module.skWake once SDL has queued the event.
EM_ASYNC_JS(void, SkSleepUntilInput, (double millis), {
  if (Module.skWoken) {
    Module.skWoken = false;
    return;
  }
  await new Promise(function(resolve) {
    let timer = 0;
    const done = function() {
      clearTimeout(timer);
      Module.skWake = null;
      resolve();
    };
    Module.skWake = done;
    if (millis >= 0) timer = setTimeout(done, millis);
  });
});

EM_ASYNC_JS(void, SkWaitForNextFrame, (), {
  await new Promise(function(resolve) {
    // A hidden tab gets no frame callbacks; the timer keeps the game's clock going there.
    const timer = setTimeout(resolve, 100);
    requestAnimationFrame(function() {
      clearTimeout(timer);
      resolve();
    });
  });
});

// The picture straight into the canvas's 2D context, read where it lies in the wasm memory.
EM_JS(int, SkPutCanvasPicture, (const void* rgba, int width, int height), {
  const canvas = Module.canvas;
  if (!canvas || canvas.width !== width || canvas.height !== height) return 0;
  if (Module.skCanvas !== canvas) {
    // Opaque: the browser need not blend the picture with what lies behind the canvas.
    Module.skContext = canvas.getContext('2d', {alpha: false});
    Module.skCanvas = canvas;
  }
  if (!Module.skContext) return 0;
  const bytes = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
  Module.skContext.putImageData(new ImageData(bytes, width, height), 0, 0);
  return 1;
});

EM_JS(void, SkRequestFullscreen, (int fullscreen), {
  if (Module.skRequestFullscreen) Module.skRequestFullscreen(fullscreen != 0);
});

EM_JS(int, SkTakeFullscreenLeft, (), {
  const left = Module.skFullscreenLeft === true;
  Module.skFullscreenLeft = false;
  return left ? 1 : 0;
});

EM_JS(void, SkProgramEnded, (), {
  if (Module.skEnded) Module.skEnded();
});

// clang-format on

}  // namespace

namespace platform::web {

void SleepUntilInput(double millis) {
  SkSleepUntilInput(millis);
}

void WaitForNextFrame() {
  SkWaitForNextFrame();
}

void GiveTurn() {
  emscripten_sleep(0);
}

bool PutCanvasPicture(const uint32_t* rgba, int width, int height) {
  return SkPutCanvasPicture(rgba, width, height) != 0;
}

void RequestFullscreen(bool fullscreen) {
  SkRequestFullscreen(fullscreen ? 1 : 0);
}

bool TakeFullScreenLeft() {
  return SkTakeFullscreenLeft() != 0;
}

void ProgramEnded() {
  SkProgramEnded();
}

}  // namespace platform::web

#endif

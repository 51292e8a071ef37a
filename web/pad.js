// The pad's side of the page, run before the program. A browser tells of a pad's buttons and
// sticks only when asked, and a game asleep in its menus asks nothing: while a pad is there
// the page looks at it every frame and wakes the game when anything on it moved, so the pad
// walks the menus as on the desktop. Plugging in and pulling out wake it too.
(function () {
  'use strict';
  let watching = false;
  let last = '';

  function wake() {
    if (Module.skWakeUp) Module.skWakeUp();
  }

  // What every pad holds, coarsely enough that a resting stick's noise is no change; null
  // without a pad.
  function holding() {
    const pads = navigator.getGamepads ? navigator.getGamepads() : [];
    let held = null;
    for (const pad of pads) {
      if (!pad) continue;
      const buttons = pad.buttons.map(function (b) {
        return (typeof b === 'object' ? b.pressed : b === 1) ? 1 : 0;
      });
      const axes = pad.axes.map(function (a) {
        return Math.round(a * 8);
      });
      held = (held || '') + pad.index + ':' + buttons.join('') + ':' + axes.join(',') + ';';
    }
    return held;
  }

  function look() {
    const now = holding();
    if (now === null) {
      watching = false;
      last = '';
      return;
    }
    if (now !== last) {
      last = now;
      wake();
    }
    requestAnimationFrame(look);
  }

  function watch() {
    wake();
    if (watching) return;
    watching = true;
    requestAnimationFrame(look);
  }
  window.addEventListener('gamepadconnected', watch);
  window.addEventListener('gamepaddisconnected', wake);
  if (navigator.getGamepads) watch();
})();

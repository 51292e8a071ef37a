// The page's side of the game, run before the program starts: where its files lie, the saved
// game kept in the browser's storage, waking the game on input, the picture scaled to the
// window, the full screen and the sound, which a browser allows only after a click or a key.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  // The files are laid out as an installed game has them: the program in /usr/games, its
  // data (packed with the page) in /usr/share/starvelkhorn, the player's saved game, settings
  // and replays under the home directory, which lives in IndexedDB and survives a reload.
  FS.mkdirTree('/usr/games');
  FS.symlink('/usr/games/starvelkhorn', '/proc/self/exe');
  const home = ENV.HOME || '/home/web_user';
  FS.mkdirTree(home);
  FS.mount(IDBFS, {}, home);
  // A write, rename or removal under the home directory goes to IndexedDB once the program
  // next gives the browser control (so a save's write and its rename go together). One sync
  // at a time, the first being the reading of the stored files; a change during a sync starts
  // another after it.
  let pending = false;
  let syncing = true;
  let again = false;
  Module.skSyncs = 0;
  addRunDependency('skSavedFiles');
  FS.syncfs(true, function (err) {
    if (err) console.warn('starvelkhorn: the saved files cannot be read: ' + err);
    syncing = false;
    removeRunDependency('skSavedFiles');
    if (again) {
      again = false;
      sync();
    } else {
      storedNow();
    }
  });
  function sync() {
    pending = false;
    if (syncing) {
      again = true;
      return;
    }
    syncing = true;
    FS.syncfs(false, function (err) {
      syncing = false;
      if (err) console.warn('starvelkhorn: the saved files cannot be stored: ' + err);
      if (again) {
        again = false;
        sync();
      } else {
        Module.skSyncs++;
        storedNow();
      }
    });
  }
  // Resolves once every change made so far is in the browser's storage (before the page
  // reloads on purpose, say).
  const waiting = [];
  Module.skStored = function () {
    return new Promise(function (resolve) {
      if (pending || syncing) waiting.push(resolve);
      else resolve();
    });
  };
  function storedNow() {
    if (!pending) waiting.splice(0).forEach(function (resolve) { resolve(); });
  }
  function changed(path) {
    if (typeof path === 'string' && path.startsWith(home) && !pending) {
      pending = true;
      setTimeout(sync, 0);
    }
  }
  const close = FS.close;
  FS.close = function (stream) {
    const path = stream && stream.path;
    const written = stream && (stream.flags & 3) !== 0;  // O_WRONLY or O_RDWR
    const result = close.apply(this, arguments);
    if (written) changed(path);
    return result;
  };
  for (const name of ['rename', 'unlink', 'rmdir']) {
    const original = FS[name];
    FS[name] = function (path) {
      const result = original.apply(this, arguments);
      changed(path);  // the system calls hand absolute paths
      return result;
    };
  }
});

(function () {
  // Input wakes the sleeping game once SDL's own handlers have queued the event.
  function wake() {
    setTimeout(function () {
      if (Module.skWake) Module.skWake();
    }, 0);
  }
  for (const type of ['keydown', 'keyup', 'mousedown', 'mouseup', 'mousemove', 'wheel',
                      'touchstart', 'touchmove', 'touchend', 'focus', 'blur', 'resize',
                      'visibilitychange', 'fullscreenchange']) {
    window.addEventListener(type, wake, {capture: true, passive: true});
  }

  // The picture keeps its aspect and fills the window as a 1024 x 768 screen would: a smaller
  // window (the start-up choice) keeps its size relative to that screen. SDL maps the mouse
  // back through the canvas's displayed size.
  function layout() {
    const canvas = Module.canvas;
    if (!canvas || !canvas.width || !canvas.height) return;
    const scale = Math.min(window.innerWidth / 1024, window.innerHeight / 768);
    canvas.style.width = Math.round(canvas.width * scale) + 'px';
    canvas.style.height = Math.round(canvas.height * scale) + 'px';
  }
  window.addEventListener('resize', layout);
  document.addEventListener('fullscreenchange', layout);
  Module.skLayout = layout;
  if (Module.canvas) {
    new MutationObserver(layout).observe(Module.canvas,
                                         {attributes: true, attributeFilter: ['width', 'height']});
  }

  // The full screen: asked for at once (a click that chose it still counts as the player's);
  // where the browser refuses, at the player's next click or key.
  let wantFullscreen = false;
  function enterFullscreen() {
    const screen = document.getElementById('screen') || document.documentElement;
    if (document.fullscreenElement || !screen.requestFullscreen) return;
    screen.requestFullscreen().catch(function () {
      wantFullscreen = true;
    });
  }
  Module.skRequestFullscreen = function (on) {
    wantFullscreen = false;
    if (on) {
      enterFullscreen();
    } else if (document.fullscreenElement) {
      document.exitFullscreen().catch(function () {});
    }
  };

  // Sound starts with the first key or click (the browser keeps it silent until then).
  function gesture() {
    if (wantFullscreen) {
      wantFullscreen = false;
      enterFullscreen();
    }
    const audio = Module.SDL2 && Module.SDL2.audioContext;
    if (audio && audio.state === 'suspended') audio.resume().catch(function () {});
  }
  for (const type of ['keydown', 'mousedown', 'touchend']) {
    window.addEventListener(type, gesture, {capture: true});
  }
})();

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
  const whenStored = [];  // told once everything written so far is in IndexedDB
  Module.skSyncs = 0;
  addRunDependency('skSavedFiles');
  FS.syncfs(true, function (err) {
    if (err) console.warn('starvelkhorn: the saved files cannot be read: ' + err);
    syncing = false;
    removeRunDependency('skSavedFiles');
    if (again) {
      again = false;
      sync();
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
        for (const told of whenStored.splice(0)) told(!err);
      }
    });
  }
  // Resolves (true: stored) once every file written so far has reached IndexedDB.
  Module.skStoreAll = function () {
    return new Promise(function (resolve) {
      whenStored.push(resolve);
      sync();
    });
  };
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
  // Input wakes the sleeping game once SDL's own handlers have queued the event. Input that
  // comes while the game is busy (presenting waits for the browser's frame) is noted, so its
  // next sleep does not begin: nobody would wake it for what is already waiting.
  function wake() {
    setTimeout(function () {
      if (Module.skWake) {
        Module.skWake();
      } else {
        Module.skWoken = true;
      }
    }, 0);
  }
  Module.skWakeUp = wake;
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
  let leaving = false;  // the game asked to leave it
  function enterFullscreen() {
    const screen = document.getElementById('screen') || document.documentElement;
    if (document.fullscreenElement || !screen.requestFullscreen) return;
    screen.requestFullscreen().then(keepKeys, function () {
      wantFullscreen = true;
    });
  }
  // Where the browser lets a page keep Esc in its full screen, Esc stays the game's pause (the
  // browser then leaves the full screen when Esc is held). A phone keeps to landscape.
  function keepKeys() {
    if (navigator.keyboard && navigator.keyboard.lock) {
      navigator.keyboard.lock(['Escape']).catch(function () {});
    }
    const orientation = window.screen && window.screen.orientation;
    if (orientation && orientation.lock) orientation.lock('landscape').catch(function () {});
  }
  Module.skRequestFullscreen = function (on) {
    wantFullscreen = false;
    if (on) {
      enterFullscreen();
    } else if (document.fullscreenElement) {
      leaving = true;
      document.exitFullscreen().catch(function () {
        leaving = false;
      });
    }
  };
  // Left for any other reason (the browser took Esc, its own controls): the game is told, and
  // a flight pauses.
  document.addEventListener('fullscreenchange', function () {
    if (document.fullscreenElement) return;
    if (navigator.keyboard && navigator.keyboard.unlock) navigator.keyboard.unlock();
    if (!leaving) Module.skFullscreenLeft = true;
    leaving = false;
  });

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

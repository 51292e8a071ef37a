// The page after the game, run before the program: when the program ends ("Konec"), the
// player's files are first stored in the browser, then the page says that the game has ended
// and offers to play again, which starts the program afresh in the same page (a reload where
// that cannot be done).
(function () {
  'use strict';
  let page = null;

  function build() {
    const style = document.createElement('style');
    style.textContent = `
      #end { position: fixed; inset: 0; z-index: 20; display: none; flex-direction: column;
             align-items: center; justify-content: center; gap: 18px; background: #000;
             color: #d8d8d8; font: 18px "Liberation Sans", Arial, sans-serif;
             text-align: center; padding: 24px; box-sizing: border-box; }
      #end h1 { margin: 0; font-size: 30px; font-weight: bold; color: #e8e8e8; }
      #end p { margin: 0; max-width: 34em; color: #a8a8a8; font-size: 16px; }
      #end p.failed { color: #e07070; }
      #end button { margin-top: 10px; padding: 12px 34px; font: bold 18px "Liberation Sans",
                    Arial, sans-serif; color: #0c120c; background: #5fe07a; border: 0;
                    border-radius: 6px; cursor: pointer; touch-action: manipulation; }
      #end button:hover, #end button:focus-visible { background: #86f09a; outline: none; }
      #end button:active { background: #48b860; }`;
    document.head.appendChild(style);
    page = document.createElement('div');
    page.id = 'end';
    page.setAttribute('role', 'dialog');
    page.setAttribute('aria-labelledby', 'end-title');
    page.innerHTML = '<h1 id="end-title">Hra skončila</h1><p id="end-saved"></p>' +
                     '<button id="end-again" type="button">Hrát znovu</button>';
    document.body.appendChild(page);
    page.querySelector('#end-again').addEventListener('click', playAgain);
  }

  function show(stored) {
    if (!page) build();
    const saved = page.querySelector('#end-saved');
    saved.textContent = stored
        ? 'Uložená hra a nastavení zůstávají v tomto prohlížeči.'
        : 'Uloženou hru se nepodařilo zapsat do úložiště prohlížeče.';
    saved.className = stored ? '' : 'failed';
    page.style.display = 'flex';
    page.querySelector('#end-again').focus();
  }

  function playAgain() {
    page.style.display = 'none';
    if (Module.canvas) {
      Module.canvas.style.visibility = '';
      Module.canvas.focus();
    }
    try {
      Module.callMain([]);
    } catch (e) {
      // A program that cannot start again in this page starts in a fresh one.
      if (e && e.name === 'ExitStatus') return;
      location.reload();
    }
  }

  // Called by the program as it ends. The storage gets a few seconds: a browser that never
  // answers must not leave the player before a black page.
  Module.skEnded = function () {
    if (document.fullscreenElement && Module.skRequestFullscreen) Module.skRequestFullscreen(false);
    if (Module.canvas) Module.canvas.style.visibility = 'hidden';
    const store = Module.skStoreAll ? Module.skStoreAll() : Promise.resolve(true);
    const late = new Promise(function (resolve) {
      setTimeout(resolve, 5000, false);
    });
    Promise.race([store, late]).then(show, function () {
      show(false);
    });
  };
})();

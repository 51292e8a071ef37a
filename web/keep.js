// The player's files beyond this browser: the page's "Zálohy" button (in the menus, outside the
// full screen) downloads the saved game, the settings, the recorded flights and anything else the
// game keeps for the player as one file, and loads such a file back. The game's own code
// (web_backup.cpp) packs, checks and loads it; this file only asks and shows. Nothing is
// replaced before the chosen file has been checked whole and the player has confirmed; then the
// game starts again on the loaded files.
(function () {
  const LIMIT = 64 * 1024 * 1024;  // a backup's largest size, as the game's reader has it
  const IN = '/tmp/starvelkhorn-nahrat.zaloha';
  const OUT = '/tmp/starvelkhorn-stahnout.zaloha';
  let open = null;  // the button, once the page has it
  let panel = null;
  let chosen = '';  // the name of the file the player chose

  function home() {
    return ENV.HOME || '/home/web_user';
  }

  // Calls one of the game's backup functions with strings; its answer as {ok, text}.
  function call(fn, ...args) {
    const top = stackSave();
    try {
      const answer = UTF8ToString(fn(...args.map((a) => allocateUTF8OnStack(a))));
      const line = answer.indexOf('\n');
      return {ok: answer.slice(0, line) === 'ok', text: answer.slice(line + 1)};
    } finally {
      stackRestore(top);
    }
  }

  function element(tag, attributes, text) {
    const e = document.createElement(tag);
    // No destructuring here or below: the build's minifier mangles it.
    for (const k of Object.keys(attributes || {})) e.setAttribute(k, attributes[k]);
    if (text) e.textContent = text;
    return e;
  }

  const style = `
    #keep-open { position: fixed; top: 8px; right: 8px; z-index: 10; padding: 5px 12px;
      font: 13px "Liberation Sans", Arial, sans-serif; color: #101010; background: #d8d8d8;
      border: 1px solid #808080; border-radius: 3px; opacity: 0.75; cursor: pointer; }
    #keep-open:hover, #keep-open:focus-visible { opacity: 1; }
    #keep-open[hidden] { display: none; }
    #keep { max-width: 460px; padding: 18px 22px; color: #e0e0e0; background: #202428;
      border: 1px solid #808080; font: 15px/1.45 "Liberation Sans", Arial, sans-serif; }
    #keep::backdrop { background: rgba(0, 0, 0, 0.6); }
    #keep h2 { margin: 0 0 10px; font-size: 18px; font-weight: bold; }
    #keep p { margin: 0 0 14px; white-space: pre-line; }
    #keep .error { color: #ff9c8c; }
    #keep .buttons { display: flex; gap: 10px; flex-wrap: wrap; justify-content: flex-end; }
    #keep button { padding: 6px 14px; font: inherit; font-size: 14px; color: #101010;
      background: #e4e4e4; border: 1px solid #808080; border-radius: 2px; cursor: pointer; }
    #keep button:focus-visible { outline: 2px solid #4a90d9; }`;

  // The panel shows one step at a time: a heading, a text and its buttons.
  function show(heading, text, buttons, isError) {
    panel.replaceChildren(element('h2', {}, heading), element('p', isError ? {class: 'error'} : {}, text));
    const row = element('div', {class: 'buttons'});
    for (const button of buttons) {
      const b = element('button', {type: 'button'}, button[0]);
      b.addEventListener('click', button[1]);
      row.append(b);
    }
    panel.append(row);
    if (!panel.open) panel.showModal();
    if (row.lastChild) row.lastChild.focus();
  }

  function close() {
    if (panel.open) panel.close();
    if (Module.canvas) Module.canvas.focus();
  }

  function start() {
    show('Zálohy uložených her',
         'Hra ukládá postup, nastavení a záznamy letů jen v tomto prohlížeči. Stáhněte si je ' +
             'jako jeden soubor, ať o ně nepřijdete, nebo je přeneste do jiného prohlížeče či ' +
             'počítače a tam je nahrajte zpět.',
         [['Stáhnout zálohu', download], ['Nahrát zálohu…', choose], ['Zavřít', close]]);
  }

  function download() {
    const answer = call(_SkPackBackup, home(), OUT);
    if (!answer.ok) {
      show('Zálohu nelze stáhnout', answer.text, [['Zavřít', close]], true);
      return;
    }
    const bytes = FS.readFile(OUT);
    FS.unlink(OUT);
    const day = new Date().toISOString().slice(0, 10);
    const link = element('a', {download: `starvelkhorn-zaloha-${day}.zaloha`});
    link.href = URL.createObjectURL(new Blob([bytes], {type: 'application/octet-stream'}));
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(function () {
      URL.revokeObjectURL(link.href);
    }, 60000);
    show('Záloha stažena',
         `Soubor ${link.download} je ve stažených souborech (počet uložených souborů: ` +
             `${answer.text}). Nahrajete ho zpět tlačítkem „Nahrát zálohu…“.`,
         [['Zavřít', close]]);
  }

  function choose() {
    const input = element('input', {type: 'file', accept: '.zaloha'});
    input.id = 'keep-file';
    input.hidden = true;
    input.addEventListener('change', function () {
      const file = input.files && input.files[0];
      input.remove();
      if (file) check(file);
    });
    document.body.append(input);
    input.click();
  }

  async function check(file) {
    chosen = file.name;
    // Refused by its size before a byte of it is read into the page.
    if (file.size > LIMIT) {
      show('Zálohu nelze nahrát', `Soubor „${file.name}“ je na zálohu hry příliš velký (nejvýš 64 MiB).`,
           [['Zavřít', close]], true);
      return;
    }
    FS.writeFile(IN, new Uint8Array(await file.arrayBuffer()));
    const answer = call(_SkCheckBackup, IN, file.name, home());
    if (!answer.ok) {
      FS.unlink(IN);
      show('Zálohu nelze nahrát', answer.text + '\nV tomto prohlížeči se nic nezměnilo.',
           [['Zavřít', close]], true);
      return;
    }
    show('Nahrát zálohu?',
         answer.text + '\nHra se pak spustí znovu; co jste od posledního uložení odehráli, ' +
             'se ztratí.',
         [['Nahradit', restore], ['Zrušit', cancel]]);
  }

  function cancel() {
    FS.unlink(IN);
    close();
  }

  async function restore() {
    const answer = call(_SkRestoreBackup, IN, chosen, home());
    FS.unlink(IN);
    if (!answer.ok) {
      show('Zálohu se nepodařilo nahrát', answer.text, [['Zavřít', close]], true);
      return;
    }
    show('Záloha nahrána', 'Hra se spouští znovu…', []);
    if (!(await Module.skStoreAll())) {
      show('Zálohu se nepodařilo nahrát',
           'Prohlížeč soubory hry neuložil (je jeho úložiště plné nebo zakázané?).',
           [['Zavřít', close]], true);
      return;
    }
    location.reload();
  }

  // The button shows in the menus, where the game shows the mouse; not in flight and not in the
  // full screen (which holds the game's picture alone).
  function place() {
    if (!open) return;
    const flying = Module.canvas && Module.canvas.style.cursor === 'none';
    open.hidden = flying || !!document.fullscreenElement || !Module.skRunning;
  }

  function build() {
    document.head.append(element('style', {}, style));
    open = element('button', {id: 'keep-open', type: 'button', title: 'Stáhnout nebo nahrát uložené hry'},
                   'Zálohy');
    open.hidden = true;
    open.addEventListener('click', start);
    panel = element('dialog', {id: 'keep', 'aria-label': 'Zálohy uložených her'});
    // Keys pressed in the panel are the panel's, not the game's (its listeners sit on the window).
    for (const type of ['keydown', 'keyup', 'keypress']) {
      panel.addEventListener(type, function (e) {
        e.stopPropagation();
      });
    }
    panel.addEventListener('close', function () {
      if (Module.canvas) Module.canvas.focus();
    });
    document.body.append(open, panel);
    if (Module.canvas) {
      new MutationObserver(place).observe(Module.canvas, {attributes: true, attributeFilter: ['style']});
    }
    document.addEventListener('fullscreenchange', place);
    place();
  }

  Module.skKeepPlace = place;
  Module.postRun = Module.postRun || [];
  Module.postRun.push(function () {
    Module.skRunning = true;
    place();
  });
  if (document.readyState === 'loading') {
    document.addEventListener('DOMContentLoaded', build);
  } else {
    build();
  }
})();

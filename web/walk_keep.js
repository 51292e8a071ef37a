// The player's files kept beyond the browser and the page kept offline, walked in headless
// chromium with real clicks: a campaign saved, its backup downloaded through the page's
// "Zálohy" button, the site's storage cleared, a bad file refused, the backup loaded back and
// the campaign there; then the server stopped and the game started offline; a new build
// served and played on the next visit, its copy alone kept; the page installable.
// Usage: node web/walk_keep.js SITE NATIVE_SIM DATA SHOTS GAME_DIR ICON_DIR
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const {Chromium} = require('./chromium.js');
const {decodePng, compare} = require('./png.js');
const {serve} = require('./serve.js');
const {build} = require('./site.js');
const {sleep, locateClicks, PageWalk} = require('./page_walk.js');

const [site, nativeSim, data, shots, gameDir, iconDir] =
    process.argv.slice(2).map((a) => path.resolve(a));
if (!iconDir) {
  console.error('usage: node web/walk_keep.js SITE NATIVE_SIM DATA SHOTS GAME_DIR ICON_DIR');
  process.exit(2);
}
fs.mkdirSync(shots, {recursive: true});
const failures = [];
function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures.push(what);
}

// Where the native driver clicks each caption: the page shows the same screens.
const steps = {
  start: ['choose "V okne"', 'click "Pokracovat"'],
  campaign: ['click "Nová hra"', 'click "Lehká obtížnost"', 'click "Pokračuj"',
             'click "Nakupovat/prodávat"', 'click "Obchodovat s letadly"', 'click "Koupit"',
             'click "Zpět"', 'click "Zpět"', 'click "Uložit hru"'],
  fly: ['click "Letět další misi"', 'click "Letět misi"'],
  pause: ['key Escape'],
  leave: ['click "Návrat do hlavní nabídky"'],
  load: ['click "Nahrát hru"'],
};

// The picture's columns left of `width`.
function crop(picture, width) {
  const rgba = Buffer.alloc(width * picture.height * 4);
  for (let y = 0; y < picture.height; y++) {
    picture.rgba.copy(rgba, y * width * 4, y * picture.width * 4, (y * picture.width + width) * 4);
  }
  return {width, height: picture.height, rgba};
}

async function main() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'sk-walk-keep-'));
  const page = new PageWalk(null, locateClicks(nativeSim, data, dir, steps));
  const downloads = path.join(dir, 'downloads');
  fs.mkdirSync(downloads);
  let server = await new Promise((resolve) => {
    const s = serve(site, 0, (port) => resolve({s, port}));
  });
  const port = server.port;
  const origin = `http://127.0.0.1:${port}`;
  // A plain navigation: a reload that skips the caches would skip the worker too.
  const visit = () => browser.navigate(`${origin}/`);
  async function stop() {
    server.s.close();
    server.s.closeAllConnections();  // kept-alive connections too: the network is gone
  }
  async function restart(root) {
    server = await new Promise((resolve) => {
      const s = serve(root, port, () => resolve({s, port}));
    });
  }

  const browser = await Chromium.launch(1024, 768);
  page.browser = browser;
  const problems = [];
  browser.on((method, p) => {
    if (method === 'Runtime.exceptionThrown') problems.push(p.exceptionDetails.exception?.description || p.exceptionDetails.text);
    if (method === 'Runtime.consoleAPICalled' && p.type === 'error') problems.push((p.args || []).map((a) => a.value).join(' '));
  });
  await browser.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: downloads}, null);
  await browser.send('Page.setInterceptFileChooserDialog', {enabled: true});
  await browser.send('DOM.enable');

  const walk = (name) => page.walk(name);
  const start = () => page.start();
  const waitFor = (e, t, w) => page.waitFor(e, t, w);
  // A real click on the page's own controls, found by their text.
  async function clickText(selector, text) {
    const at = await browser.evaluate(`(() => {
      const e = [...document.querySelectorAll(${JSON.stringify(selector)})]
          .find((b) => b.textContent === ${JSON.stringify(text)} && b.getClientRects().length > 0);
      if (!e) return null;
      const r = e.getBoundingClientRect();
      return [r.left + r.width / 2, r.top + r.height / 2];
    })()`);
    if (!at) throw new Error(`no visible "${text}"`);
    await browser.click(at[0], at[1]);
    await sleep(300);
  }
  const panelText = () => browser.evaluate(`document.getElementById('keep').open ? document.getElementById('keep').innerText : ''`);
  async function shot(name) {
    const png = await browser.screenshot();
    fs.writeFileSync(path.join(shots, name), png);
    return decodePng(png);
  }
  const saveFile = `(() => { try { return Array.from(FS.readFile((ENV.HOME || '/home/web_user') + '/.local/share/starvelkhorn/game.sav')); } catch (e) { return null; } })()`;
  async function choose(file) {
    const chooser = browser.nextEvent('Page.fileChooserOpened');
    await clickText('#keep button', 'Nahrát zálohu…');
    const {backendNodeId} = await chooser;
    await browser.send('DOM.setFileInputFiles', {files: [file], backendNodeId});
    await sleep(500);
  }

  // A campaign: the Jaguar bought and the game saved.
  await browser.navigate(`${origin}/`);
  await start();
  check(await browser.evaluate(`!document.getElementById('keep-open').hidden`),
        'the "Zálohy" button shows in the menus');
  await walk('campaign');
  const hangar = await shot('keep-hangar.png');
  await waitFor('Module.skSyncs > 0', 5000, 'the save stored');
  const saved = await browser.evaluate(saveFile);
  check(saved && saved.length === 24, `the game saved (${saved && saved.length} bytes)`);
  await walk('fly');
  await sleep(1000);
  check(await browser.evaluate(`document.getElementById('keep-open').hidden`),
        'the "Zálohy" button hides in flight');
  await walk('pause');
  await walk('leave');
  await sleep(500);

  // The backup downloaded.
  await clickText('#keep-open', 'Zálohy');
  await shot('keep-panel.png');
  await clickText('#keep button', 'Stáhnout zálohu');
  await waitFor(`document.getElementById('keep').innerText.includes('Záloha stažena')`, 5000, 'the download');
  let backup = null;
  for (let i = 0; i < 50 && !backup; i++) {
    const done = fs.readdirSync(downloads).filter((f) => f.endsWith('.zaloha'));
    if (done.length) backup = path.join(downloads, done[0]);
    else await sleep(100);
  }
  check(backup !== null, `the backup downloaded (${backup && path.basename(backup)})`);
  const bytes = fs.readFileSync(backup);
  check(bytes.subarray(0, 8).toString() === 'SVKZALOH' && bytes.includes('.local/share/starvelkhorn/game.sav'),
        `the backup holds the saved game (${bytes.length} bytes)`);
  await clickText('#keep button', 'Zavřít');

  // The site's storage cleared: the campaign is gone from the browser.
  await browser.send('Storage.clearDataForOrigin', {origin, storageTypes: 'indexeddb'});
  await browser.reload();
  await start();
  check(await browser.evaluate(saveFile) === null, 'the storage cleared, no saved game is left');

  // A file that is no backup is refused and changes nothing.
  const bad = path.join(dir, 'hra.zaloha');
  fs.writeFileSync(bad, 'PK\x03\x04 not a backup at all');
  await clickText('#keep-open', 'Zálohy');
  await choose(bad);
  const refusal = await panelText();
  check(refusal.includes('Soubor „hra.zaloha“ není záloha hry Starvelkhorn.'),
        `a bad file is refused in Czech (${JSON.stringify(refusal.split('\n')[0])})`);
  await shot('keep-refused.png');
  await clickText('#keep button', 'Zavřít');
  check(await browser.evaluate(saveFile) === null, 'the refused file changed nothing');

  // The backup loaded back, after the question.
  await clickText('#keep-open', 'Zálohy');
  await choose(backup);
  const question = await panelText();
  check(question.includes('obsahuje uloženou hru') && question.includes('Nahradit'),
        `loading asks first (${JSON.stringify(question.split('\n')[1] || '')})`);
  await shot('keep-question.png');
  const reloaded = browser.nextEvent('Page.loadEventFired');
  await clickText('#keep button', 'Nahradit');
  const timeout = sleep(15000).then(() => 'timeout');
  if (await Promise.race([reloaded, timeout]) === 'timeout') {
    throw new Error(`no new start after loading: ${JSON.stringify(await panelText())}, ` +
                    `${await browser.evaluate('Module.skSyncs')} stores`);
  }
  await start();
  check(JSON.stringify(await browser.evaluate(saveFile)) === JSON.stringify(saved),
        'the saved game is back, byte for byte');
  await walk('load');
  await sleep(1000);
  const loaded = await shot('keep-loaded.png');
  // The hangar, the aircraft and the credits as saved; the buttons' focus may differ.
  const d = compare(crop(loaded, 880), crop(hangar, 880));
  check(d.mean <= 2 && d.differingShare <= 0.0005,
        `"Nahrát hru" opens the campaign as it was saved (mean difference ${d.mean.toFixed(3)})`);

  // Offline: the worker kept the build; the server stops and the game still starts.
  await waitFor(`navigator.serviceWorker.controller !== null`, 15000, 'the offline copy');
  const errors = await browser.send('Page.getInstallabilityErrors');
  check(errors.installabilityErrors.length === 0,
        `the page can be installed (${JSON.stringify(errors.installabilityErrors.map((e) => e.errorId))})`);
  await stop();
  await visit();  // a visit as a player makes it, through the worker
  await start();
  await shot('keep-offline.png');
  check(true, 'offline, the game starts from its copy');

  // A new build: played on the next visit, and its copy alone kept.
  const newer = path.join(dir, 'newer');
  const newerGame = path.join(dir, 'newer-game');
  fs.mkdirSync(newerGame);
  for (const f of fs.readdirSync(gameDir).filter((f) => f.startsWith('starvelkhorn.'))) {
    fs.copyFileSync(path.join(gameDir, f), path.join(newerGame, f));
  }
  fs.appendFileSync(path.join(newerGame, 'starvelkhorn.js'), '\n// the next build\n');
  const quiet = console.log;
  console.log = () => {};
  build(newerGame, iconDir, newer);
  console.log = quiet;
  const newerScript = fs.readdirSync(newer).find((f) => /^starvelkhorn\.[0-9a-f]+\.js$/.test(f));
  await restart(newer);
  await visit();  // a visit as a player makes it, through the worker
  await start();
  const script = await browser.evaluate(`[...document.scripts].map((s) => s.src).find((s) => s.includes('starvelkhorn.'))`);
  check(script.endsWith(newerScript), `the next visit plays the new build (${path.basename(script)})`);
  const kept = `(async () => {
    const names = await caches.keys();
    if (names.length !== 1) return null;
    return (await (await caches.open(names[0])).keys()).map((r) => r.url.slice(${origin.length + 1})).sort();
  })()`;
  try {
    await waitFor(`${kept}.then((k) => k !== null && k.includes(${JSON.stringify(newerScript)}))`,
                  15000, 'the new build kept');
  } catch (e) {
    const state = await browser.evaluate(`(async () => {
      const r = await navigator.serviceWorker.getRegistration();
      const caches_ = {};
      for (const n of await caches.keys()) caches_[n] = (await (await caches.open(n)).keys()).length;
      return {active: r && r.active && r.active.scriptURL, waiting: !!(r && r.waiting),
              installing: !!(r && r.installing), caches: caches_};
    })()`);
    throw new Error(`${e.message}: ${JSON.stringify(state)}`);
  }
  const files = await browser.evaluate(kept);
  const expected = fs.readdirSync(newer).filter((f) => f !== 'sw.js').sort();
  check(JSON.stringify(files) === JSON.stringify(expected),
        `one copy kept, the new build's files exactly (${files.length} files)`);
  await stop();
  await visit();  // a visit as a player makes it, through the worker
  await start();
  const offline = await browser.evaluate(`[...document.scripts].map((s) => s.src).find((s) => s.includes('starvelkhorn.'))`);
  check(offline.endsWith(newerScript), 'offline again, the new build starts');

  await browser.close();
  fs.rmSync(dir, {recursive: true, force: true});
  check(problems.length === 0, `no error on the console (${problems.join('; ')})`);
  if (failures.length) {
    console.log(`web keep walk: FAILED (${failures.length}): ${failures.join('; ')}`);
    process.exit(1);
  }
  console.log('web keep walk: passed');
}

main().catch((e) => {
  console.log(`web keep walk: FAILED: ${e.stack || e}`);
  process.exit(1);
});

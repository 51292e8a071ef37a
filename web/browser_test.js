// The browser build played in headless chromium as a player would, beside the native build:
// the native headless driver walks the same screens first and tells where each click lands
// and what each screen looks like; the page must show the same pictures. Then the flight,
// the pause, a saved game that survives a reload of the page, and a console with no error.
// Usage: node web/browser_test.js SITE NATIVE_SIM DATA SHOTS
'use strict';
const {execFileSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const {Chromium} = require('./chromium.js');
const {decodePng, compare} = require('./png.js');
const {serve} = require('./serve.js');
const {sleep, waitForPicture: waitForPicture_, pagePoint, gameShot} = require('./page_walk.js');

const [site, nativeSim, data, shots] = process.argv.slice(2).map((a) => path.resolve(a));
if (!shots) {
  console.error('usage: node web/browser_test.js SITE NATIVE_SIM DATA SHOTS');
  process.exit(2);
}
fs.mkdirSync(shots, {recursive: true});

// The walk, in the ui-script of the native driver. Every click is located first, so the
// browser clicks exactly where the native one did.
const walk = {
  start: ['choose "V okne"', 'click "Pokracovat"'],
  newGame: ['click "Nová hra"', 'click "Lehká obtížnost"', 'click "Pokračuj"'],
  // The Jaguar (the plane browser opens on it) and the first cannon, the 20 mm Vulcan.
  shop: ['click "Nakupovat/prodávat"', 'click "Obchodovat s letadly"', 'click "Koupit"',
         'click "Zpět"', 'click "Obchodovat se zbraněmi"', 'click "Kanón : Koupit"',
         'click "Koupit"', 'click "Zpet"', 'click "Zpět"'],
  save: ['click "Uložit hru"'],
  fly: ['click "Letět další misi"', 'click "Letět misi"'],
  leave: ['click "Návrat do hlavní nabídky"'],
  load: ['click "Nahrát hru"'],
  // The weapon screen names the cannon the aircraft carries.
  weapons: ['click "Nakupovat/prodávat"', 'click "Obchodovat se zbraněmi"'],
};

function located(commands) {
  return commands.flatMap((c) => [c.replace(/^(choose|click)/, 'locate'), c, 'wait 300']);
}

// The native run: the same walk, with a picture of the title, the hangar after shopping and
// the hangar after loading the saved game. Returns the click positions in order.
function nativeWalk(dir) {
  const script = [
    ...located(walk.start), 'wait 1000', 'screenshot title.png',
    ...located(walk.newGame), ...located(walk.shop), 'screenshot hangar.png',
    ...located(walk.save), ...located(walk.fly), 'wait 3000', 'key Escape', 'wait 300',
    ...located(walk.leave), 'wait 1000', 'screenshot menu.png',
    ...located(walk.load), 'wait 1000', 'screenshot loaded.png',
    ...located(walk.weapons), 'wait 1000', 'screenshot weapons.png',
  ];
  const file = path.join(dir, 'walk.ui');
  fs.writeFileSync(file, script.join('\n') + '\n');
  const home = path.join(dir, 'home');
  fs.mkdirSync(home);
  const out = execFileSync(nativeSim, ['--data', data, '--ui-script', file], {
    cwd: dir,
    env: {...process.env, HOME: home, XDG_DATA_HOME: path.join(home, 'data'),
          XDG_CONFIG_HOME: path.join(home, 'config')},
    encoding: 'utf8',
  });
  return out.split('\n').filter((l) => l.startsWith('at ')).map((l) => l.split(' ').slice(1).map(Number));
}

const failures = [];
function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures.push(what);
}

async function main() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'sk-web-test-'));
  const positions = nativeWalk(dir);
  const reference = (name) => decodePng(fs.readFileSync(path.join(dir, name)));
  let next = 0;

  const server = await new Promise((resolve) => {
    const s = serve(site, 0, (port) => resolve({s, port}));
  });
  const browser = await Chromium.launch(1024, 768);
  const problems = [];
  const warnings = [];
  browser.on((method, p) => {
    if (method === 'Runtime.consoleAPICalled') {
      const text = (p.args || []).map((a) => a.value !== undefined ? a.value : a.description).join(' ');
      if (p.type === 'error' || p.type === 'assert') problems.push(`console.${p.type}: ${text}`);
      else if (p.type === 'warning') warnings.push(text);
    } else if (method === 'Runtime.exceptionThrown') {
      problems.push(`exception: ${JSON.stringify(p.exceptionDetails.exception?.description || p.exceptionDetails.text)}`);
    } else if (method === 'Log.entryAdded' && p.entry.level === 'error') {
      problems.push(`log: ${p.entry.text} ${p.entry.url || ''}`);
    }
  });

  const waitForPicture = (width, height, timeout) =>
    waitForPicture_(browser, width, height, timeout);

  // A click where the native driver clicked, through the page's scaling of the canvas.
  async function clickNext(what, index = next++) {
    const at = await pagePoint(browser, positions[index]);
    await browser.click(at[0], at[1]);
    // Longer than a double-click's time, so no press counts as the second of a pair.
    await sleep(650);
    return what;
  }
  async function walkIn(commands) {
    for (const c of commands) await clickNext(c);
  }
  const shot = (name) => gameShot(browser, path.join(shots, name));
  function same(name, picture, strict) {
    const d = compare(picture, reference(name));
    const ok = d.mean <= 2 && (!strict || d.differingShare <= 0.0005);
    check(ok, `${name}: mean difference ${d.mean.toFixed(3)} per channel, ` +
          `${(d.differingShare * 100).toFixed(3)} % of pixels differ by more than 48`);
  }
  const keys = {
    Left: ['ArrowLeft', 'ArrowLeft', 37], Up: ['ArrowUp', 'ArrowUp', 38],
    Space: ['Space', ' ', 32], Escape: ['Escape', 'Escape', 27],
  };
  const keyDown = (k) => browser.key('rawKeyDown', ...keys[k]);
  const keyUp = (k) => browser.key('keyUp', ...keys[k]);

  const url = `http://127.0.0.1:${server.port}/`;
  const opened = Date.now();
  await browser.send('Page.navigate', {url});
  await waitForPicture(0, 0, 30000);
  const toChoice = Date.now() - opened;
  check(toChoice <= 3000, `the choice window within 3 s of opening the page (${toChoice} ms)`);
  await shot('choice.png');

  await walkIn(walk.start);
  await waitForPicture(1024, 768, 10000);
  await sleep(1000);
  same('title.png', await shot('title.png'), false);
  // The sound runs after the first clicks, and on the title screen all it plays is the music:
  // a tap on the sound device's output hears it.
  const music = await browser.evaluate(`new Promise((resolve) => {
    const ctx = Module.SDL2 && Module.SDL2.audioContext;
    const node = Module.SDL2 && Module.SDL2.audio && Module.SDL2.audio.scriptProcessorNode;
    if (!ctx || !node) return resolve({state: 'no sound device', peak: 0});
    const tap = ctx.createAnalyser();
    tap.fftSize = 2048;
    node.connect(tap);
    const data = new Float32Array(tap.fftSize);
    let peak = 0;
    let looks = 0;
    const look = () => {
      tap.getFloatTimeDomainData(data);
      for (const v of data) peak = Math.max(peak, Math.abs(v));
      if (++looks < 40) setTimeout(look, 50);
      else resolve({state: ctx.state, peak});
    };
    look();
  })`);
  check(music.state === 'running' && music.peak > 0.001,
        `the title's music plays (sound ${music.state}, peak ${music.peak.toFixed(4)})`);

  await walkIn(walk.newGame);
  await walkIn(walk.shop.slice(0, 3));
  await shot('shop.png');
  await walkIn(walk.shop.slice(3));
  same('hangar.png', await shot('hangar.png'), true);
  // The save reaches the browser's storage once the game hands control back.
  const synced = await browser.evaluate('Module.skSyncs');
  await walkIn(walk.save);
  await walkIn(walk.fly);

  // Three seconds of flight: a turn to the left, firing all along.
  const before = await shot('flight-start.png');
  await keyDown('Space');
  await keyDown('Left');
  await sleep(500);
  await keyUp('Left');
  await sleep(700);
  const flying = await shot('flight.png');
  await sleep(1800);
  await keyUp('Space');
  const moved = compare(before, flying);
  check(moved.mean > 2, `the flight runs (mean change ${moved.mean.toFixed(2)} per channel)`);
  check(compare(flying, reference('hangar.png')).mean > 10, 'the flight is not the hangar');

  // The game reads the keyboard once a tick: a key is held longer than one.
  await keyDown('Escape');
  await sleep(150);
  await keyUp('Escape');
  await sleep(500);
  await shot('pause.png');
  await walkIn(walk.leave);
  await sleep(1000);
  same('menu.png', await shot('menu.png'), false);

  const stored = await browser.evaluate('Module.skSyncs');
  check(stored > synced, `the saved game reached the browser's storage (${stored} syncs)`);
  await browser.reload();
  await waitForPicture(0, 0, 30000);
  // The program starts afresh: the first clicks of the walk again, where they were.
  for (let i = 0; i < walk.start.length; i++) await clickNext(walk.start[i], i);
  await waitForPicture(1024, 768, 10000);
  await sleep(1000);
  await walkIn(walk.load);
  await sleep(1000);
  same('loaded.png', await shot('loaded.png'), true);
  await walkIn(walk.weapons);
  await sleep(1000);
  same('weapons.png', await shot('weapons.png'), true);

  await browser.close();
  server.s.close();
  fs.rmSync(dir, {recursive: true, force: true});
  for (const w of warnings) console.log(`console warning: ${w}`);
  for (const p of problems) console.log(`console problem: ${p}`);
  check(problems.length === 0, `no error on the console (${problems.length})`);
  if (failures.length) {
    console.log(`web browser test: FAILED (${failures.length}): ${failures.join('; ')}`);
    process.exit(1);
  }
  console.log('web browser test: passed');
}

main().catch((e) => {
  console.log(`web browser test: FAILED: ${e.stack || e}`);
  process.exit(1);
});

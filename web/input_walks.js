// The page's input as a newcomer meets it, in headless chromium with real key, mouse and touch
// events and a pad emulated in the page: the full screen and Esc, kept by the keyboard lock and
// taken by the browser; "Konec" and the end page;
// a flight by touch on a tablet and on a phone held across, and the phone on end; a pad
// plugged in before the page loads and again after, steering, firing, walking the menus and
// pulled out. Flights are checked by the recording the game made of them, flown again by the
// native driver; screens by the native driver's pictures of their buttons.
// Usage: node web/input_walks.js SITE NATIVE_SIM DATA SHOTS
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const {Walk, nativeRun, replayedFlight, crop, checker, compare, sleep} = require('./walk.js');

const [site, nativeSim, data, shots] = process.argv.slice(2).map((a) => path.resolve(a));
if (!shots) {
  console.error('usage: node web/input_walks.js SITE NATIVE_SIM DATA SHOTS');
  process.exit(2);
}
fs.mkdirSync(shots, {recursive: true});
const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'sk-web-input-'));
const native = nativeRun(nativeSim, data, dir);
const {check, failures} = checker();
const where = native.where;

// A screen is known by a part of it that nothing else covers: the title's name, the hangar's
// picture, the pause's "PAUZA" on its black box. It shows as the native driver drew it.
const screens = {
  menu: {picture: native.menu, at: [512, 110], w: 400, h: 60},
  hangar: {picture: native.hangar, at: [450, 300], w: 200, h: 100},
  paused: {picture: native.pause, at: [516, 322], w: 120, h: 26},
};
async function showing(walk, name) {
  const s = screens[name];
  return compare(crop(await walk.picture(), s.at, s.w, s.h), crop(s.picture, s.at, s.w, s.h)).mean < 4;
}
const paused = (walk) => showing(walk, 'paused');
// Until that screen shows (a busy machine may take its time), at most `ms`.
async function until(walk, name, ms = 10000) {
  const started = Date.now();
  while (!(await showing(walk, name))) {
    if (Date.now() - started > ms) return false;
    await sleep(100);
  }
  await sleep(400);  // its buttons come with the next pass of the game's loop
  return true;
}

// Through the choice window to the main menu, by clicks or by taps.
async function toMenu(walk, how, display = 'V okne') {
  await walk[how](where[display]);
  await walk[how](where.Pokracovat);
  await walk.waitForPicture(1024, 768, 10000);
  if (!(await until(walk, 'menu'))) throw new Error('no main menu');
}

// Through the choice window and a loaded game to a flight, by clicks or by taps.
async function toFlight(walk, how, display = 'V okne') {
  await toMenu(walk, how, display);
  await walk.writeGameFile('game.sav', native.save);
  await walk[how](where['Nahrát hru']);
  if (!(await until(walk, 'hangar'))) {
    await walk.savePicture(shots, 'failed-no-hangar.png');
    throw new Error('no hangar (failed-no-hangar.png)');
  }
  await walk[how](where['Letět další misi']);
  await walk[how](where['Letět misi']);
  await sleep(800);
}

// The recorded flight, flown again natively: it went left of where it began and fired.
function checkRecording(bytes, what) {
  if (!check(bytes !== null, `${what}: the flight was recorded`)) return;
  const file = path.join(dir, `${what.replace(/\W+/g, '-')}.replay`);
  fs.writeFileSync(file, bytes);
  const f = replayedFlight(nativeSim, data, file, dir);
  check(f.leftmost < f.first.x - 60,
        `${what}: the aircraft flew left (from x ${f.first.x} to ${f.leftmost} at most)`);
  check(f.shells > 0, `${what}: it fired (${f.shells} shells at once)`);
}

const keys = {
  Escape: ['Escape', 'Escape', 27], Tab: ['Tab', 'Tab', 9], Enter: ['Enter', 'Enter', 13],
};

// In the full screen Esc pauses, whether the browser lets the page keep it (the keyboard lock)
// or takes it to leave the full screen; leaving by any other way pauses too, the game's own
// switch does not. The pause screen by keys and by the mouse.
async function fullScreenWalk() {
  const what = 'full screen';
  const walk = await Walk.open(site, {width: 1024, height: 768});
  const full = () => walk.evaluate('!!document.fullscreenElement');
  try {
    await toFlight(walk, 'click', 'Fullscreen');
    check(await full(), `${what}: the page is full screen`);
    check(await walk.motion(300) > 1, `${what}: the flight runs`);
    await walk.press(...keys.Escape);
    check(await paused(walk), `${what}, the keyboard kept: the first Esc shows the pause screen`);
    check(await full(), `${what}, the keyboard kept: the page stays full screen`);
    check(await walk.motion(500) === 0, `${what}: the flight does not move while paused`);
    await walk.shot(shots, 'fullscreen-esc-pause.png');
    // Keys walk the pause screen: Tab to the second button and back, Enter on "Zpět od hry".
    await walk.press(...keys.Tab);
    await walk.press('Tab', 'Tab', 9, 8);  // Shift+Tab
    await walk.press(...keys.Enter);
    check(await walk.motion(300) > 1, `${what}: Tab, Shift+Tab and Enter resume the flight`);
    // A browser without the keyboard lock takes Esc to leave its full screen.
    await walk.evaluate('navigator.keyboard.unlock()');
    await walk.press(...keys.Escape);
    check(!(await full()), `${what}, the keyboard not kept: Esc leaves the full screen`);
    check(await paused(walk), `${what}, the keyboard not kept: the same Esc pauses the flight`);
    await walk.click(where['Zpět od hry']);
    check(await walk.motion(300) > 1, `${what}: a click on "Zpět od hry" resumes the flight`);
    await walk.altChord('Enter', 'Enter', 13);  // the game's own switch
    check(await full(), `${what}: Alt+Enter goes back into the full screen`);
    check(await walk.motion(300) > 1, `${what}: the game's own switch does not pause`);
    // The browser leaves its full screen by its own controls.
    await walk.evaluate('document.exitFullscreen()');
    await sleep(400);
    check(await paused(walk), `${what}: leaving it any other way pauses the flight`);
  } finally {
    check(walk.problems.length === 0, `${what}: no error on the console ${walk.problems}`);
    await walk.close();
  }
}

// What IndexedDB holds of a file of the player's, as bytes (null: nothing).
const stored = (name) => `new Promise((resolve) => {
  const open = indexedDB.open('/home/web_user');
  open.onerror = () => resolve(null);
  open.onsuccess = () => {
    const get = open.result.transaction(['FILE_DATA'], 'readonly').objectStore('FILE_DATA')
        .get('/home/web_user/.local/share/starvelkhorn/${name}');
    get.onsuccess = () => resolve(get.result ? Array.from(get.result.contents) : null);
    get.onerror = () => resolve(null);
  };
})`;

async function endWalk() {
  const walk = await Walk.open(site, {width: 1024, height: 768});
  try {
    await toMenu(walk, 'click');
    // The browser's storage is slow today: the end must wait for it.
    await walk.evaluate(`(() => {
      const syncfs = Module.FS.syncfs;
      Module.FS.syncfs = function (populate, done) {
        setTimeout(() => syncfs.call(Module.FS, populate, done), 1500);
      };
    })()`);
    await walk.writeGameFile('game.sav', native.save);
    await walk.click(where.Konec);
    let shown = false;
    for (let i = 0; i < 100 && !shown; i++) {
      shown = await walk.evaluate(`(() => {
        const end = document.getElementById('end');
        return !!end && getComputedStyle(end).display !== 'none';
      })()`);
      if (!shown) await sleep(100);
    }
    if (!check(shown, 'the end page shows after "Konec"')) {
      await walk.savePicture(shots, 'failed-no-end.png');
      return;
    }
    const held = await walk.evaluate(stored('game.sav'));
    check(held !== null && Buffer.from(held).equals(native.save),
          'the saved game was in the browser\'s storage when the end page showed');
    const text = await walk.evaluate('document.getElementById("end").innerText');
    check(/Hra skončila/.test(text) && /Hrát znovu/.test(text), `the end page says so: ${JSON.stringify(text)}`);
    await walk.shot(shots, 'end-page.png');
    const button = await walk.evaluate(`(() => {
      const r = document.getElementById('end-again').getBoundingClientRect();
      return [r.left + r.width / 2, r.top + r.height / 2];
    })()`);
    await walk.browser.click(button[0], button[1]);
    await walk.waitForPicture(0, 0, 10000);
    await sleep(300);
    await toMenu(walk, 'click');
    await walk.click(where['Nahrát hru']);
    check(await until(walk, 'hangar'),
          '"Hrát znovu" starts the game again, and the saved game loads');
  } finally {
    check(walk.problems.length === 0, `end page: no error on the console ${walk.problems}`);
    await walk.close();
  }
}

// A thumb on the stick and a finger on the cannon, by CSS pixels of the page.
async function touchFlight(walk, what, width, height) {
  const look = await walk.evaluate('Module.skTouch.drawn()');
  check(look && look[0] === 1 && look[1] === 1, `${what}: the flight shows the touch controls`);
  const buttons = {};
  for (let i = 9; i + 3 < look.length; i += 4) buttons[look[i]] = [look[i + 1], look[i + 2]];
  const radius = look[6];
  const thumb = {x: Math.round(width * 0.12), y: Math.round(height * 0.55), id: 1};
  await walk.touch('touchStart', [thumb]);
  for (let step = 1; step <= 4; step++) {
    await walk.touch('touchMove', [{...thumb, x: thumb.x - (radius * step) / 4}]);
    await sleep(30);
  }
  const pushed = {...thumb, x: thumb.x - radius};
  const fire = {x: buttons[0][0], y: buttons[0][1], id: 2};
  await walk.touch('touchStart', [pushed, fire]);
  await sleep(500);
  await walk.shot(shots, `touch-${width}x${height}-steer-fire.png`);
  await sleep(300);
  await walk.touch('touchEnd', [pushed]);
  await walk.touch('touchEnd', []);
  await sleep(200);
  return buttons;
}

async function touchWalk(width, height) {
  const what = `touch at ${width}x${height}`;
  const walk = await Walk.open(site, {width, height, mobile: true, touch: true});
  try {
    await toFlight(walk, 'tap');
    await walk.shot(shots, `touch-${width}x${height}-flight.png`);
    const buttons = await touchFlight(walk, what, width, height);
    // A key hides the controls; the next touch shows them again.
    const shown = async () => (await walk.evaluate('Module.skTouch.drawn()'))[1] === 1;
    await walk.press('Space', ' ', 32);
    check(!(await shown()), `${what}: a key hides the touch controls`);
    await walk.touch('touchStart', [{x: width * 0.3, y: height * 0.5, id: 5}]);
    await walk.touch('touchEnd', []);
    await sleep(200);
    check(await shown(), `${what}: the next touch shows them again`);
    // The pause button.
    const pause = {x: buttons[4][0], y: buttons[4][1], id: 3};
    await walk.touch('touchStart', [pause]);
    await sleep(80);
    await walk.touch('touchEnd', []);
    await sleep(400);
    check(await paused(walk), `${what}: the pause button shows the pause screen`);
    check(await walk.motion(400) === 0, `${what}: the flight does not move while paused`);
    await walk.shot(shots, `touch-${width}x${height}-pause.png`);
    if (width > height && height < 500) {
      await walk.tap(where['Zpět od hry']);
      check(await walk.motion(300) > 1, `${what}: a tap on "Zpět od hry" resumes the flight`);
      // Turned on end mid-flight: the page asks to be turned back and the flight pauses.
      await walk.emulate(height, width, true, true);
      await sleep(600);
      check(await walk.evaluate('getComputedStyle(document.getElementById("turn")).display === "flex"'),
            `${what}: on end the page asks to be turned`);
      await walk.shot(shots, `touch-${height}x${width}-portrait.png`);
      await walk.emulate(width, height, true, true);
      await sleep(600);
      check(await paused(walk), `${what}: turning it on end paused the flight`);
    }
    await walk.tap(where['Návrat do hlavní nabídky']);
    await sleep(500);
    checkRecording(await walk.newestReplay(), what);
  } finally {
    check(walk.problems.length === 0, `${what}: no error on the console ${walk.problems}`);
    await walk.close();
  }
}

// A standard pad the page's script holds: buttons 0 A, 1 B, 9 Start, 12..15 the cross;
// axes 0 and 1 the left stick.
const padScript = `(() => {
  const pad = {id: 'Virtual pad (STANDARD GAMEPAD)', index: 0, mapping: 'standard',
               connected: true, timestamp: 1, axes: [0, 0, 0, 0],
               buttons: Array.from({length: 17}, () => ({pressed: false, touched: false, value: 0}))};
  let plugged = true;
  navigator.getGamepads = () => (plugged ? [pad] : [null]);
  const tell = (type) => {
    const e = new Event(type);
    e.gamepad = pad;
    window.dispatchEvent(e);
  };
  window.skPad = {
    button(i, down) {
      pad.buttons[i] = {pressed: down, touched: down, value: down ? 1 : 0};
      pad.timestamp++;
    },
    axis(i, v) {
      pad.axes[i] = v;
      pad.timestamp++;
    },
    unplug() {
      plugged = false;
      pad.connected = false;
      tell('gamepaddisconnected');
    },
    plug() {
      plugged = true;
      pad.connected = true;
      pad.timestamp++;
      tell('gamepadconnected');
    },
  };
})();`;

async function padWalk() {
  const what = 'pad';
  const walk = await Walk.open(site, {width: 1024, height: 768, script: padScript});
  const button = async (i, ms = 150) => {
    await walk.evaluate(`skPad.button(${i}, true)`);
    await sleep(ms);
    await walk.evaluate(`skPad.button(${i}, false)`);
    await sleep(300);
  };
  try {
    await toMenu(walk, 'click');
    await walk.writeGameFile('game.sav', native.save);
    // The menus by the pad alone: down from "Nová hra" to "Nahrát hru", A; A on the focused
    // "Letět další misi" and "Letět misi".
    await button(13);
    await button(0);
    check(await until(walk, 'hangar'),
          `${what}: the cross and A load the saved game from the main menu`);
    await button(0);
    await sleep(1000);
    await button(0);
    await sleep(1000);
    check(await walk.motion(300) > 1, `${what}: A starts the flight`);
    await walk.evaluate('skPad.axis(0, -1)');
    await walk.evaluate('skPad.button(0, true)');
    await sleep(700);
    await walk.evaluate('skPad.button(0, false)');
    await walk.evaluate('skPad.axis(0, 0)');
    await sleep(100);
    await button(9);
    check(await paused(walk), `${what}: Start pauses the flight`);
    await button(9);
    check(await walk.motion(300) > 1, `${what}: Start again resumes it`);
    await walk.evaluate('skPad.unplug()');
    await sleep(400);
    check(await paused(walk), `${what}: pulling it out pauses the flight`);
    await walk.shot(shots, 'pad-pulled-out-pause.png');
    await walk.evaluate('skPad.plug()');
    await sleep(400);
    await button(13);
    await button(0);
    await sleep(800);
    check(await until(walk, 'menu'),
          `${what}: plugged in again it walks the pause screen back to the main menu`);
    checkRecording(await walk.newestReplay(), what);
  } finally {
    check(walk.problems.length === 0, `${what}: no error on the console ${walk.problems}`);
    await walk.close();
  }
}

async function main() {
  const started = Date.now();
  // SK_WALKS=end,pad runs only those.
  const only = (process.env.SK_WALKS || '').split(',').filter(Boolean);
  const walks = {
    fullscreen: fullScreenWalk,
    end: endWalk,
    tablet: () => touchWalk(1024, 768),
    phone: () => touchWalk(844, 390),
    pad: padWalk,
  };
  for (const [name, walk] of Object.entries(walks)) {
    if (!only.length || only.includes(name)) await walk();
  }
  fs.rmSync(dir, {recursive: true, force: true});
  const took = ((Date.now() - started) / 1000).toFixed(1);
  if (failures.length) {
    console.log(`web input walks: FAILED (${failures.length}, ${took} s): ${failures.join('; ')}`);
    process.exit(1);
  }
  console.log(`web input walks: passed (${took} s)`);
}

main().catch((e) => {
  console.log(`web input walks: FAILED: ${e.stack || e}`);
  process.exit(1);
});

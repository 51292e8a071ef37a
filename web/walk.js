// What the browser walks of input share: the native driver's run that tells where each click
// lands, makes a saved game to start flights from and pictures the pause screen; the page
// served and opened in a fresh headless chromium; clicks, taps and keys at the native places;
// the game's own picture read from its canvas; the player's files in the page.
'use strict';
const {execFileSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const {Chromium} = require('./chromium.js');
const {decodePng, compare} = require('./png.js');
const {serve} = require('./serve.js');
const {sleep, waitForPicture, pagePoint} = require('./page_walk.js');

// The player's files in the page: an installed game's, under the home directory.
const gameDir = '/home/web_user/.local/share/starvelkhorn';

// The native run: a new game with the Jaguar and the Vulcan saved, a flight paused and left,
// every caption a walk clicks located on the way. Returns the places by caption (the first
// where a caption shows twice), the saved game's bytes and the pictures of the main menu, the
// hangar and the pause screen.
function nativeRun(nativeSim, contentTree, dir) {
  // The driver works in the content tree and saves there: a tree of its own, of links.
  const data = path.join(dir, 'data');
  fs.mkdirSync(data);
  for (const part of ['res', 'sounds', 'levels']) {
    fs.symlinkSync(path.join(contentTree, part), path.join(data, part));
  }
  const at = (caption) => [`locate "${caption}"`];
  const script = [
    ...at('V okne'), ...at('Fullscreen'), ...at('Pokracovat'), 'choose "V okne"',
    'click "Pokracovat"', 'wait 1000', 'screenshot menu.png', ...at('Nová hra'),
    ...at('Nahrát hru'), ...at('Konec'),
    'click "Nová hra"', 'click "Lehká obtížnost"', 'click "Pokračuj"',
    'click "Nakupovat/prodávat"', 'click "Obchodovat s letadly"', 'click "Koupit"',
    'click "Zpět"', 'click "Obchodovat se zbraněmi"', 'click "Kanón : Koupit"',
    'click "Koupit"', 'click "Zpet"', 'click "Zpět"', 'click "Uložit hru"', 'wait 300',
    'screenshot hangar.png',
    ...at('Letět další misi'), 'click "Letět další misi"', ...at('Letět misi'),
    'click "Letět misi"', 'wait 1000', 'key Escape', 'wait 300', ...at('Zpět od hry'),
    ...at('Návrat do hlavní nabídky'), 'screenshot pause.png',
    'click "Návrat do hlavní nabídky"', 'wait 1000',
  ];
  const file = path.join(dir, 'walk.ui');
  fs.writeFileSync(file, script.join('\n') + '\n');
  const home = path.join(dir, 'home');
  fs.mkdirSync(home, {recursive: true});
  const out = execFileSync(nativeSim, ['--data', data, '--ui-script', file], {
    cwd: dir,
    env: {...process.env, HOME: home, XDG_DATA_HOME: path.join(home, 'data'),
          XDG_CONFIG_HOME: path.join(home, 'config')},
    encoding: 'utf8',
  });
  const captions = script.filter((c) => c.startsWith('locate ')).map((c) => c.slice(8, -1));
  const places = out.split('\n').filter((l) => l.startsWith('at '))
                     .map((l) => l.split(' ').slice(1).map(Number));
  if (places.length !== captions.length) throw new Error(`the native run located ${places.length} of ${captions.length}`);
  const where = {};
  captions.forEach((c, i) => {
    if (!where[c]) where[c] = places[i];
  });
  const save = path.join(data, 'game.sav');
  if (!fs.existsSync(save)) throw new Error('the native run left no game.sav');
  const picture = (name) => decodePng(fs.readFileSync(path.join(dir, name)));
  return {where, save: fs.readFileSync(save), pause: picture('pause.png'),
          hangar: picture('hangar.png'), menu: picture('menu.png')};
}

// The flight a replay holds, flown again by the native driver: the aircraft's place at the
// first and last tick and the leftmost it reached, and the most shells seen at once.
function replayedFlight(nativeSim, data, replayFile, dir) {
  const trace = path.join(dir, 'replay-trace.jsonl');
  const verified = execFileSync(nativeSim, ['--data', data, '--verify-replay', replayFile],
                                {cwd: dir, encoding: 'utf8'});
  const length = /: ok, (\d+) ticks/.exec(verified);
  if (!length) throw new Error(`the recorded flight does not fly again: ${verified}`);
  execFileSync(nativeSim, ['--data', data, '--replay', replayFile, '--ticks', length[1],
                           '--trace', trace], {cwd: dir, encoding: 'utf8'});
  const ticks = fs.readFileSync(trace, 'utf8').trim().split('\n').map((l) => JSON.parse(l))
                    .filter((t) => t.player);
  return {
    ticks: ticks.length,
    first: ticks[0].player,
    last: ticks[ticks.length - 1].player,
    leftmost: Math.min(...ticks.map((t) => t.player.x)),
    shells: Math.max(...ticks.map((t) => t.shells)),
  };
}

class Walk {
  // A fresh browser of that size on the served site. Options: mobile and touch emulate a
  // tablet or phone; script runs in the page before any of its own.
  static async open(site, {width, height, mobile = false, touch = false, script = null}) {
    const server = await new Promise((resolve) => {
      const s = serve(site, 0, (port) => resolve({s, port}));
    });
    const browser = await Chromium.launch(width, height);
    const walk = new Walk(browser, server);
    if (mobile || touch) await walk.emulate(width, height, mobile, touch);
    if (script) await browser.send('Page.addScriptToEvaluateOnNewDocument', {source: script});
    await browser.send('Page.navigate', {url: `http://127.0.0.1:${server.port}/`});
    await walk.waitForPicture(0, 0, 30000);
    return walk;
  }

  constructor(browser, server) {
    this.browser = browser;
    this.server = server;
    this.problems = [];
    browser.on((method, p) => {
      if (method === 'Runtime.consoleAPICalled' && (p.type === 'error' || p.type === 'assert')) {
        this.problems.push((p.args || []).map((a) => a.value ?? a.description).join(' '));
      } else if (method === 'Runtime.exceptionThrown') {
        this.problems.push(p.exceptionDetails.exception?.description || p.exceptionDetails.text);
      }
    });
  }

  async emulate(width, height, mobile, touch) {
    await this.browser.send('Emulation.setDeviceMetricsOverride',
                            {width, height, deviceScaleFactor: mobile ? 2 : 1, mobile,
                             screenOrientation: width > height
                                 ? {type: 'landscapePrimary', angle: 90}
                                 : {type: 'portraitPrimary', angle: 0}});
    if (touch) {
      await this.browser.send('Emulation.setTouchEmulationEnabled',
                              {enabled: true, maxTouchPoints: 5});
    }
  }

  async close() {
    await this.browser.close();
    this.server.s.close();
  }

  evaluate(expression) {
    return this.browser.evaluate(expression);
  }

  // Until the canvas shows a picture of that size (0: any) that is not all black.
  async waitForPicture(width, height, timeout) {
    await waitForPicture(this.browser, width, height, timeout);
  }

  // Where a point of the game's picture lies in the page.
  pagePoint(point) {
    return pagePoint(this.browser, point);
  }

  // A click (mouse) or a tap (touch) on a point of the picture, then the time a double-click
  // needs to pass.
  async click(at) {
    const [x, y] = await this.pagePoint(at);
    await this.browser.click(x, y);
    await sleep(650);
  }

  async tap(at) {
    const [x, y] = await this.pagePoint(at);
    await this.touch('touchStart', [{x, y, id: 0}]);
    await sleep(80);
    await this.touch('touchEnd', []);
    await sleep(650);
  }

  touch(type, touchPoints) {
    return this.browser.send('Input.dispatchTouchEvent', {type, touchPoints});
  }

  // A key held long enough for the game's tick to see it.
  async press(code, key, keyCode, modifiers = 0) {
    await this.browser.send('Input.dispatchKeyEvent',
                            {type: 'rawKeyDown', code, key, windowsVirtualKeyCode: keyCode,
                             nativeVirtualKeyCode: keyCode, modifiers});
    await sleep(150);
    await this.browser.send('Input.dispatchKeyEvent',
                            {type: 'keyUp', code, key, windowsVirtualKeyCode: keyCode,
                             nativeVirtualKeyCode: keyCode, modifiers});
    await sleep(300);
  }

  // Alt held while a key is pressed, as a player presses a chord.
  async altChord(code, key, keyCode) {
    const alt = {code: 'AltLeft', key: 'Alt', windowsVirtualKeyCode: 18, nativeVirtualKeyCode: 18};
    await this.browser.send('Input.dispatchKeyEvent', {type: 'rawKeyDown', ...alt, modifiers: 1});
    await sleep(50);
    await this.press(code, key, keyCode, 1);
    await this.browser.send('Input.dispatchKeyEvent', {type: 'keyUp', ...alt});
    await sleep(300);
  }

  // The game's own picture (the canvas, without what the page lays over it).
  async picture() {
    const url = await this.evaluate('document.getElementById("canvas").toDataURL("image/png")');
    return decodePng(Buffer.from(url.slice(url.indexOf(',') + 1), 'base64'));
  }

  // The game's own picture saved under that name.
  async savePicture(dir, name) {
    const url = await this.evaluate('document.getElementById("canvas").toDataURL("image/png")');
    fs.writeFileSync(path.join(dir, name), Buffer.from(url.slice(url.indexOf(',') + 1), 'base64'));
  }

  // The page as the player sees it, saved under that name.
  async shot(dir, name) {
    const png = await this.browser.screenshot();
    fs.writeFileSync(path.join(dir, name), png);
    return decodePng(png);
  }

  // How much the game's picture changes over `ms`: mean difference per channel.
  async motion(ms) {
    const before = await this.picture();
    await sleep(ms);
    return compare(before, await this.picture()).mean;
  }

  writeGameFile(name, bytes) {
    return this.evaluate(`(() => {
      Module.FS.mkdirTree('${gameDir}');
      Module.FS.writeFile('${gameDir}/${name}', new Uint8Array([${[...bytes].join(',')}]));
    })()`);
  }

  // The newest recorded flight in the page, as bytes.
  async newestReplay() {
    const b64 = await this.evaluate(`(() => {
      const dir = '${gameDir}/replays';
      if (!Module.FS.analyzePath(dir).exists) return null;
      const names = Module.FS.readdir(dir).filter((n) => n.endsWith('.replay')).sort();
      if (!names.length) return null;
      const bytes = Module.FS.readFile(dir + '/' + names[names.length - 1]);
      let s = '';
      for (const b of bytes) s += String.fromCharCode(b);
      return btoa(s);
    })()`);
    return b64 === null ? null : Buffer.from(b64, 'base64');
  }
}

// The part of a picture of w x h around a point.
function crop(picture, [x, y], w, h) {
  const out = {width: w, height: h, rgba: Buffer.alloc(w * h * 4)};
  for (let row = 0; row < h; row++) {
    const from = ((y - h / 2 + row) * picture.width + (x - w / 2)) * 4;
    picture.rgba.copy(out.rgba, row * w * 4, from, from + w * 4);
  }
  return out;
}

function checker() {
  const failures = [];
  const check = (ok, what) => {
    console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
    if (!ok) failures.push(what);
    return ok;
  };
  return {check, failures};
}

module.exports = {Walk, nativeRun, replayedFlight, crop, checker, compare, sleep, gameDir};

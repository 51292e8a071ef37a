// What the browser walks share: the native driver tells where each click of a walk lands, and
// a page in chromium is clicked there, through its scaling of the canvas.
'use strict';
const {execFileSync} = require('child_process');
const fs = require('fs');
const path = require('path');
const {decodePng} = require('./png.js');

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Waits until the canvas shows a picture of that size (0: any) that is not all black; the
// milliseconds it took.
async function waitForPicture(browser, width, height, timeout) {
  const started = Date.now();
  while (Date.now() - started < timeout) {
    const ready = await browser.evaluate(`(() => {
      const c = document.getElementById('canvas');
      if (!c || !c.width || (${width} && c.width !== ${width}) || (${height} && c.height !== ${height})) return false;
      const px = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
      for (let i = 0; i < px.length; i += 4 * 97) if (px[i] || px[i + 1] || px[i + 2]) return true;
      return false;
    })()`);
    if (ready) return Date.now() - started;
    await sleep(25);
  }
  throw new Error(`no ${width}x${height} picture within ${timeout} ms`);
}

// Where a point of the game's picture lies in the page, through the page's scaling of the
// canvas.
function pagePoint(browser, [x, y]) {
  return browser.evaluate(`(() => {
    const c = document.getElementById('canvas');
    const r = c.getBoundingClientRect();
    return [r.left + (${x} + 0.5) * r.width / c.width, r.top + (${y} + 0.5) * r.height / c.height];
  })()`);
}

// The walk's steps ({name: ['click "Caption"', 'key Escape', ...]}) flown by the native driver
// in `dir`; for each step name, the canvas pixel of each click (null for a key).
function locateClicks(nativeSim, data, dir, steps) {
  const script = Object.values(steps).flat().flatMap((c) => c.startsWith('key ')
      ? [c, 'wait 300'] : [c.replace(/^(choose|click)/, 'locate'), c, 'wait 300']);
  fs.writeFileSync(path.join(dir, 'walk.ui'), script.join('\n') + '\n');
  const home = path.join(dir, 'home');
  fs.mkdirSync(home, {recursive: true});
  const out = execFileSync(nativeSim, ['--data', data, '--ui-script', 'walk.ui'], {
    cwd: dir,
    encoding: 'utf8',
    env: {...process.env, HOME: home, XDG_DATA_HOME: path.join(home, 'd'),
          XDG_CONFIG_HOME: path.join(home, 'c')},
  });
  const at = out.split('\n').filter((l) => l.startsWith('at ')).map((l) => l.split(' ').slice(1).map(Number));
  const located = {};
  let i = 0;
  for (const [name, list] of Object.entries(steps)) {
    located[name] = list.map((c) => c.startsWith('key ') ? null : at[i++]);
  }
  return located;
}

// A screenshot of the page with only the game's picture in it, written to `file`, and decoded.
// The page's "Zálohy" button lies over the picture's corner in the menus; the pictures compared
// are the game's own (web/walk_keep.js tries the button).
async function gameShot(browser, file) {
  await browser.evaluate(`(() => {
    const keep = document.getElementById('keep-open');
    if (keep) keep.style.visibility = 'hidden';
  })()`);
  const png = await browser.screenshot();
  fs.writeFileSync(file, png);
  return decodePng(png);
}

// A page in the browser, walked by real clicks and keys.
class PageWalk {
  constructor(browser, places) {
    this.browser = browser;
    this.places = places;
  }

  async waitFor(expression, timeout, what) {
    const started = Date.now();
    while (Date.now() - started < timeout) {
      if (await this.browser.evaluate(expression)) return Date.now() - started;
      await sleep(50);
    }
    throw new Error(`${what}: not within ${timeout} ms`);
  }

  // Until the canvas shows a picture (of that width, unless 0).
  waitForPicture(width, timeout) {
    return waitForPicture(this.browser, width, 0, timeout);
  }

  async clickCanvas(point) {
    const at = await pagePoint(this.browser, point);
    await this.browser.click(at[0], at[1]);
    await sleep(650);  // no press counts as the second of a double click
  }

  // The game reads the keyboard once a tick: a key is held longer than one.
  async tap(code, key, keyCode) {
    await this.browser.key('rawKeyDown', code, key, keyCode);
    await sleep(150);
    await this.browser.key('keyUp', code, key, keyCode);
    await sleep(500);
  }

  async walk(name) {
    for (const at of this.places[name]) {
      if (at) await this.clickCanvas(at);
      else await this.tap('Escape', 'Escape', 27);
    }
  }

  // From the page's loading to the title: the choice window's clicks.
  async start(startStep = 'start') {
    await this.waitForPicture(0, 30000);
    await this.walk(startStep);
    await this.waitForPicture(1024, 10000);
    await sleep(800);
  }
}

module.exports = {sleep, waitForPicture, pagePoint, gameShot, locateClicks, PageWalk};

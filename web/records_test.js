// Records and recorded flights in the page, as a player meets them: a flight flown in the
// browser and the records of a campaign (won by the native driver's pilot, put into the
// browser's storage) are both there after a reload; the records screen shows what the native
// game shows; the browser's own recording plays and pauses; and the longest recorded flight of
// tests/replays/ is flown again to its end at the End key within a second.
// Usage: node web/records_test.js SITE NATIVE_SIM DATA REPLAYS SHOTS
'use strict';
const {execFileSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const {Chromium} = require('./chromium.js');
const {decodePng, compare} = require('./png.js');
const {serve} = require('./serve.js');
const {sleep, pagePoint, gameShot} = require('./page_walk.js');

const [site, nativeSim, data, replays, shots] = process.argv.slice(2).map((a) => path.resolve(a));
if (!shots) {
  console.error('usage: node web/records_test.js SITE NATIVE_SIM DATA REPLAYS SHOTS');
  process.exit(2);
}
fs.mkdirSync(shots, {recursive: true});
// The dates on the screens are local times: the native game and the browser read them alike.
process.env.TZ = 'UTC';

// Where the screens put things, in the picture's pixels (src/shell/list_screens.h,
// src/shell/viewer_hud.h).
const rowCentre = (row) => [24 + 370, 96 + row * 32 + 14];
const trackEnd = [16 + 992 - 3, 738 + 4];

const failures = [];
function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures.push(what);
}

// The native side: the campaign's records, and the records screen as the native game shows
// them, with where each click of the walk lands.
function nativeSide(dir) {
  const player = path.join(dir, 'player');
  execFileSync(nativeSim, ['--data', data, '--campaign', '--difficulty', '0', '--seed', '1',
                           '--player-dir', player], {cwd: dir});
  const clicks = ['choose "V okne"', 'click "Pokracovat"', 'wait 1000', 'click "Nová hra"',
                  'click "Lehká obtížnost"', 'click "Pokračuj"', 'click "Nakupovat/prodávat"',
                  'click "Obchodovat s letadly"', 'click "Koupit"', 'click "Zpět"',
                  'click "Zpět"', 'click "Letět další misi"', 'click "Letět misi"', 'wait 3000',
                  'key Escape', 'wait 300', 'click "Návrat do hlavní nabídky"', 'wait 1000',
                  'click "Rekordy"', 'wait 300', 'screenshot records.png', 'click "Zpět"',
                  'click "Záznamy letů"'];
  const script = clicks.flatMap((c) => /^(choose|click)/.test(c)
    ? [c.replace(/^(choose|click)/, 'locate'), c] : [c]);
  fs.writeFileSync(path.join(dir, 'walk.ui'), script.join('\n') + '\n');
  const out = execFileSync(nativeSim, ['--data', data, '--ui-script', 'walk.ui', '--player-dir',
                                       player], {cwd: dir, encoding: 'utf8'});
  const at = out.split('\n').filter((l) => l.startsWith('at ')).map((l) => l.split(' ').slice(1).map(Number));
  return {records: fs.readFileSync(path.join(player, 'records.dat')), at,
          picture: decodePng(fs.readFileSync(path.join(dir, 'records.png')))};
}

async function main() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'sk-web-records-'));
  const native = nativeSide(dir);
  const server = await new Promise((resolve) => {
    const s = serve(site, 0, (port) => resolve({s, port}));
  });
  const browser = await Chromium.launch(1024, 768);
  const problems = [];
  browser.on((method, p) => {
    if (method === 'Runtime.consoleAPICalled' && (p.type === 'error' || p.type === 'assert')) {
      problems.push((p.args || []).map((a) => a.value ?? a.description).join(' '));
    } else if (method === 'Runtime.exceptionThrown') {
      problems.push(`exception: ${p.exceptionDetails.exception?.description || p.exceptionDetails.text}`);
    }
  });

  async function pictureReady(timeout) {
    const started = Date.now();
    while (Date.now() - started < timeout) {
      const ready = await browser.evaluate(`(() => {
        const c = document.getElementById('canvas');
        return !!c && c.width === 1024 && c.height === 768;
      })()`);
      if (ready) return;
      await sleep(50);
    }
    throw new Error('the game never showed its picture');
  }
  // A click at a place of the picture, through the page's scaling of the canvas.
  async function clickAt(point) {
    const at = await pagePoint(browser, point);
    await browser.click(at[0], at[1]);
    await sleep(650);  // no press counts as the second of a double-click
  }
  let next = 0;
  const clickNext = () => clickAt(native.at[next++]);
  const keys = {Space: ['Space', ' ', 32], Escape: ['Escape', 'Escape', 27],
                End: ['End', 'End', 35]};
  async function press(k) {
    await browser.key('rawKeyDown', ...keys[k]);
    await sleep(60);
    await browser.key('keyUp', ...keys[k]);
    await sleep(300);
  }
  const shot = (name) => gameShot(browser, path.join(shots, name));
  // The canvas's colour at a place of the picture.
  const pixel = ([x, y]) => browser.evaluate(`Array.from(document.getElementById('canvas')
      .getContext('2d').getImageData(${x}, ${y}, 1, 1).data)`);

  await browser.send('Page.navigate', {url: `http://127.0.0.1:${server.port}/`});
  await sleep(2000);
  await clickNext();  // "V okne"
  await clickNext();  // "Pokracovat"
  await pictureReady(15000);
  await sleep(1000);
  // A flight of three seconds, left from the pause screen: its recording is kept.
  for (let i = 0; i < 10; i++) await clickNext();
  await sleep(3000);
  await press('Escape');
  await clickNext();  // "Návrat do hlavní nabídky"
  await sleep(1000);

  // The campaign's records and the longest flight of tests/replays/ among the recordings.
  const home = await browser.evaluate('Module.ENV.HOME || "/home/web_user"');
  const folder = `${home}/.local/share/starvelkhorn`;
  const synced = await browser.evaluate('Module.skSyncs');
  const longest = fs.readFileSync(path.join(replays, 'mission1-easy-won.replay'));
  await browser.evaluate(`(() => {
    const FS = Module.FS;
    FS.writeFile('${folder}/records.dat', new Uint8Array([${Array.from(native.records)}]));
    FS.writeFile('${folder}/replays/2020-01-01_00-00-00_mise-1_vyhra.replay',
                 new Uint8Array([${Array.from(longest)}]));
    return FS.readdir('${folder}/replays').length;
  })()`);
  for (let i = 0; i < 100 && await browser.evaluate('Module.skSyncs') <= synced; i++) await sleep(50);
  check(await browser.evaluate('Module.skSyncs') > synced, 'the records reached the browser\'s storage');

  await browser.reload();
  await sleep(2000);
  await clickAt(native.at[0]);
  await clickAt(native.at[1]);
  await pictureReady(15000);
  await sleep(1000);
  next = native.at.length - 3;
  await clickNext();  // "Rekordy"
  await sleep(500);
  const records = compare(await shot('records.png'), native.picture);
  check(records.mean <= 2 && records.differingShare <= 0.0005,
        `the records after a reload are the native game's (mean difference ` +
        `${records.mean.toFixed(3)}, ${(records.differingShare * 100).toFixed(3)} % of pixels)`);
  await clickNext();  // "Zpět"
  await clickNext();  // "Záznamy letů"
  await sleep(500);
  await shot('recordings.png');

  // The flight flown in the browser, the newest: it plays, and pauses.
  await clickAt(rowCentre(0));
  await sleep(1500);
  const playing = await shot('viewer.png');
  await press('Space');
  const paused = await shot('viewer-paused.png');
  await sleep(700);
  const still = await shot('viewer-paused-later.png');
  check(compare(playing, paused).mean > 0.5, 'the recording plays');
  check(compare(paused, still).mean === 0, 'paused, the picture stays as it is');
  await press('Escape');
  await sleep(300);

  // The longest flight: the End key flies it to its end; the bar's track fills to its end.
  await clickAt(rowCentre(1));
  await sleep(1000);
  const before = await pixel(trackEnd);
  const started = Date.now();
  await browser.key('rawKeyDown', ...keys.End);
  let atEnd = false;
  while (!atEnd && Date.now() - started < 10000) {
    const [r, g] = await pixel(trackEnd);
    atEnd = g > 150 && r < 100;
    if (!atEnd) await sleep(5);
  }
  const took = Date.now() - started;
  await browser.key('keyUp', ...keys.End);
  await shot('viewer-end.png');
  check(before[1] < 150 && atEnd, 'End takes the longest recorded flight to its end');
  console.log(`the jump to the end of the longest recorded flight (20,445 ticks) in the page: ${took} ms`);
  check(took < 1000, `the jump takes under a second (${took} ms)`);

  await browser.close();
  server.s.close();
  fs.rmSync(dir, {recursive: true, force: true});
  for (const p of problems) console.log(`console problem: ${p}`);
  check(problems.length === 0, `no error on the console (${problems.length})`);
  if (failures.length) {
    console.log(`web records test: FAILED (${failures.length}): ${failures.join('; ')}`);
    process.exit(1);
  }
  console.log('web records test: passed');
}

main().catch((e) => {
  console.log(`web records test: FAILED: ${e.stack || e}`);
  process.exit(1);
});

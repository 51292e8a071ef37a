// How much of the page's main thread a flight takes, for one or more builds of the page side
// by side in one run (rounds alternate between them, so a busy machine weighs on all alike):
// the share of wall time the main thread spent in tasks, its CPU time in them (from a trace)
// and the share in script, the frames the game put on the canvas each second, and with
// --profile where the time went.
// Usage: node web/frame_cost.js NATIVE_SIM DATA LABEL=SITE... [--seconds N] [--rounds N]
//        [--profile]
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const {Chromium} = require('./chromium.js');
const {serve} = require('./serve.js');
const {sleep, locateClicks, PageWalk} = require('./page_walk.js');

const args = process.argv.slice(2);
function option(name, fallback) {
  const at = args.indexOf(name);
  if (at < 0) return fallback;
  const value = args[at + 1];
  args.splice(at, 2);
  return Number(value);
}
const seconds = option('--seconds', 8);
const rounds = option('--rounds', 2);
const profile = args.includes('--profile');
const [nativeSim, data, ...sites] = args.filter((a) => a !== '--profile')
    .map((a, i) => i < 2 ? path.resolve(a) : a);
if (!sites.length) {
  console.error('usage: node web/frame_cost.js NATIVE_SIM DATA LABEL=SITE... [--seconds N] [--rounds N] [--profile]');
  process.exit(2);
}

const steps = {
  start: ['choose "V okne"', 'click "Pokracovat"'],
  campaign: ['click "Nová hra"', 'click "Lehká obtížnost"', 'click "Pokračuj"',
             'click "Nakupovat/prodávat"', 'click "Obchodovat s letadly"', 'click "Koupit"',
             'click "Zpět"', 'click "Zpět"'],
  fly: ['click "Letět další misi"', 'click "Letět misi"'],
};

// Self time by where it was spent: the wasm, the page's script by function, the browser.
function summarise(profileResult) {
  const {nodes, samples, timeDeltas} = profileResult;
  const byId = new Map(nodes.map((n) => [n.id, n]));
  const totals = new Map();
  samples.forEach((id, i) => {
    const f = byId.get(id).callFrame;
    // The wasm by function where the build kept its names (linked with --profiling-funcs).
    const where = f.url.endsWith('.wasm') || f.url.includes('wasm://') ? `wasm ${f.functionName}` :
        f.url ? `script ${f.functionName || '(anonymous)'}` : f.functionName;
    totals.set(where, (totals.get(where) || 0) + (timeDeltas[i] || 0));
  });
  const all = [...totals.values()].reduce((a, b) => a + b, 0);
  return [...totals.entries()].sort((a, b) => b[1] - a[1]).slice(0, 14)
      .map(([k, v]) => `${(100 * v / all).toFixed(1)} % ${k}`).join('; ');
}

async function measure(label, root, places) {
  const server = await new Promise((resolve) => {
    const s = serve(root, 0, (port) => resolve({s, port}));
  });
  const browser = await Chromium.launch(1024, 768);
  const page = new PageWalk(browser, places);
  try {
    await browser.navigate(`http://127.0.0.1:${server.port}/`);
    await page.start();
    await page.walk('campaign');
    await page.walk('fly');
    await sleep(1500);
    await browser.evaluate(`(() => {
      window.skPuts = 0;
      const put = CanvasRenderingContext2D.prototype.putImageData;
      CanvasRenderingContext2D.prototype.putImageData = function () {
        window.skPuts++;
        return put.apply(this, arguments);
      };
    })()`);
    await browser.send('Performance.enable');
    if (profile) {
      await browser.send('Profiler.enable');
      await browser.send('Profiler.setSamplingInterval', {interval: 200});
      await browser.send('Profiler.start');
    }
    const metric = async () => Object.fromEntries(
        (await browser.send('Performance.getMetrics')).metrics.map((m) => [m.name, m.value]));
    // The main thread's own CPU time in its tasks, from a trace: unlike the time the tasks
    // took on the clock, a busy machine that keeps the thread waiting does not add to it.
    const events = [];
    const collect = (method, p) => {
      if (method === 'Tracing.dataCollected') events.push(...p.value);
    };
    browser.on(collect);
    await browser.send('Tracing.start', {traceConfig: {includedCategories: ['toplevel'],
                                                       recordMode: 'recordAsMuchAsPossible'},
                                         transferMode: 'ReportEvents'});
    const traceStart = Date.now();
    const before = await metric();
    const puts = await browser.evaluate('window.skPuts');
    await sleep(seconds * 1000);
    const after = await metric();
    const complete = browser.nextEvent('Tracing.tracingComplete');
    await browser.send('Tracing.end');
    await complete;
    const traced = (Date.now() - traceStart) * 1000;
    const main = new Set(events.filter((e) => e.ph === 'M' && e.name === 'thread_name' &&
                                            e.args.name === 'CrRendererMain')
                             .map((e) => `${e.pid}:${e.tid}`));
    let cpu = 0;
    for (const e of events) {
      if (e.ph === 'X' && e.name === 'ThreadControllerImpl::RunTask' && main.has(`${e.pid}:${e.tid}`)) {
        cpu += e.tdur || 0;
      }
    }
    const frames = (await browser.evaluate('window.skPuts')) - puts;
    const wall = after.Timestamp - before.Timestamp;
    const share = (name) => (100 * (after[name] - before[name]) / wall).toFixed(1);
    let where = '';
    if (profile) where = summarise((await browser.send('Profiler.stop')).profile);
    return {label, task: share('TaskDuration'), script: share('ScriptDuration'),
            cpu: (100 * cpu / traced).toFixed(1),
            fps: (frames / wall).toFixed(1), where};
  } finally {
    await browser.close();
    server.s.close();
    server.s.closeAllConnections();
  }
}

async function main() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'sk-frame-cost-'));
  const places = locateClicks(nativeSim, data, dir, steps);
  console.log(`flight, ${seconds} s a measure, ${rounds} rounds, headless chromium at 1024 x 768`);
  console.log('| page | round | main thread busy (clock) | its CPU time | in script | game frames a second |');
  console.log('|---|---|---|---|---|---|');
  for (let round = 1; round <= rounds; round++) {
    for (const spec of sites) {
      const [label, root] = spec.split('=');
      const r = await measure(label, path.resolve(root), places);
      console.log(`| ${r.label} | ${round} | ${r.task} % | ${r.cpu} % | ${r.script} % | ${r.fps} |`);
      if (r.where) console.log(`    ${r.where}`);
    }
  }
  fs.rmSync(dir, {recursive: true, force: true});
}

main().catch((e) => {
  console.log(`frame cost: FAILED: ${e.stack || e}`);
  process.exit(1);
});

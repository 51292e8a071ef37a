// Headless chromium driven over its DevTools protocol through a pipe (--remote-debugging-pipe:
// commands go in on descriptor 3, answers and events come out on descriptor 4, each message a
// JSON text ended by a NUL byte). No npm package needed.
'use strict';
const {spawn} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

class Chromium {
  // Starts a fresh browser (its own profile folder, removed on close) with a window of the
  // given size.
  static async launch(width, height) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'sk-chromium-'));
    const args = [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--no-default-browser-check', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--disable-extensions',
      '--disable-default-apps', '--mute-audio', '--autoplay-policy=no-user-gesture-required',
      '--remote-debugging-pipe', `--user-data-dir=${profile}`,
      `--window-size=${width},${height}`, 'about:blank',
    ];
    const bin = process.env.CHROMIUM || 'chromium';
    const child = spawn(bin, args, {stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe']});
    const browser = new Chromium(child, profile);
    await browser.attach(width, height);
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.nextId = 1;
    this.waiting = new Map();
    this.listeners = [];
    this.stderr = '';
    let buffer = Buffer.alloc(0);
    child.stdio[4].on('data', (chunk) => {
      buffer = Buffer.concat([buffer, chunk]);
      let end;
      while ((end = buffer.indexOf(0)) >= 0) {
        const message = JSON.parse(buffer.subarray(0, end).toString('utf8'));
        buffer = buffer.subarray(end + 1);
        this.dispatch(message);
      }
    });
    child.stderr.on('data', (d) => {
      this.stderr = (this.stderr + d.toString()).slice(-20000);
    });
    this.exited = new Promise((resolve) => child.on('exit', resolve));
  }

  dispatch(message) {
    if (message.id !== undefined) {
      const w = this.waiting.get(message.id);
      if (!w) return;
      this.waiting.delete(message.id);
      if (message.error) {
        w.reject(new Error(`${w.method}: ${JSON.stringify(message.error)}`));
      } else {
        w.resolve(message.result);
      }
    } else {
      for (const listener of this.listeners) listener(message.method, message.params || {});
    }
  }

  send(method, params = {}, sessionId = this.session) {
    const id = this.nextId++;
    const message = {id, method, params};
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.waiting.set(id, {resolve, reject, method});
      this.child.stdio[3].write(JSON.stringify(message) + '\0');
    });
  }

  on(listener) {
    this.listeners.push(listener);
  }

  async attach(width, height) {
    const {targetInfos} = await this.send('Target.getTargets', {}, null);
    const page = targetInfos.find((t) => t.type === 'page');
    const {sessionId} =
        await this.send('Target.attachToTarget', {targetId: page.targetId, flatten: true}, null);
    this.session = sessionId;
    await this.send('Page.enable');
    await this.send('Runtime.enable');
    await this.send('Log.enable');
    await this.send('Emulation.setDeviceMetricsOverride',
                    {width, height, deviceScaleFactor: 1, mobile: false});
    await this.send('Emulation.setFocusEmulationEnabled', {enabled: true});
  }

  // Navigates and resolves once the page's load event fired.
  async navigate(url) {
    const loaded = this.nextEvent('Page.loadEventFired');
    await this.send('Page.navigate', {url});
    await loaded;
  }

  async reload() {
    const loaded = this.nextEvent('Page.loadEventFired');
    await this.send('Page.reload', {ignoreCache: true});
    await loaded;
  }

  nextEvent(name) {
    return new Promise((resolve) => {
      const listener = (method, params) => {
        if (method !== name) return;
        this.listeners.splice(this.listeners.indexOf(listener), 1);
        resolve(params);
      };
      this.listeners.push(listener);
    });
  }

  async evaluate(expression) {
    const r = await this.send('Runtime.evaluate', {expression, returnByValue: true,
                                                   awaitPromise: true});
    if (r.exceptionDetails) throw new Error(`evaluate: ${JSON.stringify(r.exceptionDetails)}`);
    return r.result.value;
  }

  async screenshot() {
    const {data} = await this.send('Page.captureScreenshot', {format: 'png'});
    return Buffer.from(data, 'base64');
  }

  async mouse(type, x, y, buttons = 0) {
    await this.send('Input.dispatchMouseEvent',
                    {type, x, y, button: type === 'mouseMoved' ? 'none' : 'left', buttons,
                     clickCount: type === 'mouseMoved' ? 0 : 1});
  }

  async click(x, y) {
    await this.mouse('mouseMoved', x, y);
    await this.mouse('mousePressed', x, y, 1);
    await this.mouse('mouseReleased', x, y);
  }

  // A key by its DOM code and key value, with the Windows key code SDL reads.
  async key(type, code, key, keyCode) {
    await this.send('Input.dispatchKeyEvent',
                    {type, code, key, windowsVirtualKeyCode: keyCode,
                     nativeVirtualKeyCode: keyCode});
  }

  async close() {
    try {
      await Promise.race([this.send('Browser.close', {}, null),
                          new Promise((r) => setTimeout(r, 3000))]);
    } catch (e) {
      // already gone
    }
    if (this.child.exitCode === null) this.child.kill('SIGKILL');
    await Promise.race([this.exited, new Promise((r) => setTimeout(r, 3000))]);
    // Its helper processes may still be writing the profile for a moment.
    try {
      fs.rmSync(this.profile, {recursive: true, force: true, maxRetries: 10, retryDelay: 200});
    } catch (e) {
      console.log(`note: the browser profile ${this.profile} was left behind (${e.code})`);
    }
  }
}

module.exports = {Chromium};

// Lays the built page out as a site that works offline and can be installed: the script, the
// wasm, the data and the icons named by their content's hash (a new build never reuses a name,
// so no cache can hand one build's file to another's page), index.html naming them, a web app
// manifest and a service worker (web/sw.js) that lists every file with its hash.
// Usage: node web/site.js GAME_DIR ICON_DIR SITE_DIR
//   GAME_DIR: the emscripten output (starvelkhorn.html, .js, .wasm, .data)
//   ICON_DIR: the desktop icons (SIZExSIZE/apps/starvelkhorn.png)
// Prints the files of a first visit, one line each: name, bytes.
'use strict';
const crypto = require('crypto');
const fs = require('fs');
const path = require('path');

function hashOf(bytes) {
  return crypto.createHash('sha256').update(bytes).digest('hex');
}

// "starvelkhorn.wasm" -> "starvelkhorn.3f2a9c01b2d4.wasm"
function hashedName(name, bytes) {
  const ext = path.extname(name);
  return `${path.basename(name, ext)}.${hashOf(bytes).slice(0, 12)}${ext}`;
}

function replaceOnce(text, what, by, where) {
  const at = text.indexOf(what);
  if (at < 0 || text.indexOf(what, at + what.length) >= 0) {
    throw new Error(`${where}: expected exactly one "${what}"`);
  }
  return text.slice(0, at) + by + text.slice(at + what.length);
}

function build(gameDir, iconDir, siteDir) {
  fs.mkdirSync(siteDir, {recursive: true});
  const files = {};  // site name -> bytes
  const renamed = {};  // the name the page asks for -> the hashed name
  function add(name, bytes) {
    const hashed = hashedName(name, bytes);
    files[hashed] = bytes;
    renamed[name] = hashed;
    return hashed;
  }
  for (const name of ['starvelkhorn.js', 'starvelkhorn.wasm', 'starvelkhorn.data']) {
    add(name, fs.readFileSync(path.join(gameDir, name)));
  }
  const icons = [];
  for (const size of [256, 512]) {
    const bytes = fs.readFileSync(path.join(iconDir, `${size}x${size}`, 'apps', 'starvelkhorn.png'));
    icons.push({src: add(`icon-${size}.png`, bytes), sizes: `${size}x${size}`, type: 'image/png'});
  }
  const manifest = {
    name: 'Starvelkhorn',
    short_name: 'Starvelkhorn',
    description: 'Letecká střílečka: šest misí proti mimozemským vetřelcům a jejich mateřským lodím.',
    lang: 'cs',
    start_url: './',
    scope: './',
    display: 'fullscreen',
    orientation: 'landscape',
    background_color: '#000000',
    theme_color: '#000000',
    icons,
  };
  const manifestName = add('manifest.webmanifest', Buffer.from(JSON.stringify(manifest, null, 2) + '\n'));

  // The page asks for the wasm and the data by their plain names; it gets the hashed ones.
  let html = fs.readFileSync(path.join(gameDir, 'starvelkhorn.html'), 'utf8');
  html = replaceOnce(html, '<link rel="icon" href="data:,">',
                     `<link rel="icon" href="${renamed['icon-256.png']}">\n` +
                     `<link rel="manifest" href="${manifestName}">\n` +
                     '<meta name="theme-color" content="#000000">', 'index.html');
  html = replaceOnce(html, 'src="starvelkhorn.js"', `src="${renamed['starvelkhorn.js']}"`,
                     'index.html');
  const site = `<script>
  Module.locateFile = function (name) {
    return ${JSON.stringify(renamed)}[name] || name;
  };
  // Offline once loaded: the service worker keeps this build's files. It is registered a
  // moment after the game has started, so that keeping them never slows the start.
  Module.postRun = (Module.postRun || []).concat(function () {
    if (!('serviceWorker' in navigator)) return;
    setTimeout(function () {
      navigator.serviceWorker.register('sw.js').catch(function (e) {
        console.warn('starvelkhorn: no offline copy: ' + e);
      });
    }, 2000);
  });
</script>
`;
  html = replaceOnce(html, '<script async', site + '<script async', 'index.html');
  files['index.html'] = Buffer.from(html);

  // The worker lists every file with its hash; the list's own hash names the build.
  const list = {};
  for (const name of Object.keys(files).sort()) list[name] = hashOf(files[name]);
  const version = hashOf(Buffer.from(JSON.stringify(list))).slice(0, 16);
  let worker = fs.readFileSync(path.join(__dirname, 'sw.js'), 'utf8');
  worker = replaceOnce(worker, "const BUILD = 'dev';", `const BUILD = '${version}';`, 'sw.js');
  worker = replaceOnce(worker, 'const FILES = {};', `const FILES = ${JSON.stringify(list, null, 2)};`,
                       'sw.js');
  files['sw.js'] = Buffer.from(worker);

  for (const [name, bytes] of Object.entries(files)) fs.writeFileSync(path.join(siteDir, name), bytes);
  // What a first visit downloads: the page, what it names, the worker and what the worker keeps.
  for (const name of ['index.html', renamed['starvelkhorn.js'], renamed['starvelkhorn.wasm'],
                      renamed['starvelkhorn.data'], 'sw.js', manifestName, renamed['icon-256.png'],
                      renamed['icon-512.png']]) {
    console.log(`${name} ${files[name].length}`);
  }
}

module.exports = {build, hashedName};

if (require.main === module) {
  const [gameDir, iconDir, siteDir] = process.argv.slice(2);
  if (!siteDir) {
    console.error('usage: node web/site.js GAME_DIR ICON_DIR SITE_DIR');
    process.exit(2);
  }
  build(gameDir, iconDir, siteDir);
}

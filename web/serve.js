// Serves a folder over HTTP on localhost, with the types a browser needs for the game's page
// (the wasm must come as application/wasm to be compiled while it downloads).
// Usage: node web/serve.js FOLDER [PORT]   (PORT 0: any free port, printed on start)
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// A name with its content's hash never changes its bytes: browsers may keep it for good. The
// rest (index.html, the worker) is checked with the server at every visit.
function cacheControl(file) {
  return /\.[0-9a-f]{12}\.[a-z]+$/.test(file) ? 'public, max-age=31536000, immutable' : 'no-cache';
}

function serve(root, port, onListening) {
  root = path.resolve(root);
  const server = http.createServer((req, res) => {
    let name;
    try {
      name = decodeURIComponent(new URL(req.url, 'http://localhost').pathname);
    } catch (e) {
      res.writeHead(400).end();
      return;
    }
    if (name.endsWith('/')) name += 'index.html';
    const file = path.join(root, path.normalize(name));
    // Nothing outside the folder, whatever the request says.
    if (file !== root && !file.startsWith(root + path.sep)) {
      res.writeHead(403).end();
      return;
    }
    fs.stat(file, (err, st) => {
      if (err || !st.isFile()) {
        res.writeHead(404, {'Content-Type': 'text/plain'}).end('not found');
        return;
      }
      res.writeHead(200, {
        'Content-Type': types[path.extname(file)] || 'application/octet-stream',
        'Content-Length': st.size,
        'Cache-Control': cacheControl(file),
      });
      if (req.method === 'HEAD') {
        res.end();
        return;
      }
      fs.createReadStream(file).pipe(res);
    });
  });
  server.listen(port, '127.0.0.1', () => onListening(server.address().port));
  return server;
}

module.exports = {serve};

if (require.main === module) {
  const root = process.argv[2];
  const port = Number(process.argv[3] || 8000);
  if (!root) {
    console.error('usage: node web/serve.js FOLDER [PORT]');
    process.exit(2);
  }
  serve(root, port, (p) => console.log(`serving ${root} on http://localhost:${p}/`));
}

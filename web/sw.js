// The game's offline copy: a service worker that keeps every file of one build, checked
// against the hashes the build listed, so the page starts without a network once it has
// loaded, and never with one build's page and another's files.
// web/site.js fills in BUILD and FILES; each build's worker differs, so the browser installs a
// new build's worker beside the old one, which gives way to it as soon as its files are kept.
'use strict';
const BUILD = 'dev';
const FILES = {};

const SCOPE = self.registration.scope;
const PREFIX = `starvelkhorn ${SCOPE} `;
const CACHE = PREFIX + BUILD;
// A page that the network does not deliver in this time comes from the offline copy.
const NETWORK_WAIT_MS = 4000;

function nameOf(url) {
  const relative = url.href.startsWith(SCOPE) ? url.pathname.slice(new URL(SCOPE).pathname.length) : null;
  return relative === '' ? 'index.html' : relative;
}

async function sha256(buffer) {
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', buffer));
  return Array.from(digest, (b) => b.toString(16).padStart(2, '0')).join('');
}

// Every file of the build, each checked against its hash: a server that meanwhile got a newer
// build (or a stale cache on the way) fails the install, and the worker before stays.
async function keepBuild() {
  const cache = await caches.open(CACHE);
  try {
    for (const [name, hash] of Object.entries(FILES)) {
      // The hashed names never change their contents, so the browser's cache may serve them
      // (the page has just downloaded them); index.html is asked of the server.
      const response = await fetch(new URL(name, SCOPE), {cache: name === 'index.html' ? 'no-cache' : 'default'});
      if (!response.ok) throw new Error(`${name}: ${response.status}`);
      if ((await sha256(await response.clone().arrayBuffer())) !== hash) {
        throw new Error(`${name} is not this build's`);
      }
      await cache.put(new URL(name, SCOPE), response);
    }
  } catch (e) {
    await caches.delete(CACHE);
    throw e;
  }
  await self.skipWaiting();
}

// Only this build's copy stays; older builds' are dropped once this one is in charge.
async function dropOlderBuilds() {
  for (const key of await caches.keys()) {
    if (key.startsWith(PREFIX) && key !== CACHE) await caches.delete(key);
  }
  await self.clients.claim();
}

// The page from the network first, so a new build is played on the next visit; from the
// offline copy when the network fails or keeps the page waiting.
async function page() {
  const cached = caches.open(CACHE).then((cache) => cache.match(new URL('index.html', SCOPE)));
  try {
    const response = await Promise.race([
      fetch(new URL('index.html', SCOPE), {cache: 'no-cache', credentials: 'same-origin'}),
      new Promise((resolve, reject) => setTimeout(() => reject(new Error('slow network')), NETWORK_WAIT_MS)),
    ]);
    if (response.ok) return response;
    return (await cached) || response;
  } catch (e) {
    const copy = await cached;
    if (copy) return copy;
    throw e;
  }
}

// A hashed file is the same in every build's copy; any copy serves it, else the network.
async function file(request) {
  return (await caches.match(request.url, {ignoreSearch: true})) || fetch(request);
}

self.addEventListener('install', (event) => event.waitUntil(keepBuild()));
self.addEventListener('activate', (event) => event.waitUntil(dropOlderBuilds()));
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET') return;
  const name = nameOf(new URL(request.url));
  if (name === null) return;
  if (request.mode === 'navigate' || name === 'index.html') {
    event.respondWith(page());
  } else {
    event.respondWith(file(request));
  }
});

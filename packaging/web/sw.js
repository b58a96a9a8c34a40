// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The site's service worker: after one visit the game starts with no network, and a network that
// takes requests and answers nothing holds it up for a moment only. Which file gets which
// strategy, and why:
//
// - The program's files, named by their content (bargeling.3f9c1a2b.wasm and the like): cache
//   first, then the network. A name always means the same bytes, so a stored copy is never stale,
//   and a page can only ever name the files of its own build.
// - The page: the stored copy at once, while the server's is fetched past the browser's HTTP
//   cache (stale while revalidating), so that a start waits for no network. Only a page of this
//   worker's build is stored: a new build's page comes with that build's worker, which the
//   browser fetches at the same start, and which stores it with its files and takes over.
// - Everything else (tips.txt, the manifest, the icons): network first, revalidated past the
//   browser's HTTP cache, so that a host's max-age never holds back a new animal file; after a
//   short wait, or with no network, the stored copy. tips.txt is kept to its beginning, as the
//   page reads no more of it.
//
// The install stores everything a start needs; the manifest's icons, which a start does not
// need, only once the browser has asked for them. Once this build's worker is in use, the stores
// of earlier builds are deleted. make-site fills in the build and the files.

const build = '@build@';
const hashedFiles = @hashed@;
const plainFiles = @plain@;
const iconFiles = @icons@;
const page = './';
const prefix = 'bargeling ' + self.registration.scope + ' ';
const store = prefix + build;
const patienceMs = 2000;
// The page reads no more of the animal file than its first 64 KiB; a little more is kept.
const keptBytes = {'tips.txt': 64 * 1024 + 4096};

const inScope = (path) => new URL(path, self.registration.scope).href;
const hashed = new Set(hashedFiles.map(inScope));
const plain = new Set([...plainFiles, ...iconFiles].map(inScope));
const limits = new Map(Object.entries(keptBytes).map(([name, bytes]) => [inScope(name), bytes]));

// The response with its body cut to its first `limit` bytes, read as a stream.
async function beginning(response, limit) {
    if (!response.ok || !response.body)
        return response;
    const kept = new Uint8Array(limit);
    let length = 0;
    const reader = response.body.getReader();
    for (let part = await reader.read(); !part.done; part = await reader.read()) {
        const take = Math.min(part.value.length, limit - length);
        kept.set(part.value.subarray(0, take), length);
        length += take;
        if (length === limit) {
            reader.cancel();
            break;
        }
    }
    const headers = {'Content-Type': response.headers.get('Content-Type') || 'application/octet-stream'};
    return new Response(kept.slice(0, length), {status: response.status, statusText: response.statusText, headers});
}

// From the server, its answer read whole where it is kept to a beginning.
async function fromServer(url) {
    const response = await fetch(url, {cache: 'no-cache', credentials: 'same-origin'});
    return limits.has(url) ? beginning(response, limits.get(url)) : response;
}

// Into this build's store, which the install makes; once a newer build's worker has deleted it,
// an answer that arrives late is not to make it again.
async function keep(url, response) {
    if (!response.ok || (url === inScope(page) && !(await response.clone().text()).includes(hashedFiles[0])))
        return;
    if (await caches.has(store))
        await (await caches.open(store)).put(url, response);
}

// When the network last let a request wait in vain: for a while after it, the stored copy
// answers at once, so that a start waits once for a network that does not answer, not once for
// each file.
let gaveUpAt = -Infinity;
const hopelessMs = 10000;

async function networkFirst(url, event) {
    const fetched = fromServer(url).then((response) => {
        event.waitUntil(keep(url, response.clone()));
        return response;
    });
    fetched.catch(() => {}); // answered by the stored copy instead
    const patience = Date.now() - gaveUpAt < hopelessMs ? 0 : patienceMs;
    const waited = new Promise((resolve) => setTimeout(resolve, patience));
    try {
        const answer = await Promise.race([fetched, waited]);
        if (answer)
            return answer;
        gaveUpAt = Date.now();
    } catch {
        // No network: the stored copy, if there is one.
    }
    // Nothing stored and no network: the server's answer would have been a gateway's.
    const stored = await caches.match(url, {cacheName: store});
    return stored || fetched.catch(() => new Response('', {status: 504, statusText: 'Gateway Timeout'}));
}

async function staleWhileRevalidate(url, event) {
    const stored = await caches.match(url, {cacheName: store});
    if (!stored)
        return networkFirst(url, event);
    event.waitUntil(fromServer(url).then((response) => keep(url, response), () => {}));
    return stored;
}

async function cacheFirst(url, event) {
    const stored = await caches.match(url, {cacheName: store});
    if (stored)
        return stored;
    const response = await fetch(url, {credentials: 'same-origin'});
    event.waitUntil(keep(url, response.clone()));
    return response;
}

self.addEventListener('install', (event) => {
    event.waitUntil((async () => {
        const cache = await caches.open(store);
        await cache.addAll(hashedFiles);
        await Promise.all([page, ...plainFiles].map(async (path) => {
            const url = inScope(path);
            try {
                await keep(url, await fromServer(url));
            } catch {
                // Stored when it is next fetched.
            }
        }));
        await self.skipWaiting();
    })());
});

self.addEventListener('activate', (event) => {
    event.waitUntil((async () => {
        for (const name of await caches.keys())
            if (name.startsWith(prefix) && name !== store)
                await caches.delete(name);
        await self.clients.claim();
    })());
});

self.addEventListener('fetch', (event) => {
    const request = event.request;
    const url = new URL(request.url);
    if (request.method !== 'GET' || !url.href.startsWith(self.registration.scope))
        return;
    url.search = '';
    url.hash = '';
    if (url.href === inScope(page) || url.href === inScope('index.html'))
        event.respondWith(staleWhileRevalidate(inScope(page), event));
    else if (hashed.has(url.href))
        event.respondWith(cacheFirst(url.href, event));
    else if (plain.has(url.href))
        event.respondWith(networkFirst(url.href, event));
});

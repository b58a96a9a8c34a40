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
//   worker's build is stored. Where the server's page names another build, the worker asks the
//   browser for that build's worker, which stores it with its files and takes over; and until
//   then it takes the page from the network first, so that the new build runs by the next start,
//   however short this one. A reload asks past the caches: network first too (the page reloads
//   itself where a file that it names is gone from the server).
// - Everything else (tips.txt, the manifest, the icons): network first, revalidated past the
//   browser's HTTP cache, so that a host's max-age never holds back a new animal file; after a
//   short wait, or with no network, the stored copy. tips.txt is kept to its beginning, as the
//   page reads no more of it.
//
// The install is all or nothing: it fetches everything a start needs, the page of its own build
// among it, each within a time limit, and stores it in a store of its own; where anything fails
// (a stalled file, the old page still served beside the new files), the install fails and the
// worker in use keeps its store. Once in use, and once its store holds a start, it deletes the
// stores of earlier builds. The manifest's icons, which a start does not need, are stored once
// the browser has asked for them.
//
// The store stands in for the network and is never a condition of the game: a read that fails
// goes to the network, a write that fails is let go, and a store that has gone while its worker
// lives is filled again by the next fetches. What is stored is a plain copy, without a redirect
// (a navigation refuses a redirected answer) and without the host's Vary (a store refuses
// "Vary: *"). make-site fills in the build and the files.

const build = '@build@';
const hashedFiles = @hashed@;
const plainFiles = @plain@;
const iconFiles = @icons@;
const prefix = 'bargeling ' + self.registration.scope + ' ';
const store = prefix + build;
const patienceMs = 2000;
const installLimitMs = 20000;
// The page reads no more of the animal file than its first 64 KiB; a little more is kept.
const keptBytes = {'tips.txt': 64 * 1024 + 4096};

const inScope = (path) => new URL(path, self.registration.scope).href;
const page = inScope('./');
const hashed = new Set(hashedFiles.map(inScope));
const plain = new Set([...plainFiles, ...iconFiles].map(inScope));
const limits = new Map(Object.entries(keptBytes).map(([name, bytes]) => [inScope(name), bytes]));
const startFiles = [page, ...hashed];

// The program's script that a page of this site names, of whichever build; none for a page of
// another's (a network's sign-in page, a host's page for an error).
const programOf = (text) => (/data-program="([^"]+)"/.exec(text) || [])[1];
const ofThisBuild = (text) => programOf(text) === hashedFiles[0];

// The first `limit` bytes of a body, read as a stream.
async function beginning(body, limit) {
    const kept = new Uint8Array(limit);
    let length = 0;
    const reader = body.getReader();
    while (length < limit) {
        const part = await reader.read();
        if (part.done)
            break;
        const take = Math.min(part.value.length, limit - length);
        kept.set(part.value.subarray(0, take), length);
        length += take;
    }
    reader.cancel().catch(() => {});
    return kept.slice(0, length);
}

// A plain copy of an answer, its body read (kept to its beginning where the page reads no more).
async function copy(url, response) {
    const body = !response.body ? null : limits.has(url) ? await beginning(response.body, limits.get(url)) : await response.arrayBuffer();
    const headers = {'Content-Type': response.headers.get('Content-Type') || 'application/octet-stream'};
    return new Response(body, {status: response.status, statusText: response.statusText, headers});
}

// The server's answer, past the browser's HTTP cache; with a time limit, read whole within it.
async function fromServer(url, limitMs = 0) {
    const aborter = new AbortController();
    const timer = limitMs ? setTimeout(() => aborter.abort(), limitMs) : 0;
    try {
        const response = await fetch(url, {cache: 'no-cache', credentials: 'same-origin', signal: aborter.signal});
        return limitMs || limits.has(url) ? await copy(url, response) : response;
    } finally {
        clearTimeout(timer);
    }
}

async function stored(url) {
    try {
        return await caches.match(url, {cacheName: store});
    } catch {
        return undefined;
    }
}

async function holdsStart(name) {
    const found = await Promise.all(startFiles.map((url) => caches.match(url, {cacheName: name})));
    return found.every(Boolean);
}

// Into this build's store. An old worker's late answer, once a newer build's store stands, is not
// to make its own again.
async function put(url, response) {
    const names = await caches.keys();
    if (!names.some((name) => name.startsWith(prefix) && name !== store))
        await (await caches.open(store)).put(url, response);
}

async function keep(url, response) {
    try {
        if (!response.ok)
            return;
        const kept = await copy(url, response);
        if (url !== page || ofThisBuild(await kept.clone().text()))
            await put(url, kept);
    } catch {
        // Stored when it is next fetched.
    }
}

// When the network last let a request wait in vain: for a while after it, the stored copy
// answers at once, so that a start waits once for a network that does not answer, not once for
// each file.
let gaveUpAt = -Infinity;
const hopelessMs = 10000;

async function networkFirst(url, event) {
    const fetched = fromServer(url);
    // Kept whenever it comes, a late answer too, within the event's lifetime.
    event.waitUntil(fetched.then((response) => keep(url, response.clone()), () => {}));
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
    return (await stored(url)) || fetched.catch(() => new Response('', {status: 504, statusText: 'Gateway Timeout'}));
}

// Where the server's page names another build, this worker's store says so (a mark under an
// address of its own, which the server does not have), and the browser is asked for that build's
// worker; where it names this build again (a build taken back), the mark goes.
const newer = inScope('.newer-build');

async function revalidate(url) {
    try {
        const response = await fromServer(url);
        const named = response.ok && programOf(await response.clone().text());
        if (named && named !== hashedFiles[0]) {
            await put(newer, new Response(''));
            await self.registration.update();
        } else if (named && (await caches.has(store))) {
            await (await caches.open(store)).delete(newer);
        }
        await keep(url, response);
    } catch {
        // The stored page stands until the next start.
    }
}

// The page, at a start: the stored copy at once, unless the server is known to have a newer
// build, which the start then takes from the network, so that a player who stays only a moment
// runs it by the next start, whether or not its worker has taken over by then. A reload, which
// browsers send as "no-cache", asks past the caches: network first too.
async function fromStoreOrServer(request, event) {
    const answer = await stored(page);
    if (!answer || request.cache === 'no-cache' || (await stored(newer)))
        return networkFirst(page, event);
    event.waitUntil(revalidate(page));
    return answer;
}

async function cacheFirst(url, event) {
    const answer = await stored(url);
    if (answer)
        return answer;
    const response = await fetch(url, {credentials: 'same-origin'});
    event.waitUntil(keep(url, response.clone()));
    return response;
}

self.addEventListener('install', (event) => {
    event.waitUntil((async () => {
        const answers = await Promise.all([page, ...hashed, ...plainFiles.map(inScope)].map(async (url) => {
            const answer = await fromServer(url, installLimitMs);
            const needed = url === page || hashed.has(url);
            if (needed && !answer.ok)
                throw new Error(`the server answers ${url} with ${answer.status}`);
            if (url === page && !ofThisBuild(await answer.clone().text()))
                throw new Error('the server still sends the page of another build');
            return [url, answer];
        }));
        await caches.delete(store); // what an earlier, failed install may have left
        try {
            const cache = await caches.open(store);
            for (const [url, answer] of answers)
                if (answer.ok)
                    await cache.put(url, answer);
        } catch (error) {
            await caches.delete(store).catch(() => {});
            throw error;
        }
        await self.skipWaiting();
    })());
});

self.addEventListener('activate', (event) => {
    event.waitUntil((async () => {
        try {
            if (await holdsStart(store))
                for (const name of await caches.keys())
                    if (name.startsWith(prefix) && name !== store)
                        await caches.delete(name);
        } catch {
            // An earlier build's store goes at the next activation.
        }
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
    if (url.href === page || url.href === inScope('index.html'))
        event.respondWith(fromStoreOrServer(request, event));
    else if (hashed.has(url.href))
        event.respondWith(cacheFirst(url.href, event));
    else if (plain.has(url.href))
        event.respondWith(networkFirst(url.href, event));
});

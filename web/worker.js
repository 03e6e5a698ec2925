// The site's service worker: after one visit the game opens and plays
// offline, and it is never stale while the server answers. Every request goes
// to the network first, and the server's answer, whatever its status, is what
// the page gets; only when the network itself fails does the copy kept here
// answer. The bitmaps keep their no-store, so every paint still reaches the
// server; the page and its code are revalidated, whatever max-age a host sends.
const version = 'tarvik-@PROJECT_VERSION@';
const files = ['./', @SITE_FILES@];
const kept = caches.open(version);

addEventListener('install', (event) => {
    const fresh = files.map((file) => new Request(file, { cache: 'no-cache' }));
    event.waitUntil(kept.then((cache) => cache.addAll(fresh)).then(() => skipWaiting()));
});

addEventListener('activate', (event) => {
    const older = (name) => name.startsWith('tarvik-') && name != version;
    event.waitUntil(caches.keys()
        .then((names) => Promise.all(names.filter(older).map((name) => caches.delete(name))))
        .then(() => clients.claim()));
});

addEventListener('fetch', (event) => {
    const url = new URL(event.request.url);
    const kept = files.includes(url.href.slice(registration.scope.length) || './');
    if (event.request.method == 'GET' && url.search == '' && kept) {
        event.respondWith(fromNetwork(event, url.href));
    }
});

// The copy is looked up while the server answers, and takes the server's
// answer only when the server says it is another file: a paint, many a
// minute, need not rewrite it, and an answer not copied reaches the page
// without passing through this worker's hands.
async function fromNetwork(event, url) {
    const copy = kept.then((cache) => cache.match(url));
    let response;
    try {
        response = await fetch(url, { cache: event.request.cache == 'no-store' ? 'no-store' : 'no-cache' });
    } catch (unreachable) {
        if (await copy) return copy;
        throw unreachable;
    }
    if (response.ok && !sameFile(await copy, response)) {
        const fresh = response.clone();
        event.waitUntil(kept.then((cache) => cache.put(url, fresh)));
    }
    return response;
}

function sameFile(copy, response) {
    const same = (name) => copy && response.headers.has(name) &&
        copy.headers.get(name) == response.headers.get(name);
    return same('ETag') || (same('Last-Modified') && same('Content-Length'));
}

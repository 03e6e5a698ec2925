// The offline floor's worker: the least a page needs to open offline after
// one visit, network first as the site's own worker is. What the browser
// spends starting it on a return visit is the price of offline play, which a
// page without a worker never pays.
addEventListener(
    'install',
    (event) => event.waitUntil(
        caches.open('floor')
            .then((cache) => cache.addAll(['floor.html?board&offline', 'tarvik.css']))
            .then(() => skipWaiting())));
addEventListener('activate', (event) => event.waitUntil(clients.claim()));
addEventListener(
    'fetch',
    (event) =>
        event.respondWith(fetch(event.request.url, {
                            cache: event.request.cache == 'no-store' ? 'no-store' : 'no-cache'
                          }).catch(() => caches.match(event.request))));

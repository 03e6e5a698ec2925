// The site's service worker: after one visit the game opens and plays
// offline, and it is never stale while the server answers. Every request goes
// to the network first, and the server's answer, whatever its status, is what
// the page gets; only when the network itself fails, or the server has not
// answered within the deadline, does the copy kept here answer. The bitmaps keep their no-store, so
// every paint still reaches the server; the page and its code are revalidated, whatever max-age a
// host sends.

// Each installed copy keeps its own: the copy is named for this release and
// this worker's scope, so that releases side by side on one host never take
// each other's.
const prefix = 'tarvik-';
const scope = ' ' + registration.scope;
const version = prefix + '@PROJECT_VERSION@' + scope;
// The site's files, and how long the server has to answer before the copy
// does (its reason is given where the site is made: a network that hangs
// never fails), filled in when it is made.
// clang-format off
const files = ['./', @SITE_FILES@];
const deadlineMs = @TARVIK_SERVER_DEADLINE_MS@;
// clang-format on
const kept = caches.open(version);

addEventListener('install', (event) => {
  const fresh = files.map((file) => new Request(file, {cache: 'no-cache'}));
  event.waitUntil(kept.then((cache) => cache.addAll(fresh)).then(() => skipWaiting()));
});

addEventListener('activate', (event) => {
  const older = (name) => name.startsWith(prefix) && name.endsWith(scope) && name != version;
  event.waitUntil(
      caches.keys()
          .then((names) => Promise.all(names.filter(older).map((name) => caches.delete(name))))
          .then(() => clients.claim()));
});

addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  const ours = files.includes(url.href.slice(registration.scope.length) || './');
  if (event.request.method == 'GET' && url.search == '' && ours) {
    event.respondWith(fromNetwork(event, url.href).then((response) => forPage(event, response)));
  }
});

// A browser refuses a redirected answer to a page's own request, and many
// hosts answer index.html with a redirect to its folder: the page gets the
// answer the redirect led to, as its own.
function forPage(event, response) {
  if (event.request.mode != 'navigate' || !response.redirected) return response;
  return new Response(response.body, response);
}

// The version of each copy, by address, as far as this worker has seen it:
// while it runs, a file the server sends unchanged goes straight to the page,
// without a look at the copy.
const copies = new Map();

// Where the copy's version is not yet known, it is looked up while the server
// answers. The copy takes the server's answer only when the server says it is
// another file: a paint, many a minute, need not rewrite it, and an answer not
// copied reaches the page without passing through this worker's hands.
async function fromNetwork(event, url) {
  const lookUp = () => kept.then((cache) => cache.match(url));
  const known = copies.get(url);
  const copy = known ? null : lookUp();
  const stop = new AbortController();
  const asked = fetch(url, {
    cache: event.request.cache == 'no-store' ? 'no-store' : 'no-cache',
    signal: stop.signal,
  });
  let response;
  try {
    response = await answerWithin(asked, deadlineMs);
  } catch (unanswered) {
    const offline = await (copy ?? lookUp());
    if (offline) {
      stop.abort();
      return offline;
    }
    if (unanswered != late) throw unanswered;
    response = await asked;  // no copy: the server's answer, whenever it comes
  }
  if (!response.ok) return response;
  const version = fileVersion(response);
  if (version && version == (known || fileVersion(await copy))) {
    copies.set(url, version);
  } else {
    const fresh = response.clone();
    event.waitUntil(
        kept.then((cache) => cache.put(url, fresh)).then(() => copies.set(url, version)));
  }
  return response;
}

// The server's answer, or `late` past the deadline.
const late = new Error('the server has not answered');
function answerWithin(asked, ms) {
  let timer;
  const deadline = new Promise((_, fail) => timer = setTimeout(() => fail(late), ms));
  return Promise.race([asked, deadline]).finally(() => clearTimeout(timer));
}

// What tells one file from another without reading it, or '' when the
// server says nothing of the kind.
function fileVersion(response) {
  const header = (name) => response?.headers.get(name);
  if (header('ETag')) return 'ETag ' + header('ETag');
  if (header('Last-Modified') && header('Content-Length')) {
    return header('Last-Modified') + ' ' + header('Content-Length');
  }
  return '';
}

// The page's state and its one queue of events, shared by the other scripts
// and the primitives (library.js). Run before the program (emscripten's
// --pre-js), once the page's elements are there.
var Page = {
  frame: document.getElementById('frmMain'),
  canvas: document.getElementById('squares'),
  context: document.getElementById('squares').getContext('2d'),
  fillRgb: undefined,  // the context's fill colour, as the program gave it
  // Events run one at a time, each to its end, as on the desktop: a handler
  // may be suspended while a picture loads or a box is open.
  queue: Promise.resolve(),
  // Once the program has ended, nothing of the page runs again.
  ended: false,
  shown: false,

  // Hands the event to the program's tarvik_handle, after those before it.
  run: function(event) {
    Page.queue = Page.queue.then(function() {
      if (!Page.ended) return ccall('tarvik_handle', null, ['number'], [event], {async: true});
    });
  },
  // A listener that does nothing once the program has ended.
  listen: function(target, type, handler, options) {
    target.addEventListener(type, function(event) {
      if (!Page.ended) handler(event);
    }, options);
  },
  // The game in progress, kept in the tab's session storage (read first by
  // index.html, KeptGame) so that a page the browser ended, as phones end
  // background tabs, comes back as the player left it; "" keeps none. Where
  // storage is refused (private modes, a full quota) the page plays on.
  keep: function(line) {
    if (Page.ended) return;
    try {
      line ? sessionStorage.setItem(KeptGame.key, line) : sessionStorage.removeItem(KeptGame.key);
    } catch (refused) {
    }
  },
  // No handler runs from now on, and the run is not kept; the board leaves
  // the page with `leave`.
  end: function(leave) {
    Page.keep('');
    Page.ended = true;
    if (leave) Page.frame.remove();
  },
  element: function(tag, attributes, parent) {
    var element = document.createElement(tag);
    for (var name in attributes) element.setAttribute(name, attributes[name]);
    parent.append(element);
    return element;
  },
  // Once the next frame is painted, not before it.
  afterNextFrame: function(work) { requestAnimationFrame(function() { setTimeout(work); }); },
  // Offline after one visit, where the browser allows a worker (https, or
  // this machine); without one the page plays all the same. Only once the
  // board is on the screen: keeping the site asks the server for every file,
  // which would hold up the board's own picture.
  keepForOffline: function() {
    if (navigator.serviceWorker) {
      navigator.serviceWorker.register('worker.js').catch(function() {});
    }
  },
};

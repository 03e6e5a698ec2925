// The board's size on the screen: the browser's zoom, times the scale that
// fits the whole window on a screen too small for it, snapped to whole device
// pixels. Run before the program (emscripten's --pre-js).
var BoardFit = {
  client: null,  // the client area at 100 %, and the step between its cells
  ratio: 0,      // device pixels to one of the window's

  // As large as fits, measured with the window shown and the page unable to
  // scroll, so that no scroll bar of the page's own takes room from it.
  // Scaled, a square's step is a whole number of device pixels, so that every
  // square comes out the same. Answers whether the ratio changed.
  fit: function() {
    var frame = Page.frame, board = Page.canvas.parentNode, client = BoardFit.client;
    var room = document.documentElement, hidden = frame.hidden, overflow = room.style.overflow;
    frame.hidden = false;  // measured, never painted so
    room.style.overflow = 'hidden';
    var fit = Math.min(
        1, (room.clientWidth - (frame.offsetWidth - board.offsetWidth)) / client.width,
        (room.clientHeight - (frame.offsetHeight - board.offsetHeight)) / client.height);
    room.style.overflow = overflow;
    frame.hidden = hidden;
    var ratio =
        fit < 1 ? Math.floor(client.step * devicePixelRatio * fit) / client.step : devicePixelRatio;
    if (ratio == BoardFit.ratio) return false;
    BoardFit.ratio = ratio;
    return true;
  },
  // The board on whole device pixels, wherever centring puts it: its clipped
  // edge would cut a frame line short between two of them.
  snap: function() {
    var frame = Page.frame.style;
    frame.left = frame.top = '';
    var box = Page.canvas.getBoundingClientRect(), ratio = devicePixelRatio;
    var shift = function(at) { return Math.round(at * ratio) / ratio - at + 'px'; };
    frame.left = shift(box.left);
    frame.top = shift(box.top);
  },
  // A new zoom, a new size of the screen or a new colour scheme hands the
  // event to the program, which paints the board anew; so does the page
  // coming back from the back/forward cache, where WebKit drops what a
  // canvas holds.
  watch: function(event) {
    BoardFit.watchZoom(event);
    Page.listen(window, 'pageshow', function(shown) {
      if (shown.persisted) Page.run(event);
    });
    Page.listen(window, 'resize', function() {
      if (BoardFit.fit()) Page.run(event);
      BoardFit.snap();
    });
    Page.listen(matchMedia('(prefers-color-scheme: dark)'), 'change', function() {
      SchemeColours.forget();
      Page.run(event);
    });
  },
  watchZoom: function(event) {
    var query = matchMedia('(resolution: ' + devicePixelRatio + 'dppx)');
    Page.listen(query, 'change', function() {
      BoardFit.watchZoom(event);
      BoardFit.fit();
      Page.run(event);
    }, {once: true});
  },
};

// The page's primitives, each under its C prototype in page.h, called from the
// C++ front end (emscripten's --js-library). Nothing here knows the rules;
// the page's state, its pictures and the board's fit have files of their own.

var TarvikPrimitives = {
  // void tarvik_add_cell(int number, int left, int top, int side, int event);
  tarvik_add_cell: function(number, left, top, side, event) {
    var cell = Page.element(
        'div', {id: 'Picture' + number, class: 'cell', role: 'button', tabindex: '0'},
        document.getElementById('board'));
    var at = function(length) { return 'calc(var(--scale) * ' + length + 'px)'; };
    cell.style.left = at(left);
    cell.style.top = at(top);
    cell.style.width = cell.style.height = at(side);
    Page.listen(cell, 'click', function() { Page.run(event); });
    // No key does anything on a cell, not even scroll the page.
    cell.addEventListener('keydown', function(event) {
      if (event.key != 'Tab') event.preventDefault();
    });
  },
  // void tarvik_name_cell(int number, const char* name);
  tarvik_name_cell: function(number, name) {
    document.getElementById('Picture' + number).setAttribute('aria-label', UTF8ToString(name));
  },
  // void tarvik_focus_cell(int number);
  tarvik_focus_cell: function(
      number) { document.getElementById('Picture' + number).focus({preventScroll: true}); },
  // void tarvik_add_menu(const char* name, const char* caption);
  tarvik_add_menu: function(name, caption) {
    var bar = document.getElementById('menubar');
    var heading = Page.element('div', {role: 'none', class: 'heading'}, bar);
    // Not a <button>: WebKit leaves buttons out of the Tab order.
    Page.element(
            'div', {
              id: UTF8ToString(name),
              role: 'menuitem',
              'aria-haspopup': 'menu',
              'aria-expanded': 'false',
              tabindex: bar.childElementCount == 1 ? '0' : '-1',
            },
            heading)
        .textContent = UTF8ToString(caption);
    Page.element('div', {role: 'menu', 'aria-labelledby': UTF8ToString(name), hidden: ''}, heading);
  },
  // void tarvik_add_menu_item(const char* menu, const char* name, const char* caption, int event);
  tarvik_add_menu_item: function(menu, name, caption, event) {
    var list = document.getElementById(UTF8ToString(menu)).nextElementSibling;
    var item =
        Page.element('div', {id: UTF8ToString(name), role: 'menuitem', tabindex: '-1'}, list);
    item.textContent = UTF8ToString(caption);
    Page.listen(item, 'click', function() { Page.run(event); });
  },
  // void tarvik_on_rescale(int event, int width, int height, int step);
  tarvik_on_rescale: function(event, width, height, step) {
    BoardFit.client = {width: width, height: height, step: step};
    BoardFit.fit();
    BoardFit.watch(event);
  },
  // void tarvik_post(int event);
  tarvik_post: function(event) { Page.run(event); },
  // int tarvik_page_folder(char* buffer, int size);
  tarvik_page_folder: function(buffer, size) {
    stringToUTF8(Pictures.folder.readable, buffer, size);
    return lengthBytesUTF8(Pictures.folder.readable);
  },

  // double tarvik_device_ratio();
  tarvik_device_ratio: function() { return BoardFit.ratio; },
  // void tarvik_size_board(int width, int height);
  tarvik_size_board: function(width, height) {
    // The client area as wide and high as its canvas, in whole device
    // pixels, so that its edge never cuts a frame line.
    Page.canvas.width = width;  // and the context's state is reset
    Page.fillRgb = undefined;
    Page.canvas.height = height;
    [Page.canvas.style, Page.canvas.parentNode.style].forEach(function(box) {
      box.width = width / devicePixelRatio + 'px';
      box.height = height / devicePixelRatio + 'px';
    });
    Page.canvas.parentNode.style.setProperty('--scale', BoardFit.ratio / devicePixelRatio);
    BoardFit.snap();
  },
  // int tarvik_scheme_colour(const char* name);
  tarvik_scheme_colour: function(name) { return SchemeColours.get(UTF8ToString(name)); },
  // void tarvik_fill(int x, int y, int width, int height, int rgb);
  tarvik_fill: function(x, y, width, height, rgb) {
    // A cell paints its colour and then four black lines: the colour is set
    // only when it changes, since the context parses it each time.
    var context = Page.context;
    if (rgb !== Page.fillRgb) {
      context.fillStyle = '#' + (0x1000000 + rgb).toString(16).slice(1);
      Page.fillRgb = rgb;
    }
    context.fillRect(x, y, width, height);
  },
  // void tarvik_draw_picture(int picture, int x, int y, int width, int height, double ratio,
  //                          int smooth);
  tarvik_draw_picture: function(handle, x, y, width, height, ratio, smooth) {
    var context = Page.context, picture = Pictures.get(handle);
    context.save();
    context.beginPath();
    context.rect(x, y, width, height);
    context.clip();
    context.imageSmoothingEnabled = !!smooth;
    context.drawImage(picture, x, y, picture.width * ratio, picture.height * ratio);
    context.restore();
  },

  // void tarvik_ask_for_file(const char* url, int limit, int deadlineMs);
  tarvik_ask_for_file: function(
      url, limit, deadlineMs) { Pictures.askFor(UTF8ToString(url), limit, deadlineMs); },
  // int tarvik_fetch_file(const char* url, int limit, int deadlineMs, int* status);
  tarvik_fetch_file: function(url, limit, deadlineMs, status) {
    return Asyncify.handleAsync(async function() {
      var fetched = await Pictures.fetch(UTF8ToString(url), limit, deadlineMs);
      if (fetched.bytes !== undefined) return fetched.bytes;
      HEAP32[status >> 2] = fetched.status;
      return -1;
    });
  },
  // void tarvik_take_file(unsigned char* buffer);
  tarvik_take_file: function(buffer) { HEAPU8.set(Pictures.take(), buffer); },
  // int tarvik_decode_picture(const unsigned char* bytes, int size);
  tarvik_decode_picture: function(bytes, size) {
    // Copied out at once: the program's memory may move while it waits.
    var copy = HEAPU8.slice(bytes, bytes + size);
    return Asyncify.handleAsync(function() { return Pictures.decode(copy); });
  },
  // void tarvik_release_picture(int picture);
  tarvik_release_picture: function(handle) { Pictures.release(handle); },

  // int tarvik_kept_game(char* buffer, int size);
  tarvik_kept_game: function(buffer, size) {
    if (KeptGame.line === null) return -1;
    stringToUTF8(KeptGame.line, buffer, size);
    return lengthBytesUTF8(KeptGame.line);
  },
  // void tarvik_keep_game(const char* line);
  tarvik_keep_game: function(line) { Page.keep(UTF8ToString(line)); },

  // void tarvik_show_credits();
  tarvik_show_credits: function() {
    // The page opened the box as soon as it was read, unless the tab kept a
    // game; it may be closed already.
    var box = document.getElementById('credits');
    if (KeptGame.line !== null) {
      KeptGame.line = null;
      box.showModal();
    }
    return Asyncify.handleAsync(function() {
      return new Promise(function(resolve) {
        if (!box.open) return resolve();
        box.addEventListener('close', function() { resolve(); }, {once: true});
      });
    });
  },
  // void tarvik_report(const char* title, const char* message);
  tarvik_report: function(title, message) {
    var box = document.getElementById('report');
    box.querySelector('h1').textContent = UTF8ToString(title);
    box.querySelector('p').textContent = UTF8ToString(message);
    Page.keep('');  // the run has ended, whenever the player closes the box
    return Asyncify.handleAsync(function() {
      return new Promise(function(resolve) {
        box.addEventListener('close', function() { resolve(); }, {once: true});
        box.showModal();
      });
    });
  },
  // void tarvik_show_window();
  tarvik_show_window: function() {
    Page.frame.hidden = false;
    BoardFit.snap();
    if (!Page.shown) {
      Page.shown = true;
      Page.afterNextFrame(Page.keepForOffline);
    }
  },
  // void tarvik_end_program();
  tarvik_end_program: function() { Page.end(true); },
};

mergeInto(LibraryManager.library, TarvikPrimitives);

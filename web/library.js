// The page's primitives, called from the C++ front end (page.h): the board's
// elements and canvas, pictures fetched and decoded by the browser, the modal
// boxes and the end of the program. Nothing here knows the rules. Events are
// numbers that go back to the C++ side through tarvik_handle.

var TarvikPrimitives = {
    $Page__postset: 'Page.init();',
    $Page: {
        init: function () {
            Page.pictures = new Map();
            Page.colours = null; // asked for once a colour scheme
            Page.lastPicture = 0;
            Page.ended = false;
            Page.shown = false;
            // Events run one at a time, each to its end, as on the desktop:
            // a handler may be suspended while a picture loads or a box is
            // open. Start-up is the first of them.
            Page.queue = Promise.resolve();
            Page.frame = document.getElementById('frmMain');
            Page.canvas = document.getElementById('squares');
            // While the credits box is open, once it is on the screen: not
            // after OK, where the board waits.
            Page.afterNextFrame(Page.askColours);
            Page.context = Page.canvas.getContext('2d');
            var folder = new URL('.', document.baseURI).href.replace(/\/$/, '');
            Page.folder = { encoded: folder, readable: folder };
            try { Page.folder.readable = decodeURI(folder); } catch (malformed) {}
        },
        run: function (event) {
            Page.queue = Page.queue.then(function () {
                if (!Page.ended) {
                    return ccall('tarvik_handle', null, ['number'], [event], { async: true });
                }
            });
        },
        element: function (tag, attributes, parent) {
            var element = document.createElement(tag);
            for (var name in attributes) element.setAttribute(name, attributes[name]);
            parent.append(element);
            return element;
        },
        // The readable path the C++ side holds, as the URL to ask for.
        fetchUrl: function (path) {
            var prefix = Page.folder.readable + '/';
            if (!path.startsWith(prefix)) return path;
            return Page.folder.encoded + '/' + encodeURIComponent(path.slice(prefix.length));
        },
        // The body's bytes, or null when it is longer than the limit: it is
        // never read past that. Most servers say its length first.
        readCapped: async function (response, limit) {
            var length = response.headers.get('Content-Length');
            if (length !== null && !response.headers.get('Content-Encoding')) {
                if (Number(length) <= limit) return new Uint8Array(await response.arrayBuffer());
            }
            var reader = response.body.getReader(), chunks = [], size = 0;
            for (;;) {
                var part = await reader.read();
                if (part.done) return new Uint8Array(await new Blob(chunks).arrayBuffer());
                size += part.value.length;
                if (size > limit) { reader.cancel(); return null; }
                chunks.push(part.value);
            }
        },
        // A picture handle, or { failure, details } (LoadFailure in page.h).
        load: async function (path, maxFileBytes, maxPictureBytes) {
            var response, bytes, picture;
            try {
                response = await fetch(Page.fetchUrl(path), { cache: 'no-store' });
                if (!response.ok) {
                    var status = response.status;
                    if (status == 404 || status == 410) return { failure: 1 };
                    if (status == 401 || status == 403) return { failure: 2 };
                    return { failure: 3, details: [status] };
                }
                bytes = await Page.readCapped(response, maxFileBytes);
            } catch (unreachable) {
                return { failure: 4 };
            }
            if (bytes === null) return { failure: 6 };
            if (bytes.length == 0) return { failure: 5 };
            // The browser decodes other formats too; the program reads BMP only.
            if (bytes[0] != 0x42 || bytes[1] != 0x4D) return { failure: 7 };
            try {
                picture = await createImageBitmap(new Blob([bytes]));
            } catch (undecodable) {
                return { failure: 8 };
            }
            var size = [picture.width, picture.height];
            if (size[0] * size[1] * 4 > maxPictureBytes) {
                picture.close();
                return { failure: 9, details: size };
            }
            Page.pictures.set(++Page.lastPicture, picture);
            return Page.lastPicture;
        },
        report: function (title, message) {
            var box = document.getElementById('report');
            box.querySelector('h1').textContent = title;
            box.querySelector('p').textContent = message;
            return new Promise(function (resolve) {
                box.addEventListener('close', function () { resolve(); }, { once: true });
                box.showModal();
            });
        },
        // The board on whole device pixels, wherever centring puts it: its
        // clipped edge would cut a frame line short between two of them.
        snap: function () {
            var frame = document.getElementById('frmMain').style;
            frame.left = frame.top = '';
            var box = Page.canvas.getBoundingClientRect(), ratio = devicePixelRatio;
            var shift = function (at) { return Math.round(at * ratio) / ratio - at + 'px'; };
            frame.left = shift(box.left);
            frame.top = shift(box.top);
        },
        // Device pixels to one of the window's: the browser's zoom, times the
        // scale that fits the whole window on a screen too small for it, as
        // large as fits. Scaled, a square's step is a whole number of device
        // pixels, so that every square comes out the same. Answers whether
        // it changed.
        fit: function () {
            var frame = Page.frame, board = Page.canvas.parentNode, hidden = frame.hidden;
            var room = document.documentElement, client = Page.client;
            frame.hidden = false; // measured, never painted so
            var fit = Math.min(1,
                (room.clientWidth - (frame.offsetWidth - board.offsetWidth)) / client.width,
                (room.clientHeight - (frame.offsetHeight - board.offsetHeight)) / client.height);
            frame.hidden = hidden;
            var ratio = fit < 1 ? Math.floor(client.step * devicePixelRatio * fit) / client.step
                                : devicePixelRatio;
            if (ratio == Page.ratio) return false;
            Page.ratio = ratio;
            return true;
        },
        // Offline after one visit, where the browser allows a worker (https,
        // or this machine); without one the page plays all the same. Only
        // once the board is on the screen: keeping the site asks the server
        // for every file, which would hold up the board's own picture.
        keepForOffline: function () {
            if (navigator.serviceWorker) {
                navigator.serviceWorker.register('worker.js').catch(function () {});
            }
        },
        // The system colours the cells may take, in this colour scheme.
        // Asking the browser costs a style pass: both are read in one, and
        // only then are the probes taken away.
        askColours: function () {
            var probes = ['HighlightText', 'Canvas'].map(function (name) {
                var probe = document.body.appendChild(document.createElement('i'));
                probe.style.color = name;
                return probe;
            });
            var rgb = probes.map(function (probe) {
                var parts = getComputedStyle(probe).color.match(/\d+/g).map(Number);
                return parts[0] << 16 | parts[1] << 8 | parts[2];
            });
            probes.forEach(function (probe) { probe.remove(); });
            return Page.colours = { highlightText: rgb[0], canvas: rgb[1] };
        },
        // Once the next frame is painted, not before it.
        afterNextFrame: function (work) {
            requestAnimationFrame(function () { setTimeout(work); });
        },
        // A new zoom, a new size of the screen or a new colour scheme asks for
        // the board anew.
        watchScale: function (event) {
            var query = matchMedia('(resolution: ' + devicePixelRatio + 'dppx)');
            query.addEventListener('change', function () {
                Page.watchScale(event);
                Page.fit();
                Page.run(event);
            }, { once: true });
        },
    },

    tarvik_add_cell__deps: ['$Page'],
    tarvik_add_cell: function (number, left, top, side, event) {
        var at = function (name, length) { return name + ':calc(var(--scale) * ' + length + 'px);'; };
        var cell = Page.element('div', {
            id: 'Picture' + number, class: 'cell', role: 'button', tabindex: '0',
            style: at('left', left) + at('top', top) + at('width', side) + at('height', side),
        }, document.getElementById('board'));
        cell.addEventListener('click', function () { Page.run(event); });
        // No key does anything on a cell, not even scroll the page.
        cell.addEventListener('keydown', function (event) {
            if (event.key != 'Tab') event.preventDefault();
        });
    },
    tarvik_name_cell: function (number, name) {
        document.getElementById('Picture' + number).setAttribute('aria-label', UTF8ToString(name));
    },
    tarvik_add_menu__deps: ['$Page'],
    tarvik_add_menu: function (name, caption) {
        var bar = document.getElementById('menubar');
        var heading = Page.element('div', { role: 'none', class: 'heading' }, bar);
        Page.element('button', {
            id: UTF8ToString(name), role: 'menuitem', 'aria-haspopup': 'menu', 'aria-expanded': 'false',
            tabindex: bar.childElementCount == 1 ? '0' : '-1',
        }, heading).textContent = UTF8ToString(caption);
        Page.element('div', { role: 'menu', 'aria-labelledby': UTF8ToString(name), hidden: '' }, heading);
    },
    tarvik_add_menu_item__deps: ['$Page'],
    tarvik_add_menu_item: function (menu, name, caption, event) {
        var list = document.getElementById(UTF8ToString(menu)).nextElementSibling;
        var item = Page.element('div', { id: UTF8ToString(name), role: 'menuitem', tabindex: '-1' }, list);
        item.textContent = UTF8ToString(caption);
        item.addEventListener('click', function () { Page.run(event); });
    },
    tarvik_on_rescale__deps: ['$Page'],
    tarvik_on_rescale: function (event, width, height, step) {
        Page.client = { width: width, height: height, step: step };
        Page.fit();
        Page.watchScale(event);
        addEventListener('resize', function () {
            if (Page.fit()) Page.run(event);
            Page.snap();
        });
        matchMedia('(prefers-color-scheme: dark)').addEventListener('change', function () {
            Page.colours = null;
            Page.run(event);
        });
    },
    tarvik_post__deps: ['$Page'],
    tarvik_post: function (event) {
        Page.run(event);
    },
    tarvik_page_folder__deps: ['$Page'],
    tarvik_page_folder: function (buffer, size) {
        stringToUTF8(Page.folder.readable, buffer, size);
        return lengthBytesUTF8(Page.folder.readable);
    },

    tarvik_device_ratio__deps: ['$Page'],
    tarvik_device_ratio: function () {
        return Page.ratio;
    },
    tarvik_size_board__deps: ['$Page'],
    tarvik_size_board: function (width, height) {
        // The client area as wide and high as its canvas, in whole device
        // pixels, so that its edge never cuts a frame line.
        Page.canvas.width = width; // and the context's state is reset
        Page.fillRgb = undefined;
        Page.canvas.height = height;
        [Page.canvas.style, Page.canvas.parentNode.style].forEach(function (box) {
            box.width = width / devicePixelRatio + 'px';
            box.height = height / devicePixelRatio + 'px';
        });
        Page.canvas.parentNode.style.setProperty('--scale', Page.ratio / devicePixelRatio);
        Page.snap();
    },
    tarvik_system_colour__deps: ['$Page'],
    tarvik_system_colour: function (index) {
        // 14 is the highlight-text colour; the page's own colour stands for
        // any other, as the window's colour does on the desktop.
        var colours = Page.colours || Page.askColours();
        return index == 14 ? colours.highlightText : colours.canvas;
    },
    tarvik_fill__deps: ['$Page'],
    tarvik_fill: function (x, y, width, height, rgb) {
        // A cell paints its colour and then four black lines: the colour is
        // set only when it changes, since the context parses it each time.
        if (rgb !== Page.fillRgb) {
            Page.context.fillStyle = '#' + (0x1000000 + rgb).toString(16).slice(1);
            Page.fillRgb = rgb;
        }
        Page.context.fillRect(x, y, width, height);
    },
    tarvik_draw_picture__deps: ['$Page'],
    tarvik_draw_picture: function (handle, x, y, width, height, ratio, smooth) {
        var context = Page.context, picture = Page.pictures.get(handle);
        context.save();
        context.beginPath();
        context.rect(x, y, width, height);
        context.clip();
        context.imageSmoothingEnabled = !!smooth;
        context.drawImage(picture, x, y, picture.width * ratio, picture.height * ratio);
        context.restore();
    },

    tarvik_load_picture__deps: ['$Page'],
    tarvik_load_picture: function (url, maxFileBytes, maxPictureBytes, details) {
        return Asyncify.handleAsync(async function () {
            var loaded = await Page.load(UTF8ToString(url), maxFileBytes, maxPictureBytes);
            if (typeof loaded == 'number') return loaded;
            (loaded.details || []).forEach(function (value, i) { HEAP32[(details >> 2) + i] = value; });
            return -loaded.failure;
        });
    },
    tarvik_release_picture__deps: ['$Page'],
    tarvik_release_picture: function (handle) {
        Page.pictures.get(handle).close();
        Page.pictures.delete(handle);
    },

    tarvik_show_credits: function () {
        // The page opened the box as soon as it was read; it may be closed
        // already.
        var box = document.getElementById('credits');
        return Asyncify.handleAsync(function () {
            return new Promise(function (resolve) {
                if (!box.open) return resolve();
                box.addEventListener('close', function () { resolve(); }, { once: true });
            });
        });
    },
    tarvik_report__deps: ['$Page'],
    tarvik_report: function (title, message) {
        return Asyncify.handleAsync(function () {
            return Page.report(UTF8ToString(title), UTF8ToString(message));
        });
    },
    tarvik_show_window__deps: ['$Page'],
    tarvik_show_window: function () {
        Page.frame.hidden = false;
        Page.snap();
        if (!Page.shown) {
            Page.shown = true;
            Page.afterNextFrame(Page.keepForOffline);
        }
    },
    tarvik_end_program__deps: ['$Page'],
    tarvik_end_program: function () {
        Page.ended = true;
        var board = document.getElementById('frmMain');
        if (board) board.remove();
    },
};

mergeInto(LibraryManager.library, TarvikPrimitives);

// The bitmaps: fetched afresh from the server at every paint, never read past
// a limit, and decoded by the browser only once the program's rules have
// passed their bytes. Run before the program (emscripten's --pre-js).
var Pictures = {
  decoded: new Map(),  // handle: ImageBitmap
  lastHandle: 0,
  fetched: null,  // the bytes of the last file fetched, until the program takes them
  folder: (function() {
    var folder = new URL('.', document.baseURI).href.replace(/\/$/, '');
    var readable = folder;
    try {
      readable = decodeURI(folder);
    } catch (malformed) {
    }
    return {encoded: folder, readable: readable};
  })(),

  // The readable path the program holds, as the URL to ask for.
  url: function(path) {
    var prefix = Pictures.folder.readable + '/';
    if (!path.startsWith(prefix)) return path;
    return Pictures.folder.encoded + '/' + encodeURIComponent(path.slice(prefix.length));
  },
  // At most `limit` bytes of the body: most servers say its length first.
  readCapped: async function(response, limit) {
    var length = response.headers.get('Content-Length');
    if (length !== null && !response.headers.get('Content-Encoding') && Number(length) <= limit) {
      return new Uint8Array(await response.arrayBuffer());
    }
    var reader = response.body.getReader(), chunks = [], size = 0;
    for (;;) {
      var part = await reader.read();
      if (part.done) break;
      chunks.push(part.value);
      size += part.value.length;
      if (size >= limit) {
        reader.cancel();
        break;
      }
    }
    return new Uint8Array(await new Blob(chunks).arrayBuffer()).subarray(0, limit);
  },
  // The answers asked for ahead of their paints, by path: the files of one
  // move travel together.
  asked: new Map(),
  askFor: function(
      path, limit,
      deadlineMs) { Pictures.asked.set(path, Pictures.answer(path, limit, deadlineMs)); },
  // { bytes } of the file, or { status } of an answer that is not the file:
  // the server's status, 0 when it could not be reached, -1 when it did not
  // answer, the whole file, by the deadline.
  answer: async function(path, limit, deadlineMs) {
    var stop = new AbortController(), late = setTimeout(function() { stop.abort(); }, deadlineMs);
    try {
      var response = await fetch(Pictures.url(path), {cache: 'no-store', signal: stop.signal});
      if (!response.ok) return {status: response.status};
      return {bytes: await Pictures.readCapped(response, limit)};
    } catch (failed) {
      return {status: stop.signal.aborted ? -1 : 0};
    } finally {
      clearTimeout(late);
    }
  },
  // { bytes } kept for the program (their number), or { status }.
  fetch: async function(path, limit, deadlineMs) {
    var asked = Pictures.asked.get(path) || Pictures.answer(path, limit, deadlineMs);
    Pictures.asked.delete(path);
    var answer = await asked;
    if (answer.status !== undefined) return answer;
    Pictures.fetched = answer.bytes;
    return {bytes: answer.bytes.length};
  },
  take: function() {
    var bytes = Pictures.fetched;
    Pictures.fetched = null;
    return bytes;
  },
  // A handle above 0, or 0 when the browser cannot decode the bytes.
  decode: async function(bytes) {
    try {
      var picture = await createImageBitmap(new Blob([bytes], {type: 'image/bmp'}));
    } catch (undecodable) {
      return 0;
    }
    Pictures.decoded.set(++Pictures.lastHandle, picture);
    return Pictures.lastHandle;
  },
  get: function(handle) { return Pictures.decoded.get(handle); },
  release: function(handle) {
    Pictures.decoded.get(handle).close();
    Pictures.decoded.delete(handle);
  },
};

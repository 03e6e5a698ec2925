// Writes the page with its style sheet and script inside it, so that the
// browser asks for nothing before it starts but the WebAssembly, which the
// script asks for as soon as it runs; with the version and the program's
// words it shows before the program runs (page_wording's output); and with
// its Content Security Policy, which allows no inline script or style but
// these, by hash:
// node make_page.js PAGE STYLE SCRIPT VERSION WORDING OUT
const fs = require('fs');
const crypto = require('crypto');

const [pageFile, styleFile, scriptFile, version, wordingFile, out] = process.argv.slice(2);
const read = (file) => fs.readFileSync(file, 'utf8');
const html = (text) => text.replace(/[&<>"\n\r]/g, (c) => `&#${c.charCodeAt(0)};`);
const hash = (text) => `'sha256-${crypto.createHash('sha256').update(text).digest('base64')}'`;
const inside =
    (page, tag) => [...page.matchAll(new RegExp(`<${tag}>([\\s\\S]*?)</${tag}>`, 'g'))].map(
        (m) => hash(m[1]));

const script = read(scriptFile);
if (/<\/script/i.test(script)) throw new Error(`${scriptFile} would end its own <script>`);
let page = read(pageFile)
               .replace(
                   '<link rel="stylesheet" href="tarvik.css">',
                   () => `<style>\n${read(styleFile)}</style>`)
               .replace('<script src="tarvik.js"></script>', () => `<script>${script}</script>`)
               .replaceAll('@PROJECT_VERSION@', version);
for (const [name, text] of Object.entries(JSON.parse(read(wordingFile)))) {
  page = page.replaceAll(`@${name}@`, () => html(text));
}
const policy = [
  'default-src \'none\'',
  `script-src ${inside(page, 'script').join(' ')} 'wasm-unsafe-eval'`,
  `style-src ${inside(page, 'style').join(' ')}`,
  'connect-src \'self\'',
  'img-src \'self\' data:',
  'manifest-src \'self\'',
  'worker-src \'self\'',
  'base-uri \'none\'',
  'object-src \'none\'',
].join('; ');
fs.writeFileSync(out, page.replace('@CONTENT_SECURITY_POLICY@', policy));

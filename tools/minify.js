// Minifies a script for the web page: node tools/minify.js IN OUT
// (terser, from Debian's node-terser; NODE_PATH=/usr/share/nodejs).
const fs = require('fs');
const {minify} = require('terser');

const [source, target] = process.argv.slice(2);
minify(fs.readFileSync(source, 'utf8'), {ecma: 2020, compress: {passes: 2}, mangle: true})
    .then((result) => fs.writeFileSync(target, result.code))
    .catch((error) => {
      console.error(`minify: ${source}: ${error.message}`);
      process.exit(1);
    });

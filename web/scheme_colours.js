// The colours of the user's scheme that squares may take, by their CSS
// names. Asking the browser costs a style pass: all are read in one, while
// the credits box is open (not after OK, where the board waits), and asked
// again when the scheme changes. Run before the program (emscripten's
// --pre-js).
var SchemeColours = {
  names: ['HighlightText', 'Canvas'],
  known: null,  // name: 0xRRGGBB

  get: function(name) {
    if (!SchemeColours.known) SchemeColours.ask();
    return SchemeColours.known[name];
  },
  forget: function() { SchemeColours.known = null; },
  ask: function() {
    var probes = SchemeColours.names.map(function(name) {
      var probe = document.body.appendChild(document.createElement('i'));
      probe.style.color = name;
      return probe;
    });
    SchemeColours.known = {};
    probes.forEach(function(probe, i) {
      var parts = getComputedStyle(probe).color.match(/\d+/g).map(Number);
      SchemeColours.known[SchemeColours.names[i]] = parts[0] << 16 | parts[1] << 8 | parts[2];
    });
    probes.forEach(function(probe) { probe.remove(); });
  },
};
Page.afterNextFrame(SchemeColours.ask);

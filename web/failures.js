// The page's last edge for failures: what the program cannot report itself
// (its WebAssembly not fetched or not instantiated, a script error while it
// handles an event) still ends in the run-time error report, and the board
// leaves the page, as after any run-time error. Never a silent page, and
// nothing reported once the program has ended. Run before the program
// (emscripten's --pre-js), after the page's state.
(function() {
function report(error) {
  var box = document.getElementById('report');
  if (Page.ended || box.open) return;
  Page.end(false);
  box.querySelector('p').textContent = String(error);
  box.addEventListener('close', function() { Page.end(true); }, {once: true});
  box.showModal();
}
addEventListener('error', function(event) { report(event.error || event.message); });
addEventListener('unhandledrejection', function(event) { report(event.reason); });
})();

// The page's last edge for failures: what the program cannot report itself
// (its WebAssembly not fetched or not instantiated, a script error while it
// handles an event) still ends in the run-time error report, and the board
// leaves the page, as after any run-time error. Never a silent page. Run
// before the program (emscripten's --pre-js).
(function () {
  var reported = false;
  function report(error) {
    var box = document.getElementById('report');
    if (reported || box.open) return;
    reported = true;
    box.querySelector('p').textContent = String(error);
    box.addEventListener('close', function () {
      var board = document.getElementById('frmMain');
      if (board) board.remove();
    }, { once: true });
    box.showModal();
  }
  addEventListener('error', function (event) { report(event.error || event.message); });
  addEventListener('unhandledrejection', function (event) { report(event.reason); });
})();

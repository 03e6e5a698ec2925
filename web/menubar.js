// The menu bar's behaviour, as a desktop menu bar has it: a heading opens its
// drop-down on a click or a tap, and while one is open, pointing the mouse at
// another heading opens that one; the keyboard moves along the bar and down
// the drop-downs; a click or a tap elsewhere closes it.
// Choosing an item clicks it; the front end does the rest. Run before the
// program (emscripten's --pre-js), once the page's elements are there.
(function() {
var bar = document.getElementById('menubar');
var headings = function() {
  return Array.from(bar.querySelectorAll('[aria-haspopup]'));
};
var open = function() {
  return bar.querySelector('[aria-expanded=true]');
};

function close() {
  var heading = open();
  if (heading) {
    heading.setAttribute('aria-expanded', 'false');
    heading.nextElementSibling.hidden = true;
  }
  return heading;
}
function show(heading, focusItem) {
  close();
  heading.setAttribute('aria-expanded', 'true');
  heading.nextElementSibling.hidden = false;
  var items = heading.nextElementSibling.children;
  (focusItem === undefined ? heading : items[(focusItem + items.length) % items.length]).focus();
}
function neighbour(heading, step) {
  var all = headings(), next = all[(all.indexOf(heading) + step + all.length) % all.length];
  all.forEach(function(h) { h.tabIndex = h == next ? 0 : -1; });
  return next;
}

bar.addEventListener('click', function(event) {
  var heading = event.target.closest('[aria-haspopup]');
  if (heading && heading != open())
    show(heading);
  else
    close();
});
bar.addEventListener('pointerover', function(event) {
  var heading = event.target.closest('[aria-haspopup]');
  if (event.pointerType == 'mouse' && heading && open() && heading != open()) show(heading);
});
document.addEventListener('pointerdown', function(event) {
  if (!bar.contains(event.target)) close();
});
bar.addEventListener('focusout', function(event) {
  if (!bar.contains(event.relatedTarget)) close();
});
bar.addEventListener('keydown', function(event) {
  var item = event.target, heading = item.closest('.heading').firstElementChild;
  var inMenu = item != heading, items = Array.from(heading.nextElementSibling.children);
  var at = items.indexOf(item);
  switch (event.key) {
    case 'ArrowRight':
    case 'ArrowLeft':
      var next = neighbour(heading, event.key == 'ArrowRight' ? 1 : -1);
      if (open())
        show(next, inMenu ? 0 : undefined);
      else
        next.focus();
      break;
    case 'ArrowDown':
      show(heading, inMenu ? at + 1 : 0);
      break;
    case 'ArrowUp':
      show(heading, inMenu ? at - 1 : -1);
      break;
    case 'Enter':
    case ' ':
      if (inMenu) {
        close();
        heading.focus();
        item.click();
      } else
        show(heading, 0);
      break;
    case 'Escape':
      close();
      heading.focus();
      break;
    default:
      return;
  }
  event.preventDefault();
});
})();

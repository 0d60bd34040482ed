// The mouse and touch on the picture, as the program's mouse buttons at its client pixels.
import { focusByPointer } from "./focus.mjs";
import { $, emit } from "./page.mjs";
import { canvas } from "./picture.mjs";
import { call, wakeProgram } from "./program.mjs";

// A button of the program's mouse, down (1) or up (0), left or right, at client pixel (x, y).
export function post(down, right, x, y) {
  emit("click", down, right, x, y);
  call("pointer", down, right, x, y);
  wakeProgram();
}
// The client pixel under a point of the page, wherever the canvas is and however it is scaled.
function clientPixel(clientX, clientY) {
  const r = canvas.getBoundingClientRect();
  return [Math.floor((clientX - r.left) * canvas.width / r.width),
          Math.floor((clientY - r.top) * canvas.height / r.height)];
}
function pointer(down, right, clientX, clientY) {
  const [x, y] = clientPixel(clientX, clientY);
  post(down, right, x, y);
}

canvas.addEventListener("contextmenu", e => e.preventDefault());
canvas.addEventListener("mousedown", e => {
  if (e.button !== 0 && e.button !== 2) return;
  e.preventDefault();
  focusByPointer();
  pointer(1, e.button === 2, e.clientX, e.clientY);
});
canvas.addEventListener("mouseup", e => {
  if (e.button === 0 || e.button === 2) pointer(0, e.button === 2, e.clientX, e.clientY);
});

// Touch: a tap is a left click; a press held still for 500 ms is a right click, shown by a
// ring that fills meanwhile. Two fingers are the browser's: it zooms the page.
const kLongPressMs = 500, kSlopPx = 12;
const stage = $("stage"), ring = $("ring");
let touch = null;
function endTouch() {
  if (!touch) return;
  cancelAnimationFrame(touch.frame);
  clearTimeout(touch.timer);
  ring.style.display = "none";
  touch = null;
}
canvas.addEventListener("touchstart", e => {
  if (e.touches.length !== 1) { endTouch(); return; }
  const p = e.touches[0];
  const s = stage.getBoundingClientRect();
  touch = { id: p.identifier, x: p.clientX, y: p.clientY, start: performance.now(), done: false };
  ring.style.left = (p.clientX - s.left) + "px";
  ring.style.top = (p.clientY - s.top) + "px";
  ring.style.display = "block";
  const fill = () => {
    const f = Math.min(1, (performance.now() - touch.start) / kLongPressMs);
    ring.style.background = `conic-gradient(#ffd200 ${f * 360}deg, rgba(255,255,255,.45) 0)`;
    if (f < 1) touch.frame = requestAnimationFrame(fill);
  };
  fill();
  touch.timer = setTimeout(() => {
    touch.done = true;
    pointer(1, true, touch.x, touch.y);
    pointer(0, true, touch.x, touch.y);
    ring.style.display = "none";
  }, kLongPressMs);
}, { passive: true });
canvas.addEventListener("touchmove", e => {
  if (!touch) return;
  const p = Array.from(e.changedTouches).find(c => c.identifier === touch.id);
  if (p && Math.hypot(p.clientX - touch.x, p.clientY - touch.y) > kSlopPx) endTouch();
}, { passive: true });
canvas.addEventListener("touchend", e => {
  e.preventDefault(); // no mouse events made up afterwards
  if (!touch) return;
  const held = touch;
  endTouch();
  if (!held.done) {
    pointer(1, false, held.x, held.y);
    pointer(0, false, held.x, held.y);
  }
}, { passive: false });
canvas.addEventListener("touchcancel", endTouch);

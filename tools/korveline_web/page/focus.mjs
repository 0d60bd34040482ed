// The picture's focus ring, the viewer's (Tab, Shift Tab, Enter): where it stands when the
// picture takes the focus, the ring drawn over the canvas, and the ringed part's name for a
// screen reader.
import { $, on } from "./page.mjs";
import { canvas } from "./picture.mjs";
import { call, started, web } from "./program.mjs";
import { texts } from "./texts.mjs";

// Tabbed into, the picture's focus ring stands on ALIM (on "R à Z" when come by Shift Tab).
// Another window or tab taking the focus leaves the ring where it is for the return. A click
// gives the picture the keys without a ring (the mouse shows where).
let byPointer = false, away = false;
export function focusByPointer() {
  byPointer = true;
  canvas.focus({ preventScroll: true });
  byPointer = false;
}
canvas.addEventListener("focus", e => {
  if (!started() || byPointer || away) { away = false; return; }
  const from = e.relatedTarget;
  const backwards = from && (from.compareDocumentPosition(canvas) & Node.DOCUMENT_POSITION_PRECEDING);
  call("focus", backwards ? 2 : 1);
});
canvas.addEventListener("blur", () => {
  away = !document.hasFocus();
  if (!away) call("focus", 0);
});

// The ring around client rectangle (x, y, w, h), a client pixel out; w = 0: none.
const focusRing = $("focus-ring");
let ringAt = [0, 0, 0, 0];
function placeRing() {
  const [x, y, w, h] = ringAt, css = web.css || 1, border = 3;
  focusRing.hidden = w === 0;
  focusRing.style.left = (x - 1) * css - border + "px";
  focusRing.style.top = (y - 1) * css - border + "px";
  focusRing.style.width = Math.min(w + 2, canvas.width - x + 1) * css + "px";
  focusRing.style.height = Math.min(h + 2, canvas.height - y + 1) * css + "px";
}
web.focusRing = (x, y, w, h) => { ringAt = [x, y, w, h]; placeRing(); };
on("layout", placeRing);

// The ringed part's name: said as the ring moves, and part of the picture's name while it
// stands there.
let focusName = "";
const nameCanvas = () => canvas.setAttribute("aria-label", texts().picture + (focusName ? texts().colon + focusName : ""));
web.focusName = name => {
  focusName = name;
  if ($("focus-name").textContent !== name) $("focus-name").textContent = name;
  nameCanvas();
};
on("language", nameCanvas);

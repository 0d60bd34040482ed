// The viewer's keys, as on the desktop; those it leaves (Ctrl + - 0) stay the browser's, and so
// does Tab leaving the picture after "R à Z" or before ALIM: no trap. Keys typed in a field of
// the page are the field's, and Space and Enter on a button press it. Keys without Ctrl, but for
// F1, F11 and F12, act only while the picture has the focus.
import { $ } from "./page.mjs";
import { canvas } from "./picture.mjs";
import { call, started, wakeProgram, web } from "./program.mjs";

// The single-key shortcuts: on unless turned off, remembered by the browser where it can.
const singleKeys = $("single-keys"), kSingleKeysItem = "korveline-single-keys";
try { singleKeys.checked = localStorage.getItem(kSingleKeysItem) !== "off"; } catch (e) { /* none */ }
singleKeys.addEventListener("change", () => {
  try { localStorage.setItem(kSingleKeysItem, singleKeys.checked ? "on" : "off"); } catch (e) { /* none */ }
});

document.addEventListener("keydown", e => {
  if (!started() || e.metaKey) return;
  const control = e.target instanceof Element ? e.target.closest("button, input, select, textarea, summary, a") : null;
  if (control && (!/^(BUTTON|SUMMARY|A)$/.test(control.tagName) || e.key === " " || e.key === "Enter")) return;
  if (!e.ctrlKey && !/^F\d+$/.test(e.key) && document.activeElement !== canvas) return;
  // A character typed alone (a letter, a sign, Space) may be a voice command or a slip of the
  // hand: the page can turn such shortcuts off.
  if (!singleKeys.checked && !e.ctrlKey && e.key.length === 1) return;
  web.key = e.key;
  if (call("key", e.ctrlKey, e.altKey, e.shiftKey, e.repeat)) {
    e.preventDefault();
    wakeProgram();
  }
});

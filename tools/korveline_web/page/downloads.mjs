// Downloads: files named korveline-DATE-TIME.EXT, as on the desktop: the picture, and the
// program's captures (the GIF, the CSV).
import { canvas } from "./picture.mjs";
import { web } from "./program.mjs";

function save(blob, name) {
  const d = new Date(), two = n => String(n).padStart(2, "0");
  const a = document.createElement("a");
  a.href = URL.createObjectURL(blob);
  a.download = name.replace(/(\.\w+)$/, `-${d.getFullYear()}${two(d.getMonth() + 1)}` +
    `${two(d.getDate())}-${two(d.getHours())}${two(d.getMinutes())}${two(d.getSeconds())}$1`);
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(a.href), 60000);
}
// The canvas holds the application's framebuffer only: the ring and the boxes lie outside.
web.savePicture = stem => canvas.toBlob(b => save(b, stem + ".png"), "image/png");
// The program's captures (the GIF, the CSV) arrive piece by piece; at their end, with a name,
// they download (without one, they are dropped).
const captures = new Map();
web.capture = (id, bytes, name) => {
  if (!captures.has(id)) captures.set(id, []);
  const parts = captures.get(id);
  if (bytes.length) parts.push(bytes);
  if (name === null) return;
  captures.delete(id);
  if (name) save(new Blob(parts, { type: name.endsWith(".gif") ? "image/gif" : "text/csv" }), name);
};

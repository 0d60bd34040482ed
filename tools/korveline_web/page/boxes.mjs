// The viewer's boxes: the readout beside the picture, the keys over it. The title, then a row
// a line: left, right and a swatch colour, tab-separated. The readout changes while the motor
// runs (twice a second: the program holds it back): its rows are made once, then only the
// texts that changed are written, so the page is laid out again only inside the box (CSS
// contain), and nothing is read back from the layout but once for new rows.
import { $ } from "./page.mjs";
import { web } from "./program.mjs";

const boxes = ["readout", "keys"].map(id => ({ box: $(id), swatches: null }));
web.box = (slot, text) => showBox(boxes[slot], text);
function showBox(b, text) {
  const box = b.box, [title, ...lines] = text.split("\n"), rows = lines.map(l => l.split("\t"));
  if (box.hidden !== (text === "")) box.hidden = text === "";
  const heading = box.querySelector("h2"), body = box.querySelector("tbody");
  if (heading.textContent !== title) heading.textContent = title;
  const swatches = rows.map(r => r[2] || "").join();
  if (b.swatches === swatches && body.rows.length === rows.length) {
    writeValues(body, rows);
  } else {
    b.swatches = swatches;
    newRows(box, body, rows);
  }
}
function writeValues(body, rows) {
  rows.forEach(([left, right], i) => {
    const [name, value] = body.rows[i].cells;
    if (name.lastChild.data !== left) name.lastChild.data = left;
    if (value.firstChild.data !== right) value.firstChild.data = right;
  });
}
// New rows: the box's height measured once, then kept while only their values change.
function newRows(box, body, rows) {
  const sized = box.querySelector("#readout-rows");
  if (sized) {
    sized.classList.remove("sized");
    sized.style.height = "";
  }
  body.replaceChildren(...rows.map(tableRow));
  if (sized && !box.hidden) {
    sized.style.height = sized.getBoundingClientRect().height + "px";
    sized.classList.add("sized");
  }
}
function tableRow([left, right, swatch]) {
  const tr = document.createElement("tr");
  const name = document.createElement("td"), value = document.createElement("td");
  if (swatch) {
    const s = document.createElement("span");
    s.className = "swatch";
    s.style.background = "#" + swatch;
    name.appendChild(s);
  }
  name.append(document.createTextNode(left));
  value.append(document.createTextNode(right));
  tr.append(name, value);
  return tr;
}

// The toolbar and the help's keys, from the program's table of actions (the viewer's, sent by
// the web backend: a row a line, tab-separated), and the state the program shows in them: the
// speed, each button's, and its message. The buttons keep one width whatever their label, so
// that none moves when another's changes.
import { $, on } from "./page.mjs";
import { call, wakeProgram, web } from "./program.mjs";
import { lang, sentence, texts } from "./texts.mjs";

let actions = [];
export function buildToolbar(table) {
  actions = table.trim().split("\n").map((line, row) => {
    const f = line.split("\t");
    return { row, name: f[0], label: [f[1], f[2]], on: [f[3], f[4]], help: [f[5], f[6]],
             keys: [f[7], f[8]], toolbar: f[9] === "1", state: "-" };
  });
  // The speed shows between slower and faster, the languages after full screen.
  const at = name => actions.findIndex(a => a.name === name);
  for (const a of actions.filter(a => a.toolbar)) {
    const b = a.button = document.createElement("button");
    b.type = "button";
    b.id = a.name === "readout" ? "readout-button" : a.name;
    b.addEventListener("click", () => { call("action", a.row); wakeProgram(); });
    $("toolbar").insertBefore(b, $(a.row < at("faster") ? "speed" : a.row <= at("full") ? "lang-fr" : "state"));
  }
}

web.status = (clock, paused, rows, message) => {
  web.paused = paused;
  $("speed").textContent = clock || "x1";
  for (const a of actions) {
    if (!a.button) continue;
    const state = a.state = rows.charAt(a.row);
    a.button.disabled = state === "x";
    if (a.on[0]) a.button.textContent = (state === "1" ? a.on : a.label)[lang()];
    else if (state === "0" || state === "1") a.button.setAttribute("aria-pressed", String(state === "1"));
  }
  if (web.firstFrameMs !== null) $("state").textContent = message;
};

function fixWidths() {
  for (const a of actions) {
    if (!a.button) continue;
    const b = a.button, shown = b.textContent;
    b.style.minWidth = "";
    let widest = 0;
    for (const label of [a.label[lang()], a.on[lang()]].filter(Boolean)) {
      b.textContent = label;
      widest = Math.max(widest, b.getBoundingClientRect().width);
    }
    b.textContent = shown;
    b.style.minWidth = Math.ceil(widest) + "px";
  }
}
on("language", () => {
  for (const a of actions) {
    if (!a.button) continue;
    a.button.title = sentence(a.help[lang()]) + (a.keys[lang()] ? ` (${a.keys[lang()]})` : "");
    a.button.textContent = (a.on[0] && a.state === "1" ? a.on : a.label)[lang()];
  }
  $("help-keys").replaceChildren(...actions.map(a => {
    const li = document.createElement("li");
    li.textContent = a.keys[lang()] + (a.toolbar ? ` (${a.label[lang()]})` : "") + texts().colon + a.help[lang()];
    return li;
  }));
  if (web.firstFrameMs === null) $("state").textContent = texts().loading;
  fixWidths();
});

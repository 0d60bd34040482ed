// The looks, as the program names them, in the toolbar's control: the address's (?look=) at
// start, another while the run goes on.
import { $, emit, on } from "./page.mjs";
import { ask, wakeProgram, web } from "./program.mjs";
import { texts } from "./texts.mjs";

web.look = new URLSearchParams(location.search).get("look") || "";
let looks = [];
const select = $("look");
export const lookNames = () => looks;

export function readLooks() {
  looks = ask("looks");
  select.replaceChildren(...looks.map(name => {
    const o = document.createElement("option");
    o.value = name;
    return o;
  }));
}
// The control on the look the picture has: the address's, if the program knows it.
export function showLook() {
  select.value = looks.includes(web.look) ? web.look : looks[0];
}
select.addEventListener("change", () => {
  web.look = select.value;
  ask("look " + web.look);
  wakeProgram();
  emit("look");
});
on("language", () => {
  for (const o of select.options) o.textContent = texts().looks[o.value] || o.value;
});

// The laboratory: a row a setting of the program's table, a real form control each, named in
// the program's words in each language, a number stepped as the window's panel steps it; and
// the panel's messages, which tell what was refused (here or in the address), as text.
import { $, emit, on } from "./page.mjs";
import { ask, wakeProgram, web } from "./program.mjs";
import { texts } from "./texts.mjs";

let settings = [];
const messages = []; // each a function: the message in the language of the moment

// Each setting's row, from the program's table (page_requests.cpp): its name, its label and its
// default; its choices, or its range, unit and step.
export function buildLab(table) {
  settings = table.map(s => ({ ...s, choices: s.choices || [] }));
  const form = $("lab-form");
  form.addEventListener("submit", e => e.preventDefault());
  form.replaceChildren(...settings.map(row));
}
function row(s) {
  const div = document.createElement("div"), label = document.createElement("label");
  div.className = "row";
  const control = s.choices.length ? choiceControl(s) : numberControl(s);
  control.id = "lab-" + s.name;
  control.name = s.name;
  control.addEventListener("change", () => {
    take(s);
    syncLab();
    wakeProgram();
  });
  label.htmlFor = control.id;
  label.id = control.id + "-label";
  s.control = control;
  s.labelElement = label;
  div.append(label, control);
  return div;
}
function choiceControl(s) {
  const select = document.createElement("select");
  for (const c of s.choices) {
    const o = document.createElement("option");
    o.value = c.value;
    select.appendChild(o);
  }
  return select;
}
function numberControl(s) {
  const input = document.createElement("input");
  input.type = "number";
  input.min = s.min;
  input.max = s.max;
  input.step = s.step || "any"; // a scale the browser cannot step by
  input.required = true;
  // A step of the field's arrows or arrow keys (an input that types nothing: no inputType) is
  // the program's step, from the value before it, as the window's panel takes it.
  let before = null;
  input.addEventListener("beforeinput", () => { before = input.value; });
  input.addEventListener("input", e => {
    const from = before ?? s.value;
    before = null;
    if (e.inputType) return; // typed: taken at its change
    const up = Number(input.value) > Number(from);
    input.value = from;
    if (from !== s.value) take(s); // typed, not yet taken
    ask(`step ${s.name} ${up ? "up" : "down"}`);
    syncLab();
    wakeProgram();
  });
  return input;
}
// The control's value to the program; a refusal told in the language of the moment.
function take(s) {
  const refused = ask(`lab ${s.name}=${s.control.value.trim()}`).error;
  if (refused) {
    messages.splice(0, messages.length, () => texts().badField(s.labelElement.textContent, allowed(s)));
    showMessages();
  } else if (messages.length) {
    messages.length = 0;
    showMessages();
  }
}
function allowed(s) {
  const t = texts();
  return s.choices.length ? t.oneOf(s.choices.map(c => c.value).join(", "))
                          : t.range(...[s.min, s.max].map(v => String(v).replace(".", t.decimal)));
}
const named = name => settings.find(s => s.name === name);
// A setting's label, and what it takes, in the language of the moment.
export const settingLabel = name => named(name).label[web.language];
export const settingAllows = name => allowed(named(name));

on("language", () => {
  for (const s of settings) {
    const unit = s.unit ? s.unit[web.language] : "";
    s.labelElement.textContent = s.label[web.language] + (unit ? ` (${unit})` : "");
    s.choices.forEach((c, k) => { s.control.options[k].textContent = c[web.language]; });
  }
  showMessages();
});

// The controls from the program's settings, as it holds them.
export function syncLab() {
  const values = ask("settings");
  for (const s of settings) s.control.value = s.value = values[s.name] ?? s.default;
  emit("settings");
}
// The settings that differ from their defaults, [name, value] each, in the table's order.
export const changedSettings = () =>
  settings.filter(s => s.control.value !== s.default).map(s => [s.name, s.control.value]);

export function tell(message) {
  messages.push(message);
}
export function showMessages() {
  $("lab-message").textContent = messages.map(m => m()).join("\n");
}
export function openIfTold() {
  if (messages.length) $("lab").open = true;
}

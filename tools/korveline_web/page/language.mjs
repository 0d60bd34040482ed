// The page's texts in the language shown, and the buttons that switch it, the picture's with
// it, without stopping the run. Each module writes its own texts at the event "language".
import { $, emit } from "./page.mjs";
import { ask, call, started, wakeProgram, web } from "./program.mjs";
import { T, texts } from "./texts.mjs";

export function translate() {
  const t = texts();
  document.documentElement.lang = web.language;
  document.title = t.title;
  for (const e of document.querySelectorAll("[data-t]")) e.textContent = t[e.dataset.t];
  for (const e of document.querySelectorAll("[data-t-label]")) e.setAttribute("aria-label", t[e.dataset.tLabel]);
  $("description").textContent = t.description;
  for (const code of Object.keys(T)) $("lang-" + code).setAttribute("aria-pressed", String(web.language === code));
  $("lang-fr").title = "Français";
  $("lang-en").title = "English";
  emit("language");
}

for (const code of Object.keys(T)) {
  $("lang-" + code).addEventListener("click", () => {
    if (code === web.language) return;
    web.language = code;
    if (started()) {
      ask("language " + code);
      call("language", code === "en" ? 1 : 0);
    }
    wakeProgram();
    translate();
  });
}

// The link that reproduces the set-up: the language and the look, the laboratory's settings
// that differ from their defaults, and what the run shows, played again as clicks when the link
// is opened.
import { changedSettings } from "./lab.mjs";
import { motorState } from "./motor.mjs";
import { $, on } from "./page.mjs";
import { web } from "./program.mjs";
import { texts } from "./texts.mjs";

// The fields a link may show, by where they are in the picture (page_address.cpp reads them).
export const shownNames = { left: "coil1", "upper-right": "coil2", "lower-right": "coil3", rotor: "rotor" };

function updateLink() {
  const url = new URL(location.href);
  url.search = "";
  if (web.language !== "fr") url.searchParams.set("lang", web.language);
  if (web.look && web.look !== "default") url.searchParams.set("look", web.look);
  for (const [name, value] of changedSettings()) url.searchParams.set(name, value);
  const motor = motorState();
  if (motor) {
    if (motor.on.alim) url.searchParams.set("supply", "on");
    const shown = Object.keys(shownNames).filter(n => motor.on[shownNames[n]]);
    if (shown.length) url.searchParams.set("show", shown.join(","));
    if (motor.brake !== 0) url.searchParams.set("brake", String(motor.brake));
  }
  $("link").value = url.href;
}
on("settings", updateLink);
on("look", updateLink);
on("language", updateLink);
on("motor", (motor, changes) => {
  if (changes && (changes.toggled.length || changes.brake)) updateLink();
});

$("copy-link").addEventListener("click", async () => {
  updateLink();
  $("link").select();
  try {
    await navigator.clipboard.writeText($("link").value);
    $("state").textContent = texts().copied;
  } catch (e) {
    document.execCommand && document.execCommand("copy");
  }
});

// The page's address at start: the program reads it (page_address.cpp), sets its laboratory
// settings and plans the start state a link asks for (?supply=on&show=left,rotor&brake=5), which
// the page plays as the clicks a user would make once the program runs. Whatever it refuses is
// told in the Lab panel, naming the pair by its place among the browser's own reading of it.
import { openIfTold, settingAllows, settingLabel, showMessages, syncLab, tell } from "./lab.mjs";
import { shownNames } from "./link.mjs";
import { lookNames } from "./looks.mjs";
import { ask, web } from "./program.mjs";
import { clickRegion } from "./regions.mjs";
import { T, texts } from "./texts.mjs";

const params = new URLSearchParams(location.search);
const pairs = [...params];
const pair = k => pairs[k] || ["", ""];
let plan = { refused: [], clicks: [], refusedStart: [] };

// The settings, before the first Tick.
export function applyAddress() {
  plan = ask("address " + location.search);
  for (const { pair: k, unknown } of plan.refused) {
    const [name, value] = pair(k);
    if (unknown) tell(() => texts().unknownName(name, value));
    else tell(() => texts().badValue(settingLabel(name), name, value, settingAllows(name)));
  }
  const asked = params.get("lang");
  if (asked !== null && !Object.prototype.hasOwnProperty.call(T, asked))
    tell(() => texts().badValue("lang", "lang", asked, texts().oneOf(Object.keys(T).join(", "))));
  // A look the program does not know.
  const looks = lookNames();
  if (web.look && !looks.includes(web.look)) {
    const look = web.look;
    tell(() => texts().badValue(texts().look, "look", look, texts().oneOf(looks.join(", "))));
    web.look = "";
  }
  openIfTold();
  syncLab();
}

// The start state, at the first frame.
export function playStart() {
  const allowedStart = {
    supply: () => texts().oneOf("on, off"), show: () => texts().oneOf(Object.keys(shownNames).join(", ")),
    brake: () => texts().brakeSteps,
  };
  for (const name of plan.clicks) clickRegion(name, false);
  for (const name of plan.rightClicks || []) clickRegion(name, true);
  for (const { pair: k, part } of plan.refusedStart) {
    const [name, value] = pair(k);
    const shown = part === undefined ? value : value.split(",")[part];
    tell(() => texts().badValue(name === "brake" ? texts().brake : name, name, shown, allowedStart[name]()));
  }
  showMessages();
  openIfTold();
}

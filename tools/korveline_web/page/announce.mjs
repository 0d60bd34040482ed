// One polite live region: what a click changed, and while the motor's speed changes its share
// of the synchronous speed, the slip, and whether it has settled. At most one new text every
// 2 s; nothing while nothing changes.
import { motorState, readMotor } from "./motor.mjs";
import { $, on } from "./page.mjs";
import { started, web } from "./program.mjs";
import { inRegion } from "./regions.mjs";
import { number, texts } from "./texts.mjs";

const kAnnounceMs = 2000;
const pending = []; // what to say next, each in the language of the moment
let lastAnnounce = -Infinity, lastMotion = null;
const shares = []; // [time, share %] over the last 2 s: the speed has settled when it stayed put
web.announcements = 0;

// What a click changed, by the mouse or a button, is said at the next announcement.
on("motor", (motor, changes) => {
  if (!changes) return;
  for (const name of changes.toggled) {
    const shown = motor.on[name];
    pending.push(() => {
      const t = texts();
      return name === "alim" ? (shown ? t.supplyOn : t.supplyOff)
                             : `${t.fieldOf[name]}${t.colon}${shown ? t.shown : t.hidden}.`;
    });
  }
  if (changes.brake) {
    const value = motor.brake;
    pending.push(() => texts().brakeIs(number(value, 1)));
  }
});
// Nothing in the program's state tells that the plot was cleared.
on("click", (down, right, x, y) => {
  if (down && !right && inRegion("raz", x, y)) pending.push(() => texts().cleared);
});
on("language", () => { lastMotion = null; }); // the next announcement in the new language

function motionText(now) {
  const motor = motorState(), share = 100 * motor.share, slip = 100 * motor.slip;
  shares.push([now, share]);
  while (now - shares[0][0] > kAnnounceMs) shares.shift();
  const seen = shares.map(s => s[1]), settled = Math.max(...seen) - Math.min(...seen) < 0.05;
  return texts().motion(number(share, 1), number(slip, 1), settled);
}
function announce() {
  if (!started() || web.firstFrameMs === null) return;
  readMotor();
  const now = performance.now(), motion = motionText(now);
  if (now - lastAnnounce < kAnnounceMs) return;
  const parts = pending.splice(0).map(f => f());
  if (lastMotion === null) {
    lastMotion = motion; // the state at start, or after a language switch, goes unsaid
  } else if (motion !== lastMotion) {
    parts.push(motion);
    lastMotion = motion;
  }
  if (!parts.length) return;
  $("announce").textContent = parts.join(" ");
  lastAnnounce = now;
  web.announcements++;
}
setInterval(announce, 250);

// The buttons for the picture's own actions: each plays the mouse's click on its region of the
// picture, left to show or to switch on, right to hide or off; their state is the motor's.
import { motorState, readMotor } from "./motor.mjs";
import { $, on } from "./page.mjs";
import { clickRegion } from "./regions.mjs";
import { number } from "./texts.mjs";

const toggles = ["alim", "coil1", "coil2", "coil3", "rotor"];
const kReadAfterMs = 120; // the program has taken the click by then
for (const name of toggles) {
  $("act-" + name).addEventListener("click", () => {
    const motor = motorState();
    clickRegion(name, motor !== null && motor.on[name]);
    setTimeout(readMotor, kReadAfterMs);
  });
}
$("act-brake-plus").addEventListener("click", () => { clickRegion("brake", false); setTimeout(readMotor, kReadAfterMs); });
$("act-brake-minus").addEventListener("click", () => { clickRegion("brake", true); setTimeout(readMotor, kReadAfterMs); });
$("act-raz").addEventListener("click", () => clickRegion("raz", false));

// Written only when they change: a write costs the page a new style and layout, four times a
// second.
on("motor", motor => {
  for (const name of toggles) {
    const button = $("act-" + name), pressed = String(motor.on[name]);
    if (button.getAttribute("aria-pressed") !== pressed) button.setAttribute("aria-pressed", pressed);
  }
  const brake = $("brake-number"), value = number(motor.brake, 1);
  if (brake.textContent !== value) brake.textContent = value;
});

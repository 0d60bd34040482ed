// The motor's state as the program holds it, for the buttons, the link and the announcements:
// what is on (by the regions' codes: "alim", "coil1" ... "rotor"), the brake, the rotor's speed
// as a share of the synchronous speed and the slip. Each reading is told as the event "motor",
// with what changed since the last (none at the first).
import { emit } from "./page.mjs";
import { ask, started } from "./program.mjs";

let motor = null;
export const motorState = () => motor;
export function readMotor() {
  if (!started()) return;
  const before = motor;
  motor = ask("state");
  const changes = before && {
    toggled: Object.keys(motor.on).filter(name => motor.on[name] !== before.on[name]),
    brake: motor.brake !== before.brake,
  };
  emit("motor", motor, changes);
}

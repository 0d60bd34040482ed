// The picture's regions as the program gives them (shell/zones.cpp, by their codes: "alim",
// "coil1" ... "raz"): a click in one goes to its middle, where Enter on the focus ring clicks.
import { post } from "./pointer.mjs";
import { ask } from "./program.mjs";

let regions = new Map();
export function readRegions() {
  regions = new Map(ask("regions").map(r => [r.name, r]));
}
// The mouse's click on the region, the left button or the right.
export function clickRegion(name, right) {
  const { x, y } = regions.get(name);
  post(1, right, x, y);
  post(0, right, x, y);
}
export function inRegion(name, x, y) {
  const r = regions.get(name);
  return r !== undefined && x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

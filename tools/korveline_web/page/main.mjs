// The page's side of the program, started: the modules that answer the program and the user;
// then, once the program opens its window (kvWeb.open), what the page reads from it, and at its
// first frame the start state the address asks for.
import "./announce.mjs";
import "./boxes.mjs";
import "./buttons.mjs";
import "./downloads.mjs";
import "./keys.mjs";
import "./sound.mjs";
import { applyAddress, playStart } from "./address.mjs";
import { buildLab } from "./lab.mjs";
import { translate } from "./language.mjs";
import { viewport } from "./layout.mjs";
import { readLooks, showLook } from "./looks.mjs";
import { readMotor } from "./motor.mjs";
import { $ } from "./page.mjs";
import { canvas, sizePicture } from "./picture.mjs";
import { ask, start, web } from "./program.mjs";
import { readRegions } from "./regions.mjs";
import { buildToolbar } from "./toolbar.mjs";

globalThis.Module = { canvas };

// The program's window is open: `table` is the viewer's table of actions.
web.open = (backend, width, height, table) => {
  start(backend);
  sizePicture(width, height);
  buildToolbar(table);
  readLooks();
  readRegions();
  buildLab(ask("table"));
  applyAddress();
  showLook();
  translate();
  viewport();
};
web.ticked = (ticks, firstFrame) => {
  web.ticks = ticks;
  if (firstFrame) {
    web.firstFrameMs = performance.now();
    $("state").textContent = "";
    playStart();
    readMotor();
  }
};
web.messageBox = (caption, text) => alert(caption + "\n\n" + text);
translate();

// How large the picture is shown: the room the page gives the program (the viewer chooses the
// zoom), the fit to a narrow window or a touch screen, and full screen.
import { $, emit } from "./page.mjs";
import { canvas, showPicture } from "./picture.mjs";
import { call, web } from "./program.mjs";

const stage = $("stage");

export function viewport() {
  const full = document.fullscreenElement === stage;
  const room = full ? [innerWidth, innerHeight]
                    : [document.documentElement.clientWidth - 16, innerHeight - 16];
  call("viewport", room[0], room[1], Math.round(devicePixelRatio * 1000), full);
}
addEventListener("resize", viewport);
document.addEventListener("fullscreenchange", viewport);

// `css`: CSS pixels per client pixel; `device`: device pixels per client pixel, as the viewer
// chose them.
// A window narrower than the picture at its smallest whole zoom (320 CSS px) shrinks it to its
// width; on a touch screen the picture fills the width (upright) or the height (on its side).
// The browser's own zoom (a new devicePixelRatio) never does either, so that the picture grows
// and shrinks with the page.
const loadRatio = devicePixelRatio, touchScreen = matchMedia("(pointer: coarse)").matches;
web.layout = (css, device) => {
  const room = [document.documentElement.clientWidth - 16,
                innerHeight - stage.getBoundingClientRect().top - scrollY - 8];
  const fit = Math.min(room[0] / (canvas.width * css), room[1] / (canvas.height * css));
  if (!document.fullscreenElement && devicePixelRatio === loadRatio && device <= 1 &&
      (touchScreen || fit < 1) && fit > 0) {
    const k = touchScreen ? fit : room[0] / (canvas.width * css);
    css *= k;
    device *= k;
  }
  showPicture(css, device);
  web.zoom = device;
  web.css = css;
  emit("layout");
};

web.fullscreen = () => {
  if (document.fullscreenElement) document.exitFullscreen();
  else if (stage.requestFullscreen) stage.requestFullscreen();
};

// The sound: two oscillators through one gain, made when the user first turns it on (the
// program asks during that click or key: browsers start sound only after a user's action).
// Pitches and gain glide to each new value, so nothing clicks; silent, the context suspends.
import { web } from "./program.mjs";

const kGlideS = 0.01;
let silence = 0;
web.audio = null;
// The context, its gain and the two oscillators, at the first sound; false where the browser
// has no Web Audio.
function makeSound(first, second) {
  const Context = window.AudioContext || window.webkitAudioContext;
  if (!Context) return false;
  const ctx = new Context(), out = ctx.createGain();
  out.gain.value = 0;
  out.connect(ctx.destination);
  const hums = [first, second].map(hz => {
    const o = ctx.createOscillator();
    o.frequency.value = hz;
    o.connect(out);
    o.start();
    return o;
  });
  web.audio = { ctx, out, hums };
  return true;
}
web.sound = (on, first, second, gain) => {
  if (!web.audio && !on) return true;
  if (!web.audio && !makeSound(first, second)) return false;
  const { ctx, out, hums } = web.audio, now = ctx.currentTime, heard = on ? gain : 0;
  // Two sines of amplitude 1: halved, as on the desktop.
  out.gain.setTargetAtTime(heard / 2, now, kGlideS);
  if (on) {
    hums[0].frequency.setTargetAtTime(first, now, kGlideS);
    hums[1].frequency.setTargetAtTime(second, now, kGlideS);
  }
  web.audio.gain = heard;
  clearTimeout(silence);
  if (heard > 0) {
    if (ctx.state !== "running") ctx.resume();
  } else {
    silence = setTimeout(() => ctx.suspend(), 100); // once faded out
  }
  return true;
};

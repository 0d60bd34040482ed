// The picture's canvases: the program's framebuffer, a copy enlarged for smoothing, and the
// viewer's layer over them; how large they are shown comes from layout.mjs.
import { $ } from "./page.mjs";
import { web } from "./program.mjs";

export const canvas = $("canvas");
const smoothCanvas = $("smooth");
// desynchronized: the canvas reaches the screen without a frame of the whole page; in
// Chromium's software path that frame cost the main thread about 2 ms a Tick.
const ctx = canvas.getContext("2d", { alpha: false, desynchronized: true });
const smoothCtx = smoothCanvas.getContext("2d");
let smooth = 0; // the whole factor of the smoothed copy; 0: none

// The program keeps the picture as ImageData's bytes (R, G, B, opaque alpha) in its memory:
// one ImageData over them, each changed rectangle put from there, with no copy or loop here.
let shown = null;
web.blit = (heap, rgba, width, height, x, y, w, h) => {
  if (!shown || shown.data.buffer !== heap.buffer || shown.data.byteOffset !== rgba ||
      shown.width !== width || shown.height !== height) {
    shown = new ImageData(new Uint8ClampedArray(heap.buffer, rgba, width * height * 4), width, height);
  }
  ctx.putImageData(shown, 0, 0, x, y, w, h);
  if (smooth) smoothCtx.drawImage(canvas, x, y, w, h, x * smooth, y * smooth, w * smooth, h * smooth);
};

// The viewer's layer over the picture (the plot's scales, the steady curve): RGBA bytes, clear
// where the picture shows, at a client position. In a canvas of its own over the picture's,
// scaled as the picture is (enlarged by the same whole factor first where it is smoothed), so
// that the picture's canvas, and the PNG saved from it, hold the framebuffer alone.
const layerCanvas = $("layer"), layerCtx = layerCanvas.getContext("2d");
const layerSource = document.createElement("canvas"), layerSourceCtx = layerSource.getContext("2d");
let layerAt = null; // [x, y] of the image in layerSource, or none
function drawLayer() {
  const k = smooth || 1;
  if (layerCanvas.width !== canvas.width * k || layerCanvas.height !== canvas.height * k) {
    layerCanvas.width = canvas.width * k;
    layerCanvas.height = canvas.height * k;
  } else {
    layerCtx.clearRect(0, 0, layerCanvas.width, layerCanvas.height);
  }
  layerCanvas.hidden = layerAt === null;
  if (layerAt === null) return;
  layerCtx.imageSmoothingEnabled = false;
  layerCtx.drawImage(layerSource, layerAt[0] * k, layerAt[1] * k, layerSource.width * k, layerSource.height * k);
}
web.layer = (bytes, x, y, width, height) => {
  layerAt = width > 0 ? [x, y] : null;
  if (layerAt !== null) {
    if (layerSource.width !== width || layerSource.height !== height) {
      layerSource.width = width;
      layerSource.height = height;
    }
    layerSourceCtx.putImageData(new ImageData(new Uint8ClampedArray(bytes.buffer), width, height), 0, 0);
  }
  drawLayer();
};

// The client size of the program's window.
export function sizePicture(width, height) {
  canvas.width = width;
  canvas.height = height;
}

// `css` CSS pixels a client pixel, `device` device pixels: a whole number of device pixels keeps
// the picture crisp. Between whole numbers (full screen, the browser's zoom) the picture is
// enlarged by the largest whole zoom, nearest neighbour, then smoothed to its size, which keeps
// text and one-pixel lines legible.
export function showPicture(css, device) {
  for (const c of [canvas, smoothCanvas, layerCanvas]) {
    c.style.width = canvas.width * css + "px";
    c.style.height = canvas.height * css + "px";
  }
  const whole = Math.abs(device - Math.round(device)) < 1e-9;
  canvas.style.imageRendering = layerCanvas.style.imageRendering = whole ? "pixelated" : "auto";
  smooth = !whole && device >= 2 ? Math.floor(device) : 0;
  smoothCanvas.hidden = smooth === 0;
  if (smooth) {
    smoothCanvas.width = canvas.width * smooth;
    smoothCanvas.height = canvas.height * smooth;
    smoothCtx.imageSmoothingEnabled = false;
    smoothCtx.drawImage(canvas, 0, 0, smoothCanvas.width, smoothCanvas.height);
  }
  drawLayer();
}

// The same scripted sessions through the native korveline-script and through the WebAssembly
// build under node: start-up, the supply, the coils and the rotor on, 4,000 Ticks, at brake 0 and
// at brake 5. Compares every `state` line number by number and the final pictures pixel by pixel.
// The math library under WebAssembly is not glibc's (sin and cos differ in the last bits), so the
// model's numbers may differ by a few units in the last place; the pictures must not differ.
//
//   node tests/web/compare_native.mjs NATIVE_SCRIPT_RUNNER WASM_SCRIPT_RUNNER_JS OUT_DIR
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import zlib from "node:zlib";

// Measured on 4,000 Ticks: at most 6.3e-14 of a quantity's size (brake 5, mas.phi3); the bound
// leaves a margin of about 16.
const kMaxRelativeDifference = 1e-12;

const [native, wasm, outDir] = process.argv.slice(2);
if (!native || !wasm || !outDir) {
  console.error("usage: node compare_native.mjs NATIVE WASM_JS OUT_DIR");
  process.exit(2);
}
fs.mkdirSync(outDir, { recursive: true });

// Reads an 8-bit RGB PNG (any filter) into a Buffer of R, G, B bytes.
function readPng(file) {
  const data = fs.readFileSync(file);
  let at = 8, width = 0, height = 0;
  const idat = [];
  while (at < data.length) {
    const length = data.readUInt32BE(at), type = data.toString("latin1", at + 4, at + 8);
    const body = data.subarray(at + 8, at + 8 + length);
    if (type === "IHDR") {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[9] !== 2 || body[12] !== 0) throw new Error(`${file}: not 8-bit RGB`);
    } else if (type === "IDAT") idat.push(body);
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(idat)), stride = width * 3;
  const px = Buffer.alloc(stride * height);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)], src = y * (stride + 1) + 1;
    for (let i = 0; i < stride; i++) {
      const a = i >= 3 ? px[y * stride + i - 3] : 0, b = y > 0 ? px[(y - 1) * stride + i] : 0;
      const c = i >= 3 && y > 0 ? px[(y - 1) * stride + i - 3] : 0;
      const pa = Math.abs(b - c), pb = Math.abs(a - c), pc = Math.abs(a + b - 2 * c);
      const pred = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : pb <= pc ? b : c][filter];
      px[y * stride + i] = (raw[src + i] + pred) & 0xff;
    }
  }
  return { width, height, px };
}

function flatten(value, prefix, out) {
  if (value !== null && typeof value === "object") {
    for (const [k, v] of Object.entries(value)) flatten(v, prefix ? `${prefix}.${k}` : k, out);
  } else out.push([prefix, value]);
  return out;
}

function session(name, brakeClicks) {
  const lines = ["click left 25 25", "click left 100 300", "click left 300 100", "click left 300 450",
                 "click left 260 290"];
  for (let i = 0; i < brakeClicks; i++) lines.push("click left 250 465");
  for (let i = 0; i < 4; i++) lines.push("tick 1000", "state");
  const pictures = {};
  const outputs = {};
  for (const [build, run] of [["native", f => execFileSync(native, [f])],
                              ["wasm", f => execFileSync(process.execPath, [wasm, f])]]) {
    const png = path.join(outDir, `${name}-${build}.png`);
    const script = path.join(outDir, `${name}-${build}.kvs`);
    fs.writeFileSync(script, [...lines, `snapshot ${png}`, ""].join("\n"));
    outputs[build] = run(script).toString().trim().split("\n").map(l => JSON.parse(l));
    pictures[build] = readPng(png);
  }
  // A difference is measured against the size the quantity takes during the run: the torque
  // crosses zero, where a difference in its last bits is relatively huge.
  const scale = {};
  for (const states of [outputs.native, outputs.wasm])
    for (const state of states)
      for (const [key, v] of flatten(state, "", []))
        if (typeof v === "number") scale[key] = Math.max(scale[key] || 0, Math.abs(v));
  let fields = 0, identical = 0, worst = { rel: 0 };
  const differ = new Set();
  outputs.native.forEach((state, i) => {
    const a = flatten(state, "", []), b = flatten(outputs.wasm[i], "", []);
    a.forEach(([key, x], j) => {
      const y = b[j][1];
      fields++;
      if (x === y) { identical++; return; }
      differ.add(key);
      const rel = typeof x === "number" && typeof y === "number" ? Math.abs(x - y) / scale[key] : Infinity;
      if (rel > worst.rel) worst = { rel, key, tick: state.tick, native: x, wasm: y };
    });
  });
  const p = pictures.native, q = pictures.wasm;
  let differing = 0;
  if (p.width !== q.width || p.height !== q.height) differing = Infinity;
  else for (let i = 0; i < p.px.length; i += 3)
    differing += p.px[i] !== q.px[i] || p.px[i + 1] !== q.px[i + 1] || p.px[i + 2] !== q.px[i + 2];
  const last = outputs.native.at(-1), lastWasm = outputs.wasm.at(-1);
  console.log(`${name}: ${identical} of ${fields} state numbers identical over Ticks ` +
              `${outputs.native.map(s => s.tick).join(", ")}; largest difference ` +
              `${worst.rel.toExponential(2)} of the quantity's largest size${worst.key ? ` (${worst.key} at Tick ${worst.tick}: ` +
              `native ${worst.native}, wasm ${worst.wasm})` : ""}; omega at Tick ${last.tick}: ` +
              `native ${last.mas.omega}, wasm ${lastWasm.mas.omega}; picture ${p.width}x${p.height}: ` +
              `${differing} pixel(s) differ; not identical: ${[...differ].join(", ") || "none"}`);
  return worst.rel <= kMaxRelativeDifference && differing === 0;
}

const ok = [session("brake0", 0), session("brake5", 10)].every(Boolean);
console.log(ok ? "native and wasm agree (pictures exactly, state within " +
                 `${kMaxRelativeDifference} of each quantity's size)` : "native and wasm DIFFER beyond the tolerance");
process.exit(ok ? 0 : 1);

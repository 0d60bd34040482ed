// The page in the system's headless Chromium, driven through the DevTools protocol: it loads from
// file:// and from a local server, takes clicks, taps and long presses where they point, pauses
// and steps, and keeps 20 Ticks a second. Prints one line per check and the numbers measured;
// exits 1 when any check fails.
//
// The toolbar's extras: the language switch, the PNG, CSV and GIF downloads (the CSV compared
// with the native korveline-script's trace of the same run), the readout.
//
//   node tests/web/browser_test.mjs SITE_DIR OUT_DIR KORVELINE_SCRIPT
// OUT_DIR receives the screenshots (800x600 and phone-sized), the downloads and measurements.json.
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import puppeteer from "puppeteer-core";

const [siteDir, outDir, nativeScript] = process.argv.slice(2);
if (!siteDir || !outDir || !nativeScript) {
  console.error("usage: node browser_test.mjs SITE_DIR OUT_DIR KORVELINE_SCRIPT");
  process.exit(2);
}
const indexPath = path.resolve(siteDir, "index.html");
fs.mkdirSync(outDir, { recursive: true });

let failures = 0;
const measured = {};
function check(name, ok, detail = "") {
  console.log(`${ok ? "PASS" : "FAIL"} ${name}${detail ? ": " + detail : ""}`);
  if (!ok) failures++;
}
const sleep = ms => new Promise(r => setTimeout(r, ms));

// A static server for the site folder, on 127.0.0.1.
function serve(folder) {
  const dir = path.resolve(folder);
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, "http://x").pathname);
    const file = path.join(dir, name.endsWith("/") ? name + "index.html" : name);
    if (!file.startsWith(dir + path.sep) || !fs.existsSync(file)) {
      res.writeHead(404).end();
      return;
    }
    res.writeHead(200, { "content-type": file.endsWith(".html") ? "text/html" : "application/octet-stream" });
    fs.createReadStream(file).pipe(res);
  });
  return new Promise(resolve => server.listen(0, "127.0.0.1", () => resolve(server)));
}

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
  headless: true,
  args: ["--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage"],
});

// Opens the page and waits for its first frame.
async function open(url, viewport = { width: 800, height: 600 }) {
  const page = await browser.newPage();
  const errors = [];
  page.on("pageerror", e => errors.push(String(e)));
  await page.setViewport(viewport);
  await page.goto(url, { waitUntil: "load" });
  await page.waitForFunction("window.kvWeb && kvWeb.firstFrameMs !== null", { timeout: 10000 });
  await page.evaluate(() => {
    window.kvMenus = [];
    document.addEventListener("contextmenu", e => kvMenus.push(e.defaultPrevented));
  });
  page.kvErrors = errors;
  return page;
}

// Counts canvas pixels of colour [r, g, b] in the client rectangle [left, top, right, bottom).
function count(page, rect, rgb) {
  return page.evaluate((rect, rgb) => {
    const c = document.getElementById("canvas");
    const [l, t, r, b] = rect;
    const d = c.getContext("2d").getImageData(l, t, r - l, b - t).data;
    let n = 0;
    for (let i = 0; i < d.length; i += 4) n += d[i] === rgb[0] && d[i + 1] === rgb[1] && d[i + 2] === rgb[2];
    return n;
  }, rect, rgb);
}
const disc = [155, 185, 366, 396]; // the central disc's square
function canvasHash(page) {
  return page.evaluate(() => {
    const c = document.getElementById("canvas");
    const d = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
    let h = 2166136261;
    for (let i = 0; i < d.length; i++) h = Math.imul(h ^ d[i], 16777619) >>> 0;
    return h;
  });
}
// The page point over client pixel (x, y), whatever the canvas's place and scale.
async function pointOf(page, x, y) {
  return page.evaluate((x, y) => {
    const c = document.getElementById("canvas"), r = c.getBoundingClientRect();
    return [r.left + (x + 0.5) * r.width / c.width, r.top + (y + 0.5) * r.height / c.height];
  }, x, y);
}
async function click(page, x, y, button = "left") {
  const [px, py] = await pointOf(page, x, y);
  await page.mouse.click(px, py, { button });
}
const ticks = page => page.evaluate(() => kvWeb.ticks);
async function waitTicks(page, n) {
  const start = await ticks(page);
  await page.waitForFunction(t => kvWeb.ticks >= t, { timeout: 5000 }, start + n);
}
const green = [0, 255, 0], red = [255, 0, 0], black = [0, 0, 0], yellow = [255, 255, 0];
const alimLabel = [10, 15, 40, 31];

// The page's files and their size.
let total = 0;
for (const f of fs.readdirSync(siteDir)) total += fs.statSync(path.join(siteDir, f)).size;
measured.site_bytes = total;
check("the site is 300 KB or less", total <= 300 * 1024, `${total} bytes`);

// 1. From disk, with the time to the first frame.
{
  const page = await open("file://" + indexPath);
  const t = await page.evaluate(() => {
    const nav = performance.getEntriesByType("navigation")[0];
    return { firstFrame: kvWeb.firstFrameMs, load: nav.loadEventEnd };
  });
  measured.file_first_frame_ms = Math.round(t.firstFrame);
  measured.file_load_event_ms = Math.round(t.load);
  check("loads from file:// and shows its first frame", true,
        `first frame ${t.firstFrame.toFixed(0)} ms after navigation start (load event ${t.load.toFixed(0)} ms)`);
  check("startup picture: red ALIM label", (await count(page, alimLabel, red)) > 20);

  // Mouse: left on ALIM turns the label green; right turns it back, with no menu.
  await click(page, 25, 25);
  await waitTicks(page, 1);
  check("left click on ALIM: the label reads green", (await count(page, alimLabel, green)) > 20 &&
        (await count(page, alimLabel, red)) === 0);
  await click(page, 25, 25, "right");
  await waitTicks(page, 1);
  const menus = await page.evaluate(() => kvMenus);
  check("right click on ALIM: the label reads red again", (await count(page, alimLabel, red)) > 20 &&
        (await count(page, alimLabel, green)) === 0);
  check("right click opens no context menu", menus.length > 0 && menus.every(p => p),
        `${menus.length} contextmenu event(s), all prevented: ${menus.every(p => p)}`);

  // The rotor with the supply on: the resultant (black) and the Laplace forces (yellow).
  await click(page, 25, 25);
  await click(page, 260, 290);
  await waitTicks(page, 30);
  const resultant = await count(page, disc, black), forces = await count(page, disc, yellow);
  check("rotor click: resultant and yellow forces", resultant > 60 && forces > 30,
        `${resultant} black, ${forces} yellow pixels in the disc`);

  // The brake: the black line on row 176 of the plot.
  await click(page, 250, 465);
  await waitTicks(page, 1);
  const line = await count(page, [470, 176, 770, 177], black);
  check("brake click: the black line at y = 176", line === 300, `${line} of 300 pixels black`);

  // Pause freezes the canvas; a step advances exactly one Tick.
  await page.click("#pause");
  const pausedAt = await ticks(page), frozen = await canvasHash(page);
  await sleep(600);
  check("pause: no Tick and the canvas frozen for 600 ms",
        (await ticks(page)) === pausedAt && (await canvasHash(page)) === frozen);
  await page.click("#step");
  await sleep(400);
  const afterStep = await ticks(page);
  check("step: exactly one Tick", afterStep === pausedAt + 1 && (await canvasHash(page)) !== frozen,
        `${pausedAt} -> ${afterStep}`);
  await page.focus("#canvas"); // single keys act while the picture has the focus
  await page.keyboard.press("ArrowRight");
  await sleep(400);
  check("Right arrow while paused: one more Tick", (await ticks(page)) === pausedAt + 2);
  // Space on a focused button presses it; on the picture, it is the viewer's pause key.
  await page.focus("#canvas");
  await page.keyboard.press("Space");
  await sleep(300);
  check("Space resumes", (await ticks(page)) > pausedAt + 2);

  // 20 Ticks a second over 10 s of real time, and the CPU it takes.
  const cdp = await page.createCDPSession();
  await cdp.send("Performance.enable");
  const metric = (m, name) => m.metrics.find(x => x.name === name).value;
  const before = await cdp.send("Performance.getMetrics");
  const run = await page.evaluate(() => new Promise(resolve => {
    const t0 = kvWeb.ticks, s = performance.now();
    setTimeout(() => resolve({ ticks: kvWeb.ticks - t0, ms: performance.now() - s }), 10000);
  }));
  const after = await cdp.send("Performance.getMetrics");
  const busy = metric(after, "TaskDuration") - metric(before, "TaskDuration");
  const wall = metric(after, "Timestamp") - metric(before, "Timestamp");
  measured.ticks_in_10s = run.ticks;
  measured.cpu_share_percent = +(100 * busy / wall).toFixed(2);
  check("20 Ticks a second: 200 +- 2 in 10 s", Math.abs(run.ticks - 200) <= 2,
        `${run.ticks} Ticks in ${run.ms.toFixed(0)} ms; main thread busy ${(100 * busy / wall).toFixed(1)} % of the time`);

  // Fast motion: three presses of "faster" from x1 give x8, eight Ticks every 50 ms.
  for (let i = 0; i < 3; i++) await page.click("#faster");
  const fast = await page.evaluate(() => new Promise(resolve => {
    const t0 = kvWeb.ticks;
    setTimeout(() => resolve(kvWeb.ticks - t0), 2000);
  }));
  measured.ticks_in_2s_at_x8 = fast;
  check("x8: eight Ticks a period, 320 +- 16 in 2 s", Math.abs(fast - 320) <= 16, `${fast} Ticks`);
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

// 2. From a local server, at zoom 2 on a screen of 2 device pixels per CSS pixel.
{
  const server = await serve(siteDir);
  const url = `http://127.0.0.1:${server.address().port}/`;
  const page = await open(url, { width: 1200, height: 900, deviceScaleFactor: 2 });
  const t = await page.evaluate(() => kvWeb.firstFrameMs);
  measured.http_first_frame_ms = Math.round(t);
  check("loads from http://127.0.0.1 and shows its first frame", true, `first frame ${t.toFixed(0)} ms`);
  const fitted = await page.evaluate(() => kvWeb.zoom);
  await page.click("#zoomin");
  // The picture is now larger than the window: back to its top-left corner, as a user scrolls.
  const zoom = await page.evaluate(() => { scrollTo(0, 0); return kvWeb.zoom; });
  await click(page, 25, 25);
  await waitTicks(page, 1);
  check("zoomed in on a 2x screen: a click lands on ALIM", zoom === fitted + 1 &&
        (await count(page, alimLabel, green)) > 20, `zoom ${fitted} (fit) -> ${zoom}`);
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
  server.close();
}

// 3. Touch on a phone-sized screen: a tap is a left click, a long press a right click.
{
  const phone = { width: 412, height: 915, deviceScaleFactor: 2.625, isMobile: true, hasTouch: true };
  const page = await open("file://" + indexPath, phone);
  const [x, y] = await pointOf(page, 25, 25);
  await page.touchscreen.tap(x, y);
  await waitTicks(page, 1);
  check("tap on ALIM acts as a left click", (await count(page, alimLabel, green)) > 20);
  await page.touchscreen.touchStart(x, y);
  await sleep(250);
  const ringShown = await page.evaluate(() => getComputedStyle(document.getElementById("ring")).display);
  const early = await count(page, alimLabel, green);
  await sleep(450);
  await page.touchscreen.touchEnd();
  await waitTicks(page, 1);
  check("long press on ALIM: the ring shows, then a right click", ringShown === "block" && early > 20 &&
        (await count(page, alimLabel, red)) > 20, `ring ${ringShown} at 250 ms`);
  const menus = await page.evaluate(() => kvMenus);
  check("long press opens no context menu", menus.every(p => p), `${menus.length} contextmenu event(s)`);
  const shown = await page.evaluate(() => document.getElementById("canvas").getBoundingClientRect().width);
  check("on a phone held upright the picture fills the page's width", shown >= 412 - 16 - 1 && shown <= 412,
        `${shown.toFixed(1)} CSS px of 412`);
  // The buttons for the picture's actions are proper touch targets.
  const targets = await page.$$eval("#actions button", bs => bs.map(b => b.getBoundingClientRect())
    .map(r => Math.min(r.width, r.height)));
  check("on a touch screen the picture's buttons are 44 CSS px or more each way", targets.length === 8 &&
        targets.every(d => d >= 44), targets.map(d => d.toFixed(0)).join(", "));
  // The screenshot: supply, a coil and the rotor on, after a second of running.
  await page.touchscreen.tap(x, y);
  for (const [cx, cy] of [[100, 300], [260, 290]]) {
    const [px, py] = await pointOf(page, cx, cy);
    await page.touchscreen.tap(px, py);
  }
  await waitTicks(page, 40);
  await page.screenshot({ path: path.join(outDir, "web-phone.png") });
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

// 4. The language: ?lang=en changes the brake box's label, French stays the default; the switch
// keeps the run, and the page's texts are in one language, the one chosen.
const brakeBox = [236, 441, 275, 490];
function regionHash(page, rect) {
  return page.evaluate(rect => {
    const [l, t, r, b] = rect;
    const d = document.getElementById("canvas").getContext("2d").getImageData(l, t, r - l, b - t).data;
    let h = 2166136261;
    for (let i = 0; i < d.length; i++) h = Math.imul(h ^ d[i], 16777619) >>> 0;
    return h;
  }, rect);
}
const pageText = page => page.evaluate(() => ({ lang: document.documentElement.lang, title: document.title,
                                               text: document.body.innerText }));
{
  const hashes = {};
  for (const query of ["", "?lang=fr", "?lang=en"]) {
    const page = await open("file://" + indexPath + query);
    await waitTicks(page, 2); // the first frame may come before the whole picture is drawn
    hashes[query] = { brake: await regionHash(page, brakeBox), disc: await regionHash(page, disc),
                      red: await count(page, alimLabel, red), ...(await pageText(page)) };
    if (query === "") {
      // The switch keeps the run: the supply stays on, the Ticks go on, the address is the same.
      await click(page, 25, 25);
      await waitTicks(page, 10);
      const before = await ticks(page), url = page.url();
      await page.click("#lang-en");
      await waitTicks(page, 3);
      hashes.switched = { url: page.url(), before, after: await ticks(page), brake: await regionHash(page, brakeBox),
                          green: await count(page, alimLabel, green), sameUrl: page.url() === url,
                          pressed: await page.$eval("#lang-en", b => b.getAttribute("aria-pressed")),
                          ...(await pageText(page)) };
      hashes.switched.errors = page.kvErrors.join("; ");
    }
    await page.close();
  }
  const french = ["Mode d'emploi", "Commandes de l'image", "L'image montre", "Plein écran"];
  const english = ["How to use", "Picture controls", "The picture shows", "Full screen"];
  const only = (p, yes, no) => yes.every(w => p.text.includes(w)) && no.every(w => !p.text.includes(w));
  check("default language: French, the picture as with ?lang=fr, the page's texts in French only",
        hashes[""].brake === hashes["?lang=fr"].brake && hashes[""].red > 20 && hashes[""].lang === "fr" &&
        only(hashes[""], french, english));
  check("?lang=en: another brake label, the motor drawn as before, the supply's label red, the page in English only",
        hashes["?lang=en"].brake !== hashes[""].brake && hashes["?lang=en"].disc === hashes[""].disc &&
        hashes["?lang=en"].red > 20 && hashes["?lang=en"].lang === "en" && only(hashes["?lang=en"], english, french),
        JSON.stringify({ brake: [hashes[""].brake, hashes["?lang=en"].brake], lang: hashes["?lang=en"].lang }));
  const sw = hashes.switched;
  check("EN button: no reload, the run goes on (supply on, Ticks counting), picture and page in English",
        sw.sameUrl && sw.after > sw.before && sw.green > 20 && sw.brake === hashes["?lang=en"].brake &&
        sw.pressed === "true" && sw.lang === "en" && sw.title === hashes["?lang=en"].title &&
        only(sw, english, french) && sw.errors === "",
        `${sw.url}: Ticks ${sw.before} -> ${sw.after}, lang ${sw.lang} ${sw.errors}`);
}

// 5. Downloads and the readout, on a page paused after a run with no input, so that its data is
// korveline-script's trace of a run of as many Ticks.
{
  const downloads = path.resolve(outDir, "downloads");
  fs.rmSync(downloads, { recursive: true, force: true });
  fs.mkdirSync(downloads, { recursive: true });
  const page = await open("file://" + indexPath);
  const cdp = await page.createCDPSession();
  await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads });
  async function download(button, ext) {
    const before = new Set(fs.readdirSync(downloads));
    await page.click(button);
    for (let i = 0; i < 100; i++) {
      const done = fs.readdirSync(downloads).filter(f => !before.has(f) && f.endsWith("." + ext));
      if (done.length) return path.join(downloads, done[0]);
      await sleep(100);
    }
    return null;
  }
  await waitTicks(page, 30);
  await page.click("#pause");
  await sleep(200);
  const pausedTicks = await ticks(page);

  const png = await download("#png", "png");
  const same = png && await page.evaluate(async bytes => {
    const blob = new Blob([Uint8Array.from(atob(bytes), c => c.charCodeAt(0))], { type: "image/png" });
    const bitmap = await createImageBitmap(blob);
    const c = document.getElementById("canvas");
    if (bitmap.width !== c.width || bitmap.height !== c.height) return `${bitmap.width}x${bitmap.height}`;
    const off = new OffscreenCanvas(c.width, c.height), o = off.getContext("2d");
    o.drawImage(bitmap, 0, 0);
    const a = o.getImageData(0, 0, c.width, c.height).data;
    const b = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
    let differ = 0;
    for (let i = 0; i < a.length; i++) differ += a[i] !== b[i];
    return differ;
  }, fs.readFileSync(png).toString("base64"));
  check("PNG download: the canvas's pixels exactly", same === 0, `${png && path.basename(png)}: ${same} bytes differ`);

  // The French page writes the data as French spreadsheets read it; in English, as the trace.
  const readLines = file => file ? fs.readFileSync(file, "latin1").trimEnd().split("\n") : [];
  const frenchCsv = await download("#csv", "csv");
  const frenchLines = readLines(frenchCsv);
  // The next one may come within the same second, under the same name: this one makes way.
  if (frenchCsv) fs.rmSync(frenchCsv);
  await page.click("#lang-en");
  await sleep(300);
  const lines = readLines(await download("#csv", "csv"));
  await page.click("#lang-fr");
  await sleep(300);
  const script = path.join(outDir, "trace.kvs"), trace = path.join(outDir, "trace-native.csv");
  fs.writeFileSync(script, `trace ${trace}\ntick ${pausedTicks}\n`);
  execFileSync(nativeScript, [script]);
  const native = fs.readFileSync(trace, "latin1").trimEnd().split("\n");
  const firstDiff = lines.findIndex((l, i) => l !== native[i]);
  check("CSV download in English: the header and one row per Tick, korveline-script's trace of the same run",
        lines.length === pausedTicks + 1 && native.length === lines.length && firstDiff === -1,
        `${lines.length - 1} rows for ${pausedTicks} Ticks; native ${native.length - 1} rows` +
        (firstDiff >= 0 ? `; line ${firstDiff + 1} differs` : ""));
  // Each French cell reads back, its decimal comma a point, to the trace's number to the 15
  // digits a spreadsheet keeps; a word stays the word.
  const frenchDiff = frenchLines.findIndex((l, i) => {
    const f = l.split(";"), p = (native[i] || "").split(",");
    return l.includes(".") || f.length !== p.length || f.some((cell, c) => {
      const read = Number(cell.replace(",", "."));
      if (cell === "" || Number.isNaN(read)) return cell !== p[c];
      return cell === "-0" || Math.abs(read - Number(p[c])) > 1e-14 * Math.abs(Number(p[c]));
    });
  });
  check("CSV download in French: ';' and decimal commas, the same numbers as the trace",
        frenchLines.length === native.length && frenchLines.length > 2 && frenchDiff === -1,
        `${frenchLines.length - 1} rows; ` + (frenchDiff >= 0 ? `line ${frenchDiff + 1}: ${frenchLines[frenchDiff]}` : ""));

  // The readout: off by default, beside the picture, never in it; its numbers are the data's.
  const frozen = await canvasHash(page);
  const shown = () => page.$eval("#readout", r => !r.hidden && r.getBoundingClientRect().width > 0);
  const hiddenAtFirst = !(await shown());
  await page.focus("#canvas");
  await page.keyboard.press("i");
  const rows = await page.$$eval("#readout tr", trs => trs.map(tr => tr.innerText.replace(/\s+/g, " ").trim()));
  const last = (lines[lines.length - 1] || "").split(","), header = (lines[0] || "").split(",");
  const field = name => +last[header.indexOf(name)];
  // In the page's language, French here: slip in % with a decimal comma, accents as they are written;
  // averaged over the last supply period (a row of its own heads the averages), which the rotor at
  // rest spent at rest.
  const slip = rows.find(r => r.startsWith("Glissement")) || "";
  const percent = (100 * field("slip")).toFixed(2).replace(".", ",");
  check("key I shows the readout beside the picture: speed, slip, torques, colours",
        hiddenAtFirst && (await shown()) && rows.length === 22 && slip === `Glissement ${percent} %` &&
        rows.includes("Moyennes sur une p\u00e9riode 100 pas de temps (20,0 ms)") &&
        rows.some(r => r.startsWith("Couple r\u00e9sistant")) && rows.some(r => r.startsWith("Forces")),
        rows.join(" | "));
  await page.click("#readout-button");
  check("the readout button hides it; the picture never changed", !(await shown()) &&
        (await canvasHash(page)) === frozen);
  // Shown while Ticks run, it follows them.
  await page.focus("#canvas");
  await page.keyboard.press("I");
  await page.click("#pause");
  await waitTicks(page, 5);
  await page.click("#pause");
  const readoutTitle = await page.$eval("#readout h2", h => h.textContent);
  check("the readout follows the running Ticks", (await shown()) && readoutTitle === "Couples en unit\u00e9s du trac\u00e9" &&
        (await page.$$eval("#readout tr", trs => trs.length)) === 22);
  await page.focus("#canvas");
  await page.keyboard.press("i");

  // Recording, paused with the supply and the rotor on, then stepping: the GIF's first frame is the picture when it started, its
  // last (frames composed) the picture when it stopped.
  const picture = () => page.evaluate(() => {
    const c = document.getElementById("canvas");
    return Array.from(c.getContext("2d").getImageData(0, 0, c.width, c.height).data);
  });
  await click(page, 25, 25);
  await click(page, 260, 290);
  await sleep(200);
  const atStart = await picture();
  await page.click("#record");
  for (let i = 0; i < 3; i++) {
    await page.click("#step");
    await sleep(200);
  }
  const atStop = await picture();
  const gif = await download("#record", "gif");
  const bytes = gif ? fs.readFileSync(gif) : Buffer.alloc(0);
  // The frames: their count and delays, walking the file's blocks past the colour tables.
  const delays = [], table = packed => packed & 0x80 ? 3 << ((packed & 7) + 1) : 0;
  let at = 13 + table(bytes[10]), frames = 0, comment = "";
  while (at < bytes.length && bytes[at] !== 0x3b) {
    if (bytes[at] === 0x21) {
      const label = bytes[at + 1];
      if (label === 0xf9) delays.push(bytes.readUInt16LE(at + 4));
      at += 2;
      for (let b = at; label === 0xfe && bytes[b]; b += bytes[b] + 1)
        comment += bytes.toString("latin1", b + 1, b + 1 + bytes[b]);
    } else {
      frames++;
      at += 11 + table(bytes[at + 9]);
    }
    while (bytes[at]) at += bytes[at] + 1;
    at++;
  }
  const frameDiffers = bytes.length === 0 ? [] : await page.evaluate(async (b64, expected) => {
    const data = Uint8Array.from(atob(b64), c => c.charCodeAt(0));
    const decoder = new ImageDecoder({ data, type: "image/gif" });
    await decoder.tracks.ready;
    const count = decoder.tracks.selectedTrack.frameCount, result = [];
    for (const [index, want] of [[0, expected[0]], [count - 1, expected[1]]]) {
      const frame = (await decoder.decode({ frameIndex: index })).image;
      const off = new OffscreenCanvas(frame.displayWidth, frame.displayHeight), o = off.getContext("2d");
      o.drawImage(frame, 0, 0);
      frame.close();
      const got = o.getImageData(0, 0, off.width, off.height).data;
      let differ = got.length === want.length ? 0 : -1;
      for (let i = 0; differ >= 0 && i < got.length; i++) differ += got[i] !== want[i];
      result.push(differ);
    }
    return result;
  }, bytes.toString("base64"), [atStart, atStop]);
  check("GIF: a frame a Tick, the pictures at its start and its end exactly",
        bytes.toString("latin1", 0, 6) === "GIF89a" && frames === 4 && delays.every(d => d === 5) &&
        frameDiffers[0] === 0 && frameDiffers[1] === 0,
        `${gif && path.basename(gif)}: ${bytes.length} bytes, ${frames} frames, delays ${delays}, ` +
        `bytes differing in the first and last frames ${frameDiffers}`);
  check("GIF: its comment names the laboratory's settings",
        comment === "KORVELINE, laboratory settings: order=direct open=none frequency=100 voltage=100 " +
                    "resistance=1 load=constant poles=1 plot=motor", JSON.stringify(comment));
  measured.gif_bytes_3_ticks = bytes.length;
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

// 6. Full screen on a 1920 x 1080 projector: the picture fills the screen's height, enlarged by a
// factor that need not be whole, and a click still lands on ALIM. At 1 device pixel per CSS pixel
// (smooth scaling from the picture itself) and at 2 (whole pixels first, then smooth scaling).
for (const deviceScaleFactor of [1, 2]) {
  const page = await open("file://" + indexPath, { width: 1920, height: 1080, deviceScaleFactor });
  await page.click("#full");
  await page.waitForFunction(() => document.fullscreenElement !== null, { timeout: 5000 });
  // The fit follows the resize in steps: wait for the last one (the check says where it stopped).
  await page.waitForFunction(() => document.getElementById("canvas").getBoundingClientRect().height >= 972,
                             { timeout: 5000 }).catch(() => {});
  const shown = await page.evaluate(() => {
    const r = document.getElementById("canvas").getBoundingClientRect();
    return { width: r.width, height: r.height, screen: innerHeight, device: kvWeb.zoom };
  });
  await click(page, 25, 25);
  await waitTicks(page, 1);
  const greenLabel = await count(page, alimLabel, green);
  measured[`fullscreen_height_percent_dpr${deviceScaleFactor}`] = +(100 * shown.height / 1080).toFixed(1);
  if (deviceScaleFactor === 1) await page.screenshot({ path: path.join(outDir, "web-fullscreen.png") });
  check(`full screen at 1920x1080, ${deviceScaleFactor} device pixel(s) a CSS pixel: the picture fills ` +
        "90 % of the height or more, and a click lands on ALIM",
        shown.height >= 0.9 * 1080 && shown.screen === 1080 && greenLabel > 20,
        `${shown.width.toFixed(0)} x ${shown.height.toFixed(0)} CSS px (x${shown.device.toFixed(3)} in ` +
        `device pixels), ${greenLabel} green pixels in the label`);
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

// 7. The browser's own zoom: Ctrl + is left to the browser, and zooming the page (at 200 %: half the
// CSS pixels, twice the device pixels per CSS pixel) enlarges the picture with it; clicks still land.
{
  const page = await open("file://" + indexPath, { width: 1000, height: 800 });
  const width = () => page.evaluate(() => document.getElementById("canvas").getBoundingClientRect().width);
  const before = await width();
  const prevented = await page.evaluate(() => {
    const e = new KeyboardEvent("keydown", { key: "+", ctrlKey: true, cancelable: true });
    document.dispatchEvent(e);
    return e.defaultPrevented;
  });
  await page.setViewport({ width: 500, height: 400, deviceScaleFactor: 2 });
  await page.waitForFunction(() => devicePixelRatio === 2);
  await sleep(200);
  const after = await width();
  await click(page, 25, 25);
  await waitTicks(page, 1);
  check("the browser's zoom works: Ctrl + is the browser's, and the picture keeps its size in CSS pixels",
        !prevented && before === 780 && after === before && (await count(page, alimLabel, green)) > 20,
        `Ctrl + ${prevented ? "" : "not "}taken from the browser; ${before} CSS px wide at 100 %, ${after} at 200 %`);
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

// 9. The laboratory from the address: good settings reach the program and its controls, a bad value
// or name is told in the page, as text, and leaves that setting at its default; the link
// reproduces the set-up.
{
  const query = "?order=reversed&frequency=50&voltage=500&%3Cb%3Ebold%3C%2Fb%3E=1" +
                "&supply=on&show=left,rotor,middle&brake=1.5";
  const page = await open("file://" + indexPath + query, { width: 1366, height: 768 });
  await waitTicks(page, 5);
  await sleep(300);
  const start = await page.evaluate(() => ({
    pressed: ["alim", "coil1", "coil2", "coil3", "rotor"].map(n => document.getElementById("act-" + n).getAttribute("aria-pressed")),
    brake: document.getElementById("brake-number").textContent }));
  const lab = await page.evaluate(() => ({
    settings: Object.entries(kvWeb.ask("settings")).map(p => p.join("=")).join(" "),
    controls: ["order", "open", "frequency", "voltage"].map(n => document.getElementById("lab-" + n).value),
    labels: Array.from(document.querySelectorAll("#lab-form label")).map(l => l.textContent),
    message: document.getElementById("lab-message").textContent,
    messageElements: document.getElementById("lab-message").children.length,
    bold: document.querySelectorAll("b").length,
    link: document.getElementById("link").value,
    open: document.getElementById("lab").open,
  }));
  check("?order=reversed&frequency=50: set in the program and shown in labelled controls",
        lab.settings === "order=reversed open=none frequency=50 voltage=100 resistance=1 load=constant poles=1 plot=motor" &&
        lab.controls.join() === "reversed,none,50,100" && lab.labels.length === 23 && lab.labels.every(l => l),
        `${lab.settings}; controls ${lab.controls}`);
  check("a value out of range and an unknown name: a visible message, as text, the default kept",
        lab.open && lab.message.includes("voltage=500") && lab.message.includes("<b>bold</b>") &&
        lab.message.includes("show=middle") && lab.messageElements === 0 && lab.bold === 0, JSON.stringify(lab.message));
  check("supply=on, show=left,rotor and brake=1.5 played as clicks: the buttons' states and the brake",
        start.pressed.join() === "true,true,false,false,true" && start.brake === "1,5", JSON.stringify(start));
  check("the link reproduces the set-up, and only the good settings",
        lab.link.endsWith("index.html?order=reversed&frequency=50&supply=on&show=left%2Crotor&brake=1.5"), lab.link);
  // A control: the program takes its value at once; a bad one is refused with a message.
  await page.select("#lab-open", "1");
  const opened = await page.evaluate(() => Object.entries(kvWeb.ask("settings")).map(p => p.join("=")).join(" "));
  await page.$eval("#lab-resistance", e => { e.value = "9"; e.dispatchEvent(new Event("change")); });
  const refused = await page.evaluate(() => ({ settings: Object.entries(kvWeb.ask("settings")).map(p => p.join("=")).join(" "),
    message: document.getElementById("lab-message").textContent, value: document.getElementById("lab-resistance").value }));
  check("lab controls: open=1 reaches the program; resistance 9 is refused, told, and the control shows 1 again",
        opened.includes("open=1") && refused.settings.includes("resistance=1 ") && refused.value === "1" &&
        refused.message.includes("0,25"), `${opened}; ${JSON.stringify(refused)}`);
  // The refusal is told again in the language switched to.
  await page.click("#lang-en");
  const refusedInEnglish = await page.$eval("#lab-message", m => m.textContent);
  await page.click("#lang-fr");
  check("a refused control's message follows the language",
        refusedInEnglish.startsWith("Rotor resistance") && refusedInEnglish.includes("value refused") &&
        refusedInEnglish.includes("0.25"), refusedInEnglish);
  await page.screenshot({ path: path.join(outDir, "lab-panel-page.png") });
  // The arrow keys and the field's own arrows step a number as the window's panel does: the
  // frequency by tens, the resistance doubled or halved.
  const stepped = [];
  for (const [id, key] of [["#lab-frequency", "ArrowUp"], ["#lab-resistance", "ArrowUp"],
                           ["#lab-resistance", "ArrowUp"], ["#lab-resistance", "ArrowDown"]]) {
    await page.focus(id);
    await page.keyboard.press(key);
    stepped.push(await page.$eval(id, e => e.value));
  }
  const spin = await page.$eval("#lab-resistance", e => { const b = e.getBoundingClientRect(); return [b.right, b.top, b.height]; });
  await page.mouse.click(spin[0] - 8, spin[1] + spin[2] * 0.3); // the field's up arrow
  stepped.push(await page.$eval("#lab-resistance", e => e.value));
  const stepSettings = await page.evaluate(() => Object.entries(kvWeb.ask("settings")).map(p => p.join("=")).join(" "));
  const steps = await page.$$eval("#lab-frequency, #lab-voltage, #lab-resistance", es => es.map(e => e.step));
  check("lab steps: the panel's (frequency 50 -> 60, resistance 1 -> 2 -> 4 -> 2 by the keys, -> 4 by the field's arrow), in the program",
        stepped.join() === "60,2,4,2,4" && stepSettings.includes("frequency=60 ") && stepSettings.includes("resistance=4 ") &&
        steps.join() === "10,10,any", `${stepped}; ${stepSettings}; steps ${steps}`);
  // The desktop's Lab key opens the page's own panel, its first control focused.
  await page.evaluate(() => { document.getElementById("lab").open = false; });
  await page.focus("#canvas");
  await page.keyboard.press("F2");
  await sleep(100);
  const byKey = await page.evaluate(() => ({ open: document.getElementById("lab").open, focused: document.activeElement.id }));
  check("F2 opens the Lab panel and focuses its first control", byKey.open && byKey.focused === "lab-order",
        JSON.stringify(byKey));
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

// 9b. A driving load from the address: its brake below zero played as right clicks, the
// four-quadrant plot chosen in its control, and the link that gives them back.
{
  const page = await open("file://" + indexPath + "?load=driving&plot=four-quadrants&supply=on&brake=-2.5",
                          { width: 1366, height: 768 });
  await waitTicks(page, 5);
  await sleep(300);
  const got = await page.evaluate(() => ({
    brake: document.getElementById("brake-number").textContent,
    load: document.getElementById("lab-load").value,
    plot: document.getElementById("lab-plot").value,
    plotWords: Array.from(document.getElementById("lab-plot").options).map(o => o.textContent),
    link: document.getElementById("link").value,
  }));
  check("?load=driving&brake=-2.5: the brake below zero, the four-quadrant plot in its control, the link",
        got.brake === "-2,5" && got.load === "driving" && got.plot === "four-quadrants" &&
        got.plotWords.join() === "moteur,quatre quadrants" &&
        got.link.endsWith("index.html?load=driving&plot=four-quadrants&supply=on&brake=-2.5"), JSON.stringify(got));
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

// 10. The buttons for the picture's actions play the mouse's clicks: their state in aria-pressed,
// the picture changed; Space on a focused button presses it and never pauses.
{
  const page = await open("file://" + indexPath, { width: 1366, height: 768 });
  const pressed = id => page.$eval(id, b => b.getAttribute("aria-pressed"));
  const before = await pressed("#act-alim");
  await page.click("#act-alim");
  await waitTicks(page, 2);
  await sleep(300);
  check("ALIM button: aria-pressed false -> true, the picture's label green",
        before === "false" && (await pressed("#act-alim")) === "true" && (await count(page, alimLabel, green)) > 20);
  await page.focus("#act-rotor");
  await page.keyboard.press("Space");
  await waitTicks(page, 20);
  await sleep(300);
  const resultant = await count(page, disc, black), forces = await count(page, disc, yellow);
  check("Space on the rotor button: pressed, resultant and forces drawn, the run not paused",
        (await pressed("#act-rotor")) === "true" && resultant > 60 && forces > 30 &&
        !(await page.evaluate(() => kvWeb.paused)), `${resultant} black, ${forces} yellow`);
  await page.click("#act-coil1");
  await page.click("#act-brake-plus");
  await page.click("#act-brake-plus");
  await waitTicks(page, 2);
  await sleep(300);
  const line = await count(page, [470, 172, 770, 173], black);
  check("coil button pressed; brake + twice: 1,0 shown and the line at y = 172",
        (await pressed("#act-coil1")) === "true" && (await page.$eval("#brake-number", e => e.textContent)) === "1,0" &&
        line === 300, `${line} of 300 pixels black`);
  await page.click("#act-alim");
  await sleep(400);
  check("ALIM again: off, aria-pressed false, the label red",
        (await pressed("#act-alim")) === "false" && (await count(page, alimLabel, red)) > 20);
  const sizes = await page.$$eval("#actions button", bs => bs.map(b => b.getBoundingClientRect().height));
  check("the picture's buttons: eight, each at least 24 CSS px tall", sizes.length === 8 && sizes.every(h => h >= 24),
        sizes.map(h => h.toFixed(0)).join(", "));
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

// 11. The live region, in English: what a click changed, then the speed, never twice within 2 s,
// and nothing while nothing changes.
{
  const page = await open("file://" + indexPath + "?lang=en", { width: 1366, height: 768 });
  await page.evaluate(() => {
    window.kvHeard = [];
    new MutationObserver(() => kvHeard.push([performance.now(), document.getElementById("announce").textContent]))
      .observe(document.getElementById("announce"), { childList: true, characterData: true, subtree: true });
  });
  await sleep(3000);
  const quiet = await page.evaluate(() => kvHeard.length);
  await page.click("#act-alim");
  await sleep(2500);
  await page.click("#act-brake-plus");
  await page.click("#act-raz");
  await sleep(8000);
  const heard = await page.evaluate(() => kvHeard);
  const texts = heard.map(h => h[1]);
  const gaps = heard.slice(1).map((h, i) => h[0] - heard[i][0]);
  check("live region: quiet at rest, then \"Supply on.\", the brake, the plot cleared, and the speed as a share of synchronous speed, in English",
        quiet === 0 && texts.some(t => t.includes("Supply on.")) && texts.some(t => t.includes("Brake at 0.5.")) &&
        texts.some(t => t.includes("Plot cleared.")) &&
        texts.some(t => /Rotor at \d+\.\d % of synchronous speed, slip \d+\.\d %/.test(t)) &&
        texts.every(t => !t.includes("Rotor à")), texts.join(" | "));
  // The observer runs a moment after each write (within a few ms, behind other work of the page).
  check("live region: at most one text every 2 s", heard.length >= 3 && gaps.every(g => g >= 1990),
        `${heard.length} texts, gaps ${gaps.map(g => g.toFixed(0)).join(", ")} ms`);
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

// 12. axe-core, in both languages, with the laboratory and the readout open: the WCAG 2.1 A and AA
// rules and axe's best practices (contrast of the page's texts and controls among them).
{
  const axePath = path.resolve(path.dirname(new URL(import.meta.url).pathname), "node_modules/axe-core/axe.min.js");
  for (const query of ["", "?lang=en"]) {
    const page = await open("file://" + indexPath + query, { width: 1366, height: 768 });
    await page.click("#readout-button");
    await page.evaluate(() => { document.getElementById("lab").open = true; });
    await page.addScriptTag({ path: axePath });
    const result = await page.evaluate(async () => {
      const r = await axe.run(document, { runOnly: { type: "tag",
        values: ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "best-practice"] } });
      return { version: axe.version, passes: r.passes.length,
               violations: Object.fromEntries(r.violations.map(v => [v.id, v.nodes.length])) };
    });
    measured[`axe_violations${query || "_fr"}`] = result.violations;
    check(`axe-core ${result.version} ${query || "(French)"}: no violation with the lab and readout open`,
          Object.keys(result.violations).length === 0 && result.passes > 20,
          `${result.passes} rules passed; violations by rule ${JSON.stringify(result.violations)}`);
    await page.close();
  }
}

// 13. The looks: ?look=projector draws the picture in it from the start, the control changes it while
// the run goes on; an unknown look is told and the picture keeps its own.
{
  const background = [20, 120, 60, 160]; // the window's background, left of the left coil
  const hashOf = async query => {
    const page = await open("file://" + indexPath + query);
    await waitTicks(page, 2);
    const result = { hash: await regionHash(page, background), look: await page.$eval("#look", s => s.value),
                     message: await page.$eval("#lab-message", m => m.textContent) };
    return [page, result];
  };
  const [plain, original] = await hashOf("");
  await plain.close();
  const [bad, unknown] = await hashOf("?look=pink&lang=de");
  await bad.close();
  const [page, projector] = await hashOf("?look=projector");
  await page.select("#look", "default");
  await waitTicks(page, 3);
  const back = await regionHash(page, background), ticking = await ticks(page);
  check("?look=projector: the control shows it and the picture differs; choosing the original look brings it back",
        projector.look === "projector" && projector.hash !== original.hash && back === original.hash && ticking > 3,
        JSON.stringify({ original, projector, back }));
  check("?look=pink&lang=de: both told in the page, the original look and French kept",
        unknown.hash === original.hash && unknown.look === "default" && unknown.message.includes("look=pink") &&
        unknown.message.includes("lang=de") && unknown.message.includes("refusé"),
        unknown.message);
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

// 15. The keyboard alone. Tab from the page's start takes the picture, its ring on ALIM; Enter and
// Shift Enter click ALIM, Tab four times reaches the rotor; the ring lies over the canvas, never in
// it; Tab past "R à Z" goes on to the page's controls, Shift Tab comes back onto "R à Z". Single
// keys act only while the picture has the focus.
{
  const page = await open("file://" + indexPath);
  const focused = () => page.evaluate(() => document.activeElement && document.activeElement.id);
  // The ring's box over the canvas, in client pixels (none: hidden).
  const ring = () => page.evaluate(() => {
    const r = document.getElementById("focus-ring"), c = document.getElementById("canvas");
    if (r.hidden) return null;
    const b = r.getBoundingClientRect(), cb = c.getBoundingClientRect(), s = c.width / cb.width;
    return [(b.left - cb.left) * s, (b.top - cb.top) * s, (b.right - cb.left) * s, (b.bottom - cb.top) * s];
  });
  // Around the region [l, t, r, b): outside it, and no more than 6 pixels out.
  const around = (box, [l, t, r, b]) => box !== null && box[0] <= l && box[1] <= t && box[2] >= r &&
    box[3] >= b && box[0] >= l - 6 && box[1] >= t - 6 && box[2] <= r + 6 && box[3] <= b + 6;
  const shiftPress = async key => {
    await page.keyboard.down("Shift");
    await page.keyboard.press(key);
    await page.keyboard.up("Shift");
  };
  await page.keyboard.press("Tab");
  const tabbedIn = await focused(), onAlim = around(await ring(), [1, 1, 50, 50]);
  await page.keyboard.press("Enter");
  await waitTicks(page, 1);
  const on = (await count(page, alimLabel, green)) > 20;
  await shiftPress("Enter");
  await waitTicks(page, 1);
  const off = (await count(page, alimLabel, red)) > 20 && (await count(page, alimLabel, green)) === 0;
  check("Tab takes the picture with its ring on ALIM; Enter switches the supply on, Shift Enter off",
        tabbedIn === "canvas" && onAlim && on && off, `focus on ${tabbedIn}, ring ${await ring()}`);
  await page.keyboard.press("Enter");
  for (let i = 0; i < 4; i++) await page.keyboard.press("Tab");
  const rotorRing = await ring();
  await page.keyboard.press("Enter");
  await waitTicks(page, 30);
  const resultant = await count(page, disc, black), forces = await count(page, disc, yellow);
  check("Tab four times rings the rotor; Enter shows the resultant and the forces",
        around(rotorRing, [161, 191, 360, 390]) && resultant > 60 && forces > 30,
        `ring ${rotorRing}; ${resultant} black, ${forces} yellow pixels in the disc`);
  const ringColour = await count(page, [150, 180, 370, 400], [255, 210, 0]);
  check("the ring is over the canvas, never in its pixels", ringColour === 0, `${ringColour} ring pixels`);
  for (let i = 0; i < 2; i++) await page.keyboard.press("Tab");
  const onReset = around(await ring(), [741, 344, 780, 355]);
  await page.keyboard.press("Tab");
  const leftFor = await focused(), ringAfter = await ring();
  await shiftPress("Tab");
  const backIn = await focused(), backOnReset = around(await ring(), [741, 344, 780, 355]);
  check("Tab past R à Z goes on to the page's controls, Shift Tab comes back onto R à Z",
        onReset && leftFor !== "canvas" && ringAfter === null && backIn === "canvas" && backOnReset,
        `after R à Z the focus is on ${leftFor}; back on ${backIn}`);
  await page.focus("#pause");
  await page.keyboard.press("i");
  const readoutOff = await page.$eval("#readout", r => r.hidden);
  await page.focus("#canvas");
  await page.keyboard.press("i");
  const readoutOn = !(await page.$eval("#readout", r => r.hidden));
  check("single keys act only while the picture has the focus", readoutOff && readoutOn);
  // L and A from the picture: the page's language and look follow, and the run goes on.
  const ticking = await ticks(page);
  await page.keyboard.press("l");
  await page.keyboard.press("a");
  await page.waitForFunction(() => document.documentElement.lang === "en" &&
                             document.getElementById("look").value === "colour-vision", { timeout: 5000 })
    .catch(() => {});
  const [lang, look] = await page.evaluate(() => [document.documentElement.lang, document.getElementById("look").value]);
  check("L and A on the picture: the page in English and in the colour-vision look, the run going on",
        lang === "en" && look === "colour-vision" && (await ticks(page)) > ticking, `lang ${lang}, look ${look}`);
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

// 14. The layout: the whole picture on screen at 1366x768, 1280x720 and 1024x768; at 1024x768 the
// toolbar too, with the readout shown, and no button moves when Pause becomes Resume; at 320 CSS px
// the page fits its width.
for (const [width, height] of [[1366, 768], [1280, 720], [1024, 768], [320, 640]]) {
  const page = await open("file://" + indexPath, { width, height });
  await page.click("#readout-button");
  await sleep(200);
  const places = () => page.evaluate(() => Object.fromEntries(["canvas", "toolbar", "readout", ...Array.from(
    document.querySelectorAll("#toolbar button"), b => b.id)].map(id => [id, document.getElementById(id).getBoundingClientRect().toJSON()])));
  const before = await places();
  await page.click("#pause");
  await sleep(300);
  const after = await places();
  await page.click("#pause");
  const scroll = await page.evaluate(() => [document.documentElement.scrollWidth, innerWidth]);
  const moved = Object.keys(before).filter(id => id !== "readout" && (before[id].left !== after[id].left || before[id].top !== after[id].top));
  const name = `${width}x${height}`;
  if (width === 320) {
    await page.screenshot({ path: path.join(outDir, "page-320.png"), fullPage: true });
    check("at 320 CSS px: nothing wider than the page, the picture within it",
          scroll[0] <= scroll[1] && before.canvas.right <= width, `${scroll[0]} px of content, picture ${before.canvas.width.toFixed(0)} px`);
  } else {
    if (width === 1024) await page.screenshot({ path: path.join(outDir, "page-1024x768.png") });
    check(`${name}: the whole picture on screen` + (width === 1024 ? ", the toolbar and the readout too, and no button moves" : ""),
          before.canvas.bottom <= height && before.canvas.right <= width &&
          (width !== 1024 || (before.toolbar.bottom <= height && before.readout.width > 0 && moved.length === 0)),
          `picture to y = ${before.canvas.bottom}, toolbar to y = ${before.toolbar.bottom}; moved: ${moved.join(", ") || "none"}`);
  }
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

// 16. The 800x600 screenshot.
{
  const page = await open("file://" + indexPath, { width: 800, height: 600 });
  for (const [cx, cy] of [[25, 25], [100, 300], [260, 290]]) await click(page, cx, cy);
  await click(page, 250, 465);
  await waitTicks(page, 40);
  await page.screenshot({ path: path.join(outDir, "web-800x600.png") });
  await page.close();
}

// 17. The plot's layer: the steady curve (its button, off at start) and the plot's scales (with the
// readout) lie in a canvas of their own over the picture's, whose pixels stay the application's,
// shown or not. The curve is measured between Ticks, a slice at a time: the time until it shows and
// the main thread's longest task meanwhile are measured. Then the docs' screenshot: at steady state
// under brake 5, the readout and the curve shown.
{
  const page = await open("file://" + indexPath + "?supply=on&brake=5", { width: 1366, height: 768 });
  const layerPixels = () => page.evaluate(() => {
    const c = document.getElementById("layer");
    if (c.hidden || c.width === 0) return 0;
    const d = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
    let n = 0;
    for (let i = 3; i < d.length; i += 4) n += d[i] !== 0;
    return n;
  });
  const pressed = () => page.$eval("#curve", b => b.getAttribute("aria-pressed"));
  await waitTicks(page, 20);
  await page.click("#pause");
  await sleep(200);
  const before = await canvasHash(page);
  const offAtStart = (await pressed()) === "false" && (await layerPixels()) === 0;
  await page.evaluate(() => {
    window.kvLongTasks = [];
    new PerformanceObserver(list => {
      for (const e of list.getEntries()) kvLongTasks.push(e.duration);
    }).observe({ type: "longtask" });
  });
  const clicked = Date.now();
  await page.click("#curve");
  await page.waitForFunction(() => {
    const c = document.getElementById("layer");
    return !c.hidden && c.width > 0;
  }, { timeout: 5000 }).catch(() => {});
  let shownPixels = 0;
  for (let i = 0; i < 100 && shownPixels < 1000; i++) {
    shownPixels = await layerPixels();
    if (shownPixels < 1000) await sleep(20);
  }
  measured.steady_curve_shown_ms = Date.now() - clicked;
  const longTasks = await page.evaluate(() => kvLongTasks);
  measured.steady_curve_longest_task_ms = Math.max(0, ...longTasks);
  const on = await pressed();
  const withCurve = await canvasHash(page);
  await page.click("#curve");
  await sleep(300);
  check("the steady curve's button: off at start, it shows the curve over the picture and hides it again",
        offAtStart && on === "true" && shownPixels > 1000 && (await pressed()) === "false" && (await layerPixels()) === 0,
        `${shownPixels} pixels of curve, in ${measured.steady_curve_shown_ms} ms`);
  check("the picture's canvas keeps the application's pixels while the curve shows and once it has gone",
        withCurve === before && (await canvasHash(page)) === before);

  // At steady state (300 s of the screen's time: 6000 Ticks) at x8, then x1 again.
  for (let i = 0; i < 3; i++) await page.click("#faster");
  await page.click("#pause");
  await page.waitForFunction(() => kvWeb.ticks >= 6000, { timeout: 120000 });
  for (let i = 0; i < 3; i++) await page.click("#slower");
  await page.click("#readout-button");
  await page.click("#curve");
  for (let i = 0; i < 100 && (await layerPixels()) < 3000; i++) await sleep(20);
  await sleep(500);
  await page.screenshot({ path: path.join(outDir, "steady-curve-page.png") });
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

await browser.close();
fs.writeFileSync(path.join(outDir, "measurements.json"), JSON.stringify(measured, null, 2) + "\n");
console.log(JSON.stringify(measured));
console.log(failures === 0 ? "all browser checks passed" : `${failures} browser check(s) failed`);
process.exit(failures === 0 ? 0 : 1);

// The page's sound and keyboard options in headless Chromium: no AudioContext before a user's
// action, the sound button making one that plays the two hums and falls silent on pause; the
// single-key shortcuts turned off; the FR/EN buttons giving the list of keys (F1) in their language;
// the ringed part of the picture named for a screen reader.
// Prints one line per check; exits 1 when any fails.
//
//   node tests/web/sound_keys_test.mjs SITE_DIR
import path from "node:path";
import puppeteer from "puppeteer-core";

const [siteDir] = process.argv.slice(2);
if (!siteDir) {
  console.error("usage: node sound_keys_test.mjs SITE_DIR");
  process.exit(2);
}
const url = "file://" + path.resolve(siteDir, "index.html");
let failures = 0;
function check(name, ok, detail = "") {
  console.log(`${ok ? "PASS" : "FAIL"} ${name}${detail ? ": " + detail : ""}`);
  if (!ok) failures++;
}
const sleep = ms => new Promise(r => setTimeout(r, ms));

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
  headless: true,
  args: ["--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--autoplay-policy=user-gesture-required"],
});

async function open(query = "") {
  const page = await browser.newPage();
  const errors = [];
  page.on("pageerror", e => errors.push(String(e)));
  // Every AudioContext the page makes, counted from before its own script runs.
  await page.evaluateOnNewDocument(() => {
    window.kvAudioContexts = 0;
    const Made = window.AudioContext;
    window.AudioContext = class extends Made {
      constructor(...args) {
        super(...args);
        window.kvAudioContexts++;
      }
    };
  });
  await page.setViewport({ width: 1280, height: 800 });
  await page.goto(url + query, { waitUntil: "load" });
  await page.waitForFunction("window.kvWeb && kvWeb.firstFrameMs !== null", { timeout: 10000 });
  page.kvErrors = errors;
  return page;
}
const ticks = page => page.evaluate(() => kvWeb.ticks);
async function waitTicks(page, n) {
  const start = await ticks(page);
  await page.waitForFunction(t => kvWeb.ticks >= t, { timeout: 5000 }, start + n);
}

// 1. Sound.
{
  const page = await open();
  await page.click("#act-alim");
  await waitTicks(page, 20);
  const before = await page.evaluate(() => [kvAudioContexts, kvWeb.audio === null]);
  await page.click("#sound");
  await waitTicks(page, 10);
  await sleep(300);
  const playing = await page.evaluate(() => {
    const a = kvWeb.audio;
    return { made: kvAudioContexts, state: a.ctx.state, gain: a.gain, field: a.hums[0].frequency.value,
             rotor: a.hums[1].frequency.value, pressed: document.getElementById("sound").getAttribute("aria-pressed") };
  });
  check("no AudioContext before a user's action; the sound button makes one, playing the two hums",
        before[0] === 0 && before[1] && playing.made === 1 && playing.state === "running" &&
        playing.gain > 0 && Math.abs(playing.field - 220) < 0.5 && playing.rotor < playing.field &&
        playing.rotor >= 170 && playing.pressed === "true", JSON.stringify({ before, playing }));
  await page.focus("#canvas");
  await page.keyboard.press(" ");
  await sleep(400);
  const paused = await page.evaluate(() => [kvWeb.paused, kvWeb.audio.gain, kvWeb.audio.ctx.state]);
  await page.keyboard.press(" ");
  await waitTicks(page, 2);
  await sleep(100);
  const resumed = await page.evaluate(() => [kvWeb.audio.gain, kvWeb.audio.ctx.state, kvAudioContexts]);
  check("pause: the hums silent and the context suspended; resumed: playing again, the same context",
        paused[0] && paused[1] === 0 && paused[2] === "suspended" && resumed[0] > 0 &&
        resumed[1] === "running" && resumed[2] === 1, JSON.stringify({ paused, resumed }));
  await page.keyboard.press("m");
  await sleep(300);
  const off = await page.evaluate(() => [kvWeb.audio.gain, kvWeb.audio.ctx.state,
                                         document.getElementById("sound").getAttribute("aria-pressed")]);
  check("key M turns the sound off", off[0] === 0 && off[1] === "suspended" && off[2] === "false", JSON.stringify(off));
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

// 2. The single-key shortcuts turned off: Space on the picture no longer pauses, nor I shows the
// readout; F1 still shows the keys; ticked again, Space pauses.
{
  const page = await open("?lang=en");
  const label = await page.$eval("#single-keys", c => c.labels[0].textContent.trim());
  await page.click("#single-keys");
  await page.focus("#canvas");
  const start = await ticks(page);
  await page.keyboard.press(" ");
  await page.keyboard.press("i");
  await waitTicks(page, 5);
  const ignored = await page.evaluate(s => !kvWeb.paused && kvWeb.ticks > s &&
                                      document.getElementById("readout").hidden, start);
  await page.keyboard.press("F1");
  const help = await page.$eval("#keys", k => !k.hidden);
  await page.keyboard.press("F1");
  await page.click("#single-keys");
  await page.focus("#canvas");
  await page.keyboard.press(" ");
  const pausedAgain = await page.evaluate(() => kvWeb.paused);
  check("single-key shortcuts off: Space and I on the picture do nothing, F1 still works; on again, Space pauses",
        label.startsWith("Single-key shortcuts") && ignored && help && pausedAgain,
        JSON.stringify({ label, ignored, help, pausedAgain }));
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

// 3. The FR/EN buttons: the list of keys over the picture follows, as key L makes it.
{
  const page = await open();
  await page.focus("#canvas");
  await page.keyboard.press("F1");
  const keys = () => page.$eval("#keys", k => [k.querySelector("h2").textContent,
                                              k.querySelector("tbody tr td:last-child").textContent]);
  const french = await keys();
  await page.click("#lang-en");
  await sleep(200);
  const english = await keys();
  await page.click("#lang-fr");
  await sleep(200);
  const back = await keys();
  check("the EN and FR buttons: the list of keys (F1) in English, then in French again",
        french[0] === "KORVELINE : touches" && french[1] === "pause / reprise" &&
        english[0] === "KORVELINE: keys" && english[1] === "pause / resume" && back[0] === french[0],
        JSON.stringify({ french, english, back }));
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

// 4. The ringed part's name, for a screen reader: in a polite live region and in the picture's name.
{
  const page = await open();
  await page.focus("#canvas");
  const named = () => page.evaluate(() => [document.getElementById("focus-name").textContent,
                                           document.getElementById("canvas").getAttribute("aria-label")]);
  const onAlim = await named();
  await page.keyboard.press("Tab");
  const onCoil = await named();
  await page.keyboard.press("Escape");
  const none = await named();
  const live = await page.$eval("#focus-name", p => p.getAttribute("aria-live"));
  check("the ringed part is named for a screen reader: ALIM, then the left coil, nothing without a ring",
        live === "polite" && onAlim[0] === "ALIM" && onAlim[1].endsWith(" : ALIM") &&
        onCoil[0] === "bobine de gauche" && onCoil[1].endsWith(" : bobine de gauche") &&
        none[0] === "" && !none[1].includes(" : "), JSON.stringify({ onAlim, onCoil, none }));
  check("no script error on the page", page.kvErrors.length === 0, page.kvErrors.join("; "));
  await page.close();
}

await browser.close();
console.log(failures === 0 ? "all sound and key checks passed" : `${failures} check(s) failed`);
process.exit(failures === 0 ? 0 : 1);

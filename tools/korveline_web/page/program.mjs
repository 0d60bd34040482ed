// The page's link with the program: the object the program calls (kvWeb: the web backend's
// calls, web_backend.cpp, and main.cpp's), the program's entry points the page calls (kv_web_*,
// for the backend the program opened), its requests (page_requests.cpp) and the program's wait.
export const web = { ticks: 0, firstFrameMs: null, paused: false, zoom: 1, key: "", request: "", reply: "" };
globalThis.kvWeb = web;

let backend = 0, wake = null;
// From kvWeb.open on: the program has started and takes input.
export function start(openedBackend) {
  backend = openedBackend;
}
export const started = () => backend !== 0;
// The program's entry point kv_web_NAME, called for the backend: its answer; 0 before the start.
export function call(name, ...args) {
  return backend ? Module["_kv_web_" + name](backend, ...args) : 0;
}

// A question to the program: its answer, a JSON value with named fields.
export function ask(request) {
  web.request = request;
  web.reply = "";
  Module._kv_page_request();
  return JSON.parse(web.reply);
}
web.ask = ask;

// The program's wait: until `ms` have passed (none: until input), or input arrives.
web.sleep = ms => new Promise(resolve => {
  const timer = ms >= 0 ? setTimeout(() => { wake = null; resolve(); }, ms) : null;
  wake = () => { if (timer !== null) clearTimeout(timer); wake = null; resolve(); };
});
web.wake = () => { if (wake) wake(); };
export const wakeProgram = () => web.wake();

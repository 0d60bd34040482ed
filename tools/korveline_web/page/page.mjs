// What the page's modules share: its elements by id, and its events, by which a module hears
// what another did without knowing it ("language", "layout", "click", "motor", "settings",
// "look").
export const $ = id => document.getElementById(id);

const listeners = new Map();
export function on(event, listener) {
  if (!listeners.has(event)) listeners.set(event, []);
  listeners.get(event).push(listener);
}
export function emit(event, ...args) {
  for (const listener of listeners.get(event) || []) listener(...args);
}

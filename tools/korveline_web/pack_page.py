#!/usr/bin/env python3
"""Packs the page's program: gzip before base64.

emscripten inlines the WebAssembly as base64 (SINGLE_FILE): 197 KB of code become 263 KB of
text, the bulk of a page that must stay one file under 300 KB. Gzipped first, it is 114 KB. The
browser inflates it (DecompressionStream) and hands it over as Module.wasmBinary, which the
program's loader takes before its own data URI, left empty here; the loader runs once the
program is in hand.

Usage: pack_page.py PAGE.html (rewritten in place; a page already packed is left as it is).
"""
import base64
import gzip
import re
import sys

PROGRAM_START = "<script>\nvar Module=typeof Module"
LOADER = """<script>
(async () => {
  "use strict";
  const packed = "%s";
  try {
    const bytes = Uint8Array.from(atob(packed), (c) => c.charCodeAt(0));
    const inflated = new Blob([bytes]).stream().pipeThrough(new DecompressionStream("gzip"));
    Module.wasmBinary = await new Response(inflated).arrayBuffer();
  } catch (error) {
    const message = document.createElement("p");
    message.setAttribute("role", "alert");
    message.textContent = document.documentElement.lang === "en"
      ? "This browser is too old to run KORVELINE (Chrome 80, Firefox 113, Safari 16.4 or later)."
      : "Ce navigateur est trop ancien pour KORVELINE (Chrome 80, Firefox 113, Safari 16.4 ou plus récent).";
    document.body.prepend(message);
    return;
  }
  const program = document.createElement("script");
  program.textContent = document.getElementById("kv-program").textContent;
  document.body.appendChild(program);
})();
</script>
"""


def fail(message):
    sys.exit("pack_page.py: " + message)


def main():
    if len(sys.argv) != 2:
        fail("usage: pack_page.py PAGE.html")
    path = sys.argv[1]
    with open(path, encoding="utf-8") as f:
        page = f.read()
    if 'id="kv-program"' in page:
        return
    inlined = re.search(r'"data:application/octet-stream;base64,([A-Za-z0-9+/=]+)"', page)
    if not inlined:
        fail(path + " holds no inlined WebAssembly")
    start = page.find(PROGRAM_START)
    end = page.find("</script>", start)
    if start < 0 or end < 0 or not start < inlined.start() < end:
        fail(path + ": the program's script is not where it was expected")
    wasm = base64.b64decode(inlined.group(1))
    packed = base64.b64encode(gzip.compress(wasm, 9, mtime=0)).decode("ascii")
    end += len("</script>")
    program = page[start:end].replace(inlined.group(1), "", 1)
    program = program.replace("<script>", '<script type="text/plain" id="kv-program">', 1)
    page = page[:start] + program + "\n" + LOADER % packed + page[end:]
    with open(path, "w", encoding="utf-8") as f:
        f.write(page)


main()

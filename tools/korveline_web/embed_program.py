"""Puts the program into its page, which stays one file: index.wasm, gzip-compressed and in base64,
replaces the page's placeholder, index.js replaces the tag that loads it, and both files go. The page inflates it as it starts (DecompressionStream):
compressed, the program takes about 45 % of what base64 of the plain file took, which keeps the
page one file within its budget.

    python3 embed_program.py SITE_DIR
"""
import base64
import gzip
import pathlib
import re
import sys

PLACEHOLDER = "@KORVELINE_PROGRAM@"

site = pathlib.Path(sys.argv[1])
page = site / "index.html"
program = site / "index.wasm"
script = site / "index.js"
html = page.read_text(encoding="utf-8")
tag = re.compile(r'<script[^>]*src="?index\.js"?[^>]*></script>')
if html.count(PLACEHOLDER) != 1 or len(tag.findall(html)) != 1:
    sys.exit(f"embed_program.py: {page} must hold {PLACEHOLDER} and load index.js, once each")
# mtime 0: the same program gives the same page, byte for byte.
packed = gzip.compress(program.read_bytes(), compresslevel=9, mtime=0)
code = script.read_text(encoding="utf-8")
html = tag.sub(lambda _: "<script>" + code + "</script>", html)
html = html.replace(PLACEHOLDER, base64.b64encode(packed).decode("ascii"))
page.write_text(html, encoding="utf-8")
program.unlink()
script.unlink()

#!/usr/bin/env python3
"""Inlines the page's ES modules into its one file.

Chromium loads no module file from file://, and the page must open from disk: the tag
<script type="module" src="page/main.mjs"></script> of the page is replaced by one classic
script holding main.mjs and every module it imports, in the order an ES module loader would
run them (each module after those it imports). Each module keeps a scope of its own: its body
runs in a function that returns what it exports, and an import becomes a destructuring of that.

The modules keep to a subset of the syntax that this can read, and anything else stops the
build: imports only as `import { a, b } from "./name.mjs";` or, for what a module does when it
runs, `import "./name.mjs";`; exports only as `export function`,
`export async function`, `export const` or `export class` (an exported binding never changes,
since importers receive a copy of it).

Usage: inline_modules.py PAGE.html OUT.html
"""
import os
import re
import sys

ENTRY_TAG = re.compile(r'<script type="module" src="([\w/.-]+\.mjs)"></script>\n')
IMPORT = re.compile(r'^import\s*(?:\{([^}]*)\}\s*from\s*)?"\./([\w-]+)\.mjs";[ \t]*\n', re.M)
EXPORT = re.compile(r"^export\s+(?:async\s+)?(?:function\*?|const|class)\s+([A-Za-z_$][\w$]*)", re.M)
ANY_IMPORT_OR_EXPORT = re.compile(r"^(import|export)\b", re.M)
IDENTIFIER = re.compile(r"^[A-Za-z_$][\w$]*$")


def fail(message):
    sys.exit("inline_modules.py: " + message)


class Module:
    def __init__(self, directory, name):
        self.name = name
        path = os.path.join(directory, name + ".mjs")
        try:
            with open(path, encoding="utf-8") as f:
                text = f.read()
        except OSError as error:
            fail(f"{name}.mjs: {error.strerror}")
        self.imports = []  # (module name, [names])
        for match in IMPORT.finditer(text):
            names = [n.strip() for n in (match.group(1) or "").split(",") if n.strip()]
            for n in names:
                if not IDENTIFIER.match(n):
                    fail(f"{name}.mjs: imports '{n}': only plain names are read")
            self.imports.append((match.group(2), names))
        text = IMPORT.sub("", text)
        self.exports = EXPORT.findall(text)
        text = EXPORT.sub(lambda m: m.group(0)[len("export"):].lstrip(), text)
        other = ANY_IMPORT_OR_EXPORT.search(text)
        if other:
            line = text[other.start():text.find("\n", other.start())]
            fail(f"{name}.mjs: '{line}' is not a form this reads")
        self.body = text


def ordered(directory, entry):
    """The modules main imports, each after those it imports; a cycle stops the build."""
    modules, order, visiting = {}, [], set()

    def visit(name, importer):
        if name in modules:
            return
        if name in visiting:
            fail(f"{importer}.mjs and {name}.mjs import each other")
        visiting.add(name)
        module = Module(directory, name)
        for imported, _ in module.imports:
            visit(imported, name)
        visiting.discard(name)
        modules[name] = module
        order.append(module)

    visit(entry, entry)
    for module in order:
        for imported, names in module.imports:
            for n in names:
                if n not in modules[imported].exports:
                    fail(f"{module.name}.mjs imports {n}, which {imported}.mjs does not export")
    unused = sorted(f[:-4] for f in os.listdir(directory)
                    if f.endswith(".mjs") and f[:-4] not in modules)
    if unused:
        fail("modules that main.mjs never reaches: " + ", ".join(unused))
    return order


def variable(name):
    return "module_" + name.replace("-", "_")


def script(order, folder):
    parts = ["<script>\n",
             "// The page's modules (tools/korveline_web/" + folder + "/*.mjs), inlined by\n",
             "// inline_modules.py in one classic script, since a page opened from disk loads no\n",
             "// module file: each in a function of its own, after the modules it imports.\n",
             '(() => {\n"use strict";\n']
    for module in order:
        parts.append(f"// {folder}/{module.name}.mjs\nconst {variable(module.name)} = (() => {{\n")
        for imported, names in module.imports:
            if names:
                parts.append(f"const {{ {', '.join(names)} }} = {variable(imported)};\n")
        if module.body.strip():
            parts.append(module.body.strip("\n") + "\n")
        exports = ", ".join(module.exports)
        parts.append(f"return {{ {exports} }};\n}})();\n" if exports else "return {};\n})();\n")
    parts.append("})();\n</script>\n")
    return "".join(parts)


def main():
    if len(sys.argv) != 3:
        fail("usage: inline_modules.py PAGE.html OUT.html")
    source, out = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        page = f.read()
    tags = list(ENTRY_TAG.finditer(page))
    if len(tags) != 1:
        fail(f"{source}: one <script type=\"module\" src=...> tag expected, {len(tags)} found")
    entry_path = os.path.join(os.path.dirname(source), tags[0].group(1))
    directory, entry = os.path.split(entry_path)
    order = ordered(directory, entry[:-4])
    inlined = script(order, os.path.basename(directory))
    if "{{{" in inlined:
        fail("a module holds '{{{', which emscripten's shell would take for its own")
    page = page[:tags[0].start()] + inlined + page[tags[0].end():]
    with open(out, "w", encoding="utf-8") as f:
        f.write(page)


main()

#!/usr/bin/env python3
"""Every Russian text in the program's sources reaches the translation file.

Runs scripts/texts.sh into a temporary file and checks that each string literal with
Cyrillic letters in model/, analysis/, ui/ and app/ is among the extracted source texts,
so that none is shown without going through the translation. The texts of the file formats
(headers and section names, which must stay as they are) are not shown to the analyst and
are left out, and so are comments.
"""
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

ROOT = sys.argv[1]
FOLDERS = ["model", "analysis", "ui", "app"]
# File content, not texts of the program's windows.
FORMAT_FILES = {"model/DataText.cpp", "model/DictionaryText.cpp"}
CYRILLIC = re.compile("[\u0400-\u04ff]")
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def unescape(text):
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), text)


def literals(path):
    with open(path, encoding="utf-8") as source:
        for number, line in enumerate(source, 1):
            code = line.split("//", 1)[0] if not re.search(r'"[^"]*//', line) else line
            if code.lstrip().startswith("//") or code.lstrip().startswith("*"):
                continue
            for match in LITERAL.finditer(code):
                if CYRILLIC.search(match.group(1)):
                    yield number, unescape(match.group(1))


def main():
    with tempfile.TemporaryDirectory() as folder:
        ts = os.path.join(folder, "texts.ts")
        subprocess.run(["bash", os.path.join(ROOT, "scripts/texts.sh"), ts], check=True)
        extracted = {message.text for message in ET.parse(ts).iter("source")}
    missing = []
    found = 0
    for top in FOLDERS:
        for folder, _, names in os.walk(os.path.join(ROOT, top)):
            for name in sorted(names):
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(folder, name)
                relative = os.path.relpath(path, ROOT)
                if relative in FORMAT_FILES:
                    continue
                for number, text in literals(path):
                    found += 1
                    if text not in extracted:
                        missing.append(f"{relative}:{number}: {text!r}")
    for line in missing:
        print("not extracted:", line)
    print(f"{found - len(missing)} passed, {len(missing)} failed")
    return 1 if missing or found == 0 else 0


if __name__ == "__main__":
    sys.exit(main())

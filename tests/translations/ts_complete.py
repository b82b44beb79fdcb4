#!/usr/bin/env python3
"""Every text of the window has a translation in each .ts file.

Usage: ts_complete.py LUPDATE TS... -- SOURCES...

Updates a copy of each .ts file from the sources, as `ninja update_translations`
does, so a text added to the sources and not yet translated is found too. A
message fails when its translation is unfinished or empty, or when its
placeholders (%1, %2, ...) differ from its source's.
"""
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path


def problems(ts_path):
    found = []
    for context in ET.parse(ts_path).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source") or ""
            translation = message.find("translation")
            text = translation.text if translation is not None else None
            kind = translation.get("type") if translation is not None else "missing"
            if kind in ("unfinished", "missing") or not text:
                found.append(f"{name}: {source!r} has no translation")
            elif sorted(re.findall(r"%\d", source)) != sorted(re.findall(r"%\d", text)):
                found.append(f"{name}: {source!r} and {text!r} differ in placeholders")
    return found


def main():
    separator = sys.argv.index("--")
    lupdate, ts_files, sources = sys.argv[1], sys.argv[2:separator], sys.argv[separator + 1 :]
    failed = False
    for ts_file in ts_files:
        with tempfile.TemporaryDirectory() as folder:
            copy = Path(folder) / Path(ts_file).name
            shutil.copyfile(ts_file, copy)
            subprocess.run(
                [lupdate, "-silent", "-no-obsolete", "-locations", "none", *sources, "-ts", str(copy)],
                check=True,
            )
            found = problems(copy)
        for problem in found:
            print(f"{Path(ts_file).name}: {problem}")
        print(f"{Path(ts_file).name}: {len(found)} problem(s)")
        failed = failed or bool(found)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""The interface catalogues (resources/translations/*.ts) against the sources.

  catalogues.py --check [--lupdate PATH]   fail when a catalogue misses a text of the sources, keeps one
                                           they no longer have, leaves one untranslated, or drops or
                                           adds a %1-style placeholder
  catalogues.py --update [--lupdate PATH]  bring the catalogues up to date with the sources (new texts
                                           arrive untranslated, for a translator to finish; texts the
                                           sources no longer have are dropped)
"""
import argparse
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

ROOT = pathlib.Path(__file__).resolve().parent.parent
CATALOGUES = ROOT / "resources" / "translations"
# The folders whose texts the windows show; tools, tests and the simulator speak English only.
SOURCES = ["app", "ui", "devices", "subjects", "timing", "results", "platform", "archive", "common"]
PLACEHOLDER = re.compile(r"%(?:\d+|n)")


def run_lupdate(lupdate, catalogue, extra=()):
    command = [lupdate, *extra, "-silent", "-locations", "none", "-extensions", "cpp,h,ui", "-I", str(ROOT)]
    command += [str(ROOT / s) for s in SOURCES] + ["-ts", str(catalogue)]
    subprocess.run(command, check=True)


def problems_in(catalogue, name):
    found = []
    language = catalogue.getroot().get("language", "")
    if not name.startswith("swiftlane_" + language.split("_")[0]):
        found.append(f"{name}: language '{language}' does not match the file name")
    for context in catalogue.getroot().iter("context"):
        where = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source") or ""
            translation = message.find("translation")
            kind = translation.get("type", "") if translation is not None else "missing"
            text = "".join(translation.itertext()) if translation is not None else ""
            if kind:
                found.append(f"{name}: {where}: {kind}: {source!r}")
            elif sorted(PLACEHOLDER.findall(source)) != sorted(PLACEHOLDER.findall(text)):
                found.append(f"{name}: {where}: placeholders differ: {source!r} -> {text!r}")
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--lupdate", default=shutil.which("lupdate") or "/usr/lib/qt6/bin/lupdate")
    mode = parser.add_mutually_exclusive_group(required=True)
    mode.add_argument("--check", action="store_true")
    mode.add_argument("--update", action="store_true")
    args = parser.parse_args()
    catalogues = sorted(CATALOGUES.glob("swiftlane_*.ts"))
    if not catalogues:
        sys.exit(f"no catalogues in {CATALOGUES}")
    if args.update:
        for catalogue in catalogues:
            run_lupdate(args.lupdate, catalogue, ["-no-obsolete"])
        return 0
    problems = []
    with tempfile.TemporaryDirectory() as scratch:
        for catalogue in catalogues:
            copy = pathlib.Path(scratch) / catalogue.name
            shutil.copy(catalogue, copy)
            # lupdate marks what the sources have and the catalogue lacks as unfinished, and what
            # only the catalogue has as vanished: either is a problem of the committed file.
            run_lupdate(args.lupdate, copy)
            problems += problems_in(ET.parse(copy), catalogue.name)
    for problem in problems:
        print(problem)
    print(f"{len(catalogues)} catalogues, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

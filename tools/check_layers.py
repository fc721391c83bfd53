#!/usr/bin/env python3
"""Rejects an #include that points up the editor's layers.

The folders of src/ are the layers, lowest first:

    scenario  the model (no Qt)
    render    picture list, field renderer, TMX file (Qt Gui)
    services  cell grid, text boxes, context, platform services
    pickers views fields properties resources options   the windows
    mainwindow
    app       the programs (app/cli: the model and render only)

A file may include its own layer and the ones below. A window folder may
include another window folder only where its CMakeLists.txt links it
(`qrn_folder_library(DIR ... qrn_OTHER ...)`), and those links may not form
a cycle. The folders are the only input.

Usage: check_layers.py SRC_DIR
Prints every offending include and exits 1 if there is one.
"""
import pathlib
import re
import sys

WINDOW_DIRS = ("pickers", "views", "fields", "properties", "resources", "options")
LAYERS = {"scenario": 0, "render": 1, "services": 2, **{d: 3 for d in WINDOW_DIRS}, "mainwindow": 4, "app": 5}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')
FOLDER_LIBRARY = re.compile(r"qrn_folder_library\(\s*(\w+)([^)]*)\)")


def window_links(src: pathlib.Path) -> set:
    """The (from, to) pairs of window folders that the folders' build files link."""
    links = set()
    for folder in WINDOW_DIRS:
        cmake = src / folder / "CMakeLists.txt"
        if not cmake.exists():
            continue
        for name, libs in FOLDER_LIBRARY.findall(cmake.read_text(encoding="utf-8")):
            for lib in re.findall(r"qrn_(\w+)", libs):
                if lib in WINDOW_DIRS:
                    links.add((name, lib))
    return links


def layer(rel: str) -> float:
    if rel.startswith("app/cli/"):
        return 1.5  # the command-line tool: the model and the renderer only
    return LAYERS.get(rel.split("/")[0], 5)


def reaches(links: set, start: str, goal: str, seen: set) -> bool:
    for source, target in links:
        if source == start and target not in seen:
            if target == goal:
                return True
            seen.add(target)
            if reaches(links, target, goal, seen):
                return True
    return False


def check(src: pathlib.Path) -> list:
    links = window_links(src)
    faults = []
    for folder in sorted({source for source, _ in links}):
        if reaches(links, folder, folder, set()):
            faults.append(f"links: {folder} reaches itself through the window links")
    for path in sorted(src.rglob("*")):
        if path.suffix not in {".h", ".cpp"}:
            continue
        rel = path.relative_to(src).as_posix()
        own = layer(rel)
        folder = rel.split("/")[0]
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            bracket, name = match.groups()
            where = f"{rel}:{number}: #include {bracket}{name}"
            if bracket == "<":
                if own == 0 and re.match(r"Q[A-Za-z]|qt", name):
                    faults.append(f"{where}: the model does not use Qt")
                continue
            target = name if "/" in name else f"{path.parent.relative_to(src).as_posix()}/{name}"
            if not (src / target).exists():
                continue  # generated or outside src
            other = layer(target)
            other_folder = target.split("/")[0]
            if other > own:
                faults.append(f"{where}: a lower layer includes a higher one")
            elif own == other == 3 and folder != other_folder and (folder, other_folder) not in links:
                faults.append(f"{where}: {folder} may not use {other_folder}")
    return faults


def main() -> int:
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    faults = check(pathlib.Path(sys.argv[1]))
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

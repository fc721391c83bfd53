#!/usr/bin/env python3
"""Rejects an #include that points up the editor's layers.

Layers, lowest first: the model (src/scenario, no Qt), the field renderer
(picture list and field renderer in src/editor), the editor services (the
rest of src/editor), the window folders, the main window (its files in
src/editor), the programs (src/app). A file may include its own layer and
the ones below. A window folder may include another window folder only
along a link given with --link FROM:TO[,TO...] (the same links the build uses),
and the links may not form a cycle.

Usage: check_layers.py SRC_DIR --render FILE... --mainwindow FILE... --link LINK...
Prints every offending include and exits 1 if there is one.
"""
import argparse
import pathlib
import re
import sys

WINDOW_DIRS = {"views", "fields", "properties", "resources", "pickers", "options"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("src")
    parser.add_argument("--render", nargs="*", default=[])
    parser.add_argument("--mainwindow", nargs="*", default=[])
    parser.add_argument("--link", nargs="*", default=[])
    args = parser.parse_args()
    src = pathlib.Path(args.src)
    render = {f"editor/{name}" for name in args.render}
    mainwindow = {f"editor/{name}" for name in args.mainwindow}
    links = set()
    for link in args.link:
        source, targets = link.split(":")
        links.update((source, target) for target in targets.split(","))

    def layer(rel: str) -> int:
        folder = rel.split("/")[0]
        if folder == "scenario":
            return 0
        if rel in render:
            return 1
        if rel in mainwindow:
            return 4
        if folder == "editor":
            return 2
        if folder in WINDOW_DIRS:
            return 3
        if rel.startswith("app/cli/"):
            return 1.5  # the command-line tool: the model and the renderer only
        return 5

    faults = []
    # The window folders' links must form layers: no folder may reach itself.
    def reaches(start: str, goal: str, seen: set) -> bool:
        for source, target in links:
            if source == start and target not in seen:
                if target == goal:
                    return True
                seen.add(target)
                if reaches(target, goal, seen):
                    return True
        return False

    for folder in sorted({source for source, _ in links}):
        if reaches(folder, folder, set()):
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
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

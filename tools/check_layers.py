#!/usr/bin/env python3
"""Prints the include graph between the game's layers and fails on an include that goes up.

The layers, bottom to top, and the source folders each one builds (the same as CMakeLists.txt):
a file may include headers of its own layer and of the layers it uses. With --build DIR, it also
compiles two probes against that build's layer include roots: a downward include must compile
and an upward one must not, so the build itself refuses what this script reports.
"""
import argparse
import collections
import os
import re
import subprocess
import sys
import tempfile

# Layer: (folders, layers it uses directly). Order is bottom to top.
LAYERS = {
    "common": (["common"], []),
    "engine": (["engine"], []),
    "state": (["state"], ["engine"]),
    "world": (["world"], ["engine", "state"]),
    "persist": (["persist"], ["common", "world"]),
    "shell": (["shell"], ["persist"]),
    "race": (["race"], ["shell"]),
    "pages": (["pages"], ["race"]),
    "platform": (["platform/sdl"], ["pages"]),
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def allowed(layer):
    """The layer itself and everything below it through its uses."""
    seen, todo = set(), [layer]
    while todo:
        name = todo.pop()
        if name not in seen:
            seen.add(name)
            todo.extend(LAYERS[name][1])
    return seen


def layer_of(include):
    for name, (folders, _) in LAYERS.items():
        for folder in folders:
            if include.startswith(folder + "/"):
                return name
    return None


def scan(source_root):
    edges = collections.Counter()
    bad = []
    for name, (folders, _) in LAYERS.items():
        may = allowed(name)
        for folder in folders:
            path = os.path.join(source_root, "src", folder)
            for file in sorted(os.listdir(path)):
                if not file.endswith((".h", ".cpp")):
                    continue
                with open(os.path.join(path, file), encoding="utf-8") as f:
                    text = f.read()
                for include in INCLUDE.findall(text):
                    target = layer_of(include)
                    if target is None or target == name:
                        continue
                    edges[(name, target)] += 1
                    if target not in may:
                        bad.append(f"src/{folder}/{file} includes {include} ({name} may not use {target})")
    return edges, bad


def probe(build, compiler, layer, include):
    """True when a file of LAYER including INCLUDE compiles against the build's include roots."""
    roots = [os.path.join(build, "layers", "velomarch_" + name) for name in allowed(layer)]
    flags = [f"-I{root}" for root in roots if os.path.isdir(root)]
    with tempfile.NamedTemporaryFile("w", suffix=".cpp", delete=False) as f:
        f.write(f'#include "{include}"\n')
        name = f.name
    try:
        run = subprocess.run([compiler, "-std=c++20", "-fsyntax-only", *flags, name], capture_output=True, text=True)
        return run.returncode == 0, run.stderr
    finally:
        os.unlink(name)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--source", default=os.path.join(os.path.dirname(__file__), ".."))
    parser.add_argument("--build", help="a configured build folder, for the compile probes")
    parser.add_argument("--compiler", default="c++")
    options = parser.parse_args()

    edges, bad = scan(options.source)
    order = list(LAYERS)
    print("Includes between layers (from -> to: count), bottom layer first:")
    for (a, b), count in sorted(edges.items(), key=lambda e: (order.index(e[0][0]), order.index(e[0][1]))):
        direction = "down" if order.index(b) < order.index(a) else "UP"
        print(f"  {a:9} -> {b:9} {count:4}  {direction}")
    for line in bad:
        print("upward include: " + line)

    failed = bool(bad)
    # The check itself must see an upward include: plant one in a copy of the world's folder.
    with tempfile.TemporaryDirectory() as temp:
        for name, (folders, _) in LAYERS.items():
            for folder in folders:
                os.makedirs(os.path.join(temp, "src", folder))
        with open(os.path.join(temp, "src", "world", "planted.cpp"), "w", encoding="utf-8") as f:
            f.write('#include "pages/page_rows.h"\n')
        _, planted = scan(temp)
        print(f"self-check: a planted upward include is {'reported' if planted else 'NOT reported'}")
        failed |= not planted
    if options.build:
        ok, _ = probe(options.build, options.compiler, "world", "engine/sprite.h")
        print(f"probe: world including engine/sprite.h {'compiles' if ok else 'does NOT compile'}")
        failed |= not ok
        ok, errors = probe(options.build, options.compiler, "world", "shell/game.h")
        print(f"probe: world including shell/game.h {'compiles' if ok else 'is refused by the compiler'}")
        failed |= ok or "shell/game.h" not in errors
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

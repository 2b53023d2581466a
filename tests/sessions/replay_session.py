#!/usr/bin/env python3
"""Plays one recorded session through velomarch-headless and compares what it leaves behind.

A session file is an input script whose '#!' line holds the runner's other arguments. Its
recording, in expected/NAME/, is the state file the run wrote (compared value by value after
parsing) and every other file the game left in its working folder (compared byte for byte).
With --record the recording is made again instead.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile

STATE = "state.json"


def session_args(path):
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#!"):
                return line[2:].split()
    return []


def left_files(folder):
    """The files the game wrote, by name: bytes."""
    found = {}
    for root, _, files in os.walk(folder):
        for name in files:
            full = os.path.join(root, name)
            rel = os.path.relpath(full, folder)
            with open(full, "rb") as f:
                found[rel] = f.read()
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--headless", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--session", required=True)
    parser.add_argument("--record", action="store_true")
    options = parser.parse_args()

    name = os.path.splitext(os.path.basename(options.session))[0]
    expected_dir = os.path.join(os.path.dirname(options.session), "expected", name)
    with tempfile.TemporaryDirectory() as temp:
        work = os.path.join(temp, "work")
        os.mkdir(work)
        state = os.path.join(temp, STATE)
        command = [options.headless, "--data", options.data, "--workdir", work,
                   "--input", os.path.abspath(options.session), "--state", state,
                   # Scores go nowhere: a closed port on loopback refuses them at once.
                   "--score-url", "http://127.0.0.1:9/cgi/version.pl"] + session_args(options.session)
        run = subprocess.run(command, capture_output=True, text=True)
        if run.returncode != 0:
            print(" ".join(command))
            print(run.stderr)
            print(f"{name}: velomarch-headless exited with {run.returncode}")
            return 1
        with open(state, encoding="utf-8") as f:
            got_state = json.load(f)
        got_files = left_files(work)

        if options.record:
            shutil.rmtree(expected_dir, ignore_errors=True)
            os.makedirs(expected_dir)
            shutil.copy(state, os.path.join(expected_dir, STATE))
            for rel, data in got_files.items():
                os.makedirs(os.path.dirname(os.path.join(expected_dir, "files", rel)), exist_ok=True)
                with open(os.path.join(expected_dir, "files", rel), "wb") as f:
                    f.write(data)
            print(f"{name}: recorded, screens {got_state.get('screens')}")
            return 0

        failures = []
        with open(os.path.join(expected_dir, STATE), encoding="utf-8") as f:
            want_state = json.load(f)
        for key in sorted(set(want_state) | set(got_state)):
            if want_state.get(key) != got_state.get(key):
                failures.append(f"state {key}: expected {want_state.get(key)!r}, got {got_state.get(key)!r}")
        files_dir = os.path.join(expected_dir, "files")
        want_files = left_files(files_dir) if os.path.isdir(files_dir) else {}
        for rel in sorted(set(want_files) | set(got_files)):
            if rel not in got_files:
                failures.append(f"file {rel}: not written")
            elif rel not in want_files:
                failures.append(f"file {rel}: written, not expected")
            elif want_files[rel] != got_files[rel]:
                failures.append(f"file {rel}: contents differ")
        for failure in failures:
            print(f"{name}: {failure}")
        return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

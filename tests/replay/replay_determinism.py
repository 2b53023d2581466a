#!/usr/bin/env python3
"""Records runs with velomarch-headless and plays each recording back: the run must end the same.

Each case is a session (autopilot, scripts through the menus, pauses, pads, wrecks, run ends)
recorded with --record; --replay then plays the recording alone, and the run's part of both state
files ("run": score, lives, race, clock, every car, the random state, progress) must be equal as
a whole. One case is also played without --record: recording must not change what the game does.
In the watching cases the autopilot watches the run so far from every race-over and your-score page
(--autopilot-watch): the run must go on as if it had not, and its recording must still play alike.
With --replay-headless another build plays the recordings: a run recorded by the release build must
end the same when the sanitizer build plays it, and the other way round.
"""
import argparse
import json
import os
import subprocess
import sys
import tempfile

# Scripts: one event a line, as velomarch-headless --input takes them.
MENUS_TO_RACE = """440 text Driver
450 press 13
500 click 652 266
600 press 39
660 click 702 538
760 press 39
840 press 13
"""
PAUSE_AND_GO_ON = """3000 press 80
3050 text typed while paused
3100 move 400 300
3200 press 80
6000 press 80
6040 press 80
"""
# A pad connected mid-race pauses it; P goes on, and the pad's stick and trigger then drive.
PAD_MID_RACE = """2500 pad connect
2600 press 80
2700 pad axis righttrigger 32767
2900 pad axis leftx -20000
3000 pad axis leftx 0
3400 pad axis righttrigger 0
3500 pad disconnect
3600 press 80
"""
# Leaving the run through the exit question: the recording ends finished on the main menu.
QUIT_RUN = """500 down 38
1500 up 38
1600 press 27
1660 press 13
"""
# Full speed into the wall: wrecks end the run; the score is not sent.
WRECKS = """500 down 38
500 down 37
5900 click 470 392
6000 click 470 392
"""

CASES = [
    # name, arguments, script, must the recording be finished
    ("autopilot_car0_seed1", ["--race", "0", "--seed", "1", "--autopilot", "--frames", "12000"], "", False),
    ("autopilot_car1_seed2", ["--race", "1", "--seed", "2", "--autopilot", "--frames", "24000"], "", False),
    ("autopilot_car2_seed3", ["--race", "2", "--seed", "3", "--autopilot", "--frames", "24000"], "", False),
    ("autopilot_car3_seed4", ["--race", "3", "--seed", "4", "--autopilot", "--frames", "24000"], "", False),
    ("autopilot_car4_seed5", ["--race", "4", "--seed", "5", "--autopilot", "--frames", "24000"], "", False),
    ("autopilot_car0_seed6", ["--race", "0", "--seed", "6", "--autopilot", "--frames", "16000"], "", False),
    ("autopilot_car2_seed7", ["--race", "2", "--seed", "7", "--autopilot", "--frames", "16000"], "", False),
    ("autopilot_car4_seed8", ["--race", "4", "--seed", "8", "--autopilot", "--frames", "16000"], "", False),
    ("autopilot_car1_seed9", ["--race", "1", "--seed", "9", "--autopilot", "--frames", "16000"], "", False),
    ("autopilot_car3_seed10", ["--race", "3", "--seed", "10", "--autopilot", "--frames", "16000"], "", False),
    ("autopilot_whole_run", ["--race", "0", "--seed", "1", "--autopilot", "--frames", "250000"], "", True),
    ("menus_seed11", ["--seed", "11", "--autopilot", "--frames", "9000"], MENUS_TO_RACE, False),
    ("menus_seed12", ["--seed", "12", "--autopilot", "--frames", "9000"], MENUS_TO_RACE, False),
    ("pause_car0_seed13", ["--race", "0", "--seed", "13", "--autopilot", "--frames", "9000"], PAUSE_AND_GO_ON, False),
    ("pause_car3_seed14", ["--race", "3", "--seed", "14", "--autopilot", "--frames", "9000"], PAUSE_AND_GO_ON, False),
    ("pad_car1_seed15", ["--race", "1", "--seed", "15", "--frames", "5000"], PAD_MID_RACE, False),
    ("pad_car4_seed16", ["--race", "4", "--seed", "16", "--frames", "5000"], PAD_MID_RACE, False),
    ("quit_car2_seed17", ["--race", "2", "--seed", "17", "--frames", "2000"], QUIT_RUN, True),
    ("quit_car0_seed18", ["--race", "0", "--seed", "18", "--frames", "2000"], QUIT_RUN, True),
    ("wrecks_car0_seed1", ["--race", "0", "--seed", "1", "--frames", "6400"], WRECKS, True),
    ("wrecks_car1_seed19", ["--race", "1", "--seed", "19", "--frames", "6400"], WRECKS, True),
    ("first_race_pad_seed20", ["--race", "2", "--seed", "20", "--first-race-pilot", "pad", "--frames", "9000"],
     "1 pad connect\n", False),
    # Left early: the rest of the recording is played unseen to put the run back.
    ("watch_early_whole_run", ["--race", "0", "--seed", "1", "--autopilot", "--autopilot-watch", "40",
                               "--frames", "400000"], "", True),
    # Watched to the end of what was recorded each time.
    ("watch_to_end_car3_seed22", ["--race", "3", "--seed", "22", "--autopilot", "--autopilot-watch", "1000000",
                                  "--frames", "40000"], "", False),
]
# A watching case and the case that plays the same run without watching: the runs must end alike.
UNWATCHED = {"watch_early_whole_run": "autopilot_whole_run"}


def run(command):
    result = subprocess.run(command, capture_output=True, text=True)
    if result.returncode != 0:
        print(" ".join(command))
        print(result.stdout + result.stderr)
        raise SystemExit(f"exit status {result.returncode}")
    return result.stdout


def run_part(headless, data, args, folder):
    """The "run" part of the state file of a recorded session with args, in folder."""
    os.makedirs(folder)
    state = os.path.join(folder, "state.json")
    run([headless, "--data", data, "--null-renderer", "--score-url", "http://127.0.0.1:9/cgi/version.pl",
         "--workdir", folder, "--record", os.path.join(folder, "run.vmr"), "--state", state] + args)
    with open(state, encoding="utf-8") as f:
        return json.load(f).get("run")


def check(headless, replay_headless, data, name, args, script, finished, temp, also_unrecorded):
    folder = os.path.join(temp, name)
    os.makedirs(os.path.join(folder, "work"))
    os.makedirs(os.path.join(folder, "replay_work"))
    script_file = os.path.join(folder, "script.txt")
    with open(script_file, "w", encoding="utf-8") as f:
        f.write(script)
    recording = os.path.join(folder, "run.vmr")
    base = [headless, "--data", data, "--null-renderer", "--score-url", "http://127.0.0.1:9/cgi/version.pl"]
    session = base + ["--workdir", os.path.join(folder, "work"), "--input", script_file] + args
    recorded_state = os.path.join(folder, "recorded.json")
    out = run(session + ["--record", recording, "--state", recorded_state])
    replayed_state = os.path.join(folder, "replayed.json")
    replay_base = [replay_headless] + base[1:]
    replay_out = run(replay_base + ["--workdir", os.path.join(folder, "replay_work"), "--replay", recording,
                             "--state", replayed_state])
    with open(recorded_state, encoding="utf-8") as f:
        recorded = json.load(f)
    with open(replayed_state, encoding="utf-8") as f:
        replayed = json.load(f)
    failures = []
    if "run" not in recorded:
        failures.append("the session recorded no run")
    elif recorded["run"] != replayed.get("run"):
        for key in sorted(set(recorded["run"]) | set(replayed.get("run", {}))):
            if recorded["run"].get(key) != replayed.get("run", {}).get(key):
                failures.append(f"run.{key}: recorded {recorded['run'].get(key)!r}, "
                                f"replayed {replayed.get('run', {}).get(key)!r}")
    elif recorded["run"]["frames"] < 1000:
        failures.append(f"only {recorded['run']['frames']} frames recorded")
    kind = "finished" if finished else "unfinished"
    if f"({kind} run)" not in out or f"({kind} run)" not in replay_out:
        failures.append(f"expected a {kind} run: {out.strip()} / {replay_out.strip()}")
    if os.listdir(os.path.join(folder, "replay_work")):
        failures.append(f"the playback wrote files: {os.listdir(os.path.join(folder, 'replay_work'))}")
    frames = recorded.get("run", {}).get("frames")
    if "--autopilot-watch" in args:
        watches = recorded.get("autopilot", {}).get("watches", 0)
        races = recorded.get("autopilot", {}).get("races_finished", 0)
        if watches < max(races, 1):
            failures.append(f"watched {watches} times over {races} finished races")
    if name in UNWATCHED:
        # Clicking Replay and the frame on which the watching starts take a few frames of the
        # page; everything else of the run must be the same.
        twin = next(case for case in CASES if case[0] == UNWATCHED[name])
        unwatched = run_part(headless, data, twin[1], os.path.join(folder, "unwatched")) or {}
        watched = dict(recorded.get("run", {}))
        for part in (unwatched, watched):
            part.pop("frames", None)
        if unwatched != watched:
            failures.append(f"the run went otherwise than in {twin[0]}, where it was not watched")
    if also_unrecorded:
        plain_state = os.path.join(folder, "plain.json")
        os.makedirs(os.path.join(folder, "plain_work"))
        plain = [a if a != os.path.join(folder, "work") else os.path.join(folder, "plain_work") for a in session]
        run(plain + ["--state", plain_state])
        with open(plain_state, encoding="utf-8") as f:
            unrecorded = json.load(f)
        recorded.pop("run", None)
        if recorded != unrecorded:
            failures.append("recording changed the session's state")
    return failures, frames, os.path.getsize(recording)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--headless", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--replay-headless", help="the build that plays the recordings (default: --headless)")
    parser.add_argument("--only", help="comma-separated case names to run (default: every case)")
    parser.add_argument("--group", type=int, default=0, help="this group of --groups")
    parser.add_argument("--groups", type=int, default=1)
    options = parser.parse_args()
    replay_headless = options.replay_headless or options.headless
    only = set(options.only.split(",")) if options.only else None
    if only and not only <= {case[0] for case in CASES}:
        parser.error(f"no such case: {', '.join(sorted(only - {case[0] for case in CASES}))}")
    failed = 0
    with tempfile.TemporaryDirectory() as temp:
        for index, (name, args, script, finished) in enumerate(CASES):
            if index % options.groups != options.group or (only and name not in only):
                continue
            failures, frames, size = check(options.headless, replay_headless, options.data, name, args, script, finished, temp,
                                           also_unrecorded=name in ("menus_seed11", "pad_car1_seed15"))
            print(f"{name}: {frames} frames, {size} bytes: {'FAILED' if failures else 'same'}")
            for failure in failures:
                print("  " + failure)
            failed += bool(failures)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

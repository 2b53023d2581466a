#!/usr/bin/env bash
# Plays a race in the game's real window under Xvfb and measures it: the process's and its threads'
# processor time over the race, the peak RSS and the game's own frame timing (VM_FRAME_TIMING).
#
#   window_race.sh BUILD [SECONDS]
#
# BUILD is a folder holding velomarch with its Data/ and Sounds/; SECONDS (20) is how long the race
# runs with the accelerator held. The game starts on a fresh profile in a throwaway home, is driven
# with key presses only (the name, then Enter through the main menu, track and car pages), and is
# ended with SIGTERM. One result line goes to standard output; SHOT=FILE.png keeps a screenshot
# taken in the middle of the race, and FILE-end.png one at its end. Sound goes to SDL's dummy driver unless SDL_AUDIODRIVER is set.
set -u
if [ "${1:-}" != "--inside" ]; then
  if [ $# -lt 1 ] || [ ! -x "$1/velomarch" ]; then
    echo "usage: $0 BUILD [SECONDS]  (BUILD/velomarch must exist)" >&2
    exit 2
  fi
  seconds=${2:-20}
  case $seconds in '' | *[!0-9]* | 0 | 1) echo "SECONDS must be a whole number of 2 or more, not '$seconds'" >&2; exit 2 ;; esac
  exec env -u SDL_VIDEODRIVER xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$(realpath "$1")" "$seconds"
fi
build=$2
seconds=$3
here=$(cd "$(dirname "$0")" && pwd)
shot_py=$here/../../tests/smoke/xwd_to_png.py
home=$(mktemp -d)
work=$home/work
log=$home/game.log
mkdir -p "$work"
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_CACHE_HOME=$home/.cache
export XDG_RUNTIME_DIR=$home/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
pid=""
fail() {
  echo "window_race: $1" >&2
  [ -s "$log" ] && sed 's/^/  game: /' "$log" >&2
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  rm -rf "$home"
  exit 1
}
hz=$(getconf CLK_TCK)

# One line a thread: id, name and processor ticks (user + system) so far.
threads() {
  local stat
  for stat in /proc/"$pid"/task/*/stat; do
    awk -v tid="$(basename "$(dirname "$stat")")" \
      '{ line = $0; name = substr(line, index(line, "(") + 1); name = substr(name, 1, match(name, /\) [A-Z] /) - 1);
         rest = substr(line, match(line, /\) [A-Z] /) + 2); split(rest, f, " ");
         gsub(/ /, "_", name); print tid, name, f[12] + f[13] }' "$stat" 2>/dev/null
  done
}
# Processor ticks of the whole process so far, threads that ended included.
process_ticks() {
  awk '{ rest = substr($0, match($0, /\) [A-Z] /) + 2); split(rest, f, " "); print f[12] + f[13] }' /proc/"$pid"/stat
}
now() { date +%s.%N; }

openbox >/dev/null 2>&1 &
wm=$!
sleep 1
(cd "$work" && VM_FRAME_TIMING=1 exec "$build/velomarch" --data "$build") >"$log" 2>&1 &
pid=$!
win=""
for _ in $(seq 1 50); do
  win=$(xdotool search --name '^Velomarch$' 2>/dev/null | head -n 1)
  [ -n "$win" ] && break
  kill -0 "$pid" 2>/dev/null || fail "the game ended before its window opened"
  sleep 0.2
done
[ -n "$win" ] || fail "no game window"
xdotool windowactivate --sync "$win" 2>/dev/null
# The logo takes about 4.3 s; then the add-player page asks for a name, and Enter adds it. The main
# menu starts with no button focused: Down focuses the first (start game), Enter presses it. Enter
# on the track page and on the car page takes the first track and car and starts the race. A page
# that is still sliding in can lose a key, hence the pauses.
sleep 6
xdotool type --delay 60 "Bench"
sleep 0.5
xdotool key Return
sleep 2
xdotool key Down
sleep 0.5
xdotool key Return
sleep 2
xdotool key Return
sleep 2
xdotool key Return
# The track loads (a fraction of a second) and the start lights begin; the span starts a second in.
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the game ended before the race"
xdotool keydown Up
threads >"$home/before"
p0=$(process_ticks)
t0=$(now)
sleep $((seconds / 2))
# Screenshots are grabbed raw during the span and made PNGs after it, so they cost the span little.
[ -n "${SHOT:-}" ] && xwd -silent -root -out "$home/race.xwd"
sleep $((seconds - seconds / 2))
[ -n "${SHOT:-}" ] && xwd -silent -root -out "$home/end.xwd"
threads >"$home/after"
p1=$(process_ticks)
t1=$(now)
hwm=$(awk '/^VmHWM:/ { print $2 }' /proc/"$pid"/status)
xdotool keyup Up
kill -TERM "$pid"
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$pid" 2>/dev/null && fail "the game did not end on SIGTERM"
wait "$pid"
status=$?
game=$pid
pid=""
kill "$wm" 2>/dev/null
[ "$status" -eq 0 ] || fail "the game ended with status $status on SIGTERM"
if [ -n "${SHOT:-}" ]; then
  { python3 "$shot_py" "$home/race.xwd" "$SHOT" && python3 "$shot_py" "$home/end.xwd" "${SHOT%.png}-end.png"; } \
    >/dev/null || echo "window_race: no screenshot" >&2
fi
timing=$(sed -n 's/^velomarch: frame timing: //p' "$log")
[ -n "$timing" ] || timing="no frame timing line"
# The game counts race frames from the race's start to the end; fewer seconds of them than the
# measured span means the race screen was left (the car wrecked, the game paused): said on stderr.
raced=$(echo "$timing" | sed -n 's/.* over \([0-9.]*\) s,.*/\1/p')
awk -v r="${raced:-0}" -v a="$t0" -v b="$t1" 'BEGIN { exit !(r < b - a - 0.5) }' \
  && echo "window_race: only $raced s of race frames in a span of $(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", b - a }') s: the race screen was left" >&2

# Processor share of one core over the span, by kind of thread: the game's main thread (the one whose
# id is the process's), the GL driver's llvmpipe threads, and the rest (sound, SDL's own).
cpu=$(awk -v t0="$t0" -v t1="$t1" -v hz="$hz" -v pid="$game" -v total=$((p1 - p0)) \
  'FNR == NR { before[$1] = $3; next }
   { d = $3 - ($1 in before ? before[$1] : 0)
     if ($1 == pid) m += d; else if ($2 ~ /^llvmpipe/) { l += d; nl++ } else { o += d; no++ } }
   END { span = t1 - t0; p = 100 / (span * hz)
         printf "span %.1f s, CPU %.0f%% (main thread %.0f%%, %d llvmpipe threads %.0f%%, %d other threads %.0f%%)",
           span, total * p, m * p, nl, l * p, no, o * p }' \
  "$home/before" "$home/after")
echo "$build: $cpu, peak RSS $((hwm / 1024)) MB; $timing"
rm -rf "$home"

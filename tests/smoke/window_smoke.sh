#!/usr/bin/env bash
# Starts the game in a real window under Xvfb with a window manager, checks that it shows its
# window, answers input, and closes on a close request with status 0.
set -u
if [ "${1:-}" != "--inside" ]; then
  exec env -u SDL_VIDEODRIVER xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$1"
fi
game=$2
log=$(mktemp)
run() {
  openbox >/dev/null 2>&1 &
  sleep 1
  (cd "$(mktemp -d)" && exec "$game") >"$log" 2>&1 &
  pid=$!
  win=""
  for _ in $(seq 1 50); do
    win=$(xdotool search --name '^Velomarch$' 2>/dev/null | head -n 1)
    [ -n "$win" ] && break
    sleep 0.2
  done
  if [ -z "$win" ]; then echo "no game window"; kill "$pid" 2>/dev/null; return 1; fi
  # A message box about missing data may be up: Return dismisses it.
  xdotool key Return; sleep 0.5
  xdotool key --window "$win" Left Up Escape; sleep 1
  kill -0 "$pid" 2>/dev/null || { echo "the game ended by itself"; return 1; }
  xdotool windowactivate --sync "$win" 2>/dev/null; xdotool key --window "$win" alt+F4
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 "$pid" 2>/dev/null; then echo "the game did not close"; kill -9 "$pid"; return 1; fi
  wait "$pid"; status=$?
  [ "$status" -eq 0 ] || { echo "exit status $status"; cat "$log"; return 1; }
  echo "window shown, input taken, closed with status 0"
}
run

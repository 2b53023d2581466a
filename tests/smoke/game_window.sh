# Shell routines the real-window tests share; sourced, after they define fail().
# find_game_window: waits up to 10 s for the game's window to appear and sets win to its id.
find_game_window() {
  win=""
  for _ in $(seq 1 50); do
    win=$(xdotool search --name '^Velomarch$' 2>/dev/null | head -n 1)
    [ -n "$win" ] && return 0
    sleep 0.2
  done
  fail "no game window"
}

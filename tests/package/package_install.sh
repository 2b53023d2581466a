#!/usr/bin/env bash
# The install as a player gets it: builds the Debian packages from this build folder, unpacks them
# into a scratch root (the machine stays untouched), checks what they hold and that the desktop
# entry, the software-centre description and the manual pages are clean, then plays the installed
# game from there in a real window under Xvfb with a fresh HOME, from an unrelated working folder:
# to the main menu and out through the exit question. The settings must land in
# ~/.config/velomarch, the progress in ~/.local/share/velomarch and nothing in the working folder;
# a second start with an old Config.cfg in the working folder moves it there once.
#   package_install.sh BUILD_DIR CPACK      (SHOT_DIR, when set, keeps the screenshots)
set -u
if [ "${1:-}" != "--inside" ]; then
  exec env -u SDL_VIDEODRIVER xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$@"
fi
build=$(realpath "$2")
cpack=$3
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
log=$scratch/log
pid=""
wm=""
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $1"
  [ -s "$log" ] && { echo "--- log:"; cat "$log"; }
  exit 1
}
. "$here/../smoke/game_window.sh"
started=$(date +%s)

for tool in dpkg-deb desktop-file-validate appstreamcli man xdotool openbox xwd; do
  command -v "$tool" >/dev/null || fail "$tool is missing (./velomarch.sh test installs it)"
done

# --- The packages -------------------------------------------------------------------------------
"$cpack" --config "$build/CPackConfig.cmake" -B "$scratch/packages" >"$log" 2>&1 || fail "cpack failed"
game_deb=$(ls "$scratch"/packages/velomarch_*.deb 2>/dev/null | head -n 1)
server_deb=$(ls "$scratch"/packages/velomarch-scored_*.deb 2>/dev/null | head -n 1)
[ -f "$game_deb" ] || fail "no velomarch package was made"
[ -f "$server_deb" ] || fail "no velomarch-scored package was made"
[ "$(ls "$scratch"/packages/*.deb | wc -l)" -eq 2 ] || fail "more packages than the game's and the server's"
root=$scratch/root
server_root=$scratch/server-root
dpkg-deb -x "$game_deb" "$root" && dpkg-deb -x "$server_deb" "$server_root" || fail "dpkg-deb -x failed"
: >"$log"

field() { dpkg-deb -f "$1" "$2"; }
[ "$(field "$game_deb" Package)" = velomarch ] || fail "the game's package is not named velomarch"
[ "$(field "$server_deb" Package)" = velomarch-scored ] || fail "the server's package is not named velomarch-scored"
for deb in "$game_deb" "$server_deb"; do
  [ -n "$(field "$deb" Maintainer)" ] || fail "$(basename "$deb"): no maintainer"
  field "$deb" Description | grep -q . || fail "$(basename "$deb"): no description"
done
# The libraries the game links come from dpkg-shlibdeps; the type face and OpenGL are named by hand.
depends=$(field "$game_deb" Depends)
for needed in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libcurl4 fonts-play libgl1; do
  echo "$depends" | tr ',|' '\n\n' | sed 's/^ *//; s/[ (].*//' | grep -qx -- "$needed" \
    || fail "the game's package does not depend on $needed: $depends"
done
field "$server_deb" Depends | grep -q libsqlite3 || fail "the server's package does not depend on SQLite"

# What each package holds, and what neither may.
for deb in "$game_deb" "$server_deb"; do
  contents=$(dpkg-deb -c "$deb") || fail "dpkg-deb -c $(basename "$deb") failed"
  echo "$contents" | grep -q velomarch-headless && fail "velomarch-headless is in $(basename "$deb")"
done
dpkg-deb -c "$game_deb" | grep -q 'velomarch-scored' && fail "the game's package holds the score server"
app=io.github.velomarch.Velomarch
desktop=$root/usr/share/applications/$app.desktop
metainfo=$root/usr/share/metainfo/$app.metainfo.xml
for file in usr/games/velomarch usr/share/applications/$app.desktop usr/share/metainfo/$app.metainfo.xml \
  usr/share/man/man6/velomarch.6.gz usr/share/doc/velomarch/copyright usr/share/doc/velomarch/changelog.gz \
  usr/share/velomarch/Data/data1.vil usr/share/velomarch/Data/data2.vil usr/share/velomarch/Sounds/1.xm; do
  [ -s "$root/$file" ] || fail "the game's package lacks /$file"
done
[ -x "$root/usr/games/velomarch" ] || fail "/usr/games/velomarch is not executable"
for file in usr/bin/velomarch-scored usr/share/man/man8/velomarch-scored.8.gz usr/share/doc/velomarch-scored/copyright \
  usr/share/doc/velomarch-scored/changelog.gz usr/share/doc/velomarch-scored/examples/nginx-velomarch-scored.conf \
  usr/share/doc/velomarch-scored/examples/haproxy-velomarch-scored.cfg; do
  [ -s "$server_root/$file" ] || fail "the server's package lacks /$file"
done
grep -q "MIT License" "$root/usr/share/doc/velomarch/copyright" || fail "the copyright file is not the licence"
# Each icon is a PNG of its own size (width and height are the IHDR's first two words).
for size in 16 24 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/velomarch.png
  [ -s "$icon" ] || fail "no ${size}x${size} icon"
  header=$(od -A n -t x1 -j 12 -N 12 "$icon" | tr -d ' \n')
  expected=$(printf '49484452%08x%08x' "$size" "$size")
  [ "$header" = "$expected" ] || fail "the ${size}x${size} icon is not a ${size} px PNG ($header)"
done

# The desktop entry and the description: clean by their validators, and pointing at each other,
# at the installed program and at the installed icon.
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net --strict "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
out=$(appstreamcli validate-tree --no-net --strict "$root" 2>&1) || fail "appstreamcli validate-tree: $out"
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Exec)" = velomarch ] && [ -x "$root/usr/games/velomarch" ] \
  || fail "the desktop entry's Exec is not the installed program"
[ "$(entry Icon)" = velomarch ] || fail "the desktop entry's icon is not the installed one"
grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo" \
  || fail "the description does not launch the desktop entry"
grep -q '<release version="'"$(field "$game_deb" Version)"'"' "$metainfo" \
  || fail "the description has no release notes for version $(field "$game_deb" Version)"

# The manual pages: groff finds nothing wrong, and every option the programs print is described.
man_page() { # man_page FILE.gz PROGRAM
  local text
  text=$(LC_ALL=C.UTF-8 MANWIDTH=100 man --warnings -E UTF-8 -l "$1" 2>"$scratch/man.err") \
    || fail "man cannot show $1"
  [ -s "$scratch/man.err" ] && fail "$(basename "$1"): $(cat "$scratch/man.err")"
  local options
  options=$("$2" --help 2>/dev/null | grep -o -- '--[a-z][a-z-]*' | sort -u)
  [ -n "$options" ] || fail "$2 --help printed no options"
  for option in $options; do
    echo "$text" | grep -q -- "$option" || fail "$(basename "$1") does not describe $option"
  done
}
man_page "$root/usr/share/man/man6/velomarch.6.gz" "$root/usr/games/velomarch"
man_page "$server_root/usr/share/man/man8/velomarch-scored.8.gz" "$server_root/usr/bin/velomarch-scored"
packaged=$(date +%s)

# --- The installed game in a window --------------------------------------------------------------
game=$root/usr/games/velomarch
version=$("$game" --version 2>/dev/null)
[[ "$version" == "velomarch $(field "$game_deb" Version) "* ]] \
  || fail "velomarch --version says \"$version\", the package is version $(field "$game_deb" Version)"

openbox >/dev/null 2>&1 &
wm=$!
sleep 1
shots=${SHOT_DIR:-$scratch}
shot() {
  xwd -silent -id "$win" -out "$scratch/$1.xwd" \
    && python3 "$here/../smoke/xwd_to_png.py" "$scratch/$1.xwd" "$shots/$1.png" >/dev/null \
    || fail "the $1 screenshot shows no picture"
}
# past_logo: waits (at most 20 s) until the window shows more than the logo's black background.
past_logo() {
  local _
  for _ in $(seq 1 40); do
    xwd -silent -id "$win" -out "$scratch/probe.xwd" 2>/dev/null && python3 - "$scratch/probe.xwd" <<'PY' && return 0
import struct, sys
data = open(sys.argv[1], "rb").read()
header_size, _version, _fmt, _depth, width, height = struct.unpack(">6I", data[:24])
bytes_per_line = struct.unpack(">I", data[48:52])[0]
offset = header_size + struct.unpack(">I", data[76:80])[0] * 12
black = total = 0
for y in range(0, height, 8):
    row = data[offset + y * bytes_per_line: offset + y * bytes_per_line + width * 4]
    for x in range(0, width * 4, 32):
        total += 1
        black += max(row[x:x + 4]) < 8
sys.exit(0 if black * 2 < total else 1)
PY
    sleep 0.5
  done
  return 1
}
# play HOME WORK RUN [NAME]: starts the installed game with that HOME from WORK, goes on from the
# logo, types NAME on the add-player page when NAME is given, and leaves the main menu through the
# exit question; the game must end with status 0. RUN names the screenshots.
play() {
  local home=$1 work=$2 run=$3 name=${4:-}
  (cd "$work" && exec env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_STATE_HOME -u XDG_CACHE_HOME \
    HOME="$home" SDL_AUDIODRIVER=dummy "$game") >"$log" 2>&1 &
  pid=$!
  find_game_window
  # The desktop entry's StartupWMClass must match the window, or docks show no icon for it.
  xdotool search --class "^$(entry StartupWMClass)\$" 2>/dev/null | grep -qx "$win" \
    || fail "the window's class is not the desktop entry's StartupWMClass"
  xdotool windowactivate --sync "$win" 2>/dev/null
  sleep 1
  # Enter goes on from the logo where the game allows it; else the logo ends on its own.
  xdotool key --window "$win" Return
  past_logo || fail "the logo did not give way to the menus"
  sleep 1
  if [ -n "$name" ]; then
    xdotool type --window "$win" --delay 60 "$name"
    sleep 0.5
    xdotool key --window "$win" Return
    sleep 1.5
  fi
  shot "${run}_main_menu"
  # Esc opens the exit question and Enter answers yes; a key that lands while a page is still
  # changing is lost, so a busy machine gets two more tries (Esc on the question goes back to the
  # menu, Enter on the menu does nothing).
  local try
  for try in 1 2 3; do
    xdotool key --window "$win" Escape
    sleep 1
    [ "$try" -eq 1 ] && shot "${run}_exit_question"
    xdotool key --window "$win" Return
    for _ in $(seq 1 20); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.2
    done
    kill -0 "$pid" 2>/dev/null || break
  done
  kill -0 "$pid" 2>/dev/null && fail "the installed game did not end through the exit question"
  wait "$pid"
  local status=$?
  pid=""
  [ "$status" -eq 0 ] || fail "the installed game ended with status $status"
}
listing() { (cd "$1" && find . -mindepth 1 | sort | tr '\n' ' '); }
# holds_player FILE NAME: whether the settings file FILE (every line in the game's line encoding)
# holds NAME.
holds_player() {
  python3 - "$1" "$2" <<'PY'
import sys
alphabet = "Q7KX2MWF9RZ4TB5HJN3CV8YD6LPG0SEA"
for line in open(sys.argv[1], encoding="latin-1"):
    bits = "".join(format(alphabet.index(c), "05b") for c in line.strip() if c in alphabet)
    bits = "0" * (-len(bits) % 8) + bits
    if sys.argv[2].encode() in bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8)):
        sys.exit(0)
sys.exit(1)
PY
}

# First start: nothing anywhere yet, so the game asks for a player's name.
home=$scratch/home
work=$scratch/work
mkdir -p "$home" "$work"
play "$home" "$work" first Tester
settings=$home/.config/velomarch/Config.cfg
progress=$home/.local/share/velomarch/Configdat.cfg
[ -s "$settings" ] || fail "no settings in ~/.config/velomarch (home: $(listing "$home"))"
[ -s "$progress" ] || fail "no progress in ~/.local/share/velomarch (home: $(listing "$home"))"
[ -z "$(listing "$work")" ] || fail "the game wrote into its working folder: $(listing "$work")"
old_settings=$settings
holds_player "$old_settings" Tester || fail "the settings do not hold the player typed in"

# Second start: an older version's Config.cfg in the working folder and no per-user one. The
# player is known, so the main menu follows the logo.
home2=$scratch/home2
work2=$scratch/work2
mkdir -p "$home2" "$work2"
cp "$old_settings" "$work2/Config.cfg"
play "$home2" "$work2" second
[ -f "$home2/.config/velomarch/Config.cfg" ] && holds_player "$home2/.config/velomarch/Config.cfg" Tester \
  || fail "the old Config.cfg was not moved to ~/.config/velomarch (home: $(listing "$home2"))"
[ -s "$home2/.local/share/velomarch/Configdat.cfg" ] || fail "no progress in ~/.local/share/velomarch"
[ -z "$(listing "$work2")" ] || fail "the working folder still holds files: $(listing "$work2")"
finished=$(date +%s)
echo "packages built, unpacked and checked in $((packaged - started)) s; installed game played twice" \
  "in $((finished - packaged)) s"
echo "settings and progress in the per-user folders, nothing in the working folder, old settings moved"

#!/bin/sh
# Makes a contact sheet of the pages with a widget focused by the keys: each page is reached by
# a headless run, focused with an arrow or Tab, and shot; montage puts the shots together.
# Usage: tools/focus_sheet/focus_sheet.sh BUILD_DIR OUT_DIR   (writes OUT_DIR/focus_sheet.png)
set -eu
Build=${1:-build-test}
Out=${2:-focus-sheet}
mkdir -p "$Out"
Runner="$Build/velomarch-headless"

# One run: NAME, FRAMES, extra options, then the input script on standard input.
Shoot() {
    Name=$1 Frames=$2
    shift 2
    Work="$Out/work-$Name"
    rm -rf "$Work" && mkdir -p "$Work"
    [ -d "$Out/profile" ] && cp -r "$Out/profile/." "$Work/"
    cat > "$Out/$Name.input"
    "$Runner" --data "$Build" --workdir "$Work" --frames $((Frames + 1)) --input "$Out/$Name.input" \
        --shot "$Frames:$Out/$Name.png" "$@" > /dev/null
}

# The first start: the add-player page with the button focused by Tab; its folder keeps the
# profile for the runs that follow.
Shoot add_player 520 <<'IN'
490 text Ann
500 press 9
IN
rm -rf "$Out/profile" && mkdir -p "$Out/profile"
"$Runner" --data "$Build" --workdir "$Out/profile" --frames 560 --input /dev/stdin > /dev/null <<'IN'
490 text Ann
500 press 13
IN

M=420 # the main menu is up
Shoot main_menu $((M + 20)) <<IN
$M press 40
$((M + 5)) press 40
IN
Shoot options $((M + 40)) <<IN
$M press 40
$((M + 5)) press 40
$((M + 10)) press 13
$((M + 20)) press 38
$((M + 25)) press 38
IN
Shoot controls $((M + 70)) <<IN
$M press 40
$((M + 5)) press 40
$((M + 10)) press 13
$((M + 30)) click 575 248
$((M + 50)) move 790 590
$((M + 55)) press 40
$((M + 60)) press 39
IN
Shoot help $((M + 90)) <<IN
$M press 9
$((M + 5)) press 9
$((M + 10)) press 9
$((M + 15)) press 9
$((M + 20)) press 13
$((M + 80)) press 9
IN
Shoot high_scores $((M + 40)) <<IN
$M press 9
$((M + 5)) press 9
$((M + 10)) press 9
$((M + 15)) press 13
$((M + 30)) press 9
IN
Shoot clear_high_scores $((M + 60)) <<IN
$M press 9
$((M + 5)) press 9
$((M + 10)) press 9
$((M + 15)) press 13
$((M + 30)) click 470 452
$((M + 45)) press 9
IN
Shoot exit_question $((M + 50)) <<IN
$M press 27
$((M + 35)) press 39
IN
Shoot profiles $((M + 30)) <<IN
$M click 310 565
$((M + 15)) press 37
IN
Shoot add_profile $((M + 50)) <<IN
$M click 310 565
$((M + 15)) click 330 430
$((M + 30)) text Bo
$((M + 40)) press 9
IN
Shoot delete_profile $((M + 40)) <<IN
$M click 310 565
$((M + 15)) click 440 430
$((M + 30)) press 9
IN
Shoot track $((M + 60)) <<IN
$M press 40
$((M + 5)) press 13
$((M + 45)) press 40
IN
Shoot car $((M + 120)) <<IN
$M press 40
$((M + 5)) press 13
$((M + 20)) press 13
$((M + 90)) press 40
IN
Shoot race_exit_question 700 --race 0 <<'IN'
600 press 27
650 press 40
IN
Shoot race_over 6805 --race 0 --seed 4 --first-race-pilot keys <<'IN'
6800 press 9
IN
Shoot times_up_send_score 6420 --race 1 --seed 3 <<'IN'
6300 click 470 392
6400 press 9
IN
Shoot your_score 6320 --race 1 --seed 3 <<'IN'
6300 press 9
IN

montage -label '%t' -pointsize 14 -tile 4x -geometry 400x300+6+6 -background '#202028' -fill white \
    "$Out"/add_player.png "$Out"/main_menu.png "$Out"/options.png "$Out"/controls.png "$Out"/help.png "$Out"/high_scores.png \
    "$Out"/clear_high_scores.png "$Out"/exit_question.png "$Out"/profiles.png "$Out"/add_profile.png \
    "$Out"/delete_profile.png "$Out"/track.png "$Out"/car.png "$Out"/race_exit_question.png \
    "$Out"/race_over.png "$Out"/your_score.png "$Out"/times_up_send_score.png "$Out/focus_sheet.png"
echo "$Out/focus_sheet.png"

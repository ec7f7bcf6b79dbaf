#!/usr/bin/env bash
# Every window of the program, opened the way an operator opens it, on a
# 1280x1024 screen with openbox: each window's outer frame (its client area
# as xwininfo gives it, widened by the frame the window manager announces in
# _NET_FRAME_EXTENTS) lies inside the screen. A picture of the screen with
# each window is kept as NN-name.png in the scratch folder (the root window's
# picture with the client window's own laid over it); frames.txt lists every
# window's frame. The radio's port leads nowhere at start, so the start-up test
# shows the rig window modally; a radio simulator then answers on port 1, and
# the rig window opens its frequency test window. The side windows that are
# shown both modally and without blocking (CW Setup, Phone Setup, the rig
# window) are checked each time after their other showing.
#
# Usage: window_frames.sh PROGRAM_DIR SCRATCH_DIR RADIOSIM
E2E_LIMIT=230
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
RADIOSIM=${PEERS[0]:?radiosim program}
SHOW_ON_FAILURE="$SCRATCH/frames.txt"
SCREEN_W=1280 SCREEN_H=1024
SHOT=0

# Twelve contacts over an hour (the graph wants seven), a Kenwood on port 1.
seed_prefs CW 20 Kenwood
: >"$PROG/fdlog.dat"
i=0
for sec in CT ENY NTX ONE PAC AK MDC WI STX BC QC VI; do
  printf '"K%dXY","1A","%s","2024/06/22","18:%02d:00","%s","CW","AB","",""\r\n' "$i" "$sec" $((i * 5)) \
    "$([ $((i % 2)) -eq 0 ] && echo 20 || echo 40)" >>"$PROG/fdlog.dat"
  i=$((i + 1))
done
printf '%s\r\n' '"4800 "' '"N"' '"8"' '"2"' '"MD;"' '"FA;"' '"4800,N,8,2"' 1 '"N"' '"F"' '"Kenwood"' 0 1 1 \
  >"$PROG/RigCntrl.txt"
ln -s "$WORK/radio" "$PROG/ports/com1"  # a link to a radio not yet there

# The frame of the window $1 (an id) named $2 must lie inside the screen; the
# screen with it is kept as a picture.
check_frame() {
  local wid=$1 name=$2 x y w h l=0 r=0 t=0 b=0 ext
  read -r x y w h < <(timeout 5 xwininfo -id "$wid" | awk '
    /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
    /^ *Width:/ {w = $NF} /^ *Height:/ {h = $NF} END {print x, y, w, h}')
  [ -n "$h" ] || fail "xwininfo knows no window \"$name\""
  ext=$(timeout 5 xprop -id "$wid" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
  [ -n "$ext" ] && IFS=, read -r l r t b <<<"$ext"
  local fx=$((x - l)) fy=$((y - t)) fw=$((w + l + r)) fh=$((h + t + b))
  SHOT=$((SHOT + 1))
  local pic
  pic=$(printf '%02d-%s' "$SHOT" "$(echo "$name" | tr -c 'A-Za-z0-9\n' '-' | tr -s '-' | sed 's/^-//;s/-$//')")
  # The root window's picture shows the frame, the client window's its contents.
  screenshot "$pic"
  timeout 10 xwd -id "$wid" -silent >"$SCRATCH/$pic-client.xwd" 2>/dev/null || fail "no picture of \"$name\""
  echo "$pic $x $y" >>"$SCRATCH/pictures.txt"
  echo "$pic: frame ${fw}x${fh} at $fx,$fy (client ${w}x${h} at $x,$y; extents $l,$r,$t,$b)" >>"$SCRATCH/frames.txt"
  if [ "$fx" -lt 0 ] || [ "$fy" -lt 0 ] || [ $((fx + fw)) -gt $SCREEN_W ] || [ $((fy + fh)) -gt $SCREEN_H ]; then
    fail "\"$name\": its frame ${fw}x${fh} at $fx,$fy leaves the ${SCREEN_W}x${SCREEN_H} screen"
  fi
  log "\"$name\": frame ${fw}x${fh} at $fx,$fy inside the screen"
}

# Waits for the window named $1 to be shown, then checks its frame.
shown_and_inside() {
  wait_for 20 window_visible "$1" || fail "\"$1\" did not open"
  sleep 0.7  # the window manager's frame and the first paint
  check_frame "$(visible_id "$1")" "$1"
}

# Closes the window named $1: Esc, else its close box, else the keys that follow.
close_win() {
  local title=$1
  shift
  activate "$title"
  key Escape
  wait_for 3 window_hidden "$title" && return 0
  timeout 5 wmctrl -i -c "$(visible_id "$title")" 2>/dev/null
  wait_for 3 window_hidden "$title" && return 0
  if [ $# -gt 0 ]; then
    activate "$title"
    "$@"
  fi
  wait_for 5 window_hidden "$title" || fail "\"$title\" did not close"
}
# Clicks the control at design position X Y (twips of a 9600 x 7200 layout)
# of the window named $1.
click_in() { activate "$1"; click_twips "$(visible_id "$1")" "$2" "$3" "${4:-9600}" "${5:-7200}"; }

# The name of the active window; whether it matches $1.
active_name() { timeout 5 xdotool getactivewindow getwindowname 2>/dev/null; }
active_is() { [[ "$(active_name)" =~ $1 ]]; }

# Opens a window from the main window with the keys given and checks it.
from_main() {
  local title=$1
  shift
  focus_main
  keys "$@"
  shown_and_inside "$title"
}

start_wm
start_program
wait_for 20 window_visible "^Varik Software$" || fail "the logo window did not show"
check_frame "$(visible_id "^Varik Software$")" "logo"
shown_and_inside "$STATION"
key_in "$STATION" Return
wait_for 15 window_gone "$STATION" || fail "Enter did not close the station window"
wait_for 20 window_visible "Invalid Comm Settings" || fail "no port at start, but no \"Invalid Comm Settings.\" box"
key_in "Invalid Comm Settings" Return
shown_and_inside "Rig Interface Setup"                      # shown modally at start-up
serial_pair 1 "$WORK/radio"
"$RADIOSIM" --family Kenwood --device "$WORK/radio" --freq 14025000 --mode CW >>"$SCRATCH/radiosim.log" 2>&1 &
started_peer $!
close_win "Rig Interface Setup" key alt+d                   # Done: its Test finds the radio
shown_and_inside "$MAIN"

# The File menu: Backup Options, Write Summary Sheet (the sixth item that can
# be chosen), Combine or Restore.
from_main "^Backup Options" alt+f b
close_win "^Backup Options"
from_main "Field Day Summary Sheet Information" alt+f Down Down Down Down Down Return
close_win "Field Day Summary Sheet Information"
from_main "Append Data or Restore" alt+f c
close_win "Append Data or Restore"

# Options: colours, CW setup with code practice and WinKey, phone, voice navigation.
from_main "Modify Multiplier Color Selections" alt+o a c
close_win "Modify Multiplier Color Selections"
from_main "CW String Selections" alt+o t c                  # modal
close_win "CW String Selections" click_in "CW String Selections" 8390 4660
from_main "CW String Selections" ctrl+c                     # then without blocking
click_in "CW String Selections" 6050 4660                  # Send Code Practice
shown_and_inside "On the Air Code Practice"
close_win "On the Air Code Practice"
click_in "CW String Selections" 5400 3740                  # the WinKey key line
wait_for 10 window_visible "CW String Selections" || fail "the CW window went away"
click_in "CW String Selections" 6050 4140                  # Configure Winkey
shown_and_inside "WinKey Setup"
close_win "WinKey Setup" key alt+d
click_in "CW String Selections" 5400 3460                  # back to no key line
close_win "CW String Selections" click_in "CW String Selections" 8390 4660
# Shown without blocking, then covered by a click on the main window: CW
# Setup from the menu brings the CW window back in front, with the focus.
focus_main
keys ctrl+c
wait_for 10 window_visible "CW String Selections" || fail "Ctrl+C did not show the CW window"
click_in "$MAIN" 2050 3720                                  # the status line
wait_for 5 active_is "$MAIN" || fail "a click on the main window did not make it the active window"
keys alt+o t c
wait_for 10 active_is "CW String Selections" ||
  fail "CW Setup from the menu left \"$(active_name)\" the active window, not the CW window"
log "CW Setup from the menu: the CW window is the active window"
shown_and_inside "CW String Selections"
close_win "CW String Selections" click_in "CW String Selections" 8390 4660
from_main "Phone Wave Selections" alt+o t p                # modal
close_win "Phone Wave Selections"
from_main "Phone Wave Selections" ctrl+p                    # then without blocking
close_win "Phone Wave Selections"
from_main "^CW Strings$" ctrl+w
close_win "^CW Strings$"
from_main "Voice Navigation Settings" alt+o v
close_win "Voice Navigation Settings"

# The radio: the rig window and, while it polls, its frequency test window;
# the privileges chart; the tune window.
from_main "Rig Interface Setup" ctrl+r                      # without blocking after its modal showing
sleep 1
click_in "Rig Interface Setup" 3570 5700                   # Change Frequency
shown_and_inside "Test Change Frequency Function"
close_win "Test Change Frequency Function"
close_win "Rig Interface Setup" key alt+d
from_main "^Frequency Privileges$" ctrl+f
close_win "^Frequency Privileges$"
from_main "Change Frequency and Mode" ctrl+g
close_win "Change Frequency and Mode" key alt+d

# Spotting: the setup window and the spectrum map.
from_main "DX Spotting Setup" ctrl+d
close_win "DX Spotting Setup" key alt+d
from_main "HF Spectrum Map" ctrl+b
close_win "HF Spectrum Map"

# The menu bar's own windows.
from_main "$STATION" alt+s
key_in "$STATION" Return
wait_for 15 window_gone "$STATION" || fail "Enter did not close the station window"
from_main "Field Day Statistics" alt+b s
close_win "Field Day Statistics"
from_main "Activity Graph" alt+g
close_win "Activity Graph"
from_main "Section Map" alt+a
close_win "Section Map"
from_main "Change Operator" alt+p
close_win "Change Operator"
from_main "Help Page" alt+h
close_win "Help Page"

# The main window's buttons: Find, and Edit on a row of the list (the
# controls stand below the menu bar, about 150 twips lower than their layout).
focus_main
click_in "$MAIN" 5010 2620                                  # Find
shown_and_inside "Find a Call"
close_win "Find a Call"
focus_main
click_in "$MAIN" 5000 650                                   # the first row of the list
sleep 0.5
click_in "$MAIN" 5970 2620                                  # Edit
shown_and_inside "Edit Contact Entry"
close_win "Edit Contact Entry"

close_program
while read -r pic x y; do
  python3 "$E2E_HERE/xwd2png.py" "$SCRATCH/$pic.xwd" "$SCRATCH/$pic.png" "$SCRATCH/$pic-client.xwd" "$x" "$y" &&
    rm -f "$SCRATCH/$pic.xwd" "$SCRATCH/$pic-client.xwd"
done <"$SCRATCH/pictures.txt"
log "PASS: $SHOT windows opened, every frame inside the screen (pictures: $SCRATCH/NN-*.png)"
exit 0

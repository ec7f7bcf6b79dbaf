#!/usr/bin/env bash
# A cluster spot tunes the radio: the fake cluster sends JA1ABC on 14.025 MHz
# and then a new 40 m spot every 100 ms, and the radio simulator, a Kenwood
# on a socat pair linked as ports/com1, stands on 14.025 CW. Done on the setup
# window opens the band map, which shows the spot (screenshot band-map.xwd);
# a right click on it sends the radio "MD3;" then "FA00014025000;" within 1 s
# and puts the clicked spot's call in the call field, though spots arrive
# while the radio is tuned; the class and section typed after it save a
# contact with the call and "14.025". Ctrl+B then shows the spectrum map.
# On the band map's bare area a click shows only the setup window, and a
# double click the setup window and then the spectrum map (screenshot
# double-click.xwd), though the first click's setup window comes up over the
# spot area.
#
# Usage: spot_tune.sh PROGRAM_DIR SCRATCH_DIR FAKECLUSTER RADIOSIM
E2E_LIMIT=90
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
FAKECLUSTER=${PEERS[0]:?fakecluster program}
RADIOSIM=${PEERS[1]:?radiosim program}

# Commands the radio received, one a line as text (the simulator logs hex).
radio_commands() { hex_lines "$SCRATCH/radio.log"; }
radio_polled() { radio_commands | grep -q '^FA;$'; }

# ---- the radio: a Kenwood on 14.025 CW behind ports/com1 ----
seed_prefs CW 20 Kenwood
: >"$PROG/fdlog.dat"
printf '%s\r\n' '"4800 "' '"N"' '"8"' '"2"' '"MD;"' '"FA;"' '"4800,N,8,2"' 1 '"N"' '"F"' '"Kenwood"' 0 1 1 \
  >"$PROG/RigCntrl.txt"
serial_pair 1 "$WORK/radio"
"$RADIOSIM" --family Kenwood --device "$WORK/radio" --freq 14025000 --mode CW --log "$SCRATCH/radio.log" \
  >>"$SCRATCH/radiosim.out" 2>&1 &
started_peer $!

# ---- the cluster: its captured lines, then the spot of this scenario ----
# (the captured lines hold an older "ja1abc" on the same frequency: the newest
# label is the one drawn on top and clicked)
printf 'DX de K1TTT:     14025.0  JA1ABC       CW 599                         1234Z\r\n' >"$SCRATCH/spot.txt"
start_fake_cluster "$FAKECLUSTER" "$SCRATCH/spot.txt" 100
PORT=$CLUSTER_PORT
# Telnet to the cluster, the band map (not the list).
printf '%s\r\n' '""' '""' '""' '""' 0 '""' '"Telnet"' 0 0 0 '#FALSE#' '""' "\"$PORT\"" '"127.0.0.1"' >"$PROG/PackSpot.txt"

start_wm
start_program
confirm_station_and_focus_main
wait_for 10 radio_polled || fail "the program does not poll the radio"
log "the radio is polled"

# ---- Ctrl+D, log in to the cluster, Done opens the band map ----
key ctrl+d
SETUP=" DX Spotting Setup"
wait_for 10 window_shown "^$SETUP\$" || fail "Ctrl+D did not show the setup window"
SID=$(window_id "^$SETUP\$")
timeout 10 xdotool windowactivate --sync "$SID" || fail "cannot activate the setup window"
# The link opens as the window shows: an established connection on the port.
cluster_connected() {
  awk -v p="$(printf ':%04X' "$PORT")" '$4 == "01" && ($2 ~ p "$" || $3 ~ p "$") { found = 1 } END { exit !found }' /proc/net/tcp
}
wait_for 10 cluster_connected || fail "the setup window did not connect to the cluster"
sleep 0.3
timeout 10 xdotool type --delay 40 "n0call" || fail "xdotool type failed"
key Return
wait_for 10 file_has "$SCRATCH/cluster.out" n0call || fail "the typed call did not reach the cluster"
key alt+d
wait_for 10 window_hidden "^$SETUP\$" || fail "Done did not hide the setup window"
focus_main

# ---- the band map shows the spot: its label's text in the fresh-spot colour ----
label_box() {
  BOX=$(pixels_of "$MID" 255 255 128 box)
  [ -n "$BOX" ] && [ "${BOX%% *}" -gt 0 ]
}
wait_for 10 label_box || fail "the band map shows no fresh spot"
cp "$SCRATCH/window.xwd" "$SCRATCH/band-map.xwd"
read -r COUNT X0 Y0 X1 Y1 <<<"$BOX"
log "band map: $COUNT spot-coloured pixels in $X0,$Y0-$X1,$Y1 (band-map.xwd)"
[ $((X1 - X0)) -lt 100 ] || fail "spot-coloured pixels spread over the band map: $BOX"
# 14.025 is 1/14 of the way along 14.000-14.350.
read -r WW < <(xdotool getwindowgeometry --shell "$MID" | sed -n 's/^WIDTH=//p')
[ $(((X0 + X1) / 2)) -lt $((WW / 4)) ] || fail "the spot is not near the low end of the band: $BOX (width $WW)"

# ---- a right click tunes the radio and takes the call ----
BEFORE=$(radio_commands | grep -c '')
timeout 5 xdotool mousemove --window "$MID" $(((X0 + X1) / 2)) $(((Y0 + Y1) / 2)) || fail "xdotool mousemove failed"
sleep 0.3
streamed() { grep -c '^sent ' "$SCRATCH/cluster.err"; }
SENT=$(streamed)
CLICKED=$(now_ms)
timeout 5 xdotool click 3 || fail "xdotool click failed"
tuned() { radio_commands | tail -n +$((BEFORE + 1)) | grep -q '^FA00014025000;$'; }
within_ms "$CLICKED" 1000 tuned || fail "the radio was not tuned within 1 s; after the click it got: $(radio_commands | tail -n +$((BEFORE + 1)) | sort | uniq -c | tr '\n' ' ')"
SET=$(radio_commands | tail -n +$((BEFORE + 1)) | grep -v '^\(FA\|MD\|IF\);$')
[ "$SET" = "$(printf 'MD3;\nFA00014025000;')" ] || fail "unexpected set commands: $(echo "$SET" | tr '\n' ' ')"
log "the radio got MD3; then FA00014025000; within 1 s of the click"
log "the cluster sent $(($(streamed) - SENT)) spots from the click until the radio was tuned"

timeout 10 xdotool windowactivate --sync "$MID" || fail "cannot activate the main window"
timeout 10 xdotool type --delay 80 "2act" || fail "xdotool type failed"
key Return
wait_for 10 log_has_lines 1 || fail "the contact did not reach fdlog.dat"
LINE=$(head -n 1 "$PROG/fdlog.dat" | tr -d '\r')
log "saved: $LINE"
[[ "$LINE" == '"JA1ABC","2A","CT",'*',"20","CW","AB","14.025",'* ]] || fail "unexpected contact: $LINE"

# ---- Ctrl+B: the spectrum map ----
key ctrl+b
wait_for 10 window_shown "^ HF Spectrum Map\$" || fail "Ctrl+B did not show the spectrum map"
sleep 0.5
screenshot spectrum-map
log "Ctrl+B shows the spectrum map"
timeout 5 wmctrl -c " HF Spectrum Map" || fail "wmctrl could not close the spectrum map"
wait_for 10 window_gone "^ HF Spectrum Map\$" || fail "the spectrum map did not close"

# ---- the band map's area: a click, then a double click ----
# A point of the bare area: at the window's bottom, below the scale.
read -r WH < <(xdotool getwindowgeometry --shell "$MID" | sed -n 's/^HEIGHT=//p')
click_area() {
  timeout 10 xdotool windowactivate --sync "$MID" || fail "cannot activate the main window"
  timeout 5 xdotool mousemove --window "$MID" $((WW * 5 / 8)) $((WH - 6)) || fail "xdotool mousemove failed"
  sleep 0.3
  timeout 5 xdotool click "$@" 1 || fail "xdotool click failed"
}
close_setup() {
  activate "^$SETUP\$"
  key alt+d
  wait_for 10 window_hidden "^$SETUP\$" || fail "Done did not hide the setup window"
}
click_area
wait_for 10 window_visible "^$SETUP\$" || fail "a click on the band map did not show the setup window"
sleep 1  # longer than any double-click time: nothing else comes
window_hidden "^ HF Spectrum Map\$" || fail "a single click on the band map opened the spectrum map"
log "a click on the band map shows the setup window only"
close_setup
click_area --repeat 2 --delay 80
wait_for 10 window_visible "^ HF Spectrum Map\$" || fail "a double click on the band map did not open the spectrum map"
window_visible "^$SETUP\$" || fail "a double click on the band map did not show the setup window"
sleep 0.5
screenshot double-click
log "a double click on the band map shows the setup window and opens the spectrum map"
timeout 5 wmctrl -c " HF Spectrum Map" || fail "wmctrl could not close the spectrum map"
wait_for 10 window_gone "^ HF Spectrum Map\$" || fail "the spectrum map did not close"
close_setup

close_program
log "PASS: a cluster spot on the band map tunes the radio and fills the call; the contact carries 14.025; a click on the band map shows the setup window, a double click the spectrum map too"
exit 0

#!/usr/bin/env bash
# Side windows in front, Esc as Done. Ctrl+R shows the rig window, a window
# of its own (not transient for the main window, so not kept above it); the
# main window is activated and clicked (it may cover the screen-sized rig
# window); Ctrl+R again brings the rig window to the top of the stacking order
# with the focus. Esc there is its Done: hidden, RigCntrl.txt written. Phone
# Setup from the menu is modal, kept above the main window, and comes back
# when the window manager minimises it; F1's wave file chosen in the file
# dialog, Esc in a text box is Done, and wave2.txt holds the file.
#
# Usage: side_windows.sh PROGRAM_DIR SCRATCH_DIR
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
seed_prefs PH 40
printf '%s\r\n' '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""' >"$PROG/fdlog.dat"
start_wm
start_program
confirm_station_and_focus_main

RIG="Rig Interface Setup"
stacking() { timeout 5 xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g'; }
top_window() { stacking | awk '{print $NF}'; }
active_window() { timeout 5 xprop -root _NET_ACTIVE_WINDOW | sed 's/.*# //'; }
# Window ids as xprop prints them (0x... without leading zeros).
xid() { printf '0x%x' "$1"; }
rig_in_front() { [ "$(top_window)" = "$RID" ] && [ "$(active_window)" = "$RID" ]; }
main_in_front() { [ "$(top_window)" = "$(xid "$MID")" ]; }

key ctrl+r
wait_for 15 window_visible "$RIG" || fail "Ctrl+R showed no rig window"
RID=$(xid "$(visible_id "$RIG")")
transient_for() { timeout 5 xprop -id "$1" WM_TRANSIENT_FOR 2>/dev/null | grep -o '0x[0-9a-f]*'; }
[ -z "$(transient_for "$RID")" ] || fail "the rig window is kept above the main window (transient for $(transient_for "$RID"))"
wait_for 10 rig_in_front || fail "the rig window is not in front: $(stacking), active $(active_window)"
log "Ctrl+R: the rig window in front with the focus"

# The operator goes back to the log: the main window comes over the rig window.
timeout 10 xdotool windowactivate --sync "$MID" || fail "cannot activate the main window"
eval "$(timeout 5 xdotool getwindowgeometry --shell "$MID")"
timeout 5 xdotool mousemove $((X + WIDTH - 40)) $((Y + HEIGHT - 40)) click 1 || fail "click on the main window"
wait_for 10 main_in_front || fail "the main window stays under the rig window: $(stacking)"
log "a click on the main window: the main window over the rig window"

key ctrl+r
wait_for 10 rig_in_front || fail "Ctrl+R left the rig window behind: $(stacking), active $(active_window)"
screenshot rig-in-front "$RID"
log "Ctrl+R again: the rig window in front with the focus"

rm -f "$PROG/RigCntrl.txt"
key Escape
wait_for 10 window_hidden "$RIG" || fail "Esc did not close the rig window"
wait_for 10 test -f "$PROG/RigCntrl.txt" || fail "Esc was not the rig window's Done: no RigCntrl.txt"
log "Esc in the rig window: Done, RigCntrl.txt written"

# ---- Phone Setup: a file chosen, then Esc ----
PHONE="Phone Wave Selections"
WAV="$PROG/cq-e2e.wav"
: >"$WAV"
focus_main
keys alt+o t p
wait_for 15 window_visible "$PHONE" || fail "Phone Setup did not open"
PID_PHONE=$(visible_id "$PHONE")
[ -n "$(transient_for "$PID_PHONE")" ] || fail "the modal Phone Setup is not kept above the main window"
timeout 5 xdotool windowminimize "$PID_PHONE" || fail "xdotool windowminimize failed"
sleep 1
wait_for 10 window_visible "$PHONE" || fail "the minimised modal Phone Setup stayed out of sight"
log "Phone Setup, modal: kept above the main window, back at once when minimised"
click_twips "$PID_PHONE" 8900 280  # F1's Browse
wait_for 15 window_visible "^Open$" || fail "no file dialog"
sleep 0.5
timeout 10 xdotool type --clearmodifiers --delay 30 "$WAV" || fail "xdotool type failed"
key Return
wait_for 10 window_hidden "^Open$" || fail "the file dialog stayed"
activate "$PHONE"
screenshot phone-setup "$PID_PHONE"
click_twips "$PID_PHONE" 6600 4110  # into the port box
sleep 0.3
key Escape
wait_for 10 window_hidden "$PHONE" || fail "Esc did not close Phone Setup"
wait_for 10 file_has "$PROG/wave2.txt" "cq-e2e.wav" || fail "wave2.txt lacks the chosen file: $(head -n 2 "$PROG/wave2.txt")"
log "Esc in Phone Setup: Done, wave2.txt holds $(head -n 1 "$PROG/wave2.txt" | tr -d '\r')"

close_program
log "PASS: the rig window comes to the front with Ctrl+R; Esc is Done in the rig window and Phone Setup"
exit 0

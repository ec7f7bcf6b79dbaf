#!/usr/bin/env bash
# The WinKey keyer through the real windows, with the keyer simulator on a
# socat pair as ports/com5: CW Setup, "WinKey", "Configure Winkey", port 5,
# Open, Done (WK.txt); in mode CW, F1 reaches the simulator; Esc while it is
# busy clears it (0A); the pair ended while the keyer sends: the keyer is
# closed, so the next F1 tries to open it and says that no keyer answers,
# and once the pair is made again F1 opens it and sends the message alone;
# SIGTERM ends with 0A 00 03.
#
# Usage: winkey.sh PROGRAM_DIR SCRATCH_DIR SIMULATOR
E2E_LIMIT=200
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
SIM=${PEERS[0]:?simulator}

WKLOG="$SCRATCH/keyer.log"
SHOW_ON_FAILURE="$WKLOG"
has() { grep -qx "$1" "$WKLOG" 2>/dev/null; }

seed_prefs CW 20
: >"$PROG/fdlog.dat"
: >"$WKLOG"
serial_pair 5 "$SCRATCH/far"
"$SIM" "$SCRATCH/far" "$WKLOG" 150 >"$SCRATCH/sim.log" 2>&1 &
SIM_PID=$!
started_peer $SIM_PID

start_wm
start_program
confirm_station_and_focus_main
open_cw_setup
click_twips "$CID" 2000 260
timeout 20 xdotool type --delay 50 "cq fd" || fail "typing F1"
click_twips "$CID" 5400 3740    # WinKey
sleep 0.5
click_twips "$CID" 6050 4140    # Configure Winkey
WK=" WinKey Setup"
wait_for 15 window_shown "$WK" || fail "the WinKey window did not open"
WID=$(window_id "$WK")
timeout 10 xdotool windowactivate --sync "$WID" || fail "cannot activate the WinKey window"
sleep 0.3
# The WinKey window's own design size is 6120 x 6840 twips.
click_wk() { click_twips "$WID" "$1" "$2" 6120 6840; }
click_wk 1600 620               # port box
key End BackSpace BackSpace BackSpace BackSpace
timeout 5 xdotool type "5"
click_wk 590 5760               # Open (leaving the port box sets the port)
wait_for 10 has "00 02" || fail "the keyer was not opened"
wait_for 10 has "0E 00" || fail "the settings were not sent"
log "WinKey opened on port 5"
click_wk 5460 6420              # Done
WKTXT="$HOME/Documents/Varik Software/Field Day/WK.txt"
wait_for 10 test -f "$WKTXT" || fail "Done did not write WK.txt"
[ "$(head -n 1 "$WKTXT" | tr -d '\r')" = "5" ] || fail "WK.txt: $(od -c "$WKTXT" | head -n 3)"
log "WK.txt written"
wait_for 10 window_hidden "$WK" || fail "the WinKey window stayed"
timeout 10 xdotool windowactivate --sync "$CID" || fail "cannot activate the CW window"
click_twips "$CID" 8390 4660    # Done
wait_for 10 test -f "$PROG/cw.txt" || fail "Done did not write cw.txt"
[ "$(sed -n 15p "$PROG/cw.txt" | tr -d '\r')" = "5" ] || fail "cw.txt does not hold key line 5"

# ---- F1 in mode CW reaches the keyer ----
timeout 10 xdotool windowactivate --sync "$MID" || fail "cannot activate the main window"
sleep 0.3
: >"$WKLOG"
key F1
wait_for 10 has "44" || fail "the message did not reach the keyer: $(tr '\n' ' ' <"$WKLOG")"
[ "$(tr '\n' ' ' <"$WKLOG")" = "43 51 20 46 44 " ] || fail "keyer got: $(tr '\n' ' ' <"$WKLOG")"
log "F1 reached the keyer"

# ---- Esc while the keyer is busy: 0A ----
: >"$WKLOG"
key F1
sleep 0.3
key Escape
wait_for 5 has "0A" || fail "Esc did not clear the keyer: $(tr '\n' ' ' <"$WKLOG")"
log "Esc cleared the keyer"

# ---- The pair ended while the keyer sends ----
sleep 1
: >"$WKLOG"
key F1
wait_for 5 has "43" || fail "the message did not reach the keyer: $(tr '\n' ' ' <"$WKLOG")"
kill "$SOCAT_PID" "$SIM_PID"
wait_for 10 test ! -e "$PROG/ports/com5" || fail "socat left ports/com5"
sleep 1
window_hidden "Unable to establish" || fail "a box came up when the keyer's port went away"
screenshot winkey-port-gone "$MID"
log "the keyer's pair ended during a message"
# The next F1 opens the keyer again: no keyer there, one box, nothing kept.
key F1
wait_for 10 window_visible "Unable to establish connection with Winkey" ||
  fail "F1 after the loss did not try to open the keyer"
sleep 0.5
screenshot winkey-gone-f1 "$(visible_id "Unable to establish")"
key_in "Unable to establish connection with Winkey" Return
wait_for 5 window_hidden "Unable to establish" || fail "Enter did not close the box"
sleep 1.5
window_hidden "Unable to establish" || fail "a second box came: the message was kept"
log "F1 with the keyer gone: the box for no keyer"
# The pair made again: F1 opens the keyer and sends the message alone.
: >"$WKLOG"
serial_pair 5 "$SCRATCH/far"
"$SIM" "$SCRATCH/far" "$WKLOG" 150 >>"$SCRATCH/sim.log" 2>&1 &
started_peer $!
timeout 10 xdotool windowactivate --sync "$MID" || fail "cannot activate the main window"
sleep 0.3
key F1
wait_for 10 has "44" || fail "F1 after the pair came back sent nothing: $(tr '\n' ' ' <"$WKLOG")"
sleep 0.5
GOT=$(tr '\n' ' ' <"$WKLOG")
[[ "$GOT" == "00 04 55 00 02 "*" 0E 00 43 51 20 46 44 " ]] || fail "after the pair came back the keyer got: $GOT"
log "the pair made again: F1 opened the keyer and sent the message"

# ---- SIGTERM: 0A, 00 03 ----
: >"$WKLOG"
kill -TERM "$FD_PID"
wait_program_end
[ "$(tr '\n' ' ' <"$WKLOG")" = "0A 00 03 " ] || fail "at the end the keyer got: $(tr '\n' ' ' <"$WKLOG")"
log "PASS: WinKey setup, WK.txt, F1, Esc, release at the end"
exit 0

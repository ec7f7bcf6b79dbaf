#!/usr/bin/env bash
# DX spotting with the real program under a real X server: a telnet link to
# the fake cluster from "PackSpot.txt", Ctrl+D shows the setup window and the
# link opens, the typed call reaches the cluster, a burst of 1,000 spot lines
# arrives while a contact is typed and saved, and Done rewrites "PackSpot.txt".
#
# Usage: spots_e2e.sh PROGRAM_DIR SCRATCH_DIR FAKECLUSTER
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
FAKECLUSTER=${PEERS[0]:?fakecluster program}

seed_prefs PH 20
: >"$PROG/fdlog.dat"

# ---- the cluster, on a free loopback port, with a burst of 1,000 spot lines ----
for i in $(seq 1 1000); do
  printf 'DX de W3LPL:     %7.1f  %-13sCW 599 up 2                    1234Z\r\n' "$((14000 + i % 300))" "K${i}AB"
done >"$SCRATCH/burst.txt"
start_fake_cluster "$FAKECLUSTER" "$SCRATCH/burst.txt"
printf '%s\r\n' '""' '""' '""' '""' 0 '""' '"Telnet"' 0 0 0 '#FALSE#' '""' "\"$CLUSTER_PORT\"" '"127.0.0.1"' >"$PROG/PackSpot.txt"
cp "$PROG/PackSpot.txt" "$SCRATCH/PackSpot.seeded"

start_wm
start_program
confirm_station_and_focus_main

# ---- Ctrl+D: the setup window, and the saved link opens ----
key ctrl+d
SETUP=" DX Spotting Setup"
wait_for 15 window_shown "^$SETUP\$" || fail "Ctrl+D did not show the setup window"
log "setup window shown"
SID=$(window_id "^$SETUP\$")
timeout 10 xdotool windowactivate --sync "$SID" || fail "cannot activate the setup window"
sleep 0.5
timeout 20 xdotool type --delay 80 "n0call" || fail "xdotool type failed"
key Return
cluster_got_call() { grep -q "n0call" "$SCRATCH/cluster.out"; }
wait_for 15 cluster_got_call || fail "the typed call did not reach the cluster"
log "the typed call reached the cluster"

# ---- the burst arrives while a contact is typed and saved ----
timeout 10 xdotool windowactivate --sync "$MID" || fail "cannot activate the main window"
sleep 0.3
timeout 20 xdotool type --delay 60 "k1abc2act" || fail "xdotool type failed"
key Return
wait_for 15 log_has_lines 1 || fail "the contact did not reach fdlog.dat"
grep -q '^"K1ABC","2A","CT"' "$PROG/fdlog.dat" || fail "unexpected contact: $(cat "$PROG/fdlog.dat")"
log "contact saved during the burst"
screenshot after-burst

# ---- Done rewrites PackSpot.txt ----
rm -f "$PROG/PackSpot.txt"
timeout 10 xdotool windowactivate --sync "$SID" || fail "cannot activate the setup window"
sleep 0.3
key alt+d
packspot_written() { [ -f "$PROG/PackSpot.txt" ]; }
wait_for 10 packspot_written || fail "Done did not write PackSpot.txt"
cmp -s "$PROG/PackSpot.txt" "$SCRATCH/PackSpot.seeded" || fail "PackSpot.txt differs: $(od -c "$PROG/PackSpot.txt" | head -n 20)"
log "Done rewrote PackSpot.txt"

# ---- close ----
close_program
log "PASS: setup window, telnet link, typed call, contact during a burst, PackSpot.txt"
exit 0

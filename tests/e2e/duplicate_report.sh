#!/usr/bin/env bash
# A duplicate: one second after Enter, inside the three-second hold, the
# window already shows the red report (the status line painted red) and the
# emptied call field; the contact is not stored.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"

seed_prefs PH 40
printf '%s\r\n' '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""' >"$PROG/fdlog.dat"
start_wm
start_program
confirm_station_and_focus_main

BEFORE=$(pixels_of "$MID" 255 0 0)
timeout 20 xdotool type --delay 120 "n0ax" || fail "xdotool type failed"
key Return
sleep 1
DURING=$(pixels_of "$MID" 255 0 0)
log "red pixels before Enter: $BEFORE, one second after: $DURING"
[ "$DURING" -gt $((BEFORE + 500)) ] || fail "the red duplicate report is not shown one second after Enter"

sleep 3
[ "$(grep -c '' "$PROG/fdlog.dat")" -eq 1 ] || fail "the duplicate was stored"
close_program
log "PASS: the duplicate report shows during the hold"
exit 0

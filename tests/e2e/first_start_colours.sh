#!/usr/bin/env bash
# A first start with no fdpref.dat and no fdlog.dat: the "Error opening file."
# boxes are answered, the station window confirmed, and the first contact
# turns its section's label red (the first-start worked colour); the other
# labels show the first-start remaining colour, blue.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"

start_wm
start_program
# The "Error opening file." reports of a first start come around the station window.
FILE_BOX="^File Error$"
wait_for 30 bash -c "[ -n \"\$(timeout 5 xdotool search --name 'File Error|Station I' 2>/dev/null)\" ]" ||
  fail "neither a file box nor the station window appeared"
answer_boxes "$FILE_BOX" 2
confirm_station
answer_boxes "$FILE_BOX" 3
focus_main

BLUE=$(pixels_of "$MID" 0 0 255)
RED_BEFORE=$(pixels_of "$MID" 255 0 0)
log "first start: blue pixels $BLUE, red pixels $RED_BEFORE"
[ "$BLUE" -gt 1000 ] || fail "the remaining sections are not blue"

timeout 20 xdotool type --delay 120 "k1abc2act" || fail "xdotool type failed"
key Return
wait_for 15 log_has_lines 1 || fail "the contact did not reach fdlog.dat"
sleep 1
RED_AFTER=$(pixels_of "$MID" 255 0 0)
BLUE_AFTER=$(pixels_of "$MID" 0 0 255)
log "after the first contact: red pixels $RED_AFTER, blue pixels $BLUE_AFTER"
# A label's small text has few pixels of the pure colour (the rest is smoothed):
# about a dozen, where the grid's 83 labels showed about 1300 blue ones.
[ "$RED_AFTER" -ge $((RED_BEFORE + 8)) ] || fail "the worked section's label did not turn red"
[ "$BLUE_AFTER" -le $((BLUE - 8)) ] || fail "the worked section's label is still blue"

close_program
[ "$(sed -n 7p "$PROG/fdpref.dat" | tr -d '\r')" = 255 ] || fail "the worked colour stored is not 255"
[ "$(sed -n 8p "$PROG/fdpref.dat" | tr -d '\r')" = 16711680 ] || fail "the remaining colour stored is not 16711680"
log "PASS: first start shows worked sections red and the others blue"
exit 0

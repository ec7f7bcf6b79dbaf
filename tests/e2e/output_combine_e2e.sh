#!/usr/bin/env bash
# The restore and the backup options as an operator uses them: File, "&Combine
# or Restore from Backup", a backup's path typed, Append, Done: fdlog.dat holds
# the merged log; then File, "&Backup Options", the permanent copies ticked,
# Done: fdpref.dat item 15 reads 1.
#
# Usage: output_combine_e2e.sh PROGRAM_DIR SCRATCH_DIR
# Every wait is bounded; the program and the window manager are ended by their
# own ids on every exit.
set -u

PROGRAM_DIR=${1:?program folder}
SCRATCH=${2:?scratch folder}

source "$(dirname "$0")/output_e2e_lib.sh"
printf '%s\r\n' '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""' >"$PROG/fdlog.dat"
printf '%s\r\n' '"K1AA","2A","CT","2024/06/22","17:00:00","20","CW","JD","14.025",""' \
  '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""' \
  '"W2BB","3A","ENY","2024/06/22","19:00:00","40","CW","JD","",""' >"$WORK/backup.dat"
start_program

press_in "$MAIN" alt+f
sleep 0.5
timeout 5 xdotool key --clearmodifiers c || fail "xdotool key failed"
FORM3="Append Data or Restore From Backup"
wait_for 20 window_shown "$FORM3" || fail "the append window did not appear"
timeout 10 xdotool windowactivate --sync "$(window_id "$FORM3")" || fail "cannot activate the append window"
sleep 0.3
timeout 20 xdotool type --delay 30 "$WORK/backup.dat" || fail "xdotool type failed"
timeout 5 xdotool key --clearmodifiers Tab Tab space || fail "xdotool key failed"  # Browse, Append
log_restored() { [ "$(grep -c '' "$PROG/fdlog.dat")" -eq 3 ]; }
wait_for 15 log_restored || fail "fdlog.dat was not rewritten: $(cat "$PROG/fdlog.dat")"
timeout 5 xdotool key --clearmodifiers space || fail "xdotool key failed"  # Done has the focus
wait_for 10 window_gone "$FORM3" || fail "Done did not close the append window"
printf '%s\r\n' '"K1AA","2A","CT","2024/06/22","17:00:00","20","CW","JD","14.025",""' \
  '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""' \
  '"W2BB","3A","ENY","2024/06/22","19:00:00","40","CW","JD","",""' >"$SCRATCH/fdlog.expected"
cmp -s "$PROG/fdlog.dat" "$SCRATCH/fdlog.expected" || fail "fdlog.dat differs: $(od -c "$PROG/fdlog.dat" | head -n 20)"
log "restored"

press_in "$MAIN" alt+f
sleep 0.5
timeout 5 xdotool key --clearmodifiers b || fail "xdotool key failed"
press_in "^Backup Options$" space Tab Tab Tab space  # Check2 ticked; Check3, Text1, Done
wait_for 10 window_hidden "^Backup Options$" || fail "Done did not hide the backup window"
item15() { [ "$(sed -n 15p "$PROG/fdpref.dat")" = "$(printf '1\r')" ]; }
wait_for 10 item15 || fail "fdpref.dat item 15: $(sed -n 15p "$PROG/fdpref.dat" | od -c)"
[ -d "$PROG/BAK$(date +%Y)" ] || fail "no yearly backup folder"

stop_program
log "PASS: restore from a backup and the backup options from the File menu"
exit 0

#!/usr/bin/env bash
# The restore and the backup options as an operator uses them: File, "&Combine
# or Restore from Backup", a backup's path typed, Append, Done: fdlog.dat holds
# the merged log; then File, "&Backup Options", the permanent copies ticked,
# Done: fdpref.dat item 15 reads 1.
#
# Usage: output_combine_e2e.sh PROGRAM_DIR SCRATCH_DIR
E2E_LIMIT=170
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
seed_prefs PH 20
start_wm
printf '%s\r\n' '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""' >"$PROG/fdlog.dat"
printf '%s\r\n' '"K1AA","2A","CT","2024/06/22","17:00:00","20","CW","JD","14.025",""' \
  '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""' \
  '"W2BB","3A","ENY","2024/06/22","19:00:00","40","CW","JD","",""' >"$WORK/backup.dat"
start_program
confirm_station_and_focus_main

key_in "$MAIN" alt+f
sleep 0.5
key c
FORM3="Append Data or Restore From Backup"
wait_for 20 window_shown "$FORM3" || fail "the append window did not appear"
timeout 10 xdotool windowactivate --sync "$(window_id "$FORM3")" || fail "cannot activate the append window"
sleep 0.3
timeout 20 xdotool type --delay 30 "$WORK/backup.dat" || fail "xdotool type failed"
key Tab Tab space  # Browse, Append
log_restored() { [ "$(grep -c '' "$PROG/fdlog.dat")" -eq 3 ]; }
wait_for 15 log_restored || fail "fdlog.dat was not rewritten: $(cat "$PROG/fdlog.dat")"
key space  # Done has the focus
wait_for 10 window_gone "$FORM3" || fail "Done did not close the append window"
printf '%s\r\n' '"K1AA","2A","CT","2024/06/22","17:00:00","20","CW","JD","14.025",""' \
  '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""' \
  '"W2BB","3A","ENY","2024/06/22","19:00:00","40","CW","JD","",""' >"$SCRATCH/fdlog.expected"
cmp -s "$PROG/fdlog.dat" "$SCRATCH/fdlog.expected" || fail "fdlog.dat differs: $(od -c "$PROG/fdlog.dat" | head -n 20)"
log "restored"

key_in "$MAIN" alt+f
sleep 0.5
key b
key_in "^Backup Options$" space Tab Tab Tab space  # Check2 ticked; Check3, Text1, Done
wait_for 10 window_hidden "^Backup Options$" || fail "Done did not hide the backup window"
item15() { [ "$(sed -n 15p "$PROG/fdpref.dat")" = "$(printf '1\r')" ]; }
wait_for 10 item15 || fail "fdpref.dat item 15: $(sed -n 15p "$PROG/fdpref.dat" | od -c)"
[ -d "$PROG/BAK$(date +%Y)" ] || fail "no yearly backup folder"

close_program
log "PASS: restore from a backup and the backup options from the File menu"
exit 0

#!/usr/bin/env bash
# The ADIF export as an operator runs it: with a seeded log, File, "Export
# &ADIF Format" by the keyboard, the three boxes and the save dialog accepted
# as offered, the success box closed; then the file in the documents folder.
#
# Usage: output_adif_e2e.sh PROGRAM_DIR SCRATCH_DIR
E2E_LIMIT=170
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
seed_prefs PH 20
start_wm
printf '%s\r\n' '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""' >"$PROG/fdlog.dat"
start_program
confirm_station_and_focus_main
key_in "$MAIN" alt+f
sleep 0.5
key a
key_in "Please enter your transmitter output power\." Return
key_in "Please enter a comment\." Return
key_in "^Mode\?$" Return
key_in "^Save As$" Return
key_in "File Written Successfully\." Return
wait_for 10 window_gone "File Written Successfully\." || fail "the success box stayed"
log "export done"

OUT="$HOME/Documents/Varik Software/Field Day/Field Day.adi"
[ -f "$OUT" ] || fail "no file $OUT"
printf '%s\r\n' "ADIF Export from Varik Software Field Day Log 1.0" \
  "Written by the Varik Software Field Day Log program" \
  "For help, see Help in the program's main window" \
  "<PROGRAMID:28>Varik Software Field Day Log" >"$SCRATCH/head.expected"
printf '%s\r\n' "" "<EOH>" "<Call:4>N0AX <Qso_Date:8:d>20240622 <Band:3>40M <Mode:2>PH" \
  "<Tx_Pwr:3>100 <Time_On:6>180600 <DXCC:3>291 <State:2>MN " "<ARRL_SECT:2>MN <CLASS:2>1E " \
  "<VARIK_FDInitials:2>AB <Cont:2>NA <Comment:22>ARRL Field Day Contest" "<eor>" "" >"$SCRATCH/tail.expected"
head -n 4 "$OUT" | cmp -s - "$SCRATCH/head.expected" || fail "header differs: $(head -n 5 "$OUT" | od -c | head)"
sed -n 5p "$OUT" | grep -q '^Log exported on: ' || fail "line 5: $(sed -n 5p "$OUT")"
tail -n +6 "$OUT" | cmp -s - "$SCRATCH/tail.expected" || fail "record differs: $(tail -n +6 "$OUT" | od -c | head -n 30)"

close_program
log "PASS: ADIF export from the File menu, byte for byte"
exit 0

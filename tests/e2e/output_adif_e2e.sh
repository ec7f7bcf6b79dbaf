#!/usr/bin/env bash
# The ADIF export as an operator runs it: with a seeded log, File, "Export
# &ADIF Format" by the keyboard, the three boxes and the save dialog accepted
# as offered, the success box closed; then the file in the documents folder.
#
# Usage: output_adif_e2e.sh PROGRAM_DIR SCRATCH_DIR
# Every wait is bounded; the program and the window manager are ended by their
# own ids on every exit.
set -u

PROGRAM_DIR=${1:?program folder}
SCRATCH=${2:?scratch folder}

source "$(dirname "$0")/output_e2e_lib.sh"
printf '%s\r\n' '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""' >"$PROG/fdlog.dat"
start_program
press_in "$MAIN" alt+f
sleep 0.5
timeout 5 xdotool key --clearmodifiers a || fail "xdotool key failed"
press_in "Please enter your transmitter output power\." Return
press_in "Please enter a comment\." Return
press_in "^Mode\?$" Return
press_in "^Save As$" Return
press_in "File Written Successfully\." Return
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

stop_program
log "PASS: ADIF export from the File menu, byte for byte"
exit 0

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

if [ -z "${FD_E2E_INNER:-}" ]; then
  rm -rf "$SCRATCH"
  mkdir -p "$SCRATCH"
  FD_E2E_INNER=1 timeout -k 5 150 xvfb-run -a -e "$SCRATCH/xvfb.log" -s "-screen 0 1280x1024x24" \
    bash "$0" "$PROGRAM_DIR" "$SCRATCH"
  rc=$?
  [ $rc -eq 124 ] && echo "FAIL: the session ran past its time limit (see $SCRATCH)"
  exit $rc
fi

LOG="$SCRATCH/e2e.log"
WORK="$SCRATCH/run"
PROG="$WORK/program"
OB_PID=""
FD_PID=""

log() { echo "$*" | tee -a "$LOG"; }
cleanup() {
  [ -n "$FD_PID" ] && kill "$FD_PID" 2>/dev/null
  [ -n "$OB_PID" ] && kill "$OB_PID" 2>/dev/null
  return 0
}
trap cleanup EXIT
trap 'exit 143' INT TERM HUP
fail() {
  log "FAIL: $*"
  timeout 10 xwd -root -silent >"$SCRATCH/failure-screen.xwd" 2>/dev/null && log "screenshot: $SCRATCH/failure-screen.xwd"
  [ -f "$SCRATCH/fieldday.log" ] && tail -n 40 "$SCRATCH/fieldday.log" | tee -a "$LOG"
  exit 1
}
wait_for() {
  local tries=$(($1 * 4))
  shift
  while [ $tries -gt 0 ]; do
    "$@" && return 0
    sleep 0.25
    tries=$((tries - 1))
  done
  return 1
}
window_id() { timeout 5 xdotool search --name "$1" 2>/dev/null | head -n 1; }
window_shown() { [ -n "$(window_id "$1")" ]; }
window_gone() { [ -z "$(window_id "$1")" ]; }
# Waits for a window, activates it and presses keys in it.
press_in() {
  local title=$1
  shift
  wait_for 20 window_shown "$title" || fail "\"$title\" did not appear"
  timeout 10 xdotool windowactivate --sync "$(window_id "$title")" || fail "cannot activate \"$title\""
  sleep 0.3
  timeout 5 xdotool key --clearmodifiers "$@" || fail "xdotool key failed"
}

mkdir -p "$WORK/home" "$WORK/appdata" "$WORK/xdg"
chmod 700 "$WORK/xdg"
cp -r "$PROGRAM_DIR" "$PROG" || fail "cannot copy $PROGRAM_DIR"
rm -f "$PROG/fdlog.dat" "$PROG/fdpref.dat"
export HOME="$WORK/home" USERPROFILE="$WORK/home" APPDATA="$WORK/appdata" XDG_RUNTIME_DIR="$WORK/xdg"
export TZ=UTC QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
printf '%s\r\n' '"W1AW"' '"2A"' '"CT"' 0 '"PH"' '"20"' 255 0 100 0 '"None"' 0 0 '"AB"' 0 0 '""' >"$PROG/fdpref.dat"
printf '%s\r\n' '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""' >"$PROG/fdlog.dat"

wait_for 20 timeout 2 xdotool getdisplaygeometry >/dev/null 2>&1 || fail "the X server did not answer"
wm_up() { kill -0 "$OB_PID" 2>/dev/null && timeout 2 wmctrl -m >/dev/null 2>&1; }
for attempt in 1 2 3; do
  openbox >>"$SCRATCH/openbox.log" 2>&1 &
  OB_PID=$!
  wait_for 10 wm_up && break
  kill "$OB_PID" 2>/dev/null
  OB_PID=""
  sleep 1
done
[ -n "$OB_PID" ] || fail "the window manager did not start"

(cd "$PROG" && exec ./fieldday) >"$SCRATCH/fieldday.log" 2>&1 &
FD_PID=$!
press_in "Amateur Station I\.D\." Return
MAIN="Varik Software Field Day Log"
wait_for 15 window_shown "$MAIN" || fail "the main window is not shown"
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

timeout 5 wmctrl -c "$MAIN" || fail "wmctrl could not close the main window"
timeout 20 bash -c "while kill -0 $FD_PID 2>/dev/null; do sleep 0.2; done" || fail "the program did not end"
FD_PID=""
log "PASS: ADIF export from the File menu, byte for byte"
exit 0

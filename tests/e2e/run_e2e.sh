#!/usr/bin/env bash
# An operator's session with the real program under a real X server: start,
# confirm the station window with Enter, log one contact with its carries,
# close the main window through the window manager, then check what the
# program wrote to fdlog.dat and fdpref.dat.
#
# Usage: run_e2e.sh PROGRAM_DIR SCRATCH_DIR
# Every wait is bounded; background processes write to files in SCRATCH_DIR
# and are killed by their own ids on every exit; a failure leaves a screenshot
# (failure-screen.xwd) and the program's output beside e2e.log.
set -u

PROGRAM_DIR=${1:?program folder}
SCRATCH=${2:?scratch folder}

if [ -z "${FD_E2E_INNER:-}" ]; then
  rm -rf "$SCRATCH"
  mkdir -p "$SCRATCH"
  # xvfb-run starts the X server, waits for it, and removes it afterwards.
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
trap 'exit 143' INT TERM HUP  # so that the EXIT trap runs on a signal too

fail() {
  log "FAIL: $*"
  timeout 10 xwd -root -silent >"$SCRATCH/failure-screen.xwd" 2>/dev/null &&
    log "screenshot: $SCRATCH/failure-screen.xwd"
  if [ -f "$SCRATCH/fieldday.log" ]; then
    log "--- program output"
    tail -n 40 "$SCRATCH/fieldday.log" | tee -a "$LOG"
  fi
  exit 1
}

# Runs "$@" every 0.25 s until it succeeds or SECONDS_LEFT run out.
wait_for() {
  local seconds=$1
  shift
  local tries=$((seconds * 4))
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
program_ended() { ! kill -0 "$FD_PID" 2>/dev/null; }
log_has_lines() { [ -f "$PROG/fdlog.dat" ] && [ "$(grep -c '' "$PROG/fdlog.dat")" -ge "$1" ]; }

# ---- a private copy of the program folder and a private user ----
mkdir -p "$WORK/home" "$WORK/appdata" "$WORK/xdg"
chmod 700 "$WORK/xdg"
cp -r "$PROGRAM_DIR" "$PROG" || fail "cannot copy $PROGRAM_DIR"
rm -f "$PROG/fdlog.dat" "$PROG/fdpref.dat"
export HOME="$WORK/home" USERPROFILE="$WORK/home" APPDATA="$WORK/appdata" XDG_RUNTIME_DIR="$WORK/xdg"
export TZ=UTC QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8

# Offset 0 agrees with a UTC clock, so no offset question appears.
printf '%s\r\n' '"W1AW"' '"2A"' '"CT"' 0 '"PH"' '"20"' 255 0 100 0 '"None"' 0 0 '"AB"' 0 0 '""' >"$PROG/fdpref.dat"
cp "$PROG/fdpref.dat" "$SCRATCH/fdpref.seeded"
printf '%s\r\n' '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""' >"$PROG/fdlog.dat"

# ---- the window manager ----
# Under a loaded machine the server may answer late; openbox gets three tries.
wait_for 20 timeout 2 xdotool getdisplaygeometry >/dev/null 2>&1 || fail "the X server did not answer on $DISPLAY"
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
log "window manager ready"

# ---- start: the logo window, then the station window ----
DAY_BEFORE=$(date -u +%Y/%m/%d)
(cd "$PROG" && exec ./fieldday) >"$SCRATCH/fieldday.log" 2>&1 &
FD_PID=$!
STATION="Amateur Station I\.D\."
wait_for 30 window_shown "$STATION" || fail "the station window did not appear"
log "station window shown"
WID=$(window_id "$STATION")
timeout 10 xdotool windowactivate --sync "$WID" || fail "cannot activate the station window"
timeout 5 xdotool key --clearmodifiers Return || fail "xdotool key failed"
wait_for 15 window_gone "$STATION" || fail "Enter did not close the station window"
log "station window closed with Enter"

# ---- one contact: the digit carries the call into the class, the letter
# after a whole class carries it into the section ----
MAIN="Varik Software Field Day Log"
wait_for 15 window_shown "$MAIN" || fail "the main window is not shown"
MID=$(window_id "$MAIN")
timeout 10 xdotool windowactivate --sync "$MID" || fail "cannot activate the main window"
sleep 0.5
timeout 20 xdotool type --delay 120 "k1abc2act" || fail "xdotool type failed"
timeout 5 xdotool key --clearmodifiers Return || fail "xdotool key failed"
wait_for 15 log_has_lines 2 || fail "the contact did not reach fdlog.dat"
log "contact saved"

# ---- close through the window manager ----
timeout 5 wmctrl -c "$MAIN" || fail "wmctrl could not close the main window"
timeout 20 bash -c "while kill -0 $FD_PID 2>/dev/null; do sleep 0.2; done" || fail "the program did not end"
wait "$FD_PID"
FD_RC=$?
FD_PID=""
DAY_AFTER=$(date -u +%Y/%m/%d)
[ "$FD_RC" -eq 0 ] || fail "the program ended with status $FD_RC"
log "program ended"

# ---- what it wrote ----
LINE=$(sed -n 2p "$PROG/fdlog.dat")
RE='^"K1ABC","2A","CT","([0-9]{4}/[0-9]{2}/[0-9]{2})","[0-2][0-9]:[0-5][0-9]:[0-5][0-9]","20","PH","AB","",""'$'\r''$'
[[ "$LINE" =~ $RE ]] || fail "unexpected fdlog.dat line: $LINE"
DAY=${BASH_REMATCH[1]}
[ "$DAY" = "$DAY_BEFORE" ] || [ "$DAY" = "$DAY_AFTER" ] || fail "the contact's date $DAY is not today's UTC date"
[ "$(grep -c '' "$PROG/fdlog.dat")" -eq 2 ] || fail "fdlog.dat holds more than the two contacts"
[ "$(sed -n 1p "$PROG/fdlog.dat")" = "$(printf '%s\r' '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""')" ] ||
  fail "the earlier contact changed"

# The seventeen values, as seeded: nothing in this session changed them.
[ "$(grep -c '' "$PROG/fdpref.dat")" -eq 17 ] || fail "fdpref.dat does not hold seventeen lines"
cmp -s "$PROG/fdpref.dat" "$SCRATCH/fdpref.seeded" || fail "fdpref.dat differs: $(od -c "$PROG/fdpref.dat" | head -n 20)"

log "PASS: station window, one contact, close, fdlog.dat and fdpref.dat as expected"
exit 0

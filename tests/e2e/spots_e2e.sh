#!/usr/bin/env bash
# DX spotting with the real program under a real X server: a telnet link to
# the fake cluster from "PackSpot.txt", Ctrl+D shows the setup window and the
# link opens, the typed call reaches the cluster, a burst of 1,000 spot lines
# arrives while a contact is typed and saved, and Done rewrites "PackSpot.txt".
#
# Usage: spots_e2e.sh PROGRAM_DIR SCRATCH_DIR FAKECLUSTER
# Every wait is bounded; background processes write to files in SCRATCH_DIR
# and are killed by their own ids on every exit; a failure leaves a screenshot
# (failure-screen.xwd) and the program's output beside e2e.log.
set -u

PROGRAM_DIR=${1:?program folder}
SCRATCH=${2:?scratch folder}
FAKECLUSTER=${3:?fakecluster program}

if [ -z "${FD_E2E_INNER:-}" ]; then
  rm -rf "$SCRATCH"
  mkdir -p "$SCRATCH"
  # xvfb-run starts the X server, waits for it, and removes it afterwards.
  FD_E2E_INNER=1 timeout -k 5 150 xvfb-run -a -e "$SCRATCH/xvfb.log" -s "-screen 0 1280x1024x24" \
    bash "$0" "$PROGRAM_DIR" "$SCRATCH" "$FAKECLUSTER"
  rc=$?
  [ $rc -eq 124 ] && echo "FAIL: the session ran past its time limit (see $SCRATCH)"
  exit $rc
fi

LOG="$SCRATCH/e2e.log"
WORK="$SCRATCH/run"
PROG="$WORK/program"
OB_PID=""
FD_PID=""
FC_PID=""

log() { echo "$*" | tee -a "$LOG"; }

cleanup() {
  [ -n "$FD_PID" ] && kill "$FD_PID" 2>/dev/null
  [ -n "$OB_PID" ] && kill "$OB_PID" 2>/dev/null
  [ -n "$FC_PID" ] && kill "$FC_PID" 2>/dev/null
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

printf '%s\r\n' '"W1AW"' '"2A"' '"CT"' 0 '"PH"' '"20"' 255 0 100 0 '"None"' 0 0 '"AB"' 0 0 '""' >"$PROG/fdpref.dat"
: >"$PROG/fdlog.dat"

# ---- the cluster, on a free loopback port, with a burst of 1,000 spot lines ----
for i in $(seq 1 1000); do
  printf 'DX de W3LPL:     %7.1f  %-13sCW 599 up 2                    1234Z\r\n' "$((14000 + i % 300))" "K${i}AB"
done >"$SCRATCH/burst.txt"
PORT=""
for attempt in 1 2 3 4 5; do
  try=$((20000 + RANDOM % 20000))
  "$FAKECLUSTER" "$try" "$SCRATCH/burst.txt" >"$SCRATCH/cluster.out" 2>"$SCRATCH/cluster.err" &
  FC_PID=$!
  sleep 0.5
  if kill -0 "$FC_PID" 2>/dev/null; then PORT=$try; break; fi
  FC_PID=""
done
[ -n "$PORT" ] || fail "the fake cluster did not start"
log "fake cluster on port $PORT"
printf '%s\r\n' '""' '""' '""' '""' 0 '""' '"Telnet"' 0 0 0 '#FALSE#' '""' "\"$PORT\"" '"127.0.0.1"' >"$PROG/PackSpot.txt"
cp "$PROG/PackSpot.txt" "$SCRATCH/PackSpot.seeded"

# ---- the window manager ----
. "$(dirname "$0")/wm_common.sh"
start_openbox

# ---- start ----
(cd "$PROG" && exec ./fieldday) >"$SCRATCH/fieldday.log" 2>&1 &
FD_PID=$!
STATION="Amateur Station I\.D\."
wait_for 30 window_shown "$STATION" || fail "the station window did not appear"
timeout 10 xdotool windowactivate --sync "$(window_id "$STATION")" || fail "cannot activate the station window"
timeout 5 xdotool key --clearmodifiers Return || fail "xdotool key failed"
wait_for 15 window_gone "$STATION" || fail "Enter did not close the station window"
MAIN="Varik Software Field Day Log"
wait_for 15 window_shown "$MAIN" || fail "the main window is not shown"
MID=$(window_id "$MAIN")
timeout 10 xdotool windowactivate --sync "$MID" || fail "cannot activate the main window"
sleep 0.5

# ---- Ctrl+D: the setup window, and the saved link opens ----
timeout 5 xdotool key --clearmodifiers ctrl+d || fail "xdotool key failed"
SETUP=" DX Spotting Setup"
wait_for 15 window_shown "^$SETUP\$" || fail "Ctrl+D did not show the setup window"
log "setup window shown"
SID=$(window_id "^$SETUP\$")
timeout 10 xdotool windowactivate --sync "$SID" || fail "cannot activate the setup window"
sleep 0.5
timeout 20 xdotool type --delay 80 "n0call" || fail "xdotool type failed"
timeout 5 xdotool key --clearmodifiers Return || fail "xdotool key failed"
cluster_got_call() { grep -q "n0call" "$SCRATCH/cluster.out"; }
wait_for 15 cluster_got_call || fail "the typed call did not reach the cluster"
log "the typed call reached the cluster"

# ---- the burst arrives while a contact is typed and saved ----
timeout 10 xdotool windowactivate --sync "$MID" || fail "cannot activate the main window"
sleep 0.3
timeout 20 xdotool type --delay 60 "k1abc2act" || fail "xdotool type failed"
timeout 5 xdotool key --clearmodifiers Return || fail "xdotool key failed"
log_has_lines() { [ -f "$PROG/fdlog.dat" ] && [ "$(grep -c '' "$PROG/fdlog.dat")" -ge "$1" ]; }
wait_for 15 log_has_lines 1 || fail "the contact did not reach fdlog.dat"
grep -q '^"K1ABC","2A","CT"' "$PROG/fdlog.dat" || fail "unexpected contact: $(cat "$PROG/fdlog.dat")"
log "contact saved during the burst"
timeout 10 xwd -root -silent >"$SCRATCH/after-burst.xwd" 2>/dev/null

# ---- Done rewrites PackSpot.txt ----
rm -f "$PROG/PackSpot.txt"
timeout 10 xdotool windowactivate --sync "$SID" || fail "cannot activate the setup window"
sleep 0.3
timeout 5 xdotool key --clearmodifiers alt+d || fail "xdotool key failed"
packspot_written() { [ -f "$PROG/PackSpot.txt" ]; }
wait_for 10 packspot_written || fail "Done did not write PackSpot.txt"
cmp -s "$PROG/PackSpot.txt" "$SCRATCH/PackSpot.seeded" || fail "PackSpot.txt differs: $(od -c "$PROG/PackSpot.txt" | head -n 20)"
log "Done rewrote PackSpot.txt"

# ---- close ----
timeout 5 wmctrl -c "$MAIN" || fail "wmctrl could not close the main window"
timeout 20 bash -c "while kill -0 $FD_PID 2>/dev/null; do sleep 0.2; done" || fail "the program did not end"
wait "$FD_PID"
FD_RC=$?
FD_PID=""
[ "$FD_RC" -eq 0 ] || fail "the program ended with status $FD_RC"
log "PASS: setup window, telnet link, typed call, contact during a burst, PackSpot.txt"
exit 0

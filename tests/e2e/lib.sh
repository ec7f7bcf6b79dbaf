# Shared by the end-to-end scenarios: each scenario script sources this file
# and calls e2e_begin "$@" first. A scenario runs the real program under its
# own Xvfb server and openbox, in a private copy of the program folder and a
# private home (HOME, USERPROFILE, APPDATA, XDG_CONFIG_HOME, XDG_RUNTIME_DIR
# all inside the scenario's scratch folder).
#
# Usage of a scenario: SCENARIO.sh PROGRAM_DIR SCRATCH_DIR [PEER_PROGRAM...]
# (the peers a scenario talks to, in the order its registration names them;
# PEERS holds them)
# Every wait is bounded; background processes are killed by their own ids on
# every exit; a failure leaves a screenshot (failure-screen.xwd) and the
# program's output beside e2e.log.
. "$(dirname "${BASH_SOURCE[0]}")/wm_common.sh"
set -u

E2E_LIMIT=${E2E_LIMIT:-150}   # seconds for a whole scenario

e2e_begin() {
  PROGRAM_DIR=${1:?program folder}
  SCRATCH=${2:?scratch folder}
  if [ -z "${FD_E2E_INNER:-}" ]; then
    rm -rf "$SCRATCH"
    mkdir -p "$SCRATCH"
    # xvfb-run starts the X server, waits for it, and removes it afterwards.
    FD_E2E_INNER=1 timeout -k 5 "$E2E_LIMIT" xvfb-run -a -e "$SCRATCH/xvfb.log" -s "-screen 0 1280x1024x24" \
      bash "$0" "$PROGRAM_DIR" "$SCRATCH" "${@:3}"
    local rc=$?
    [ $rc -eq 124 ] && echo "FAIL: the session ran past its time limit (see $SCRATCH)"
    exit $rc
  fi
  LOG="$SCRATCH/e2e.log"
  WORK="$SCRATCH/run"
  PROG="$WORK/program"
  PEERS=("${@:3}")
  OB_PID=""
  FD_PID=""
  PEER_PIDS=""
  trap cleanup EXIT
  trap 'exit 143' INT TERM HUP  # so that the EXIT trap runs on a signal too
  private_folder
}

log() { echo "$*" | tee -a "$LOG"; }

# PEER_PIDS: the scenario's own background processes (simulators, socat),
# each added as it starts.
cleanup() {
  [ -n "$FD_PID" ] && kill "$FD_PID" 2>/dev/null
  local p
  for p in $PEER_PIDS; do kill "$p" 2>/dev/null; done
  [ -n "$OB_PID" ] && kill "$OB_PID" 2>/dev/null
  return 0
}

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

# Runs "$@" every 0.25 s until it succeeds or SECONDS run out.
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
log_has_lines() { [ -f "$PROG/fdlog.dat" ] && [ "$(grep -c '' "$PROG/fdlog.dat")" -ge "$1" ]; }

# A private copy of the program folder (without the operator's files) and a private user.
private_folder() {
  mkdir -p "$WORK/home/.config" "$WORK/appdata" "$WORK/xdg"
  chmod 700 "$WORK/xdg"
  cp -r "$PROGRAM_DIR" "$PROG" || fail "cannot copy $PROGRAM_DIR"
  rm -f "$PROG/fdlog.dat" "$PROG/fdpref.dat"
  export HOME="$WORK/home" USERPROFILE="$WORK/home" APPDATA="$WORK/appdata" XDG_RUNTIME_DIR="$WORK/xdg"
  export XDG_CONFIG_HOME="$WORK/home/.config"
  export TZ=UTC QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
}

# fdpref.dat with the station W1AW 2A CT, offset 0 (agrees with the UTC clock,
# so no offset question), mode and band as given, and the radio family $3
# ("None" when not given).
seed_prefs() {
  local mode=$1 band=$2 rig=${3:-None}
  printf '%s\r\n' '"W1AW"' '"2A"' '"CT"' 0 "\"$mode\"" "\"$band\"" 255 0 100 0 "\"$rig\"" 0 0 '"AB"' 0 0 '""' \
    >"$PROG/fdpref.dat"
}

# The window manager; under a loaded machine the server may answer late, so
# openbox gets three tries.
start_wm() {
  start_openbox
  log "window manager ready"
}

start_program() {
  (cd "$PROG" && exec ./fieldday) >"$SCRATCH/fieldday.log" 2>&1 &
  FD_PID=$!
}

# Activates the window named $1 and presses the key $2 in it.
key_in() {
  local wid
  wid=$(window_id "$1")
  [ -n "$wid" ] || fail "no window \"$1\""
  timeout 10 xdotool windowactivate --sync "$wid" || fail "cannot activate \"$1\""
  timeout 5 xdotool key --clearmodifiers "$2" || fail "xdotool key failed"
}

STATION="Amateur Station I\.D\."
MAIN="Varik Software Field Day Log"

confirm_station() {
  wait_for 30 window_shown "$STATION" || fail "the station window did not appear"
  key_in "$STATION" Return
  wait_for 15 window_gone "$STATION" || fail "Enter did not close the station window"
  log "station window closed with Enter"
}

# Answers with Enter every box titled $1 that shows within $2 seconds of the
# last one (the next box may take the same title at once).
answer_boxes() {
  local title=$1 quiet=$2 n=0
  while wait_for "$quiet" window_shown "$title"; do
    [ $n -lt 6 ] || fail "box \"$title\" keeps coming back"
    key_in "$title" Return
    n=$((n + 1))
    sleep 1
  done
  log "answered $n \"$title\" boxes"
}

focus_main() {
  wait_for 15 window_shown "$MAIN" || fail "the main window is not shown"
  MID=$(window_id "$MAIN")
  timeout 10 xdotool windowactivate --sync "$MID" || fail "cannot activate the main window"
  sleep 0.5
}

# Enter on the station window, then the main window activated.
confirm_station_and_focus_main() {
  confirm_station
  focus_main
}

# Closes the main window through the window manager and waits for the program to end with 0.
close_program() {
  timeout 5 wmctrl -c "$MAIN" || fail "wmctrl could not close the main window"
  timeout 20 bash -c "while kill -0 $FD_PID 2>/dev/null; do sleep 0.2; done" || fail "the program did not end"
  wait "$FD_PID"
  local rc=$?
  FD_PID=""
  [ "$rc" -eq 0 ] || fail "the program ended with status $rc"
  log "program ended"
}

# How many pixels of the window $1 (an id) have the colour R G B, read from
# the X server's own picture of the window.
pixels_of() {
  local wid=$1 r=$2 g=$3 b=$4
  timeout 10 xwd -id "$wid" -silent >"$SCRATCH/window.xwd" 2>/dev/null || { echo -1; return; }
  python3 "$(dirname "${BASH_SOURCE[0]}")/xwdcount.py" "$SCRATCH/window.xwd" "$r" "$g" "$b"
}

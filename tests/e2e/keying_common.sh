# Shared setup of the keying end-to-end scripts (zell_e2e.sh, voice_e2e.sh):
# sourced, not run. The caller sets PROGRAM_DIR, SCRATCH and TEST_NAME and
# calls keying_e2e_start "$0" "$@" first; it re-runs the script under
# xvfb-run. Every wait is bounded; background processes are killed by their
# own ids on exit; a failure leaves a screenshot and the program's output.

. "$(dirname "${BASH_SOURCE[0]}")/wm_common.sh"
keying_e2e_start() {
  local script=$1
  shift
  if [ -z "${FD_E2E_INNER:-}" ]; then
    rm -rf "$SCRATCH"
    mkdir -p "$SCRATCH"
    FD_E2E_INNER=1 timeout -k 5 150 xvfb-run -a -e "$SCRATCH/xvfb.log" -s "-screen 0 1280x1024x24" \
      bash "$script" "$@"
    local rc=$?
    [ $rc -eq 124 ] && echo "FAIL: $TEST_NAME ran past its time limit (see $SCRATCH)"
    exit $rc
  fi
  LOG="$SCRATCH/e2e.log"
  WORK="$SCRATCH/run"
  PROG="$WORK/program"
  OB_PID=""
  FD_PID=""
  EXTRA_PIDS=""
  trap cleanup EXIT
  trap 'exit 143' INT TERM HUP
  mkdir -p "$WORK/home" "$WORK/appdata" "$WORK/xdg" "$WORK/tmp"
  chmod 700 "$WORK/xdg"
  cp -r "$PROGRAM_DIR" "$PROG" || fail "cannot copy $PROGRAM_DIR"
  rm -f "$PROG/fdlog.dat" "$PROG/fdpref.dat"
  export HOME="$WORK/home" USERPROFILE="$WORK/home" APPDATA="$WORK/appdata" XDG_RUNTIME_DIR="$WORK/xdg"
  export TMPDIR="$WORK/tmp" TZ=UTC QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
}

log() { echo "$*" | tee -a "$LOG"; }

cleanup() {
  [ -n "$FD_PID" ] && kill "$FD_PID" 2>/dev/null
  for p in $EXTRA_PIDS; do kill "$p" 2>/dev/null; done
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

# Runs "$@" every 0.25 s until it succeeds or the seconds run out.
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

window_id() { timeout 5 xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
window_shown() { [ -n "$(window_id "$1")" ]; }
window_gone() { [ -z "$(window_id "$1")" ]; }
activate() { timeout 10 xdotool windowactivate --sync "$(window_id "$1")" || fail "cannot activate $1"; }
keys() { timeout 5 xdotool key --clearmodifiers --delay 150 "$@" || fail "xdotool key $* failed"; }

# fdpref.dat with the station W1AW 2A CT, mode PH, band 20, voice navigation VNAV.
seed_prefs() {
  local vnav=${1:-0}
  printf '%s\r\n' '"W1AW"' '"2A"' '"CT"' 0 '"PH"' '"20"' 255 0 100 "$vnav" '"None"' 0 0 '"AB"' 0 0 '""' >"$PROG/fdpref.dat"
}

start_window_manager() {
  start_openbox
}

MAIN="Varik Software Field Day Log"

# Starts the program, confirms the station window and activates the main window.
# Any arguments are the program's extra environment (NAME=value).
start_program() {
  (cd "$PROG" && exec env "$@" ./fieldday) >>"$SCRATCH/fieldday.log" 2>&1 &
  FD_PID=$!
  local station="Amateur Station I\.D\."
  wait_for 30 window_shown "$station" || fail "the station window did not appear"
  activate "$station"
  keys Return
  wait_for 15 window_gone "$station" || fail "Enter did not close the station window"
  wait_for 15 window_shown "$MAIN" || fail "the main window is not shown"
  activate "$MAIN"
  sleep 0.5
}

# Closes the main window through the window manager and waits for the end.
stop_program() {
  timeout 5 wmctrl -c "$MAIN" || fail "wmctrl could not close the main window"
  timeout 20 bash -c "while kill -0 $FD_PID 2>/dev/null; do sleep 0.2; done" || fail "the program did not end"
  wait "$FD_PID"
  local rc=$?
  FD_PID=""
  [ "$rc" -eq 0 ] || fail "the program ended with status $rc"
}

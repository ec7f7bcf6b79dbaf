# Shared by the output subsystem's end-to-end scenarios (sourced): the helpers,
# a private copy of the program folder and user, the seeded preferences, the
# X server's window manager, and the start up to the main window. A scenario
# seeds fdlog.dat in "$PROG" before calling start_program.
# Needs PROGRAM_DIR and SCRATCH; every wait is bounded; the program and the
# window manager are ended by their own ids on every exit. Sourced from the
# scenario's own script, it first starts that script again under its own X
# server and ends with its status.
. "$(dirname "${BASH_SOURCE[0]}")/wm_common.sh"
if [ -z "${FD_E2E_INNER:-}" ]; then
  rm -rf "$SCRATCH"
  mkdir -p "$SCRATCH"
  FD_E2E_INNER=1 timeout -k 5 170 xvfb-run -a -e "$SCRATCH/xvfb.log" -s "-screen 0 1280x1024x24" \
    bash "${BASH_SOURCE[1]}" "$PROGRAM_DIR" "$SCRATCH"
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
# A window kept loaded stays in the X server when hidden: look at mapped ones only.
window_hidden() { [ -z "$(timeout 5 xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)" ]; }
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
unset XDG_CONFIG_HOME  # the settings file lands under the private HOME
export TZ=UTC QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
printf '%s\r\n' '"W1AW"' '"2A"' '"CT"' 0 '"PH"' '"20"' 255 0 100 0 '"None"' 0 0 '"AB"' 0 0 '""' >"$PROG/fdpref.dat"

start_openbox

start_program() {
  (cd "$PROG" && exec ./fieldday) >"$SCRATCH/fieldday.log" 2>&1 &
  FD_PID=$!
  press_in "Amateur Station I\.D\." Return
  MAIN="Varik Software Field Day Log"
  wait_for 15 window_shown "$MAIN" || fail "the main window is not shown"
}

stop_program() {
  timeout 5 wmctrl -c "$MAIN" || fail "wmctrl could not close the main window"
  timeout 20 bash -c "while kill -0 $FD_PID 2>/dev/null; do sleep 0.2; done" || fail "the program did not end"
  FD_PID=""
}

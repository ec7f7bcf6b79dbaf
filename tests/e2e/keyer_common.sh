# Shared by the keyer end-to-end scripts (sourced): logging, clean-up of the
# processes they start (by their own ids), bounded waits, keys and clicks at
# design positions, and the start of a session up to the main window.
# Expects SCRATCH set (and LOG, PROG, WORK before the session); PIDS collects background ids;
# EXTRA_LOG, when set, is shown on failure.
. "$(dirname "${BASH_SOURCE[0]}")/wm_common.sh"
PIDS=()
FD_PID=""

# The first run starts the X server (xvfb-run) and runs this script again
# inside it with the same arguments, then exits with its status.
under_xvfb() {
  [ -n "${FD_E2E_INNER:-}" ] && return 0
  rm -rf "$SCRATCH"
  mkdir -p "$SCRATCH"
  FD_E2E_INNER=1 timeout -k 5 160 xvfb-run -a -e "$SCRATCH/xvfb.log" -s "-screen 0 1280x1024x24" bash "$0" "$@"
  local rc=$?
  [ $rc -eq 124 ] && echo "FAIL: the session ran past its time limit (see $SCRATCH)"
  exit $rc
}
log() { echo "$*" | tee -a "$LOG"; }
cleanup() {
  [ -n "$FD_PID" ] && kill "$FD_PID" 2>/dev/null
  local p
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done
  return 0
}
trap cleanup EXIT
trap 'exit 143' INT TERM HUP
fail() {
  log "FAIL: $*"
  [ -n "${EXTRA_LOG:-}" ] && [ -f "$EXTRA_LOG" ] && { log "--- $EXTRA_LOG"; tail -n 20 "$EXTRA_LOG" | tee -a "$LOG"; }
  [ -f "$SCRATCH/fieldday.log" ] && tail -n 20 "$SCRATCH/fieldday.log" | tee -a "$LOG"
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
hidden() { [ -z "$(timeout 5 xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)" ]; }
key() { timeout 5 xdotool key --clearmodifiers "$@" || fail "xdotool key $*"; }
# Clicks a control at its design position: twips of a DW x DH layout (default 9600 x 7200).
click_twips() {
  local wid=$1 x=$2 y=$3 dw=${4:-9600} dh=${5:-7200} geo w h
  geo=$(timeout 5 xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: //p')
  w=${geo%x*} h=${geo#*x}
  timeout 5 xdotool mousemove --window "$wid" $((x * w / dw)) $((y * h / dh)) click 1 || fail "click at $x,$y"
}

# A private program folder and user, mode CW; fdpref.dat seeded.
prepare_program() {
  mkdir -p "$WORK/home" "$WORK/appdata" "$WORK/xdg"
  chmod 700 "$WORK/xdg"
  cp -r "$PROGRAM_DIR" "$PROG" || fail "cannot copy $PROGRAM_DIR"
  rm -f "$PROG/fdlog.dat" "$PROG/fdpref.dat" "$PROG/cw.txt" "$PROG/CW.txt"
  export HOME="$WORK/home" USERPROFILE="$WORK/home" APPDATA="$WORK/appdata" XDG_RUNTIME_DIR="$WORK/xdg"
  export XDG_CONFIG_HOME="$WORK/xdg/config" TZ=UTC QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
  printf '%s\r\n' '"W1AW"' '"2A"' '"CT"' 0 '"CW"' '"20"' 255 0 100 0 '"None"' 0 0 '"AB"' 0 0 '""' >"$PROG/fdpref.dat"
  : >"$PROG/fdlog.dat"
  mkdir -p "$PROG/ports"
}

# The window manager, the program (with any environment given as arguments),
# Enter on the station window; MID is the main window afterwards.
start_session() {
  start_openbox
  PIDS+=("$OB_PID")
  (cd "$PROG" && exec env "$@" ./fieldday) >"$SCRATCH/fieldday.log" 2>&1 &
  FD_PID=$!
  local station="Amateur Station I\.D\."
  wait_for 30 window_shown "$station" || fail "the station window did not appear"
  timeout 10 xdotool windowactivate --sync "$(window_id "$station")" || fail "cannot activate the station window"
  key Return
  wait_for 15 window_gone "$station" || fail "the station window stayed"
  MAIN="Varik Software Field Day Log"
  wait_for 15 window_shown "$MAIN" || fail "no main window"
  MID=$(window_id "$MAIN")
  timeout 10 xdotool windowactivate --sync "$MID" || fail "cannot activate the main window"
  sleep 0.5
}

# Options > Transmit > CW Setup; CID is the CW window afterwards.
open_cw_setup() {
  key alt+o
  sleep 0.3
  key t
  sleep 0.3
  key c
  wait_for 15 window_shown "CW String Selections" || fail "the CW window did not open"
  CID=$(window_id "CW String Selections")
  timeout 10 xdotool windowactivate --sync "$CID" || fail "cannot activate the CW window"
  sleep 0.3
}

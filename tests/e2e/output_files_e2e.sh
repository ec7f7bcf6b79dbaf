#!/usr/bin/env bash
# The dupe-sheet file and the summary sheet as an operator makes them: with a
# seeded log, File, "Write ASCII Dupe File" by the keyboard, the proposed name
# accepted in the real file dialog and the success box answered; then File,
# "Write Summary Sheet", two boxes typed, "Write Summary File", the dialog and
# the three boxes accepted, "Done". The files in the documents folder are
# compared with their expected text, and the settings file must hold the name.
#
# Usage: output_files_e2e.sh PROGRAM_DIR SCRATCH_DIR
# Every wait is bounded; the program and the window manager are ended by their
# own ids on every exit.
set -u

PROGRAM_DIR=${1:?program folder}
SCRATCH=${2:?scratch folder}
HERE=$(cd "$(dirname "$0")" && pwd)

if [ -z "${FD_E2E_INNER:-}" ]; then
  rm -rf "$SCRATCH"
  mkdir -p "$SCRATCH"
  FD_E2E_INNER=1 timeout -k 5 170 xvfb-run -a -e "$SCRATCH/xvfb.log" -s "-screen 0 1280x1024x24" \
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
type_text() { timeout 10 xdotool type --clearmodifiers --delay 40 "$1" || fail "xdotool type failed"; }

mkdir -p "$WORK/home" "$WORK/appdata" "$WORK/xdg"
chmod 700 "$WORK/xdg"
cp -r "$PROGRAM_DIR" "$PROG" || fail "cannot copy $PROGRAM_DIR"
rm -f "$PROG/fdlog.dat" "$PROG/fdpref.dat"
export HOME="$WORK/home" USERPROFILE="$WORK/home" APPDATA="$WORK/appdata" XDG_RUNTIME_DIR="$WORK/xdg"
unset XDG_CONFIG_HOME
export TZ=UTC QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
printf '%s\r\n' '"W1AW"' '"2A"' '"CT"' 0 '"PH"' '"20"' 255 0 100 0 '"None"' 0 0 '"AB"' 0 0 '""' >"$PROG/fdpref.dat"
cp "$HERE/output_files_seed.dat" "$PROG/fdlog.dat" || fail "no seed log"

. "$(dirname "$0")/wm_common.sh"
start_openbox

(cd "$PROG" && exec ./fieldday) >"$SCRATCH/fieldday.log" 2>&1 &
FD_PID=$!
press_in "Amateur Station I\.D\." Return
MAIN="Varik Software Field Day Log"
DOCS="$HOME/Documents/Varik Software/Field Day"
wait_for 15 window_shown "$MAIN" || fail "the main window is not shown"

# ---- the dupe sheet: File opens on "Backup Options", the first item in
# use; the grey items are passed over ----
press_in "$MAIN" alt+f
sleep 0.5
timeout 5 xdotool key --clearmodifiers Down Down Down Down Return || fail "xdotool key failed"
press_in "^Save As$" Return
press_in "File Successfully written\." Return
wait_for 10 window_gone "File Successfully written\." || fail "the success box stayed"
cmp -s "$DOCS/W1AW-ASCIIDup.txt" "$HERE/../output/golden/ascii_dupe.txt" ||
  fail "dupe sheet differs: $(diff <(od -c "$DOCS/W1AW-ASCIIDup.txt") <(od -c "$HERE/../output/golden/ascii_dupe.txt") | head)"
log "dupe sheet written, byte for byte"

# ---- the summary sheet ----
press_in "$MAIN" alt+f
sleep 0.5
timeout 5 xdotool key --clearmodifiers Down Down Down Down Down Return || fail "xdotool key failed"
SUMMARY="Field Day Summary Sheet Information"
wait_for 20 window_shown "$SUMMARY" || fail "the summary window did not open"
press_in "$SUMMARY" ctrl+a
type_text "Test Club"
# Back through the tab order from the club box: Done, Write, e-mail, the
# address lines, the name.
timeout 5 xdotool key --clearmodifiers shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab || fail "keys"
type_text "Jane Doe"
timeout 5 xdotool key --clearmodifiers Tab Tab Tab Tab space || fail "keys"
press_in "^Save As$" Return
press_in "File Written Successfully\." Return
wait_for 10 window_gone "File Written Successfully\." || fail "the first box stayed"
press_in "EARN 50 Extra Bonus Points!" Return
wait_for 10 window_gone "EARN 50 Extra" || fail "the bonus box stayed"
press_in "^  Thanks!$" Return
wait_for 10 window_gone "^  Thanks!$" || fail "the thank-you box stayed"
press_in "$SUMMARY" space
wait_for 10 window_gone "$SUMMARY" || fail "Done did not close the summary window"

OUT="$DOCS/W1AW.sum"
[ -f "$OUT" ] || fail "no file $OUT"
EXPECTED="$HERE/output_files_summary.expected"
[ "$(wc -l <"$OUT")" -eq 102 ] || fail "the summary has $(wc -l <"$OUT") lines"
for n in $(seq 1 102); do
  got=$(sed -n "${n}p" "$OUT")
  want=$(sed -n "${n}p" "$EXPECTED")
  if [ "$n" -eq 71 ]; then
    case "$got" in "Date: "??/??/????$'\r') ;; *) fail "line 71: $got" ;; esac
  else
    [ "$got" = "$want" ] || fail "line $n: '$got' instead of '$want'"
  fi
done
SETTINGS="$HOME/.config/Varik_Software/Varik_Software.conf"
grep -q '^UserAddressName=Jane Doe' "$SETTINGS" || fail "settings: $(cat "$SETTINGS" 2>&1 | head)"
grep -q '<OWN_CLUB_NAME>Test Club</OWN_CLUB_NAME>' "$HOME/Documents/Varik Software/Shared/SharedUserPreferences.xml" ||
  fail "shared preferences lack the club"
log "summary written line by line, settings stored"

timeout 5 wmctrl -c "$MAIN" || fail "wmctrl could not close the main window"
timeout 20 bash -c "while kill -0 $FD_PID 2>/dev/null; do sleep 0.2; done" || fail "the program did not end"
FD_PID=""
log "PASS: dupe sheet and summary sheet from the File menu"
exit 0

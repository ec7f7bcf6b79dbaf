#!/usr/bin/env bash
# The radio link end to end under a real X server: a socat pair linked as
# ports/com1 with the radio simulator as a Kenwood on 14.025 MHz CW. After the
# station window the log's band becomes "20" and its mode "CW"; a contact
# carries "14.025"; after the radio falls silent the next contact carries no
# frequency; Ctrl+R shows the rig window, Ctrl+F the privileges chart
# (screenshots in the scratch folder). A second short run as a
# "Yaesu 757 GX II" sees the CAT-on bytes at start and CAT-off at close.
#
# Usage: rig_link.sh PROGRAM_DIR SCRATCH_DIR RADIOSIM
set -u

PROGRAM_DIR=${1:?program folder}
SCRATCH=${2:?scratch folder}
RADIOSIM=${3:?radiosim program}

if [ -z "${FD_E2E_INNER:-}" ]; then
  rm -rf "$SCRATCH"
  mkdir -p "$SCRATCH"
  FD_E2E_INNER=1 timeout -k 5 170 xvfb-run -a -e "$SCRATCH/xvfb.log" -s "-screen 0 1280x1024x24" \
    bash "$0" "$PROGRAM_DIR" "$SCRATCH" "$RADIOSIM"
  rc=$?
  [ $rc -eq 124 ] && echo "FAIL: the session ran past its time limit (see $SCRATCH)"
  exit $rc
fi

LOG="$SCRATCH/e2e.log"
WORK="$SCRATCH/run"
PROG="$WORK/program"
OB_PID="" FD_PID="" SOCAT_PID="" SIM_PID=""

log() { echo "$*" | tee -a "$LOG"; }
cleanup() {
  [ -n "$SIM_PID" ] && kill -CONT "$SIM_PID" 2>/dev/null
  for p in "$FD_PID" "$SIM_PID" "$SOCAT_PID" "$OB_PID"; do [ -n "$p" ] && kill "$p" 2>/dev/null; done
  return 0
}
trap cleanup EXIT
trap 'exit 143' INT TERM HUP
fail() {
  log "FAIL: $*"
  for w in $(timeout 5 xdotool search --onlyvisible --name '.' 2>/dev/null); do
    log "window: $(timeout 2 xdotool getwindowname "$w" 2>/dev/null)"
  done
  [ -f "$SCRATCH/radiosim.log" ] && tail -n 5 "$SCRATCH/radiosim.log" | tee -a "$LOG"
  timeout 10 xwd -root -silent >"$SCRATCH/failure-screen.xwd" 2>/dev/null && log "screenshot: $SCRATCH/failure-screen.xwd"
  [ -f "$SCRATCH/fieldday.log" ] && tail -n 40 "$SCRATCH/fieldday.log" | tee -a "$LOG"
  exit 1
}
wait_for() {
  local tries=$(($1 * 4)); shift
  while [ $tries -gt 0 ]; do "$@" && return 0; sleep 0.25; tries=$((tries - 1)); done
  return 1
}
window_id() { timeout 5 xdotool search --name "$1" 2>/dev/null | head -n 1; }
window_shown() { [ -n "$(window_id "$1")" ]; }
window_gone() { [ -z "$(window_id "$1")" ]; }
pref_line() { sed -n "${1}p" "$PROG/fdpref.dat" | tr -d '\r'; }
pref_is() { [ "$(pref_line "$1")" = "$2" ]; }
log_has_lines() { [ -f "$PROG/fdlog.dat" ] && [ "$(grep -c '' "$PROG/fdlog.dat")" -ge "$1" ]; }
file_has() { [ -f "$1" ] && grep -q "$2" "$1"; }

mkdir -p "$WORK/home" "$WORK/appdata" "$WORK/xdg"
chmod 700 "$WORK/xdg"
cp -r "$PROGRAM_DIR" "$PROG" || fail "cannot copy $PROGRAM_DIR"
rm -rf "$PROG/fdlog.dat" "$PROG/fdpref.dat" "$PROG/ports" "$PROG/RigCntrl.txt"
mkdir -p "$PROG/ports"
export HOME="$WORK/home" USERPROFILE="$WORK/home" APPDATA="$WORK/appdata" XDG_RUNTIME_DIR="$WORK/xdg"
export TZ=UTC QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8

# $1 family; $2 fdpref band. Preferences name the family (value 11) and the
# settings file matches it: port 1, 100 ms polling.
seed() {
  printf '%s\r\n' '"W1AW"' '"2A"' '"CT"' 0 '"PH"' "\"$2\"" 255 0 100 0 "\"$1\"" 0 0 '"AB"' 0 0 '""' >"$PROG/fdpref.dat"
  printf '%s\r\n' '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""' >"$PROG/fdlog.dat"
  printf '%s\r\n' '"4800 "' '"N"' '"8"' '"2"' "\"$3\"" "\"$4\"" '"4800,N,8,2"' 1 '"N"' '"F"' "\"$1\"" "$5" 1 1 >"$PROG/RigCntrl.txt"
}
# $1 family; further arguments go to the simulator.
start_radio() {
  rm -f "$PROG/ports/com1" "$WORK/radio"
  socat pty,raw,echo=0,link="$PROG/ports/com1" pty,raw,echo=0,link="$WORK/radio" 2>>"$SCRATCH/socat.log" &
  SOCAT_PID=$!
  wait_for 10 test -e "$WORK/radio" || fail "socat made no pty pair"
  "$RADIOSIM" --family "$1" --device "$WORK/radio" "${@:2}" >>"$SCRATCH/radiosim.log" 2>&1 &
  SIM_PID=$!
}
start_program() {
  (cd "$PROG" && exec ./fieldday) >>"$SCRATCH/fieldday.log" 2>&1 &
  FD_PID=$!
  local station="Amateur Station I\.D\."
  wait_for 30 window_shown "$station" || fail "the station window did not appear"
  timeout 10 xdotool windowactivate --sync "$(window_id "$station")" || fail "cannot activate the station window"
  timeout 5 xdotool key --clearmodifiers Return
  wait_for 15 window_gone "$station" || fail "Enter did not close the station window"
}
stop_program() {
  timeout 5 wmctrl -c "Varik Software Field Day Log" || fail "wmctrl could not close the main window"
  timeout 20 bash -c "while kill -0 $FD_PID 2>/dev/null; do sleep 0.2; done" || fail "the program did not end"
  FD_PID=""
}

. "$(dirname "$0")/wm_common.sh"
start_openbox

# ---- run 1: a Kenwood ----
seed Kenwood 40 "MD;" "FA;" 0
start_radio Kenwood --freq 14025000 --mode CW --log "$SCRATCH/kenwood.log"
start_program
wait_for 15 pref_is 6 '"20"' || fail "the band did not follow the radio: $(pref_line 6)"
wait_for 5 pref_is 5 '"CW"' || fail "the mode did not follow the radio: $(pref_line 5)"
log "band 20 and CW followed the radio"
MAIN="Varik Software Field Day Log"
MID=$(window_id "$MAIN")
kill -STOP "$SIM_PID"  # the radio falls silent; its device stays open
sleep 1
timeout 10 xdotool windowactivate --sync "$MID"
sleep 0.5
timeout 20 xdotool type --delay 120 "k1abc2act"
timeout 5 xdotool key --clearmodifiers Return
wait_for 15 log_has_lines 2 || fail "the contact did not reach fdlog.dat"
LINE=$(sed -n 2p "$PROG/fdlog.dat")
[[ "$LINE" == '"K1ABC","2A","CT",'*',"20","CW","AB","14.025",'* ]] || fail "unexpected first contact: $LINE"
log "the contact carries 14.025"
# The radio has fallen silent: the first contact took the last frequency
# read, the next one takes none.
timeout 10 xdotool windowactivate --sync "$MID"
timeout 20 xdotool type --delay 120 "w2xyz3act"
timeout 5 xdotool key --clearmodifiers Return
wait_for 15 log_has_lines 3 || fail "the second contact did not reach fdlog.dat"
LINE=$(sed -n 3p "$PROG/fdlog.dat")
[[ "$LINE" == '"W2XYZ","3A","CT",'*',"20","CW","AB","",'* ]] || fail "unexpected second contact: $LINE"
log "a contact after the radio fell silent carries no frequency"
timeout 5 xdotool key --clearmodifiers ctrl+r
wait_for 10 window_shown " Rig Interface Setup" || fail "Ctrl+R did not show the rig window"
timeout 10 xwd -root -silent >"$SCRATCH/rig-window.xwd" 2>/dev/null
log "Ctrl+R shows the rig window"
timeout 5 xdotool key --clearmodifiers Escape
wait_for 10 window_gone " Rig Interface Setup" || fail "the rig window did not hide"
kill -CONT "$SIM_PID"

# The privileges chart: Extra first, then General (screenshots in the output).
timeout 10 xdotool windowactivate --sync "$MID"
timeout 5 xdotool key --clearmodifiers ctrl+f
wait_for 10 window_shown "^Frequency Privileges$" || fail "Ctrl+F did not show the privileges chart"
sleep 0.5
timeout 10 xwd -root -silent >"$SCRATCH/privileges-extra.xwd" 2>/dev/null
# The class buttons in tab order: Novice, Technician, Tech +, General.
timeout 5 xdotool key --clearmodifiers Tab Tab Tab space
sleep 0.5
timeout 10 xwd -root -silent >"$SCRATCH/privileges-general.xwd" 2>/dev/null
timeout 5 xdotool key --clearmodifiers Escape
wait_for 10 window_gone "^Frequency Privileges$" || fail "the privileges chart did not close"
log "privileges chart shown (screenshots privileges-*.xwd)"

# Ctrl+G: the tune window; its "20" tunes to 14.175 in the band plan's mode.
radio_commands() {
  [ -f "$SCRATCH/kenwood.log" ] || return 0
  python3 -c 'import sys
for l in open(sys.argv[1]): print(bytes.fromhex(l.strip()).decode("latin-1"))' "$SCRATCH/kenwood.log"
}
BEFORE=$(radio_commands | grep -c '')
timeout 10 xdotool windowactivate --sync "$MID"
timeout 5 xdotool key --clearmodifiers ctrl+g
TUNE="Change Frequency and Mode"
wait_for 10 window_shown "$TUNE" || fail "Ctrl+G did not show the tune window"
sleep 0.5
# From the frequency box: Go, then the band buttons 160, 80, 60, 40, 30, 20.
timeout 5 xdotool key --clearmodifiers Tab Tab Tab Tab Tab Tab Tab space
tuned() { radio_commands | tail -n +$((BEFORE + 1)) | grep -q '^FA00014175000;$'; }
wait_for 10 tuned || fail "\"20\" did not tune the radio; it got: $(radio_commands | tail -n +$((BEFORE + 1)) | sort | uniq -c | tr '\n' ' ')"
SET=$(radio_commands | tail -n +$((BEFORE + 1)) | grep -v '^\(FA\|MD\|IF\);$')
[ "$SET" = "$(printf 'MD2;\nFA00014175000;')" ] || fail "unexpected set commands: $(echo "$SET" | tr '\n' ' ')"
wait_for 10 pref_is 6 '"20"' || fail "the band is not 20 after the tune: $(pref_line 6)"
log "Ctrl+G, \"20\": the radio got MD2; then FA00014175000;"
timeout 10 xdotool windowactivate --sync "$(window_id "$TUNE")"
timeout 5 xdotool key --clearmodifiers alt+d
tune_hidden() { [ -z "$(timeout 5 xdotool search --onlyvisible --name "$TUNE" 2>/dev/null)" ]; }
wait_for 10 tune_hidden || fail "Done did not close the tune window"

stop_program
kill -CONT "$SIM_PID" 2>/dev/null
kill "$SIM_PID" "$SOCAT_PID" 2>/dev/null
SIM_PID="" SOCAT_PID=""

# ---- run 2: a Yaesu 757 GX II, CAT on at start, CAT off at close ----
seed "Yaesu 757 GX II" 40 "" "00 00 00 00 10" 1
start_radio "Yaesu 757 GX II" --freq 7200000 --mode LSB --log "$SCRATCH/yaesu.log"
start_program
wait_for 15 file_has "$SCRATCH/yaesu.log" '^00 00 00 00 00$' || fail "no CAT-on bytes"
wait_for 15 pref_is 6 '"40"' || fail "the band did not follow the Yaesu"
stop_program
wait_for 10 file_has "$SCRATCH/yaesu.log" '^00 00 00 00 80$' || fail "no CAT-off bytes at close"
log "Yaesu CAT on at start and off at close"
log "PASS"
exit 0

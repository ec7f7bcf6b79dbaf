# The one library of the end-to-end scenarios: each scenario script sources
# this file, calls e2e_begin "$@" first and then holds only its steps.
#
# Usage of a scenario: SCENARIO.sh PROGRAM_DIR SCRATCH_DIR [PEER_PROGRAM...]
# (the peers a scenario talks to, in the order its registration names them;
# PEERS holds them).
#
# e2e_begin starts the script again under its own Xvfb server (1280x1024),
# the whole session limited to E2E_LIMIT seconds (set it before e2e_begin),
# and ends with its status. The server takes a display number it chose
# itself (see start_x_server), admits only clients with its private cookie,
# keeps its log as xvfb.log in the scratch folder and is killed by its own id
# when the session ends, also after a time-out. Inside, the real program runs from a private copy
# of the program folder (PROG) as a private user (HOME, USERPROFILE, APPDATA,
# XDG_CONFIG_HOME in the scratch folder). Sockets and pipes go in SHORT, a
# private folder under /tmp that is also TMPDIR and holds XDG_RUNTIME_DIR:
# a socket's path must stay within 107 bytes, wherever the checkout lives.
#
# Every wait is bounded; the program, the peers (PEER_PIDS) and the window
# manager are killed by their own ids on every exit; a failure leaves a
# screenshot (failure-screen.xwd), the mapped windows' names, the files named
# in SHOW_ON_FAILURE and the program's output in e2e.log.
set -u

E2E_LIMIT=${E2E_LIMIT:-150}   # seconds for a whole scenario
E2E_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
MAIN="Varik Software Field Day Log"
STATION="Amateur Station I\.D\."

e2e_begin() {
  PROGRAM_DIR=${1:?program folder}
  SCRATCH=${2:?scratch folder}
  if [ -z "${FD_E2E_INNER:-}" ]; then
    rm -rf "$SCRATCH"
    mkdir -p "$SCRATCH"
    E2E_SHORT=$(mktemp -d /tmp/fde2e.XXXXXX) || { echo "FAIL: no private folder in /tmp"; exit 1; }
    E2E_XPID=""
    # The server is no child of timeout: a session cut short by the limit
    # (TERM, then KILL 5 s later, to timeout's whole process group) leaves it
    # to this shell, which kills it on every way out.
    trap 'stop_x_server; rm -rf "$E2E_SHORT"' EXIT
    trap 'exit 143' INT TERM HUP
    start_x_server
    FD_E2E_INNER=1 FD_E2E_SHORT="$E2E_SHORT" FD_E2E_XPID="$E2E_XPID" timeout -k 5 "$E2E_LIMIT" bash "$0" "$@"
    local rc=$?
    [ $rc -eq 124 ] && echo "FAIL: the session ran past its time limit of $E2E_LIMIT s (see $SCRATCH)"
    [ $rc -eq 137 ] && echo "FAIL: the session ran past its time limit of $E2E_LIMIT s and was killed (see $SCRATCH)"
    exit $rc
  fi
  LOG="$SCRATCH/e2e.log"
  WORK="$SCRATCH/run"
  PROG="$WORK/program"
  PEERS=("${@:3}")
  OB_PID=""
  FD_PID=""
  PEER_PIDS=""
  SHOW_ON_FAILURE=""
  SHORT=${FD_E2E_SHORT:-}
  if [ -z "$SHORT" ]; then
    SHORT=$(mktemp -d /tmp/fde2e.XXXXXX) || { echo "FAIL: no private folder in /tmp"; exit 1; }
    E2E_OWN_SHORT=$SHORT
  fi
  trap cleanup EXIT
  trap 'exit 143' INT TERM HUP  # so that the EXIT trap runs on a signal too
  private_folder
}

log() { echo "$*" | tee -a "$LOG"; }

# The session's X server. Xvfb chooses the display number itself
# (-displayfd): it takes the first number whose sockets no other server
# holds, and writes it to the file once it accepts connections. Looking for a
# free number first, by lock files, races with any server started in between
# and misses one started without a lock file. The cookie goes into the
# server's authority file before it starts (it admits every cookie there,
# whatever display an entry names) and is entered again under the chosen
# number for the clients. Sets DISPLAY, XAUTHORITY and E2E_XPID.
start_x_server() {
  local auth="$E2E_SHORT/Xauthority" told="$E2E_SHORT/display" cookie number="" tries=80
  cookie=$(mcookie) || { echo "FAIL: mcookie made no cookie for the X server"; exit 1; }
  : >"$auth"
  xauth -q -f "$auth" add :0 . "$cookie" >>"$SCRATCH/xvfb.log" 2>&1 ||
    { echo "FAIL: xauth could not write $auth"; exit 1; }
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -auth "$auth" 3>"$told" >>"$SCRATCH/xvfb.log" 2>&1 &
  E2E_XPID=$!
  until read -r number 2>/dev/null <"$told" && [[ "$number" =~ ^[0-9]+$ ]]; do
    if ! kill -0 "$E2E_XPID" 2>/dev/null; then
      E2E_XPID=""
      echo "FAIL: the X server ended at start; its log ($SCRATCH/xvfb.log) ends:"
      tail -n 5 "$SCRATCH/xvfb.log"
      exit 1
    fi
    tries=$((tries - 1))
    [ $tries -gt 0 ] || { echo "FAIL: the X server (pid $E2E_XPID) named no display within 20 s"; exit 1; }
    sleep 0.25
  done
  export DISPLAY=":$number" XAUTHORITY="$auth"
  xauth -q -f "$auth" add "$DISPLAY" . "$cookie" >>"$SCRATCH/xvfb.log" 2>&1 ||
    { echo "FAIL: xauth could not enter the cookie for $DISPLAY"; exit 1; }
  echo "X server on $DISPLAY (pid $E2E_XPID)" >>"$SCRATCH/xvfb.log"
}
stop_x_server() {
  [ -n "${E2E_XPID:-}" ] || return 0
  kill "$E2E_XPID" 2>/dev/null
  # Xvfb removes its sockets as it ends; one that does not end is killed.
  timeout 5 tail --pid="$E2E_XPID" -f /dev/null 2>/dev/null || kill -KILL "$E2E_XPID" 2>/dev/null
  E2E_XPID=""
}

# Whether the session's X server still runs and answers, in words.
x_server_state() {
  if [ -z "${FD_E2E_XPID:-}" ] || ! kill -0 "$FD_E2E_XPID" 2>/dev/null; then
    echo "its X server (pid ${FD_E2E_XPID:-unknown}) has ended"
  elif timeout 2 xdotool getdisplaygeometry >/dev/null 2>&1; then
    echo "its X server (pid $FD_E2E_XPID) still runs and answers"
  else
    echo "its X server (pid $FD_E2E_XPID) still runs but does not answer"
  fi
}

# Kills what the scenario started, each by its id; a peer stopped with
# SIGSTOP is continued so that it takes the signal.
cleanup() {
  [ -n "$FD_PID" ] && kill "$FD_PID" 2>/dev/null
  stop_peers
  [ -n "$OB_PID" ] && kill "$OB_PID" 2>/dev/null
  [ -n "${E2E_OWN_SHORT:-}" ] && rm -rf "$E2E_OWN_SHORT"
  return 0
}

# The scenario's own background processes (simulators, socat), each added as
# it starts: started_peer $!
started_peer() { PEER_PIDS+=" $1"; }
stop_peers() {
  local p
  for p in $PEER_PIDS; do
    kill "$p" 2>/dev/null
    kill -CONT "$p" 2>/dev/null
  done
  PEER_PIDS=""
}

fail() {
  log "FAIL: $*"
  local w f
  for w in $(timeout 5 xdotool search --onlyvisible --name '.' 2>/dev/null); do
    log "window: $(timeout 2 xdotool getwindowname "$w" 2>/dev/null)"
  done
  timeout 10 xwd -root -silent >"$SCRATCH/failure-screen.xwd" 2>/dev/null &&
    log "screenshot: $SCRATCH/failure-screen.xwd"
  for f in $SHOW_ON_FAILURE; do
    [ -f "$f" ] && { log "--- $f"; tail -n 20 "$f" | tee -a "$LOG"; }
  done
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

# Runs "$@" every 50 ms until it succeeds (0) or MS milliseconds have passed
# since START_MS (a time from now_ms, taken when the awaited action began).
now_ms() { echo $(($(date +%s%N) / 1000000)); }
within_ms() {
  local start=$1 ms=$2
  shift 2
  while :; do
    "$@" && return 0
    [ $(($(now_ms) - start)) -lt "$ms" ] || return 1
    sleep 0.05
  done
}

# Windows by name (an extended regular expression). A window the program keeps
# loaded stays in the X server when hidden: window_id finds it too,
# visible_id finds mapped windows only.
window_id() { timeout 5 xdotool search --name "$1" 2>/dev/null | head -n 1; }
visible_id() { timeout 5 xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
window_shown() { [ -n "$(window_id "$1")" ]; }
window_gone() { [ -z "$(window_id "$1")" ]; }
window_visible() { [ -n "$(visible_id "$1")" ]; }
window_hidden() { [ -z "$(visible_id "$1")" ]; }

# Fails when a mapped window is shown whose name does not match $1: a box
# nobody expected.
no_other_window() {
  local w name
  for w in $(timeout 5 xdotool search --onlyvisible --name '.' 2>/dev/null); do
    name=$(timeout 2 xdotool getwindowname "$w" 2>/dev/null)
    [[ "$name" =~ $1 ]] || fail "an unexpected window is shown: \"$name\""
  done
}

# Activates the mapped window named $1, waiting for it at most $2 seconds (20).
activate() {
  wait_for "${2:-20}" window_visible "$1" || fail "\"$1\" is not shown"
  timeout 10 xdotool windowactivate --sync "$(visible_id "$1")" || fail "cannot activate \"$1\""
}
# Keys to the active window; keys leaves 150 ms between them (menus by keyboard).
key() { timeout 5 xdotool key --clearmodifiers "$@" || fail "xdotool key $* failed"; }
keys() { timeout 10 xdotool key --clearmodifiers --delay 150 "$@" || fail "xdotool key $* failed"; }
# Activates the window named $1 and presses the keys that follow in it.
key_in() {
  activate "$1"
  shift
  sleep 0.3
  key "$@"
}
# Clicks a control of window $1 (an id) at its design position: twips of a
# DW x DH layout (default 9600 x 7200). press_twips takes the mouse button
# first (1 left, 2 middle, 3 right).
click_twips() { press_twips 1 "$@"; }
press_twips() {
  local button=$1 wid=$2 x=$3 y=$4 dw=${5:-9600} dh=${6:-7200} geo w h
  geo=$(timeout 5 xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: //p')
  w=${geo%x*} h=${geo#*x}
  timeout 5 xdotool mousemove --window "$wid" $((x * w / dw)) $((y * h / dh)) click "$button" ||
    fail "button $button at $x,$y"
}

# The text $2 held on the clipboard and the primary selection by the program
# $1 (cliptext), as a copy in another program holds it; a second call replaces it.
hold_clipboard() {
  [ -n "${CLIP_PID:-}" ] && kill "$CLIP_PID" 2>/dev/null
  rm -f "$SCRATCH/cliptext.out"
  "$1" "$2" >"$SCRATCH/cliptext.out" 2>>"$SCRATCH/cliptext.err" &
  CLIP_PID=$!
  started_peer "$CLIP_PID"
  wait_for 10 file_has "$SCRATCH/cliptext.out" ready || fail "the clipboard did not take \"$2\""
}

# Keeps a picture of the screen, or of the window $2 (an id), as NAME.xwd in
# the scratch folder.
screenshot() {
  local name=$1 target=(-root)
  [ $# -gt 1 ] && target=(-id "$2")
  timeout 10 xwd "${target[@]}" -silent >"$SCRATCH/$name.xwd" 2>/dev/null || fail "no screenshot $name"
  log "screenshot: $SCRATCH/$name.xwd"
}

# How many pixels of the window $1 (an id) have the colour R G B, read from
# the X server's own picture of the window; with a fifth argument "box", the
# count and the pixels' bounding box "COUNT X0 Y0 X1 Y1". The picture stays
# as window.xwd.
pixels_of() {
  timeout 10 xwd -id "$1" -silent >"$SCRATCH/window.xwd" 2>/dev/null || { echo -1; return; }
  python3 "$E2E_HERE/xwdcount.py" "$SCRATCH/window.xwd" "${@:2}"
}

# A private copy of the program folder without the operator's files, and a
# private user.
private_folder() {
  mkdir -p "$WORK/home/.config" "$WORK/appdata" "$SHORT/xdg"
  chmod 700 "$SHORT/xdg"
  cp -r "$PROGRAM_DIR" "$PROG" || fail "cannot copy $PROGRAM_DIR"
  rm -rf "$PROG/fdlog.dat" "$PROG/fdpref.dat" "$PROG/cw.txt" "$PROG/CW.txt" "$PROG/RigCntrl.txt" "$PROG/ports"
  mkdir -p "$PROG/ports"
  export HOME="$WORK/home" USERPROFILE="$WORK/home" APPDATA="$WORK/appdata"
  export XDG_CONFIG_HOME="$WORK/home/.config" XDG_RUNTIME_DIR="$SHORT/xdg" TMPDIR="$SHORT"
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
log_has_lines() { [ -f "$PROG/fdlog.dat" ] && [ "$(grep -c '' "$PROG/fdlog.dat")" -ge "$1" ]; }
file_has() { [ -f "$1" ] && grep -q "$2" "$1"; }

# Serial port N of the program (ports/comN) as one end of a socat pair of
# pseudo-terminals; the other end is the link $2. SOCAT_PID is the pair's
# socat (a TERM ends the pair and removes both links, as a pulled adapter).
serial_pair() {
  local port="$PROG/ports/com$1" far=$2
  rm -f "$port" "$far"
  socat pty,raw,echo=0,link="$port" pty,raw,echo=0,link="$far" 2>>"$SCRATCH/socat.log" &
  SOCAT_PID=$!
  started_peer "$SOCAT_PID"
  wait_for 10 test -e "$port" -a -e "$far" || fail "socat made no pseudo-terminal pair"
}

# DTR as the modem-line shim saw it in the log $MODEM: "ns on|off" at each
# change of the DTR bit (2).
dtr_changes() {
  [ -f "$MODEM" ] || return 0
  awk '{ dtr = int($3 / 2) % 2; if ($2 == "SET") d = dtr ? "on" : "off"; else if (dtr) d = ($2 == "BIS") ? "on" : "off"; else next;
         if (d != last) { print $1, d; last = d } }' "$MODEM"
}
dtr_now() { [ "$(dtr_changes | tail -n 1 | awk '{print $2}')" = "$1" ]; }

# A private pulseaudio with a null sink on the socket $SHORT/pulse; PULSE_PID
# is its id (SIGSTOP stops it, as a sound server that stops answering).
start_pulse() {
  mkdir -p "$SHORT/pulsehome/run"
  chmod 700 "$SHORT/pulsehome/run"
  HOME="$SHORT/pulsehome" XDG_RUNTIME_DIR="$SHORT/pulsehome/run" pulseaudio --daemonize=no --exit-idle-time=-1 -n \
    --use-pid-file=no --log-target=stderr --load=module-null-sink \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$SHORT/pulse" 2>>"$SCRATCH/pulse.log" &
  PULSE_PID=$!
  started_peer "$PULSE_PID"
  wait_for 10 test -S "$SHORT/pulse" || fail "pulseaudio did not come up: $(tail -n 5 "$SCRATCH/pulse.log")"
}

# The fake cluster (the program $1) on a free loopback port (CLUSTER_PORT),
# sending the lines of the file $2 and, with $3, a new spot every $3 ms after
# them; what it receives goes to cluster.out.
start_fake_cluster() {
  local program=$1 lines=$2 every=${3:-} attempt try pid
  CLUSTER_PORT=""
  for attempt in 1 2 3 4 5; do
    try=$((20000 + RANDOM % 20000))
    "$program" "$try" "$lines" $every >"$SCRATCH/cluster.out" 2>"$SCRATCH/cluster.err" &
    pid=$!
    sleep 0.5
    if kill -0 "$pid" 2>/dev/null; then
      CLUSTER_PORT=$try
      started_peer "$pid"
      break
    fi
  done
  [ -n "$CLUSTER_PORT" ] || fail "the fake cluster did not start"
  log "fake cluster on port $CLUSTER_PORT"
}

# The lines of a simulator's log of hex bytes, as text.
hex_lines() {
  [ -f "$1" ] || return 0
  python3 -c 'import sys
for l in open(sys.argv[1]): print(bytes.fromhex(l.strip()).decode("latin-1"))' "$1"
}

# The window manager. Under a loaded machine the server may answer late and
# openbox may miss it, so openbox gets three tries.
start_wm() {
  wait_for 20 timeout 2 xdotool getdisplaygeometry >/dev/null 2>&1 ||
    fail "the X server did not answer on display $DISPLAY: $(x_server_state)"
  wm_up() { kill -0 "$OB_PID" 2>/dev/null && timeout 2 wmctrl -m >/dev/null 2>&1; }
  local attempt
  for attempt in 1 2 3; do
    openbox >>"$SCRATCH/openbox.log" 2>&1 &
    OB_PID=$!
    if wait_for 10 wm_up; then
      log "window manager ready"
      return 0
    fi
    kill "$OB_PID" 2>/dev/null
    OB_PID=""
    sleep 1
  done
  fail "the window manager did not start on display $DISPLAY: $(x_server_state); openbox said:" \
    "$(grep -v 'valid menu file' "$SCRATCH/openbox.log" 2>/dev/null | tail -n 6)"
}

# Starts the program in its folder; any arguments are its extra environment
# (NAME=value). Its output goes to fieldday.log.
start_program() {
  (cd "$PROG" && exec env "$@" ./fieldday) >>"$SCRATCH/fieldday.log" 2>&1 &
  FD_PID=$!
}

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

# The main window activated; MID is its id.
focus_main() {
  wait_for 15 window_visible "$MAIN" || fail "the main window is not shown"
  MID=$(visible_id "$MAIN")
  timeout 10 xdotool windowactivate --sync "$MID" || fail "cannot activate the main window"
  sleep 0.5
}

# Enter on the station window, then the main window activated.
confirm_station_and_focus_main() {
  confirm_station
  focus_main
}

# Waits (bounded) for the program to end; FD_RC is its status.
wait_program_end() {
  timeout 20 bash -c "while kill -0 $FD_PID 2>/dev/null; do sleep 0.2; done" || fail "the program did not end"
  wait "$FD_PID"
  FD_RC=$?
  FD_PID=""
}

# Closes the main window through the window manager and waits for the program to end with 0.
close_program() {
  timeout 5 wmctrl -c "$MAIN" || fail "wmctrl could not close the main window"
  wait_program_end
  [ "$FD_RC" -eq 0 ] || fail "the program ended with status $FD_RC"
  log "program ended"
}

# Options > Transmit > CW Setup from the main window; CID is the CW window afterwards.
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

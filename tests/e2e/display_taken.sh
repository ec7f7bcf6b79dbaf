#!/usr/bin/env bash
# A session starts while other X servers, started without lock files, hold
# display numbers: the first number without a lock file from 99 up (the one
# a search by lock files takes) and the lowest number no server holds (the
# one an X server choosing for itself takes). Neither admits our clients. The
# session's own server takes a number of its own: the window manager and the
# program start there.
#
# Usage: display_taken.sh PROGRAM_DIR SCRATCH_DIR
E2E_LIMIT=90
source "$(dirname "$0")/lib.sh"

if [ -z "${FD_E2E_INNER:-}" ]; then
  HOLD=$(mktemp -d /tmp/fde2e-hold.XXXXXX) || { echo "FAIL: no private folder in /tmp"; exit 1; }
  HOLD_PIDS=""
  trap 'for p in $HOLD_PIDS; do kill "$p" 2>/dev/null; done; rm -rf "$HOLD"' EXIT
  trap 'exit 143' INT TERM HUP
  : >"$HOLD/no-cookie"
  # Starts Xvfb without a lock file with the arguments given (a display
  # number, or none to let it choose); HELD is the number it holds. An empty
  # authority file admits no client.
  hold_display() {
    local told="$HOLD/told-${1:-any}" tries=40 pid
    HELD=""
    Xvfb "$@" -nolock -displayfd 3 -screen 0 320x240x24 -nolisten tcp -auth "$HOLD/no-cookie" \
      3>"$told" >>"$HOLD/xvfb.log" 2>&1 &
    pid=$!
    HOLD_PIDS+=" $pid"
    until read -r HELD 2>/dev/null <"$told" && [[ "$HELD" =~ ^[0-9]+$ ]]; do
      HELD=""
      kill -0 "$pid" 2>/dev/null || return 1
      tries=$((tries - 1))
      [ $tries -gt 0 ] || return 1
      sleep 0.25
    done
  }
  # Another server may take the number between the look and the start: the
  # next free number is tried then.
  for attempt in 1 2 3 4 5; do
    n=99
    while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    hold_display ":$n" && break
  done
  [ -n "$HELD" ] || { echo "FAIL: no server held a number from 99 up"; cat "$HOLD/xvfb.log"; exit 1; }
  BY_LOCK=$HELD
  hold_display || { echo "FAIL: no server held the lowest free number"; cat "$HOLD/xvfb.log"; exit 1; }
  LOWEST=$HELD
  echo "held without lock files: :$BY_LOCK and :$LOWEST"
  export FD_HELD=":$BY_LOCK :$LOWEST"
  (e2e_begin "$@")
  exit $?
fi

e2e_begin "$@"
for held in $FD_HELD; do
  [ "$DISPLAY" != "$held" ] || fail "the session's X server shares display $held with a server holding it"
done
log "the session runs on display $DISPLAY, the held ones are $FD_HELD"
seed_prefs CW 20
: >"$PROG/fdlog.dat"
start_wm
start_program
confirm_station_and_focus_main
close_program
log "PASS: the session started on a display of its own while $FD_HELD were held"
exit 0

#!/usr/bin/env bash
# Without a display the program says in one line what is missing and how to
# run it, and exits with status 1 (instead of Qt's abort about its plugin):
# with no platform chosen, and with the X platform chosen but no DISPLAY.
set -u
PROGRAM_DIR=${1:?program folder}
for platform in "" xcb; do
  if [ -z "$platform" ]; then
    out=$(cd "$PROGRAM_DIR" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 ./fieldday 2>&1)
  else
    out=$(cd "$PROGRAM_DIR" && env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM="$platform" timeout 20 ./fieldday 2>&1)
  fi
  rc=$?
  what="QT_QPA_PLATFORM=\"$platform\""
  [ $rc -ne 124 ] || { echo "FAIL ($what): the program did not end"; exit 1; }
  [ $rc -eq 1 ] || { echo "FAIL ($what): exit status $rc, not 1: $out"; exit 1; }
  [ "$(printf '%s\n' "$out" | grep -c '')" -eq 1 ] || { echo "FAIL ($what): more than one line: $out"; exit 1; }
  [[ "$out" == *"no display"* && "$out" == *"xvfb-run"* ]] || { echo "FAIL ($what): unexpected message: $out"; exit 1; }
  echo "PASS ($what): $out (status $rc)"
done

#!/usr/bin/env bash
# Without a display the program says in one line what is missing and how to
# run it, and exits non-zero (instead of Qt's abort about its plugin).
set -u
PROGRAM_DIR=${1:?program folder}
out=$(cd "$PROGRAM_DIR" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 ./fieldday 2>&1)
rc=$?
[ $rc -ne 0 ] || { echo "FAIL: exit status 0 without a display"; exit 1; }
[ $rc -ne 124 ] || { echo "FAIL: the program did not end"; exit 1; }
[ "$(printf '%s\n' "$out" | grep -c '')" -eq 1 ] || { echo "FAIL: more than one line: $out"; exit 1; }
[[ "$out" == *"no display"* && "$out" == *"xvfb-run"* ]] || { echo "FAIL: unexpected message: $out"; exit 1; }
echo "PASS: $out (status $rc)"

#!/usr/bin/env bash
# Statistics, graph and section map from the menu bar of the real program
# under a real X server: each window is found by its caption, photographed
# (an .xwd beside the log) and closed; then the main window still logs a
# contact typed at it.
#
# Usage: output_windows.sh PROGRAM_DIR SCRATCH_DIR
E2E_LIMIT=170
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
seed_prefs PH 20
start_wm

# Twelve contacts over an hour on several bands and by two operators.
: >"$PROG/fdlog.dat"
i=0
for sec in CT ENY NT ONE PAC AK MDC WI STX BC QC VI; do
  band=$(echo "20 40 80 15 10 6" | cut -d' ' -f$((i % 6 + 1)))
  printf '"K%dXY","1A","%s","2024/06/22","18:%02d:00","%s","PH","%s","",""\r\n' "$i" "$sec" $((i * 5)) "$band" \
    "$([ $((i % 3)) -eq 0 ] && echo CD || echo AB)" >>"$PROG/fdlog.dat"
  i=$((i + 1))
done

start_program
confirm_station_and_focus_main

# Opens a window from the menu bar with the given keys, photographs it, closes it.
open_shoot_close() {
  local caption=$1 shot=$2
  shift 2
  timeout 10 xdotool windowactivate --sync "$MID" || fail "cannot activate the main window"
  sleep 0.5
  key "$@"
  wait_for 20 window_shown "$caption" || fail "\"$caption\" did not open"
  sleep 1
  log "\"$caption\" shown"
  screenshot "$shot" "$(window_id "$caption")"
  timeout 5 wmctrl -c "$caption" || fail "wmctrl could not close \"$caption\""
  wait_for 15 window_gone "$caption" || fail "\"$caption\" did not close"
}

open_shoot_close " Field Day Statistics" statistics alt+b s
open_shoot_close " Activity Graph - QSOs per Hour Rate" graph alt+g
open_shoot_close " Section Map" sectionmap alt+a

# The main window still takes keys.
timeout 10 xdotool windowactivate --sync "$MID" || fail "cannot activate the main window"
sleep 0.5
timeout 20 xdotool type --delay 120 "k1abc2act" || fail "xdotool type failed"
key Return
wait_for 15 log_has_lines 13 || fail "the contact typed after the windows did not reach fdlog.dat"

close_program
log "PASS: statistics, graph and section map opened from the menu bar and closed; the main window still logs"
exit 0

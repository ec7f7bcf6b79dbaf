#!/usr/bin/env bash
# A sound server that stops answering while the voice keyer transmits: the
# log goes on. A private pulseaudio with a null sink; F1 plays a 20 s message
# with DTR of port 2 keyed (a socat pseudo-terminal, the lines read through
# the modem-line shim); the server is stopped (SIGSTOP). A contact is typed
# and logged (its line within 1 s of Enter); voice navigation is on for all
# data fields, so Tab into Class asks for a prompt, which must not play on
# the air. A duplicate is typed: refused as ever, and its "Dupe" prompt,
# which would go on the air, holds nothing; a contact typed 3.5 s after the
# Tab is logged within 1 s of Enter. Esc releases DTR. File > Exit ends the
# program within 3 s, status 0, no core file, DTR off, no helper left; so do
# SIGTERM, SIGHUP and SIGINT, each sent to a new run with a message keyed and
# the server stopped, which leave the log and the settings file as they were.
#
# Usage: voice_stalled.sh PROGRAM_DIR SCRATCH_DIR SHIM_LIBRARY
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
SHIM=${PEERS[0]:?modem-line shim library}

# fdpref.dat as seed_prefs writes it, with voice navigation for all data fields (item 10).
seed_prefs PH 20
sed -i '10s/.*/2\r/' "$PROG/fdpref.dat"
: >"$PROG/fdlog.dat"
cp "$PROG"/prompts/*.wav "$PROG/"
# A 20 s tone, mono 8 kHz 16-bit.
python3 - "$PROG/long.wav" <<'EOF'
import math, struct, sys, wave
w = wave.open(sys.argv[1], "wb")
w.setnchannels(1); w.setsampwidth(2); w.setframerate(8000)
w.writeframes(b"".join(struct.pack("<h", int(3000 * math.sin(i * 0.3456))) for i in range(8000 * 20)))
w.close()
EOF
# wave2.txt: F1 the tone, PTT on DTR of port 2, no repeat.
{
  printf '"%s"\r\n' "$PROG/long.wav"
  for i in 2 3 4 5 6 7 8 9; do printf '""\r\n'; done
  printf '"2"\r\n1\r\n"0"\r\n"&H378"\r\n'
} >"$PROG/wave2.txt"

serial_pair 2 "$WORK/radio-side"
start_pulse
start_wm
MODEM="$SCRATCH/modem.log"
SHOW_ON_FAILURE="$MODEM"
start_program FD_MODEM_LOG="$MODEM" LD_PRELOAD="$SHIM" PULSE_SERVER="unix:$SHORT/pulse"
confirm_station_and_focus_main
log "main window up"

# ---- F1 keys DTR and plays; then the server stops ----
key F1
wait_for 10 dtr_now on || fail "F1 did not key DTR: $(tail -n 5 "$MODEM" 2>/dev/null | tr '\n' ' ')"
sleep 1
kill -STOP "$PULSE_PID"
log "F1 keyed DTR; sound server stopped"

# Types a contact into the entry fields and checks that its line is in the
# log within 1 s of Enter: CALL CLASS SECTION, then the count of lines expected.
log_contact() {
  timeout 10 xdotool type --delay 40 "$1" || fail "xdotool type failed"
  keys Tab
  timeout 10 xdotool type --delay 40 "$2" || fail "xdotool type failed"
  keys Tab
  timeout 10 xdotool type --delay 40 "$3" || fail "xdotool type failed"
  local enter
  enter=$(now_ms)
  key Return
  within_ms "$enter" 1000 log_has_lines "$4" ||
    fail "contact $1 not in fdlog.dat 1 s after Enter: $(tail -n 2 "$PROG/fdlog.dat")"
  grep -q "^\"${1^^}\",\"${2^^}\",\"${3^^}\"," "$PROG/fdlog.dat" || fail "contact $1 saved wrong: $(tail -n 1 "$PROG/fdlog.dat")"
  log "contact $1 logged within 1 s of Enter"
}

log_contact k1ab 2a ct 1

# ---- a duplicate: refused as ever; its prompt would go on the air, so none plays ----
timeout 10 xdotool type --delay 40 "k1ab" || fail "xdotool type failed"
TAB_AT=$(now_ms)
key Tab
# Past the duplicate hold (3 s from the end of the prompt's wait, which has
# nothing to wait for).
while [ $(($(now_ms) - TAB_AT)) -lt 3500 ]; do sleep 0.05; done
log_contact w2xyz 1a eny 2
[ "$(grep -c '' "$PROG/fdlog.dat")" -eq 2 ] || fail "the duplicate was logged: $(cat "$PROG/fdlog.dat")"
dtr_now on || fail "DTR went off while the message should still sound"
log "duplicate refused; the next contact logged 3.5 s after its Tab"
screenshot logged-while-stopped "$MID"

ESC_AT=$(now_ms)
key Escape
within_ms "$ESC_AT" 500 dtr_now off || fail "Esc did not release DTR within 0.5 s"
log "Esc released DTR"

# ---- File > Exit, the server still stopped ----
EXIT_AT=$(now_ms)
keys alt+f e
within_ms "$EXIT_AT" 3000 bash -c "! kill -0 $FD_PID 2>/dev/null" || fail "the program had not ended 3 s after File > Exit"
log "program ended $(($(now_ms) - EXIT_AT)) ms after Alt+F"
wait "$FD_PID"
FD_RC=$?
FD_PID=""
[ "$FD_RC" -eq 0 ] || fail "the program ended with status $FD_RC"
ls "$PROG" | grep -q '^core' && fail "a core file was left: $(ls "$PROG" | grep '^core')"
dtr_now off || fail "DTR left on at the end"
helpers_gone() { ! pgrep -f -- "$PROG/fieldday --sound-helper" >/dev/null; }
wait_for 2 helpers_gone || fail "a sound helper outlived the program: $(pgrep -af -- --sound-helper)"

# ---- each signal with a message keyed and the server stopped ----
# Sends signal $1 to the program and prints the monotonic clock (the shim's) of the sending, in ns.
signal_at() { python3 -c 'import os, signal, sys, time
t = time.monotonic_ns(); os.kill(int(sys.argv[2]), getattr(signal, "SIG" + sys.argv[1])); print(t)' "$1" "$FD_PID"; }
for sig in TERM HUP INT; do
  kill -CONT "$PULSE_PID"
  start_program FD_MODEM_LOG="$MODEM" LD_PRELOAD="$SHIM" PULSE_SERVER="unix:$SHORT/pulse"
  confirm_station_and_focus_main
  key F1
  wait_for 10 dtr_now on || fail "SIG$sig: F1 did not key DTR"
  sleep 1
  kill -STOP "$PULSE_PID"
  cp "$PROG/fdpref.dat" "$SCRATCH/fdpref.before"
  SIG_AT=$(now_ms)
  SENT_NS=$(signal_at "$sig")
  within_ms "$SIG_AT" 3000 bash -c "! kill -0 $FD_PID 2>/dev/null" || fail "the program had not ended 3 s after SIG$sig"
  ENDED=$(($(now_ms) - SIG_AT))
  wait "$FD_PID"
  FD_RC=$?
  FD_PID=""
  [ "$FD_RC" -eq 0 ] || fail "SIG$sig: the program ended with status $FD_RC"
  dtr_now off || fail "SIG$sig: DTR left on at the end"
  OFF_MS=$((($(dtr_changes | tail -n 1 | awk '{print $1}') - SENT_NS) / 1000000))
  [ "$OFF_MS" -lt 500 ] || fail "SIG$sig: DTR released $OFF_MS ms after the signal"
  cmp -s "$PROG/fdpref.dat" "$SCRATCH/fdpref.before" || fail "SIG$sig: fdpref.dat changed"
  [ "$(grep -c '' "$PROG/fdlog.dat")" -eq 2 ] || fail "SIG$sig: fdlog.dat changed: $(cat "$PROG/fdlog.dat")"
  ls "$PROG" | grep -q '^core' && fail "SIG$sig: a core file was left"
  wait_for 2 helpers_gone || fail "SIG$sig: a sound helper outlived the program: $(pgrep -af -- --sound-helper)"
  log "SIG$sig: DTR off $OFF_MS ms after the signal, the program ended in $ENDED ms, status 0"
done
log "PASS: a contact logged with the sound server stopped, no prompt on the air, Esc, Exit and the signals at once"
exit 0

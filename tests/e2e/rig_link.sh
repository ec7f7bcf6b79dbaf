#!/usr/bin/env bash
# The radio link end to end under a real X server: a socat pair linked as
# ports/com1 with the radio simulator as a Kenwood on 14.025 MHz CW. After the
# station window the log's band becomes "20" and its mode "CW"; a contact
# carries "14.025"; after the radio falls silent the next contact carries no
# frequency; Ctrl+R shows the rig window, Ctrl+F the privileges chart
# (screenshots in the scratch folder); the tune window's "20", then its
# frequency box with 7.15, 14.2 and 1.9 send the band plan's mode and the
# frequency within 1 s of Enter, polling resumes after each and the band
# follows to 160. Then the pair ends (the adapter pulled) while the rig
# window is hidden: no window comes up, the main window keeps the focus, the
# band and mode labels take the loss colour, and a call typed meanwhile on a
# band chosen by hand is logged without the radio's last frequency; Ctrl+R
# and Done put the rig window away with the tries still running; the pair
# made again at the same link with the radio on 7.200 LSB is polled again
# within 2 s, the colour goes, no /dev/ttyS* device is held, and the next
# contact is logged on 40 PH at 7.200; after End Test (the window shown with
# Ctrl+R) a radio that comes back is left alone. A second short run as a
# "Yaesu 757 GX II" sees the CAT-on bytes at start and CAT-off at close.
#
# Usage: rig_link.sh PROGRAM_DIR SCRATCH_DIR RADIOSIM
E2E_LIMIT=200
source "$(dirname "$0")/lib.sh"

# Types KEYS into the call box and Enter; the log's line N must then match
# PATTERN (a glob), and is left in LINE. WHAT names the contact in a failure.
log_contact() {
  timeout 20 xdotool type --delay 120 "$1"
  key Return
  wait_for 15 log_has_lines "$2" || fail "$4 did not reach fdlog.dat"
  LINE=$(sed -n "$2p" "$PROG/fdlog.dat")
  [[ "$LINE" == $3 ]] || fail "unexpected $4: $LINE"
}
e2e_begin "$@"
RADIOSIM=${PEERS[0]:?radiosim program}
SHOW_ON_FAILURE="$SCRATCH/radiosim.log"

pref_line() { sed -n "${1}p" "$PROG/fdpref.dat" | tr -d '\r'; }
pref_is() { [ "$(pref_line "$1")" = "$2" ]; }

# $1 family; $2 fdpref band. Preferences name the family (value 11) and the
# settings file matches it: port 1, 100 ms polling.
seed() {
  seed_prefs PH "$2" "$1"
  printf '%s\r\n' '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""' >"$PROG/fdlog.dat"
  printf '%s\r\n' '"4800 "' '"N"' '"8"' '"2"' "\"$3\"" "\"$4\"" '"4800,N,8,2"' 1 '"N"' '"F"' "\"$1\"" "$5" 1 1 >"$PROG/RigCntrl.txt"
}
# $1 family; further arguments go to the simulator (SIM_PID).
start_radio() {
  serial_pair 1 "$WORK/radio"
  "$RADIOSIM" --family "$1" --device "$WORK/radio" "${@:2}" >>"$SCRATCH/radiosim.log" 2>&1 &
  SIM_PID=$!
  started_peer "$SIM_PID"
}

start_wm

# ---- run 1: a Kenwood ----
seed Kenwood 40 "MD;" "FA;" 0
start_radio Kenwood --freq 14025000 --mode CW --log "$SCRATCH/kenwood.log"
start_program
confirm_station_and_focus_main
wait_for 15 pref_is 6 '"20"' || fail "the band did not follow the radio: $(pref_line 6)"
wait_for 5 pref_is 5 '"CW"' || fail "the mode did not follow the radio: $(pref_line 5)"
log "band 20 and CW followed the radio"
kill -STOP "$SIM_PID"  # the radio falls silent; its device stays open
sleep 1
timeout 10 xdotool windowactivate --sync "$MID"
sleep 0.5
log_contact k1abc2act 2 '"K1ABC","2A","CT",*,"20","CW","AB","14.025",*' "the first contact"
log "the contact carries 14.025"
# The radio has fallen silent: the first contact took the last frequency
# read, the next one takes none.
timeout 10 xdotool windowactivate --sync "$MID"
log_contact w2xyz3act 3 '"W2XYZ","3A","CT",*,"20","CW","AB","",*' "the second contact"
log "a contact after the radio fell silent carries no frequency"
key ctrl+r
wait_for 10 window_shown " Rig Interface Setup" || fail "Ctrl+R did not show the rig window"
screenshot rig-window
log "Ctrl+R shows the rig window"
key Escape  # the rig window's Done: hidden, still loaded
wait_for 10 window_hidden " Rig Interface Setup" || fail "the rig window did not hide"
kill -CONT "$SIM_PID"

# The privileges chart: Extra first, then General (screenshots in the output).
timeout 10 xdotool windowactivate --sync "$MID"
key ctrl+f
wait_for 10 window_shown "^Frequency Privileges$" || fail "Ctrl+F did not show the privileges chart"
sleep 0.5
screenshot privileges-extra
# The class buttons in tab order: Novice, Technician, Tech +, General.
key Tab Tab Tab space
sleep 0.5
screenshot privileges-general
key Escape
wait_for 10 window_gone "^Frequency Privileges$" || fail "the privileges chart did not close"
log "privileges chart shown (screenshots privileges-*.xwd)"

# Ctrl+G: the tune window; its "20" tunes to 14.175 in the band plan's mode.
radio_commands() { hex_lines "$SCRATCH/kenwood.log"; }
BEFORE=$(radio_commands | grep -c '')
timeout 10 xdotool windowactivate --sync "$MID"
key ctrl+g
TUNE="Change Frequency and Mode"
wait_for 10 window_shown "$TUNE" || fail "Ctrl+G did not show the tune window"
sleep 0.5
# From the frequency box: Go, then the band buttons 160, 80, 60, 40, 30, 20.
key Tab Tab Tab Tab Tab Tab Tab space
tuned() { radio_commands | tail -n +$((BEFORE + 1)) | grep -q '^FA00014175000;$'; }
wait_for 10 tuned || fail "\"20\" did not tune the radio; it got: $(radio_commands | tail -n +$((BEFORE + 1)) | sort | uniq -c | tr '\n' ' ')"
SET=$(radio_commands | tail -n +$((BEFORE + 1)) | grep -v '^\(FA\|MD\|IF\);$')
[ "$SET" = "$(printf 'MD2;\nFA00014175000;')" ] || fail "unexpected set commands: $(echo "$SET" | tr '\n' ' ')"
wait_for 10 pref_is 6 '"20"' || fail "the band is not 20 after the tune: $(pref_line 6)"
log "Ctrl+G, \"20\": the radio got MD2; then FA00014175000;"
timeout 10 xdotool windowactivate --sync "$(window_id "$TUNE")"
key alt+d
wait_for 10 window_hidden "$TUNE" || fail "Done did not close the tune window"

# The frequency box at poll rate F: 7.15, 14.2 and 1.9 each typed once polling
# has resumed after the previous one. From each Enter the radio gets exactly
# the band plan's mode and the frequency within 1 s, polling resumes, and the
# log's band follows the radio down to 160.
timeout 10 xdotool windowactivate --sync "$MID"
key ctrl+g
wait_for 10 window_visible "$TUNE" || fail "Ctrl+G did not show the tune window again"
timeout 10 xdotool windowactivate --sync "$(visible_id "$TUNE")" || fail "cannot activate the tune window"
sleep 0.5
# $1 the text typed, then the set commands expected, in order.
tune_to() {
  local n expect typed=$1 last=${*: -1}
  shift
  expect=$(printf '%s\n' "$@")
  n=$(radio_commands | grep -c '')
  key BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
  timeout 10 xdotool type --delay 60 "$typed" || fail "xdotool type failed"
  sets() { radio_commands | tail -n +$((n + 1)) | grep -v '^\(FA\|MD\|IF\);$'; }
  all_sent() { [ "$(sets)" = "$expect" ]; }
  # Polling resumed: a request after the frequency command.
  resumed() { radio_commands | tail -n +$((n + 1)) | sed -n "/^$last\$/,\$p" | grep -q '^FA;$'; }
  local entered
  entered=$(now_ms)
  key Return
  within_ms "$entered" 1000 all_sent || fail "$typed: within 1 s the radio got $(sets | tr '\n' ' ')"
  wait_for 5 resumed || fail "$typed: polling did not resume"
  log "$typed Enter: the radio got $(echo "$expect" | tr '\n' ' ')within 1 s, and polling resumed"
}
tune_to 7.15 'MD1;' 'FA00007150000;'
wait_for 5 pref_is 6 '"40"' || fail "the band is not 40 after 7.15: $(pref_line 6)"
tune_to 14.2 'MD2;' 'FA00014200000;'
wait_for 5 pref_is 6 '"20"' || fail "the band is not 20 after 14.2: $(pref_line 6)"
tune_to 1.9 'FA00001900000;'
wait_for 5 pref_is 6 '"160"' || fail "the band did not follow the radio to 160: $(pref_line 6)"
screenshot tune-window "$(visible_id "$TUNE")"
log "the log's band followed the radio to 160"
key alt+d
wait_for 10 window_hidden "$TUNE" || fail "Done did not close the tune window"

# The adapter pulled while the operator types in the call box: no window
# comes over the log; the band and mode labels take the loss colour until
# the port is back.
RIG=" Rig Interface Setup"
LOSS=(255 128 0)
window_hidden "$RIG" || fail "the rig window is shown before the port went away"
timeout 10 xdotool windowactivate --sync "$MID"
sleep 0.5
pull_adapter() {
  kill "$SOCAT_PID" "$SIM_PID"
  wait_for 5 test ! -e "$PROG/ports/com1" || fail "socat left ports/com1 behind"
}
# The loss colour: "COUNT X0 Y0 X1 Y1" on the main window.
loss_pixels() { pixels_of "$MID" "${LOSS[@]}" box; }
# It stands on the band label: its left edge there (720 of 9600 twips), in
# the window's top rows.
band_lost() {
  local geo w h b
  geo=$(timeout 5 xdotool getwindowgeometry "$MID" | sed -n 's/.*Geometry: //p')
  w=${geo%x*} h=${geo#*x}
  read -r -a b <<<"$(loss_pixels)"
  [ "${b[0]}" -gt 200 ] && [ "${b[1]}" -ge $((w * 600 / 9600)) ] && [ "${b[1]}" -le $((w * 800 / 9600)) ] &&
    [ "${b[4]}" -le $((h * 1200 / 7200)) ]
}
loss_gone() { [ "$(pixels_of "$MID" "${LOSS[@]}")" = 0 ]; }
loss_gone || fail "the loss colour is on the main window before the loss: $(loss_pixels)"
pull_adapter
wait_for 5 band_lost || fail "the band label did not take the loss colour: $(loss_pixels)"
sleep 1.2  # a try at the missing port
window_hidden "$RIG" || fail "the rig window was shown when the port went away"
[ "$(timeout 5 xdotool getactivewindow)" = "$MID" ] || fail "the main window lost the focus"
screenshot port-lost
log "the port went away: no rig window, the band and mode labels in the loss colour ($(loss_pixels))"
# The band changed by hand (a click on the band label: 160 to 80), then a
# call typed blind into the call box: logged without the radio's last
# frequency, 1.900, which is not of that band; the loss still shown.
click_twips "$MID" 1070 590
wait_for 5 pref_is 6 '"80"' || fail "the band label did not change the band: $(pref_line 6)"
log_contact k3xyz3act 4 '"K3XYZ","3A","CT",*,"80",*,"AB","",*' "the contact typed during the loss"
band_lost || fail "the loss colour went with the contact: $(loss_pixels)"
log "a call typed during the loss on a band chosen by hand was logged without a frequency: $LINE"
# Ctrl+R, Done: the window goes away again, the tries go on.
key ctrl+r
wait_for 10 window_visible "$RIG" || fail "Ctrl+R did not show the rig window during the loss"
activate "$RIG"
screenshot port-lost-rig "$(visible_id "$RIG")"
key alt+d
wait_for 10 window_hidden "$RIG" || fail "Done did not hide the rig window during the loss"
band_lost || fail "Done ended the loss colour"
log "Ctrl+R, Done during the loss: hidden, the tries go on"
timeout 10 xdotool windowactivate --sync "$MID"
sleep 1.5  # a try or two at a missing port
followed() { pref_is 6 '"40"' && pref_is 5 '"PH"'; }
back_whole() { followed && loss_gone; }
BACK=$(now_ms)
start_radio Kenwood --freq 7200000 --mode LSB --log "$SCRATCH/kenwood-back.log"
within_ms "$BACK" 2000 back_whole ||
  fail "2 s after the port came back the log has $(pref_line 6) $(pref_line 5), the loss colour $(loss_pixels)"
log "the port came back: the log follows the radio and the loss colour is gone within $(($(now_ms) - BACK)) ms"
TTYS=$(ls -l "/proc/$FD_PID/fd" 2>/dev/null | grep -c '/dev/ttyS')
[ "$TTYS" = 0 ] || fail "the program holds a /dev/ttyS* device: $(ls -l "/proc/$FD_PID/fd" | grep /dev/ttyS)"
screenshot port-back
[ "$(timeout 5 xdotool getactivewindow)" = "$MID" ] || fail "the main window lost the focus"
log_contact k4xyz4act 5 '"K4XYZ","4A","CT",*,"40","PH","AB","7.200",*' "the contact after the return"
log "a contact after the return is logged on 40 PH at 7.200"

# Away again; End Test (Ctrl+R first) ends the tries: the radio that comes
# back is left alone.
pull_adapter
wait_for 5 band_lost || fail "the second loss did not show"
key ctrl+r
wait_for 10 window_visible "$RIG" || fail "Ctrl+R did not show the rig window"
RIGID=$(visible_id "$RIG")
timeout 10 xdotool windowactivate --sync "$RIGID" || fail "cannot activate the rig window"
click_twips "$RIGID" 2020 5700  # End Test
wait_for 5 loss_gone || fail "End Test left the loss colour: $(loss_pixels)"
start_radio Kenwood --freq 14025000 --mode CW --log "$SCRATCH/kenwood-ended.log"
sleep 2.5
[ ! -s "$SCRATCH/kenwood-ended.log" ] || fail "after End Test the radio got: $(hex_lines "$SCRATCH/kenwood-ended.log" | tr '\n' ' ')"
pref_is 6 '"40"' || fail "after End Test the band followed the radio: $(pref_line 6)"
log "End Test: the radio that came back was left alone"

close_program
stop_peers

# ---- run 2: a Yaesu 757 GX II, CAT on at start, CAT off at close ----
seed "Yaesu 757 GX II" 40 "" "00 00 00 00 10" 1
start_radio "Yaesu 757 GX II" --freq 7200000 --mode LSB --log "$SCRATCH/yaesu.log"
start_program
confirm_station_and_focus_main
wait_for 15 file_has "$SCRATCH/yaesu.log" '^00 00 00 00 00$' || fail "no CAT-on bytes"
wait_for 15 pref_is 6 '"40"' || fail "the band did not follow the Yaesu"
close_program
wait_for 10 file_has "$SCRATCH/yaesu.log" '^00 00 00 00 80$' || fail "no CAT-off bytes at close"
log "Yaesu CAT on at start and off at close"
log "PASS"
exit 0

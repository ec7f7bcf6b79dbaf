#!/usr/bin/env bash
# An operator's session: start, confirm the station window with Enter, log one
# contact with its carries, paste calls copied elsewhere (through the call
# box's context menu and with the middle button), close the main window
# through the window manager, then check what the program wrote to fdlog.dat
# and fdpref.dat.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
CLIPTEXT=${PEERS[0]:?cliptext program}

seed_prefs PH 20
cp "$PROG/fdpref.dat" "$SCRATCH/fdpref.seeded"
printf '%s\r\n' '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""' >"$PROG/fdlog.dat"
start_wm

DAY_BEFORE=$(date -u +%Y/%m/%d)
start_program
confirm_station_and_focus_main

# The whole window, the window manager's frame included, lies on the screen.
sleep 1
FRAME=$(timeout 5 xwininfo -frame -id "$MID") || fail "xwininfo failed"
FX=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$FRAME")
FY=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$FRAME")
FW=$(awk '/^ *Width:/ {print $NF}' <<<"$FRAME")
FH=$(awk '/^ *Height:/ {print $NF}' <<<"$FRAME")
SCREEN=$(timeout 5 xdotool getdisplaygeometry) || fail "xdotool getdisplaygeometry failed"
SW=${SCREEN% *}
SH=${SCREEN#* }
log "main window with its frame: ${FW}x${FH} at $FX,$FY on a ${SW}x${SH} screen"
[ "$FX" -ge 0 ] && [ "$FY" -ge 0 ] && [ $((FX + FW)) -le "$SW" ] && [ $((FY + FH)) -le "$SH" ] ||
  fail "the main window reaches past the screen"

# One contact: the digit carries the call into the class, the letter after a
# whole class carries it into the section.
timeout 20 xdotool type --delay 120 "k1abc2act" || fail "xdotool type failed"
key Return
wait_for 15 log_has_lines 2 || fail "the contact did not reach fdlog.dat"
log "contact saved"

# A call pasted through the call box's context menu (right button, Paste)
# obeys the box's key rules: upper case, no double quote.
CALL_X=600 CALL_Y=3090  # the call box, in twips
hold_clipboard "$CLIPTEXT" 'n5"x,y'
press_twips 3 "$MID" $CALL_X $CALL_Y
sleep 0.8
# The menu by its own window: a picture of the screen shows a popup black.
MENU=$(timeout 5 xdotool search --onlyvisible --class fieldday | grep -vx "$MID" | head -n 1)
[ -n "$MENU" ] || fail "the call box's context menu did not open"
screenshot call-box-menu "$MENU"  # the keys it names: Shift+Del and Shift+Ins only
key p  # the menu's "&Paste"
sleep 0.5
timeout 20 xdotool type --delay 120 " 1a stx" || fail "xdotool type failed"
key Return
wait_for 15 log_has_lines 3 || fail "the pasted contact did not reach fdlog.dat"
log "pasted contact saved"

# A pasted call already logged on this band and mode is the duplicate it is:
# leaving the call box finds it, and the rest of the entry saves nothing.
hold_clipboard "$CLIPTEXT" 'k1abc'
press_twips 3 "$MID" $CALL_X $CALL_Y
sleep 0.8
key p
sleep 0.5
timeout 20 xdotool type --delay 120 " 2a ct" || fail "xdotool type failed"
key Return
sleep 4  # past the three-second hold after a duplicate and the keys typed after it
[ "$(grep -c '' "$PROG/fdlog.dat")" -eq 3 ] || fail "the pasted duplicate was stored: $(tail -n 1 "$PROG/fdlog.dat")"
key Escape
sleep 0.5

# The middle button pastes the primary selection, through the same rules.
hold_clipboard "$CLIPTEXT" 'w2"xyz'
press_twips 2 "$MID" $CALL_X $CALL_Y
sleep 0.5
timeout 20 xdotool type --delay 120 " 3a nli" || fail "xdotool type failed"
key Return
wait_for 15 log_has_lines 4 || fail "the contact pasted with the middle button did not reach fdlog.dat"
log "middle-button contact saved"

close_program
DAY_AFTER=$(date -u +%Y/%m/%d)

# What it wrote.
LINE=$(sed -n 2p "$PROG/fdlog.dat")
RE='^"K1ABC","2A","CT","([0-9]{4}/[0-9]{2}/[0-9]{2})","[0-2][0-9]:[0-5][0-9]:[0-5][0-9]","20","PH","AB","",""'$'\r''$'
[[ "$LINE" =~ $RE ]] || fail "unexpected fdlog.dat line: $LINE"
DAY=${BASH_REMATCH[1]}
[ "$DAY" = "$DAY_BEFORE" ] || [ "$DAY" = "$DAY_AFTER" ] || fail "the contact's date $DAY is not today's UTC date"
for n in 3 4; do
  LINE=$(sed -n ${n}p "$PROG/fdlog.dat")
  CALL=$([ $n -eq 3 ] && echo 'N5X,Y","1A","STX' || echo 'W2XYZ","3A","NLI')
  RE='^"'$CALL'","[0-9]{4}/[0-9]{2}/[0-9]{2}","[0-2][0-9]:[0-5][0-9]:[0-5][0-9]","20","PH","AB","",""'$'\r''$'
  [[ "$LINE" =~ $RE ]] || fail "unexpected fdlog.dat line $n: $LINE"
done
[ "$(grep -c '' "$PROG/fdlog.dat")" -eq 4 ] || fail "fdlog.dat holds more than the four contacts"
[ "$(sed -n 1p "$PROG/fdlog.dat")" = "$(printf '%s\r' '"N0AX","1E","MN","2024/06/22","18:06:00","40","PH","AB","",""')" ] ||
  fail "the earlier contact changed"

# The seventeen values, as seeded: nothing in this session changed them.
[ "$(grep -c '' "$PROG/fdpref.dat")" -eq 17 ] || fail "fdpref.dat does not hold seventeen lines"
cmp -s "$PROG/fdpref.dat" "$SCRATCH/fdpref.seeded" || fail "fdpref.dat differs: $(od -c "$PROG/fdpref.dat" | head -n 20)"

log "PASS: station window, one contact typed, two pasted and a pasted duplicate refused, close, fdlog.dat and fdpref.dat as expected"
exit 0
